// A signal spy for signals that worker threads emit. QSignalSpy records on
// the emitting thread, so a test thread that reads it while the worker
// emits races with it. QueuedSpy records on the thread that made it: an
// emission from another thread reaches it through that thread's event
// loop. Every read first takes in the emissions already queued, so after
// QThread::wait() the spy holds everything the thread emitted; while the
// thread runs, QTRY_* macros (which spin the event loop) see them arrive.
// Use it on its own thread only. Arguments of a queued emission need a
// registered meta type, as for any queued connection.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QList>
#include <QObject>
#include <QThread>
#include <QVariant>

#include <type_traits>

class QueuedSpy : public QObject
{
public:
    template <typename Object, typename Sender, typename... Args>
    QueuedSpy(const Object *sender, void (Sender::*signal)(Args...))
    {
        connect(sender, signal, this, [this](Args... args) { calls.append(QVariantList{QVariant::fromValue(args)...}); });
    }
    // Qt's private signals (QThread::finished) carry only a tag, no value.
    template <typename Object, typename Sender, typename Tag,
              std::enable_if_t<std::is_empty<Tag>::value && !QMetaTypeId2<Tag>::Defined, int> = 0>
    QueuedSpy(const Object *sender, void (Sender::*signal)(Tag))
    {
        connect(sender, signal, this, [this] { calls.append(QVariantList()); });
    }

    int count() { return takeQueued().size(); }
    int size() { return count(); }
    bool isEmpty() { return count() == 0; }
    const QVariantList &at(int i) { return takeQueued().at(i); }
    const QVariantList &first() { return takeQueued().first(); }
    const QVariantList &last() { return takeQueued().last(); }
    // All emissions so far, in order.
    const QList<QVariantList> &all() { return takeQueued(); }

    // Spins the event loop until one more emission arrives or timeoutMs
    // passed; whether one arrived.
    bool wait(int timeoutMs)
    {
        const int before = count();
        QElapsedTimer timer;
        timer.start();
        while (count() == before && timer.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(1);
        }
        return count() > before;
    }

private:
    const QList<QVariantList> &takeQueued()
    {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        return calls;
    }

    QList<QVariantList> calls;
};
