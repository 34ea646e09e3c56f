// Record files read back to their end, for the save tests: by the core's
// reader of the file's format (as the file send page replays it) or by the
// DBC window's replay (ASC and CSV); and the check that a file cut short
// by a full disk holds every whole record that fitted and nothing more.
#pragma once

#include "ascfile.h"
#include "canfile.h"
#include "canobj.h"
#include "dbcrecordreplay.h"
#include "ulcanfileformat.h"
#include "ulfilecsv.h"

#include <QByteArray>
#include <QFileInfo>
#include <QMetaType>
#include <QString>
#include <QVector>

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
