// A channel's frame store between the threads that see frames (receive,
// transmit, send tasks) and the GUI that shows, watches, saves and decodes
// them: the display ring of recent frames, the watch list, the real-time-
// save queue, the error list, the DBC and GB/T 27930 hand-off queues, and
// the frame and bit counters.
//
// Thread safety: every list has its own lock and no two are held at once;
// counters and switches are atomics. Any thread may call any function.
#pragma once

#include "canobjstr.h"
#include "ulcanobj.h"
#include "ulcanobjwatchstr.h"
#include "ullockedqueue.h"
#include "ulring.h"
#include "ulwatchlist.h"
#include "vci.h"
#include "vizoz_global.h"

#include <QMutex>

#include <atomic>
#include <vector>

class VIZOZ_EXPORT UlBuffer
{
public:
    static constexpr int Channels = 4;
    static constexpr int DefaultMaxCount = 30000;
    static constexpr int DefaultRefreshCycle = 500;  // ms
    // Bound of the real-time-save, error, DBC and GB/T 27930 queues: past
    // it the oldest entry is dropped and counted.
    static constexpr int QueueBound = 100000;

    // Buffer of channel 0..3 (other values give channel 0's); the four are
    // built together on the first call.
    static UlBuffer &instance(int channel);

    ~UlBuffer();
    UlBuffer(const UlBuffer &) = delete;
    UlBuffer &operator=(const UlBuffer &) = delete;

    // Channel whose ID filter and real-time-save switch apply; starts as the
    // buffer's own index. Values outside 0..3 are ignored.
    void setChannel(int channel);
    int getChannel() const { return channel.load(); }

    // Counts every frame offered, then stores those that pass: transmitted
    // frames unless hidden, received frames that the channel's ID filter
    // accepts. Stored frames get the local time and go to the display ring,
    // to the watch list in watch mode and to the real-time-save queue while
    // the channel saves in real time. Returns the number stored.
    int addFrame(const VCI_CAN_OBJ *frames, int count, bool transmitted);
    // Queue every frame, unfiltered, without HasDeviceTime, SendType and
    // Spare. The GB/T 27930 queue keeps extended frames only. Both return count.
    int addDBCFrame(const VCI_CAN_OBJ *frames, int count);
    int addGBT27930Frame(const VCI_CAN_OBJ *frames, int count);
    void addErrorData(const VCI_ERR_INFO &error);
    void addWatchFrame(const UlCanObj &frame);
    void addRtSaveFrame(const UlCanObj &frame);

    // Display strings of the ring's frame at index (0 = oldest) with the
    // index as first string; 13 empty strings outside the ring.
    CanObjStr getFrame(int index) const;
    // Copy of the whole display ring, oldest first, taken under one lock:
    // the frames as they stood at the moment of the call.
    std::vector<UlCanObj> snapshot() const;
    // Watch row at index (0 = first ID seen); outside the list an all-false
    // mask and first string "-1".
    UlCanObjWatchStr getWatchFrame(int index) const;

    // Single-step takes: each moves the oldest entry out under the queue's
    // lock and returns false when the queue is empty.
    bool takeRtSaveFrame(UlCanObj &frame);
    // As takeRtSaveFrame, waiting up to timeoutMs for a frame to arrive.
    bool waitRtSaveFrame(UlCanObj &frame, unsigned long timeoutMs);
    // Empties the real-time-save queue: frames no recording will write.
    void dropRtSaveFrames() { rtQueue.clear(); }
    bool getErrorData(VCI_ERR_INFO &error);
    bool takeDBCFrame(VCI_CAN_OBJ &frame);
    bool takeGBT27930Frame(VCI_CAN_OBJ &frame);
    bool GBT27930Frame(VCI_CAN_OBJ &frame) { return takeGBT27930Frame(frame); }
    // Takes the oldest real-time-save frame as display strings with number
    // as first string; 13 empty strings when the queue is empty.
    CanObjStr getRtSaveFrame(int number);
    // Copies the oldest DBC frame and leaves it queued; false when empty.
    bool DBCFrame(VCI_CAN_OBJ &frame) const;
    // Removes the oldest GB/T 27930 frame; false when empty.
    bool DeleteGBT27930Frame();

