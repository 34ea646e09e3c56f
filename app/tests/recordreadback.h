// Record files read back to their end, for the save tests: by the core's
// reader of the file's format (as the file send page replays it) or by the
// DBC window's replay (ASC and CSV); and the check of a recording cut short
// by a full disk, in every format with every reader.
#pragma once

#include "ascfile.h"
#include "canfile.h"
#include "canobj.h"
#include "dbcrecordreplay.h"
#include "ulcanfileformat.h"
#include "ulfilecsv.h"

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
