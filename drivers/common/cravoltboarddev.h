// The one device object of a board driver: the board, its channel
// control, receive thread and per-channel stores, and the 14 VCI_
// operations on them. The arguments DeviceType and DeviceIndex matter to
// openDevice only; one board per process.
//
// Every operation may come from any thread at once. Each passes a call
// gate: closeDevice refuses new calls, waits for those in flight (a
// transmit waiting on a dead bus gives up at once) and for the receive
// thread, and only then unmaps and closes the board. Every operation
// checks the channel against the open board, null pointers and register
// numbers, and returns 0 when refused. After the receive thread stopped on
// a failure of the board (cboardreceiver.h) only the stores are served
// (receive, receive count, error read) until the device is closed.
//
// A failed open prints one line on stderr naming the device type, the
// index and the bridge library's reason.
#pragma once

#include "boardfamily.h"
#include "cboardreceiver.h"
#include "cchannelstore.h"
#include "csjachannelcontrol.h"
#include "ctxrxhandshake.h"
#include "cwrapplxpci.h"

#include <atomic>
#include <mutex>

class CRavoltBoardDev
{
public:
    explicit CRavoltBoardDev(const BoardFamily &family);
    virtual ~CRavoltBoardDev();
    CRavoltBoardDev(const CRavoltBoardDev &) = delete;
    CRavoltBoardDev &operator=(const CRavoltBoardDev &) = delete;

    uint32_t openDevice(uint32_t devType, uint32_t devIndex, uint32_t reserved);
    uint32_t closeDevice();
    uint32_t initCAN(uint32_t channel, const VCI_INIT_CONFIG *config);
    uint32_t readBoardInfo(VCI_BOARD_INFO *info);
    uint32_t readErrInfo(uint32_t channel, VCI_ERR_INFO *error);
    uint32_t readCANStatus(uint32_t channel, VCI_CAN_STATUS *status);
    uint32_t getReference(uint32_t channel, uint32_t refType, void *data);
    uint32_t setReference(uint32_t channel, uint32_t refType, void *data);
    uint32_t getReceiveNum(uint32_t channel);
    uint32_t clearBuffer(uint32_t channel);
    uint32_t startCAN(uint32_t channel);
    uint32_t resetCAN(uint32_t channel);
    uint32_t transmit(uint32_t channel, const VCI_CAN_OBJ *frames, uint32_t count);
    uint32_t receive(uint32_t channel, VCI_CAN_OBJ *frames, uint32_t capacity);

private:
    class Call;

    bool usable(uint32_t channel) const;
    void closeLocked();

    const BoardFamily &m_family;
    CWrapPlxPCI m_board;
    CTxRxHandshake m_handshake;
    CBoardReceiver::Stores m_stores;
    std::atomic<bool> m_closing{false};
    CSjaChannelControl m_control;
    CBoardReceiver m_receiver;

    std::mutex m_openMutex; // open and close
    std::atomic<bool> m_open{false};
    std::atomic<uint32_t> m_channels{0};
    std::atomic<uint32_t> m_calls{0};
};

// The device object of the library; each driver defines it.
CRavoltBoardDev &driverDevice();