    static CanObjStr analyseData(const UlCanObj &frame);

    void setDBCRun(bool on) { dbcRun = on; }
    bool DBCRun() const { return dbcRun; }
    void ClearDBC() { dbcQueue.clear(); }
    void setGBT27930Run(bool on) { gbtRun = on; }
    bool GBT27930Run() const { return gbtRun; }
    void ClearGBT27930() { gbtQueue.clear(); }
    void setHideSendFrame(bool hide) { hideSendFrame = hide; }
    bool getHideSendFrame() const { return hideSendFrame; }
    // Set by the bus-status view on channel 0's buffer; only stored.
    void setLooking(bool on) { looking = on; }
    bool getLooking() const { return looking; }

    // Empties the display ring.
    void clear();
    // Empties the watch list (and forgets its changed-byte marks).
    void clearW();
    // Empties the display ring and the watch list and zeroes both counters.
    // The real-time-save queue is emptied too, unless the channel is saving
    // in real time: those frames still belong to the file.
    void reset();

    // A new capacity empties the ring and resets; the current one changes nothing.
    void setMaxCount(int maxCount);
    // Stores the capacity without clearing; a ring already above it keeps
    // its size. Returns true.
    bool init(int maxCount);
    int getMaxCount() const { return maxCountValue; }
    // ms; only stored for the GUI.
    void setRefreshCycle(int ms) { refreshCycle = ms; }
    int getRefreshCycle() const { return refreshCycle; }

    int count() const;
    int countW() const;
    int countRt() const { return rtQueue.size(); }
    int countDBC() const { return dbcQueue.size(); }
    int countGBT27930() const { return gbtQueue.size(); }
    int countError() const { return errorQueue.size(); }
    // Entries dropped at QueueBound since start.
    qint64 droppedRtSave() const { return rtQueue.dropped(); }
    qint64 droppedErrors() const { return errorQueue.dropped(); }
    qint64 droppedDBC() const { return dbcQueue.dropped(); }
    qint64 droppedGBT27930() const { return gbtQueue.dropped(); }

    // Frames and bits offered to addFrame since the last reset.
    qint64 frames() const { return frameCounter; }
    qint64 size() const { return bitCounter; }
    void addSize(qint64 bits) { bitCounter += bits; }

    // Bits of a frame on the bus for the bus-load figure (0 for null).
    static int getFramesBytes(const VCI_CAN_OBJ *frame);
    // A frame without device time stamp was sent by this program.
    static bool isSendFrame(const VCI_CAN_OBJ *frame);

private:
    explicit UlBuffer(int channel);
    void store(const UlCanObj *stamped, int n, bool watch, bool realTimeSave);

    std::atomic<int> channel;
    std::atomic<int> maxCountValue{DefaultMaxCount};
    std::atomic<int> refreshCycle{DefaultRefreshCycle};
    std::atomic<bool> looking{false};
    std::atomic<bool> hideSendFrame{false};
    std::atomic<bool> dbcRun{false};
    std::atomic<bool> gbtRun{false};
    std::atomic<qint64> frameCounter{0};
    std::atomic<qint64> bitCounter{0};

    mutable QMutex ringLock;
    UlRing<UlCanObj> ring{std::size_t(DefaultMaxCount)};
    mutable QMutex watchLock;
    UlWatchList watchList{DefaultMaxCount};
    UlLockedQueue<UlCanObj> rtQueue{QueueBound};
    UlLockedQueue<VCI_ERR_INFO> errorQueue{QueueBound};
    UlLockedQueue<VCI_CAN_OBJ> dbcQueue{QueueBound};
    UlLockedQueue<VCI_CAN_OBJ> gbtQueue{QueueBound};
};
