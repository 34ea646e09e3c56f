// One process-wide thread that frees what the DBC windows let go of (loaded
// files and their tables, which take hundreds of milliseconds to free when
// large) and joins the load threads they leave behind, so that neither
// holds the GUI thread. Started on first use; drained and joined when the
// application object goes, and at the latest at exit, so nothing it runs
// outlives the state it touches. No widgets.
#pragma once

#include <memory>
#include <thread>

class DBCReleaseThread
{
public:
    // Drops the reference on the release thread: the last one frees the object.
    static void release(std::shared_ptr<void> object);
    template <typename T>
    static void release(std::unique_ptr<T> object)
    {
        if (object)
            release(std::shared_ptr<void>(std::move(object)));
    }
    // Joins the thread on the release thread.
    static void join(std::thread thread);
    // Waits until everything handed over before the call is released.
    static void wait();
    // Releases what is left and ends the thread; a later release starts it again.
    static void stop();
};
