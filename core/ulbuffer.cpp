#include "ulbuffer.h"

#include "ulglobalset.h"
#include "ulidfiltermannger.h"
#include "ullocalclock.h"

#include <QMutexLocker>

#include <algorithm>

namespace {

bool validChannel(int channel)
{
    return channel >= 0 && channel < UlBuffer::Channels;
}

UlCanObjWatchStr emptyWatchRow()
{
    UlCanObjWatchStr row;
    row.str.index = QStringLiteral("-1");
    return row;
}

QString hexBytes(const uint8_t *data, int len)
{
    static const char digits[] = "0123456789ABCDEF";
    QString text;
    if (len <= 0)
        return text;
    text.resize(len * 3 - 1);
    QChar *out = text.data();
    for (int i = 0; i < len; ++i) {
        if (i > 0)
            *out++ = QLatin1Char(' ');
        *out++ = QLatin1Char(digits[data[i] >> 4]);
        *out++ = QLatin1Char(digits[data[i] & 0x0F]);
    }
    return text;
}

// The decoders get the frame without its send type and reserved bytes.
VCI_CAN_OBJ handOffCopy(const VCI_CAN_OBJ &f)
{
    VCI_CAN_OBJ c{};
    c.ID = f.ID;
    c.DeviceTime = f.DeviceTime;
    c.RemoteFlag = f.RemoteFlag;
    c.ExternFlag = f.ExternFlag;
    c.DataLen = f.DataLen;
    std::copy(std::begin(f.Data), std::end(f.Data), std::begin(c.Data));
    return c;
}

void handOff(UlLockedQueue<VCI_CAN_OBJ> &queue, const VCI_CAN_OBJ *frames, int count, bool extendedOnly)
{
    if (!frames)
        return;
    constexpr int Chunk = 64;
    VCI_CAN_OBJ copies[Chunk];
    for (int next = 0; next < count;) {
        int n = 0;
        for (; next < count && n < Chunk; ++next) {
            if (!extendedOnly || frames[next].ExternFlag)
                copies[n++] = handOffCopy(frames[next]);
        }
        queue.push(copies, n);
    }
}

} // namespace

UlBuffer &UlBuffer::instance(int channel)
{
    static UlBuffer buffers[Channels] = {UlBuffer(0), UlBuffer(1), UlBuffer(2), UlBuffer(3)};
    Q_ASSERT(validChannel(channel));
    return buffers[validChannel(channel) ? channel : 0];
}

UlBuffer::UlBuffer(int channel)
    : channel(channel)
{
}

UlBuffer::~UlBuffer() = default;

void UlBuffer::setChannel(int value)
{
    if (validChannel(value))
        channel = value;
}

int UlBuffer::addFrame(const VCI_CAN_OBJ *frames, int count, bool transmitted)
{
    if (!frames || count <= 0)
        return 0;
    // Both counters count every frame offered, stored or not.
    qint64 bits = 0;
    for (int i = 0; i < count; ++i)
        bits += getFramesBytes(&frames[i]);
    frameCounter += count;
    bitCounter += bits;
    if (transmitted && hideSendFrame)
        return 0;

    // One call is one device read or one send burst: one time stamp for all.
    const UlTimeOfDay now = UlLocalClock::now();
    UlCanObj stamp;
    stamp.direction = transmitted;
    stamp.hour = now.hour;
    stamp.minute = now.minute;
    stamp.second = now.second;
    stamp.millisecond = now.millisecond;

    const int ch = channel;
    const UlIdFilterMannger &filter = UlIdFilterMannger::instance(ch);
    const UlGlobalSet &settings = UlGlobalSet::instance();
    const bool watch = settings.isWatch();
    const bool realTimeSave = settings.channel[ch].realTimeSave;

    constexpr int Chunk = 64;
    UlCanObj stamped[Chunk];
    int stored = 0;
    for (int next = 0; next < count;) {
        int n = 0;
        for (; next < count && n < Chunk; ++next) {
            if (!transmitted && !filter.isValid(frames[next].ID))
                continue;
            stamped[n] = stamp;
            stamped[n].obj = frames[next];
            ++n;
        }
        store(stamped, n, watch, realTimeSave);
        stored += n;
    }
    return stored;
}

void UlBuffer::store(const UlCanObj *stamped, int n, bool watch, bool realTimeSave)
{
    if (n == 0)
        return;
    {
        const QMutexLocker lock(&ringLock);
        for (int i = 0; i < n; ++i)
            ring.push(stamped[i]);
    }
    if (watch) {
        const QMutexLocker lock(&watchLock);
        for (int i = 0; i < n; ++i)
            watchList.add(stamped[i]);
    }
    if (realTimeSave)
        rtQueue.push(stamped, n);
}

int UlBuffer::addDBCFrame(const VCI_CAN_OBJ *frames, int count)
{
    handOff(dbcQueue, frames, count, false);
    return frames ? std::max(count, 0) : 0;
}

int UlBuffer::addGBT27930Frame(const VCI_CAN_OBJ *frames, int count)
{
    handOff(gbtQueue, frames, count, true);
    return frames ? std::max(count, 0) : 0;
}

void UlBuffer::addErrorData(const VCI_ERR_INFO &error)
{
    errorQueue.push(error);
}

void UlBuffer::addWatchFrame(const UlCanObj &frame)
{
    const QMutexLocker lock(&watchLock);
    watchList.add(frame);
}

void UlBuffer::addRtSaveFrame(const UlCanObj &frame)
{
    rtQueue.push(frame);
}

