// Queues a firmware image for upload over CAN into the channel's transmit
// pipe, where the channel's CanWriteThread sends it. An upload of an N-byte
// file puts these standard frames on the bus, in order:
//   0x110 remote            start
//   0x111 data  x ceil(N/8) the file, 8 bytes a frame (the last one shorter),
//                           queued in units of 3 frames
//   0x112 remote            end of the data
//   0x113 data  x 3         SHA-1 digest of the file (8, 8 and 4 bytes)
//   0x114 remote            finish; it carries the tail mark, so the
//                           CanWriteThread emits tailSignal once it is sent
// At most MaxQueuedUnits units wait in the pipe; the sender waits for the
// transmit thread beyond that. A stop ends the data early, but the end,
// digest and finish frames are still queued, so that the device sees an
// upload whose digest does not match and discards it.
//
// The run ends by itself once the finish frame is queued (QThread's
// finished); errorSignal reports a file that cannot be opened or read, after
// which nothing more is queued.
#pragma once

#include "taskobj.h"
#include "uthread.h"
#include "vizoz_global.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

class VIZOZ_EXPORT UlSendFirmwareThread : public UThread
{
    Q_OBJECT
public:
    // The task's entries, by index.
    enum Entry { StartEntry = 0, DataEntry = 1, EndEntry = 2, DigestEntry = 3, FinishEntry = 4 };
    static constexpr uint32_t StartId = 0x110;
    static constexpr uint32_t DataId = 0x111;
    static constexpr uint32_t EndId = 0x112;
    static constexpr uint32_t DigestId = 0x113;
    static constexpr uint32_t FinishId = 0x114;
    static constexpr int MaxQueuedUnits = 10;

    explicit UlSendFirmwareThread(uint32_t channel);
    UlSendFirmwareThread(QObject *parent, uint32_t channel);
    ~UlSendFirmwareThread() override;

    // Taken when a run starts.
    void setFileName(const QString &name);
    // Kept for the caller; the sender reads every file as plain bytes.
    void setFileType(int type);
    int getFileType() const { return fileType; }
    uint32_t getChannel() const { return channel; }

    // The upload's frames: one CanData per Entry, 3 data frames per unit.
    static void initTaskObj(taskObj &task);
    // Queues the digest as one unit of frames on the template (the first
    // frame of templ), up to 8 bytes a frame.
    void sendShaValue(const CanData &templ, const QByteArray &digest);

Q_SIGNALS:
    void changeStatus();
    // Per cent of the file queued; emitted when it changes.
    void progressValueChanged(int percent);
    // The file cannot be opened or read (or the channel is not 0..3); the
    // upload is abandoned.
    void errorSignal();

protected:
    void run() override;

private:
    // SHA-1 of the whole file, read again from its start; false on a read
    // error.
    static bool fileDigest(const QString &name, QByteArray &digest);

    const uint32_t channel;
    int fileType = 0;
    QString fileName;  // guarded by mutex
};
