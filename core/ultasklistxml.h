// The send-task list file: an XML document with one empty "TaskObj"
// element per task, carrying the task's numbers and its template frame.
// Works on plain task lists; the task table's adapter sits on top of it.
#pragma once

#include "taskobj.h"
#include "vizoz_global.h"

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

class VIZOZ_EXPORT UlTaskListXml
{
public:
    // Bounds a task must keep to be read; the device sends at most
    // MaxFrames frames per call and the pages offer at most MaxTimes.
    static constexpr int MaxFrames = 100;
    static constexpr int MaxTimes = 999999999;

    // Writes the whole document, one element per task in list order; a
    // task without a frame has no template and is left out. False, with
    // errorString(), when the device cannot be written.
    bool writeFile(QIODevice *device, const QList<taskObj> &tasks);

    // Reads a whole document. False, with errorString() as "<reason>\nLine
    // <n>, column <m>" and no tasks, for malformed XML, a foreign root
    // element or more than UlListLimits::MaxEntries tasks; false with the
    // reason alone for a device that cannot be read or holds more than
    // UlListLimits::MaxFileBytes. A "TaskObj" that cannot make a sendable
    // task (an ID beyond its frame type's range, a length outside 0 to 8,
    // ...) is left out and described in rejected(); the others are in
    // tasks(), each with one CanData holding its template frame.
    bool readFile(QIODevice *device);

    QList<taskObj> tasks() const { return readTasks; }
    QStringList rejected() const { return rejectedTasks; }
    QString errorString() const { return error; }

private:
    QList<taskObj> readTasks;
    QStringList rejectedTasks;
    QString error;
};
