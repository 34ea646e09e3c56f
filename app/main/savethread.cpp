#include "savethread.h"

#include "canobjstr.h"
#include "recordfilewriter.h"
#include "ulbuffer.h"
#include "ulglobalset.h"

namespace {

// Progress steps per save: enough for a smooth bar, few enough that a
// ring of millions of frames does not flood the GUI thread.
constexpr int kProgressSteps = 200;

int validChannel(int channel)
{
    return channel >= 0 && channel < UlBuffer::Channels ? channel : 0;
}

} // namespace

saveThread::saveThread(int channel, const QString &fileName) : saveThread(nullptr, channel, fileName)
{
}

saveThread::saveThread(QObject *parent, int channel, const QString &fileName)
    : UThread(parent),
      channel(validChannel(channel)),
      name(fileName),
      timeMode(UlGlobalSet::instance().channel[this->channel].timeDisplay),
      idFormat(UlGlobalSet::instance().IDFORMAT),
      frames(UlBuffer::instance(this->channel).snapshot())
{
}

saveThread::~saveThread()
{
    finish();
}

void saveThread::run()
{
    RecordFileWriter writer(RecordFileWriter::formatOf(name), timeMode, idFormat);
    const auto fail = [&] {
        error = writer.errorString();
        writer.close();
        outcome = Failed;
    };
    if (!writer.open(name, true)) {
        error = writer.format() == RecordFileWriter::NoFormat ? QString() : writer.errorString();
        outcome = Failed;
        return;
    }
    if (!writer.writeHeader())
        return fail();

    const int n = frameCount();
    const int step = qMax(1, n / kProgressSteps);
    bool cancelled = false;
    for (int i = 0;; ++i) {
        if (i == n || i % step == 0)
            Q_EMIT statusSignal(i);
        if (i == n)
            break;
        CanObjStr row = UlBuffer::analyseData(frames[std::size_t(i)]);
        row.index = QString::number(i);
        if (!writer.write(row))
            return fail();
        if (!runFlag() && i + 1 < n) {
            cancelled = true;
            break;
        }
    }
    if (!writer.writeFooter() || !writer.close())
        return fail();
    outcome = cancelled ? Cancelled : Complete;
}
