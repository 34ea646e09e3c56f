#include "dbcframecollector.h"

#include "dbcmessagekey.h"

#include <QMutexLocker>

#include <algorithm>

namespace {

bool isTransportId(quint32 id)
{
    const quint32 pduFormat = (id >> 16) & 0xFF;
    return pduFormat == 0xEB || pduFormat == 0xEC;
}

} // namespace

DBCFrameCollector::Index DBCFrameCollector::indexOf(const QMap<quint32, DBCMessageEntry> &messageTable)
{
    Index index;
    index.enabled.reserve(messageTable.size());
    for (auto it = messageTable.cbegin(); it != messageTable.cend(); ++it) {
        index.enabled.insert(it.key(), it->enabled);
        if (it->enabled && DBCMessageKey::isExtended(it.key()))
            index.keysByPgn.insert(J1939Reassembler::pgnOf(DBCMessageKey::idOf(it.key())), it.key());
    }
    return index;
}

DBCFrameCollector::Index DBCFrameCollector::setMessages(const QMap<quint32, DBCMessageEntry> &messageTable)
{
    return setIndex(indexOf(messageTable));
}

DBCFrameCollector::Index DBCFrameCollector::setIndex(Index index)
{
    const QMutexLocker lock(&mutex);
    enabled.swap(index.enabled);
    keysByPgn.swap(index.keysByPgn);
    for (auto it = latestFrames.begin(); it != latestFrames.end();) {
        if (enabled.value(it.key(), false))
            ++it;
        else
            it = latestFrames.erase(it);
    }
    QVector<DBCKeyedFrame> kept;
    for (int i = 0; i < sequence.size(); ++i) {
        const DBCKeyedFrame &entry = sequence.at((sequenceStart + i) % sequence.size());
        if (enabled.value(entry.key, false))
            kept << entry;
    }
    sequence.swap(kept);
    sequenceStart = 0;
    return index;
}

void DBCFrameCollector::clear()
{
    const QMutexLocker lock(&mutex);
    latestFrames.clear();
    sequence.clear();
    sequenceStart = 0;
    reassembler.reset();
}

void DBCFrameCollector::keep(quint32 key, const DBCPendingFrame &frame)
{
    auto waiting = latestFrames.find(key);
    // A remote frame carries no values: a data frame waiting for the same
    // tick keeps them and takes the newer time.
    if (frame.remote && waiting != latestFrames.end() && !waiting->remote)
        waiting->time = frame.time;
    else
        latestFrames.insert(key, frame);
    if (sequence.size() < SequenceBound) {
        sequence.append(DBCKeyedFrame{key, frame});
        return;
    }
    sequence[sequenceStart] = DBCKeyedFrame{key, frame};
    sequenceStart = (sequenceStart + 1) % SequenceBound;
}

bool DBCFrameCollector::isTransport(const VCI_CAN_OBJ &frame) const
{
    return frame.ExternFlag && !frame.RemoteFlag && isTransportId(frame.ID);
}

bool DBCFrameCollector::accepts(const VCI_CAN_OBJ &frame) const
{
    const QMutexLocker lock(&mutex);
    return (isTransport(frame) && !keysByPgn.isEmpty()) || enabled.value(DBCMessageKey::ofFrame(frame), false);
}

quint32 DBCFrameCollector::keyOfPgn(quint32 pgn, quint8 source, bool *found) const
{
    const QList<quint32> keys = keysByPgn.values(pgn);
    *found = !keys.isEmpty();
    if (keys.isEmpty())
        return 0;
    for (quint32 key : keys) {
        if ((key & 0xFF) == source)
            return key;
    }
    return *std::min_element(keys.begin(), keys.end());
}

bool DBCFrameCollector::feed(const VCI_CAN_OBJ &frame)
{
    const QMutexLocker lock(&mutex);
    bool kept = false;
    if (isTransport(frame)) {
        J1939Message message;
        if (reassembler.feed(frame, &message) == J1939Reassembler::Complete) {
            bool found = false;
            const quint32 key = keyOfPgn(message.pgn, message.source, &found);
            if (found) {
                keep(key, DBCPendingFrame{frame.DeviceTime, 1, 0, message.data});
                kept = true;
            }
        }
    }
    // The transport frames themselves are shown too when the file declares them.
    const quint32 key = DBCMessageKey::ofFrame(frame);
    if (enabled.value(key, false)) {
        // A remote frame has no data field, whatever its bytes hold.
        const QByteArray data = frame.RemoteFlag
                ? QByteArray()
                : QByteArray(reinterpret_cast<const char *>(frame.Data), sizeof frame.Data);
        keep(key, DBCPendingFrame{frame.DeviceTime, frame.ExternFlag, quint8(frame.RemoteFlag ? 1 : 0), data});
        kept = true;
    }
    return kept;
}

QMap<quint32, DBCPendingFrame> DBCFrameCollector::takeLatest()
{
    QMap<quint32, DBCPendingFrame> taken;
    const QMutexLocker lock(&mutex);
    taken.swap(latestFrames);
    sequence.clear();
    sequenceStart = 0;
    return taken;
}

QVector<DBCKeyedFrame> DBCFrameCollector::takeSequence()
{
    QVector<DBCKeyedFrame> taken;
    const QMutexLocker lock(&mutex);
    taken.reserve(sequence.size());
    for (int i = 0; i < sequence.size(); ++i)
        taken << sequence.at((sequenceStart + i) % sequence.size());
    sequence.clear();
    sequenceStart = 0;
    latestFrames.clear();
    return taken;
}
