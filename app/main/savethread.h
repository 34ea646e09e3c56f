// Writes a copy of a channel's display ring, taken when the thread is
// made, into a record file (format by the file's suffix). Reports its
// progress by the index of the frame about to be written, and finally the
// frame count; stop() cancels after the frame in hand.
#pragma once

#include "ulcanobj.h"
#include "uthread.h"

#include <QString>

#include <vector>

class saveThread : public UThread
{
    Q_OBJECT

public:
    enum Result { Running, Complete, Cancelled, Failed };

    saveThread(int channel, const QString &fileName);
    saveThread(QObject *parent, int channel, const QString &fileName);
    ~saveThread() override;

    int frameCount() const { return int(frames.size()); }
    QString fileName() const { return name; }
    // Valid once the thread has finished.
    Result result() const { return outcome; }
    QString errorString() const { return error; }

Q_SIGNALS:
    // Index of the frame about to be written (not every one of a long
    // save), and last the frame count when the save ran to its end.
    void statusSignal(int value);

protected:
    void run() override;

private:
    int channel;
    QString name;
    // Time display and ID format as they stood when the copy was taken.
    int timeMode;
    int idFormat;
    std::vector<UlCanObj> frames;
    Result outcome = Running;
    QString error;
};
