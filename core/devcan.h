// The program's handle on the CAN device: loads the VCI_ interface library
// from the program's folder, binds its 14 functions, remembers the open
// device and keeps a small state per channel.
//
// No lock: the GUI thread opens, initialises, starts, resets and closes;
// receive and transmit threads call the bound functions concurrently.
// State fields are atomics written by the GUI thread.
#pragma once

#include "vci.h"
#include "vizoz_global.h"

#include <atomic>
#include <memory>

class QLibrary;
class QString;

class VIZOZ_EXPORT DevCan
{
public:
    enum DeviceState { Open = 1, Closed = 2, Closing = 3 };
    enum ChannelState { NotInitialised = -1, Initialised = 0, Started = 4, Reset = 5 };

    static DevCan &instance();

    // Loads the interface library from the program's folder.
    DevCan();
    // Loads the interface library from the given file.
    explicit DevCan(const QString &libraryPath);
    ~DevCan();
    // Copies every field; the loaded library is shared, not freed twice.
    DevCan(const DevCan &other);
    DevCan &operator=(const DevCan &other);

    uint32_t openDevice(uint32_t devType, uint32_t devIndex, uint32_t reserved);
    uint32_t closeDevice();
    uint32_t initCAN(uint32_t channel, VCI_INIT_CONFIG *config);
    uint32_t readBoardInfo(VCI_BOARD_INFO *info);
    uint32_t readErrInfo(uint32_t channel, VCI_ERR_INFO *err);
    uint32_t readCANStatus(uint32_t channel, VCI_CAN_STATUS *status);
    uint32_t getReference(uint32_t channel, uint32_t refType, void *data);
    uint32_t setReference(uint32_t channel, uint32_t refType, void *data);
    uint32_t getReceiveNum(uint32_t channel);
    uint32_t clearBuffer(uint32_t channel);
    uint32_t StartCAN(uint32_t channel);
    uint32_t ResetCAN(uint32_t channel);
    uint32_t Transmit(uint32_t channel, VCI_CAN_OBJ *frames, uint32_t count);
    uint32_t Receive(uint32_t channel, VCI_CAN_OBJ *frames, uint32_t capacity, uint32_t waitMs);

    bool isOpen() const { return deviceState == Open; }
    bool isClose() const { return deviceState == Closed; }
    void closingDevice() { deviceState = Closing; }
    bool isValid(uint32_t channel) const { return channel < channels; }
    bool isInited(uint32_t channel) const { return hasState(channel, Initialised); }
    bool isStarted(uint32_t channel) const { return hasState(channel, Started); }
    bool isReset(uint32_t channel) const { return hasState(channel, Reset); }
    // Bit rate in bit/s set by the last successful initCAN, 1 before.
    int maxBaudrate(uint32_t channel) const;
    uint32_t getChannels() const { return channels; }

    void setDevType(uint32_t type) { devType = type; }
    uint32_t getDevType() const { return devType; }
    void setDevIndex(uint32_t index) { devIndex = index; }
    uint32_t getDevIndex() const { return devIndex; }
    void setProduct(uint32_t value) { product = value; }
    uint32_t getProduct() const { return product; }
    // Serialising calls per device is left to the library.
    void lock() {}
    void unlock() {}

    // Whether the library loaded and every function was found.
    bool isLibraryLoaded() const;

    // Bit rate (bit/s) of a 16 MHz SJA1000 for the two timing registers.
    static int bitRate(uint8_t btr0, uint8_t btr1);

    std::atomic<uint32_t> devType{0};
    std::atomic<uint32_t> devIndex{0};
    std::atomic<uint32_t> product{0};
    std::atomic<int> deviceState{Closed};
    std::atomic<int> channelState[VCI_MAX_CHANNELS];
    std::atomic<int> baudrate[VCI_MAX_CHANNELS];
    std::atomic<uint32_t> channels{1};

    std::shared_ptr<QLibrary> library;
    VCI_OpenDeviceFn pOpenDevice = nullptr;
    VCI_CloseDeviceFn pCloseDevice = nullptr;
    VCI_InitCANFn pInitCAN = nullptr;
    VCI_ReadBoardInfoFn pReadBoardInfo = nullptr;
    VCI_ReadErrInfoFn pReadErrInfo = nullptr;
    VCI_ReadCANStatusFn pReadCANStatus = nullptr;
    VCI_GetReferenceFn pGetReference = nullptr;
    VCI_SetReferenceFn pSetReference = nullptr;
    VCI_GetReceiveNumFn pGetReceiveNum = nullptr;
    VCI_ClearBufferFn pClearBuffer = nullptr;
    VCI_StartCANFn pStartCAN = nullptr;
    VCI_ResetCANFn pResetCAN = nullptr;
    VCI_TransmitFn pTransmit = nullptr;
    VCI_ReceiveFn pReceive = nullptr;

private:
    bool hasState(uint32_t channel, int state) const
    {
        return channel < channels && channelState[channel] == state;
    }
    void resetChannels();
    void load(const QString &path);
};
