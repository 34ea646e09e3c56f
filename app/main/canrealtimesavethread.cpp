#include "canrealtimesavethread.h"

#include "canobjstr.h"
#include "recordfilewriter.h"
#include "ulbuffer.h"
#include "ulglobalset.h"

CanRealTimeSaveThread::CanRealTimeSaveThread() : CanThread(uint32_t(-1))
{
}

CanRealTimeSaveThread::CanRealTimeSaveThread(int channel) : CanThread(uint32_t(channel))
{
}

CanRealTimeSaveThread::~CanRealTimeSaveThread()
{
    finish();
}

QString CanRealTimeSaveThread::partName(const QString &name, qint64 rows, qint64 splitRows)
{
    // The suffix is ".csv" in some case: four characters.
    const qint64 part = rows / qMax<qint64>(1, splitRows) * 10000;
    return name.left(name.size() - 4) + QLatin1Char('_') + QString::number(part) + name.right(4);
}

void CanRealTimeSaveThread::run()
{
    if (channel >= uint32_t(UlBuffer::Channels))
        return;
    UlBuffer &buffer = UlBuffer::instance(int(channel));
    const UlGlobalSet &settings = UlGlobalSet::instance();
    RecordFileWriter writer(RecordFileWriter::formatOf(file), settings.channel[channel].timeDisplay,
                            settings.IDFORMAT);
    written = 0;
    if (!writer.open(file, false))
        return abandon(writer, OpenFailed);
    if (!writer.writeHeader())
        return abandon(writer, WriteFailed);

    const bool split = writer.format() == RecordFileWriter::CsvFormat;
    qint64 rowsInPart = 0;
    UlCanObj frame;
    // Once stopped, the frames queued at that moment are this recording's;
    // later ones (the channel still saving) are the next recording's.
    int left = -1;
    for (;;) {
        if (left < 0 && !runFlag())
            left = buffer.countRt();
        if (left == 0)
            break;
        if (!buffer.takeRtSaveFrame(frame)) {
            // Idle: what is written reaches the file before the wait.
            if (!writer.flush())
                return abandon(writer, WriteFailed);
            if (left > 0)
                break;
            if (!buffer.waitRtSaveFrame(frame, WaitMs))
                continue;
        }
        if (left > 0)
            --left;
        if (split && rowsInPart >= splitRows) {
            writer.close();
            if (!writer.open(partName(file, written, splitRows), false) || !writer.writeHeader())
                return abandon(writer, SplitFailed);
            rowsInPart = 0;
        }
        CanObjStr row = UlBuffer::analyseData(frame);
        row.index = QString::number(written);
        if (!writer.write(row))
            return abandon(writer, WriteFailed);
        ++written;
        ++rowsInPart;
    }
    if (!writer.writeFooter() || !writer.close())
        abandon(writer, WriteFailed);
}

void CanRealTimeSaveThread::abandon(RecordFileWriter &writer, Failure failure)
{
    const QString name = writer.fileName().isEmpty() ? file : writer.fileName();
    const QString text = writer.errorString();
    writer.close();
    UlGlobalSet::instance().channel[channel].realTimeSave = false;
    UlBuffer::instance(int(channel)).dropRtSaveFrames();
    Q_EMIT failed(failure, name, text);
}