CanObjStr UlBuffer::getFrame(int index) const
{
    UlCanObj frame;
    {
        const QMutexLocker lock(&ringLock);
        if (index < 0 || std::size_t(index) >= ring.size())
            return CanObjStr();
        frame = ring.at(std::size_t(index));
    }
    CanObjStr str = analyseData(frame);
    str.index = QString::number(index);
    return str;
}

std::vector<UlCanObj> UlBuffer::snapshot() const
{
    const QMutexLocker lock(&ringLock);
    std::vector<UlCanObj> frames;
    frames.reserve(ring.size());
    for (std::size_t i = 0; i < ring.size(); ++i)
        frames.push_back(ring.at(i));
    return frames;
}

UlCanObjWatchStr UlBuffer::getWatchFrame(int index) const
{
    UlCanObj frame;
    quint8 mask = 0;
    {
        const QMutexLocker lock(&watchLock);
        if (!watchList.row(index, frame, mask))
            return emptyWatchRow();
    }
    UlCanObjWatchStr row;
    for (int i = 0; i < 8; ++i)
        row.mask.setBit(i, mask & (1u << i));
    row.str = analyseData(frame);
    row.str.index = QString::number(index);
    return row;
}

bool UlBuffer::takeRtSaveFrame(UlCanObj &frame)
{
    return rtQueue.tryPop(frame);
}

bool UlBuffer::waitRtSaveFrame(UlCanObj &frame, unsigned long timeoutMs)
{
    return rtQueue.waitPop(frame, timeoutMs);
}

CanObjStr UlBuffer::getRtSaveFrame(int number)
{
    UlCanObj frame;
    if (!rtQueue.tryPop(frame))
        return CanObjStr();
    CanObjStr str = analyseData(frame);
    str.index = QString::number(number);
    return str;
}

bool UlBuffer::getErrorData(VCI_ERR_INFO &error)
{
    return errorQueue.tryPop(error);
}

bool UlBuffer::takeDBCFrame(VCI_CAN_OBJ &frame)
{
    return dbcQueue.tryPop(frame);
}

bool UlBuffer::takeGBT27930Frame(VCI_CAN_OBJ &frame)
{
    return gbtQueue.tryPop(frame);
}

bool UlBuffer::DBCFrame(VCI_CAN_OBJ &frame) const
{
    return dbcQueue.peek(frame);
}

bool UlBuffer::DeleteGBT27930Frame()
{
    VCI_CAN_OBJ frame;
    return gbtQueue.tryPop(frame);
}

CanObjStr UlBuffer::analyseData(const UlCanObj &frame)
{
    const VCI_CAN_OBJ &f = frame.obj;
    CanObjStr str;
    str.id = QString::asprintf("%08X ", f.ID);
    str.deviceTime = frame.direction ? QStringLiteral("NULL") : QString::asprintf("0x%X", f.DeviceTime);
    str.time = QString::asprintf("%02d:%02d:%02d:%03d", frame.hour, frame.minute, frame.second,
                                 frame.millisecond);
    str.frameType = f.RemoteFlag ? QStringLiteral("Remote") : QStringLiteral("Data Frame");
    str.frameFormat = f.ExternFlag ? QStringLiteral("Extend") : QStringLiteral("Standard");
    str.dataLen = QString::number(f.DataLen);
    str.data = hexBytes(f.Data, std::min<int>(f.DataLen, 8));
    str.direction = frame.direction ? QStringLiteral("Tx") : QStringLiteral("Rx");
    return str;
}

void UlBuffer::clear()
{
    const QMutexLocker lock(&ringLock);
    ring.clear();
}

void UlBuffer::clearW()
{
    const QMutexLocker lock(&watchLock);
    watchList.clear();
}

void UlBuffer::reset()
{
    clear();
    clearW();
    if (!UlGlobalSet::instance().channel[channel].realTimeSave)
        rtQueue.clear();
    frameCounter = 0;
    bitCounter = 0;
}

void UlBuffer::setMaxCount(int maxCount)
{
    maxCount = std::max(maxCount, 0);
    {
        const QMutexLocker lock(&ringLock);
        if (maxCount == maxCountValue)
            return;
        ring.clear();
        ring.setLimit(std::size_t(maxCount));
        maxCountValue = maxCount;
    }
    {
        const QMutexLocker lock(&watchLock);
        watchList.setLimit(maxCount);
    }
    reset();
}

bool UlBuffer::init(int maxCount)
{
    maxCount = std::max(maxCount, 0);
    {
        const QMutexLocker lock(&ringLock);
        ring.setLimit(std::size_t(maxCount));
        maxCountValue = maxCount;
    }
    const QMutexLocker lock(&watchLock);
    watchList.setLimit(maxCount);
    return true;
}

int UlBuffer::count() const
{
    const QMutexLocker lock(&ringLock);
    return int(ring.size());
}

int UlBuffer::countW() const
{
    const QMutexLocker lock(&watchLock);
    return watchList.size();
}

int UlBuffer::getFramesBytes(const VCI_CAN_OBJ *frame)
{
    if (!frame)
        return 0;
    // Frame bits without stuffing: 44 standard, 64 extended, plus the data.
    const int header = frame->ExternFlag ? 64 : 44;
    return frame->RemoteFlag ? header : header + 8 * std::min<int>(frame->DataLen, 8);
}

bool UlBuffer::isSendFrame(const VCI_CAN_OBJ *frame)
{
    return frame && frame->DeviceTime == 0;
}
