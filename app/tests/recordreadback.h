// Record files read back to their end, for the save tests: by the core's
// reader of the file's format (as the file send page replays it) or by the
// DBC window's replay (ASC and CSV); the check of a recording cut short by
// a full disk, in every format with every reader; and real-time recordings
// appended to one file.
#pragma once

#include "ascfile.h"
#include "canfile.h"
#include "canobj.h"
#include "canrealtimesavethread.h"
#include "dbcrecordreplay.h"
#include "ulbuffer.h"
#include "ulcanfileformat.h"
#include "ulfilecsv.h"
#include "ulglobalset.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QMetaType>
#include <QString>
#include <QVector>
#include <QtTest>

#include <atomic>
#include <memory>

enum class RecordReader { Core, DbcReplay };
Q_DECLARE_METATYPE(RecordReader)

struct ReadBack {
    QVector<VCI_CAN_OBJ> frames;
    QString error;  // empty when the file was read to its end
};

inline ReadBack readBack(const QString &path, RecordReader reader)
{
    ReadBack back;
    if (reader == RecordReader::DbcReplay) {
        const std::atomic<bool> reading{true};
        const std::atomic<bool> paused{false};
        const auto result = DBCRecordReplay::run(
                path, reading, paused, [](const VCI_CAN_OBJ &) { return true; },
                [&](const VCI_CAN_OBJ &frame) { back.frames << frame; }, &back.error);
        if (result != DBCRecordReplay::Ended && back.error.isEmpty())
            back.error = QStringLiteral("not replayed");
        return back;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    std::unique_ptr<UlFile> file;
    if (suffix == QLatin1String("can"))
        file = std::make_unique<CANFile>();
    else if (suffix == QLatin1String("asc"))
        file = std::make_unique<ASCFile>();
    else if (suffix == QLatin1String("csv"))
        file = std::make_unique<UlFileCsv>();
    if (!file || !file->open(path) || !file->prepare()) {
        back.error = file ? file->errorString() : QStringLiteral("no reader");
        return back;
    }
    CanObj frame;
    while (file->getFrame(frame))
        back.frames << frame.toVci();
    if (file->hasError())
        back.error = file->errorString();
    return back;
}

// Empty when cut is whole, written to the same point, cut back to its last
// whole record after the first limit bytes; else what is wrong. Lines are
// the records of text files (header lines only counted: ASC's holds the
// clock).
inline QString wholeRecordsOf(const QByteArray &cut, const QByteArray &whole, qint64 limit, bool binary)
{
    const qint64 size = cut.size();
    if (size > limit)
        return QStringLiteral("%1 bytes, past the limit").arg(size);
    qint64 next = 0;  // size of the record after the cut
    if (binary) {
        if ((size - UlCanFileFormat::HeaderSize) % UlCanFileFormat::RecordSize != 0 || cut != whole.left(int(size)))
            return QStringLiteral("not whole records of the file");
        next = UlCanFileFormat::RecordSize;
    } else {
        if (!cut.endsWith('\n'))
            return QStringLiteral("ends inside a line");
        const QList<QByteArray> kept = cut.split('\n');
        const QList<QByteArray> all = whole.split('\n');
        const int n = kept.size() - 1;
        if (all.size() <= n + 1 || kept.at(n - 1) != all.at(n - 1))
            return QStringLiteral("not the lines of the file");
        next = all.at(n).size() + 1;
    }
    if (size + next <= limit)
        return QStringLiteral("%1 bytes: a whole record more fits").arg(size);
    return QString();
}

// Every format with every reader that replays it.
inline void addCutRecordingRows()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<RecordReader>("reader");
    QTest::newRow(".can, core reader") << "can" << RecordReader::Core;
    QTest::newRow("CSV, core reader") << "csv" << RecordReader::Core;
    QTest::newRow("CSV, DBC replay") << "csv" << RecordReader::DbcReplay;
    QTest::newRow("ASC, core reader") << "asc" << RecordReader::Core;
    QTest::newRow("ASC, DBC replay") << "asc" << RecordReader::DbcReplay;
}

// A recording of frames with the IDs 0, 1, 2, ... that filled its file at
// limit bytes (cut), beside the same recording written whole: the cut one
// replays to its end, frames in order, and holds every whole record that
// fitted and no part of the next.
inline void verifyCutRecording(const QString &cut, const QString &whole, qint64 limit, RecordReader reader)
{
    const ReadBack back = readBack(cut, reader);
    QCOMPARE(back.error, QString());
    QVERIFY(back.frames.size() > 10);
    for (int i = 0; i < back.frames.size(); ++i)
        QCOMPARE(back.frames.at(i).ID, uint32_t(i));

    QFile cutFile(cut);
    QFile wholeFile(whole);
    QVERIFY(cutFile.open(QIODevice::ReadOnly) && wholeFile.open(QIODevice::ReadOnly));
    const QString wrong = wholeRecordsOf(cutFile.readAll(), wholeFile.readAll(), limit,
                                         QFileInfo(cut).suffix().toLower() == QLatin1String("can"));
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

// A received frame of a recording: arrival at hour:00:00 plus ms, device
// time ms (in 0.1 ms, plus a part that the reader drops); extended above
// 0x7FF, every seventh ID remote, lengths 0 to 8.
inline UlCanObj recordedFrame(uint32_t id, int hour, int ms)
{
    UlCanObj f;
    f.hour = hour;
    f.second = ms / 1000;
    f.millisecond = ms % 1000;
    f.obj.ID = id;
    f.obj.DeviceTime = 10 * uint32_t(ms) + 1;
    f.obj.ExternFlag = id > 0x7FF;
    f.obj.RemoteFlag = id % 7 == 0;
    f.obj.DataLen = uint8_t(id % 9);
    for (int i = 0; i < 8; ++i)
        f.obj.Data[i] = uint8_t(id + uint32_t(i));
    return f;
}

// One real-time recording of frames on channel into path, as the channel
// window starts and stops it, under the time display and ID format given
// (CSV and ASC files are appended to).
inline void recordInto(const QString &path, int channel, int timeDisplay, int idFormat, const QList<UlCanObj> &frames)
{
    UlGlobalSet &settings = UlGlobalSet::instance();
    settings.channel[channel].timeDisplay = timeDisplay;
    settings.IDFORMAT = idFormat;
    CanRealTimeSaveThread thread(channel);
    thread.setFileName(path);
    settings.channel[channel].realTimeSave = true;
    thread.start(QThread::InheritPriority);
    for (const UlCanObj &f : frames)
        UlBuffer::instance(channel).addRtSaveFrame(f);
    settings.channel[channel].realTimeSave = false;
    thread.stop();
    thread.waitForFinish();
}

// Two recordings appended to one CSV file: first frames 0x100, 0x101, ...
// 1 ms apart with device time stamps and right-aligned IDs, then as many
// frames 0x7E0, 0x7E1, ... (into extended IDs) 1 ms apart with clock times
// from 11:00 and left-aligned IDs. Returns the frames in file order.
inline QList<UlCanObj> recordTwiceInto(const QString &path, int channel, int framesEach)
{
    QList<UlCanObj> first;
    QList<UlCanObj> second;
    for (int i = 0; i < framesEach; ++i) {
        first << recordedFrame(0x100 + uint32_t(i), 10, i);
        second << recordedFrame(0x7E0 + uint32_t(i), 11, i);
    }
    recordInto(path, channel, 3, 0, first);
    recordInto(path, channel, 2, 1, second);
    return first + second;
}
