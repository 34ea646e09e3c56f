// One simulated PCI board: its BARs and the SJA1000 controllers behind
// them, its EEPROM, the bus the controllers share with a partner node, and
// the board's interrupt line to the notifications. Every member function
// is thread-safe (one mutex per board); the partner's traffic thread and
// any number of device handles use it at once. The bus keeps time
// (simbus.h): every entry point first brings it up to the present, so
// whoever looks (a register read, a notification wait) sees the frames
// that ended by then.
#pragma once

#include "plxbridge.h"
#include "plxsim.h"
#include "simbus.h"
#include "simnotifier.h"
#include "simsja1000.h"
#include "simtraffic.h"

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class SimBoard final : private SimSja1000::Bus
{
public:
    // position: the board's place in the configured list (0..).
    SimBoard(uint16_t deviceId, uint32_t position);
    ~SimBoard();
    SimBoard(const SimBoard &) = delete;
    SimBoard &operator=(const SimBoard &) = delete;

    uint16_t deviceId() const { return m_deviceId; }
    uint32_t controllerCount() const { return uint32_t(m_controllers.size()); }
    // Size of the BAR in bytes; 0 when the board has no such BAR.
    size_t barSize(uint8_t bar) const { return bar < 6 ? m_barSizes[bar] : 0; }

    uint8_t read(uint8_t bar, size_t offset);
    void write(uint8_t bar, size_t offset, uint8_t value);
    uint32_t readEeprom(uint32_t offset, uint16_t *value) const;
    // Controllers to power-up state; the interrupt disabled.
    void reset();

    // Interrupt plumbing of the bridge (see plxapi.h): the sources'
    // enable bits of the bridge's INTCSR (plxbridge.h) set or cleared; an
    // enable also unmasks the line after a notification.
    void addNotifier(const std::shared_ptr<SimNotifier> &notifier);
    // Threads blocked in a wait of the board's notifications.
    uint32_t notificationWaiters();
    void enableInterrupt(uint32_t sources);
    void disableInterrupt(uint32_t sources);
    // Brings the bus up to the present (raising the interrupt for what
    // ended); returns when the next frame on it ends or may start.
    SimBus::Clock::time_point tick();

    // A device handle opened or closed; the first open starts the demo
    // traffic of PLXSIM_DEMO_TRAFFIC, the last close stops all traffic.
    void opened();
    void closed();

    // The partner node and bus events (see plxsim.h).
    uint32_t send(uint32_t bitRate, const VCI_CAN_OBJ *frames, uint32_t count);
    void setOverload(bool overload);
    void holdInterrupt(bool hold);
    // PLXSIM_HoldTimeouts; a release wakes the waits to look again.
    void holdTimeouts(bool hold);
    bool timeoutsHeld();
    void setAcknowledge(bool acknowledge);
    void setTraffic(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond);
    void setTrafficLength(uint8_t dataLength);
    bool busError(uint32_t controller, uint8_t ecc);
    bool arbitrationLost(uint32_t controller, uint8_t bitNumber);
    bool setPresent(uint32_t controller, bool present);
    bool peek(uint32_t controller, uint8_t reg, uint8_t *value);
    bool stats(uint32_t controller, PLXSIM_STATS *stats);

private:
    struct Slot {
        uint8_t bar;
        size_t offset; // of the controller's register 0 in the BAR
    };

    struct Batch {
        uint32_t remaining = 0;
        uint32_t stored = 0;
    };

    void requestBus(SimSja1000 &sender, const VCI_CAN_OBJ &frame) override;
    void withdrawBus(SimSja1000 &sender) override;
    // With m_mutex held: completes every frame whose bus time has ended.
    void advance();
    void complete(const SimBus::Frame &carried);
    void offerTraffic(VCI_CAN_OBJ frame, uint32_t bitRate);
    void stopTraffic();
    bool deliver(const VCI_CAN_OBJ &frame, uint32_t bitRate, const SimSja1000 *sender);
    // With m_mutex held, after anything that may raise the line.
    void updateInterrupt();
    uint8_t readBridge(size_t offset) const; // m_mutex held
    void writeBridge(size_t offset, uint8_t value); // m_mutex held
    SimSja1000 *at(uint8_t bar, size_t offset, uint8_t &reg);

    const uint16_t m_deviceId;
    const PlxBridge *const m_bridge; // nullptr: a device without one modelled
    size_t m_barSizes[6] = {};
    std::vector<Slot> m_slots; // one per controller
    uint16_t m_eeprom[128] = {};

    std::mutex m_mutex;
    std::vector<std::unique_ptr<SimSja1000>> m_controllers;
    std::vector<std::weak_ptr<SimNotifier>> m_notifiers;
    bool m_armed = false;
    uint32_t m_intcsr = 0; // enable bits; the EEPROM left them clear
    bool m_held = false;
    bool m_timeoutsHeld = false;
    bool m_acknowledge = true;
    uint32_t m_opens = 0;

    SimBus m_bus;
    SimBus::Clock::time_point m_now; // of the call in progress
    std::map<uint64_t, Batch> m_batches; // partner frames being sent
    uint64_t m_lastBatch = 0;
    uint32_t m_trafficCounter = 0; // of the next background frame queued
    uint64_t m_trafficCarried = 0;
    uint64_t m_trafficDropped = 0;
    uint64_t m_interrupts = 0;

    std::mutex m_trafficMutex; // start and stop, never under m_mutex
    uint8_t m_trafficLength = 8; // guarded by m_trafficMutex
    SimTraffic m_traffic;      // declared last: stopped before the rest goes
};
