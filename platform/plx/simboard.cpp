#include "simboard.h"

#include "plxapi.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr size_t kControllerSpan = SimSja1000::kRegisters;

// VCI-style "<bit rate>:<id hex>:<frames per second>"; false when unset.
bool demoTraffic(uint32_t &bitRate, uint32_t &id, uint32_t &framesPerSecond)
{
    const char *text = std::getenv("PLXSIM_DEMO_TRAFFIC");
    if (!text || !*text)
        return false;
    unsigned long rate = 0, ident = 0, fps = 0;
    char tail = 0;
    if (std::sscanf(text, "%lu:%lx:%lu%c", &rate, &ident, &fps, &tail) == 3 && rate > 0 && rate <= 1000000
        && fps <= PLXSIM_MAX_TRAFFIC) {
        bitRate = uint32_t(rate);
        id = uint32_t(ident);
        framesPerSecond = uint32_t(fps);
        return true;
    }
    std::fprintf(stderr, "PLXSIM_DEMO_TRAFFIC: expected <bit rate>:<id hex>:<frames per second>, not \"%s\"\n",
                 text);
    return false;
}

// PLXSIM_OVERLOAD=1: frames take no bus time (stress runs only).
bool overloadFromEnvironment()
{
    const char *text = std::getenv("PLXSIM_OVERLOAD");
    return text && std::strcmp(text, "1") == 0;
}

// An error-passive transmitter waits this long after its frame before it
// may start another, so that other nodes get the bus.
constexpr uint32_t kSuspendBits = 8;

} // namespace

SimBoard::SimBoard(uint16_t deviceId, uint32_t position)
    : m_deviceId(deviceId)
    , m_bridge(PlxBridge::forDevice(deviceId))
    , m_traffic([this](const VCI_CAN_OBJ &frame, uint32_t bitRate) { offerTraffic(frame, bitRate); })
{
    m_bus.setOverload(overloadFromEnvironment());
    switch (deviceId) {
    case 0x2210:
        m_barSizes[2] = 512;
        m_slots = {{2, 0}, {2, 256}};
        break;
    case 0x2110:
        m_barSizes[2] = 512;
        m_slots = {{2, 0}};
        break;
    case 0x5201:
        m_barSizes[2] = m_barSizes[3] = kControllerSpan;
        m_slots = {{2, 0}, {3, 0}};
        break;
    case 0x1101:
        m_barSizes[2] = kControllerSpan;
        m_slots = {{2, 0}};
        break;
    case 0x1400:
        for (uint8_t bar = 2; bar <= 5; ++bar)
            m_barSizes[bar] = kControllerSpan;
        m_slots = {{5, 0}, {4, 0}, {3, 0}, {2, 0}};
        break;
    default:
        break;
    }
    if (m_bridge)
        m_barSizes[0] = m_bridge->registerSpan;
    for (size_t i = 0; i < m_slots.size(); ++i)
        m_controllers.push_back(std::make_unique<SimSja1000>(static_cast<SimSja1000::Bus &>(*this)));
    m_eeprom[112 / 2] = 0x0103;
    m_eeprom[114 / 2] = 0x0204;
    m_eeprom[116 / 2] = 0x0105;
    m_eeprom[118 / 2] = 0x0206;
    m_eeprom[144 / 2] = deviceId;
    m_eeprom[146 / 2] = uint16_t(0x5A00 + position);
    m_eeprom[148 / 2] = 0x0001;
}

SimBoard::~SimBoard()
{
    std::lock_guard<std::mutex> lock(m_trafficMutex);
    m_traffic.stop();
}

SimSja1000 *SimBoard::at(uint8_t bar, size_t offset, uint8_t &reg)
{
    for (size_t i = 0; i < m_slots.size(); ++i) {
        const Slot &s = m_slots[i];
        if (s.bar == bar && offset >= s.offset && offset - s.offset < kControllerSpan) {
            reg = uint8_t(offset - s.offset);
            return m_controllers[i].get();
        }
    }
    return nullptr;
}

uint8_t SimBoard::read(uint8_t bar, size_t offset)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    updateInterrupt();
    if (bar == 0 && m_bridge)
        return readBridge(offset);
    uint8_t reg = 0;
    SimSja1000 *c = at(bar, offset, reg);
    return c ? c->read(reg) : 0xFF;
}

void SimBoard::write(uint8_t bar, size_t offset, uint8_t value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    if (bar == 0 && m_bridge) {
        writeBridge(offset, value);
        updateInterrupt();
        return;
    }
    uint8_t reg = 0;
    if (SimSja1000 *c = at(bar, offset, reg)) {
        c->write(reg, value);
        advance(); // a frame of no bus time (overload) is done at once
    }
    updateInterrupt();
}

uint32_t SimBoard::readEeprom(uint32_t offset, uint16_t *value) const
{
    if (offset % 2 || offset / 2 >= sizeof m_eeprom / sizeof m_eeprom[0]) {
        *value = 0;
        return PLX_STATUS_INVALID_OFFSET;
    }
    *value = m_eeprom[offset / 2];
    return PLX_STATUS_OK;
}

void SimBoard::reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    for (auto &c : m_controllers)
        c->powerUp();
    m_bus.clear();
    for (auto &b : m_batches)
        b.second.remaining = 0;
    m_armed = false;
    m_intcsr = 0;
}

uint8_t SimBoard::readBridge(size_t offset) const
{
    // Only INTCSR is modelled; the other bridge registers read 0.
    if (offset < m_bridge->intcsr || offset - m_bridge->intcsr >= 4)
        return 0;
    bool pending = false;
    for (const auto &c : m_controllers)
        pending = pending || c->interruptPending();
    const uint32_t value = m_intcsr | (pending ? m_bridge->local1Active : 0);
    return uint8_t(value >> (8 * (offset - m_bridge->intcsr)));
}

void SimBoard::writeBridge(size_t offset, uint8_t value)
{
    if (offset < m_bridge->intcsr || offset - m_bridge->intcsr >= 4)
        return;
    const unsigned shift = unsigned(8 * (offset - m_bridge->intcsr));
    const uint32_t written = (m_intcsr & ~(0xFFu << shift)) | uint32_t(value) << shift;
    m_intcsr = written & m_bridge->writable();
}

void SimBoard::addNotifier(const std::shared_ptr<SimNotifier> &notifier)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_notifiers.push_back(notifier);
}

uint32_t SimBoard::notificationWaiters()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    uint32_t waiters = 0;
    for (const std::weak_ptr<SimNotifier> &n : m_notifiers) {
        if (const std::shared_ptr<SimNotifier> live = n.lock())
            waiters += live->waiters();
    }
    return waiters;
}

void SimBoard::enableInterrupt(uint32_t sources)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    if (m_bridge)
        m_intcsr |= m_bridge->enableBits(sources);
    m_armed = true;
    updateInterrupt();
}

void SimBoard::disableInterrupt(uint32_t sources)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    if (m_bridge)
        m_intcsr &= ~m_bridge->disableBits(sources);
}

SimBus::Clock::time_point SimBoard::tick()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    updateInterrupt();
    return m_bus.nextEvent();
}

void SimBoard::holdInterrupt(bool hold)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    m_held = hold;
    updateInterrupt();
}

void SimBoard::holdTimeouts(bool hold)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_timeoutsHeld = hold;
    if (hold)
        return;
    for (const std::weak_ptr<SimNotifier> &n : m_notifiers) {
        if (const std::shared_ptr<SimNotifier> live = n.lock())
            live->nudge();
    }
}

bool SimBoard::timeoutsHeld()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_timeoutsHeld;
}

void SimBoard::setOverload(bool overload)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    m_bus.setOverload(overload);
}

void SimBoard::advance()
{
    m_now = SimBus::Clock::now();
    SimBus::Frame carried;
    while (m_bus.nextEnded(m_now, carried))
        complete(carried);
}

void SimBoard::updateInterrupt()
{
    if (!m_armed || m_held)
        return;
    // The bridge passes the controllers' line on only while its local
    // input and its PCI interrupt are both enabled.
    const uint32_t open = m_bridge ? m_bridge->pciEnable | m_bridge->local1Enable : 0;
    if ((m_intcsr & open) != open)
        return;
    bool line = false;
    for (const auto &c : m_controllers)
        line = line || c->interruptPending();
    if (!line)
        return;
    // Like the bridge's own handler: the interrupt stays masked until the
    // driver enables it again.
    m_armed = false;
    ++m_interrupts;
    for (auto it = m_notifiers.begin(); it != m_notifiers.end();) {
        if (const std::shared_ptr<SimNotifier> n = it->lock()) {
            if (n->listensTo(PLX_INT_LOCAL_1))
                n->signal();
            ++it;
        } else {
            it = m_notifiers.erase(it);
        }
    }
}

void SimBoard::opened()
{
    std::lock_guard<std::mutex> traffic(m_trafficMutex);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_opens++ > 0)
            return;
    }
    uint32_t bitRate = 0, id = 0, framesPerSecond = 0;
    if (demoTraffic(bitRate, id, framesPerSecond))
        m_traffic.start(bitRate, id, framesPerSecond, m_trafficLength);
}

void SimBoard::closed()
{
    std::lock_guard<std::mutex> traffic(m_trafficMutex);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_opens == 0 || --m_opens > 0)
            return;
    }
    stopTraffic();
}

void SimBoard::stopTraffic()
{
    m_traffic.stop();
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    m_bus.dropTraffic();
    m_trafficCounter = 0;
}

void SimBoard::requestBus(SimSja1000 &sender, const VCI_CAN_OBJ &frame)
{
    // From a controller's command, m_mutex held.
    m_bus.request(&sender, frame, sender.bitRate(), m_now);
}

void SimBoard::withdrawBus(SimSja1000 &sender)
{
    m_bus.withdraw(&sender);
}

void SimBoard::complete(const SimBus::Frame &carried)
{
    const uint32_t rate = carried.bitRate;
    switch (carried.source) {
    case SimBus::Source::Controller: {
        SimSja1000 *sender = nullptr;
        for (const auto &c : m_controllers) {
            if (c.get() == carried.owner)
                sender = c.get();
        }
        bool acknowledged = m_acknowledge;
        for (const auto &c : m_controllers)
            acknowledged = acknowledged || (c.get() != sender && c->acknowledges(rate));
        if (!sender || carried.withdrawn)
            break;
        // Without an acknowledge the sender raises an error frame and
        // nobody keeps the frame, unless self test suppresses that error
        // frame.
        if (acknowledged || sender->selfTest())
            deliver(carried.frame, rate, sender);
        if (sender->transmissionEnded(acknowledged)) {
            SimBus::Clock::time_point again = carried.end;
            if (sender->errorPassive() && rate > 0)
                again += std::chrono::nanoseconds(uint64_t(kSuspendBits) * 1000000000ull / rate);
            m_bus.request(sender, carried.frame, rate, again);
        }
        break;
    }
    case SimBus::Source::Partner: {
        const bool stored = deliver(carried.frame, rate, nullptr);
        const auto batch = m_batches.find(carried.batch);
        if (batch != m_batches.end() && batch->second.remaining > 0) {
            --batch->second.remaining;
            batch->second.stored += stored ? 1 : 0;
        }
        break;
    }
    case SimBus::Source::Traffic:
        deliver(carried.frame, rate, nullptr);
        ++m_trafficCarried;
        break;
    }
}

bool SimBoard::deliver(const VCI_CAN_OBJ &frame, uint32_t bitRate, const SimSja1000 *sender)
{
    bool stored = false;
    for (const auto &c : m_controllers) {
        if (c.get() != sender)
            stored = c->receive(frame, bitRate) || stored;
    }
    return stored;
}

uint32_t SimBoard::send(uint32_t bitRate, const VCI_CAN_OBJ *frames, uint32_t count)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    advance();
    const uint64_t batch = ++m_lastBatch;
    m_batches[batch].remaining = count;
    for (uint32_t i = 0; i < count; ++i) {
        VCI_CAN_OBJ f = frames[i];
        f.ExternFlag = f.ExternFlag ? 1 : 0;
        f.RemoteFlag = f.RemoteFlag ? 1 : 0;
        f.ID &= f.ExternFlag ? 0x1FFFFFFFu : 0x7FFu;
        f.DataLen &= 0x0F;
        m_bus.sendPartner(f, bitRate, batch, m_now);
    }
    // The partner's frames take their bus time: wait until the last ended.
    for (;;) {
        advance();
        updateInterrupt();
        const SimBus::Clock::time_point next = m_bus.nextEvent();
        if (m_batches[batch].remaining == 0 || next == SimBus::Clock::time_point::max())
            break;
        lock.unlock();
        std::this_thread::sleep_until(std::min(next, SimBus::Clock::now() + std::chrono::milliseconds(10)));
        lock.lock();
    }
    const uint32_t stored = m_batches[batch].stored;
    m_batches.erase(batch);
    return stored;
}

void SimBoard::offerTraffic(VCI_CAN_OBJ frame, uint32_t bitRate)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    // Bytes 0..3 count the frames queued, so that a receiver sees a gap
    // only for a frame lost after the bus carried it.
    for (int b = 0; b < 4; ++b)
        frame.Data[b] = uint8_t(m_trafficCounter >> (8 * b));
    if (m_bus.offerTraffic(frame, bitRate, m_now))
        ++m_trafficCounter;
    else
        ++m_trafficDropped; // above the bus's capacity
    advance();
    updateInterrupt();
}

void SimBoard::setAcknowledge(bool acknowledge)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_acknowledge = acknowledge;
}

void SimBoard::setTraffic(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    std::lock_guard<std::mutex> traffic(m_trafficMutex);
    stopTraffic();
    m_traffic.start(bitRate, id, framesPerSecond, m_trafficLength);
}

void SimBoard::setTrafficLength(uint8_t dataLength)
{
    std::lock_guard<std::mutex> traffic(m_trafficMutex);
    m_trafficLength = dataLength;
}

bool SimBoard::busError(uint32_t controller, uint8_t ecc)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    if (controller >= m_controllers.size())
        return false;
    m_controllers[controller]->busError(ecc);
    updateInterrupt();
    return true;
}

bool SimBoard::arbitrationLost(uint32_t controller, uint8_t bitNumber)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    if (controller >= m_controllers.size())
        return false;
    m_controllers[controller]->arbitrationLost(bitNumber);
    updateInterrupt();
    return true;
}

bool SimBoard::setPresent(uint32_t controller, bool present)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    if (controller >= m_controllers.size())
        return false;
    m_controllers[controller]->setPresent(present);
    return true;
}

bool SimBoard::peek(uint32_t controller, uint8_t reg, uint8_t *value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    if (controller >= m_controllers.size())
        return false;
    *value = m_controllers[controller]->peek(reg);
    return true;
}

bool SimBoard::stats(uint32_t controller, PLXSIM_STATS *stats)
{
    *stats = PLXSIM_STATS{};
    std::lock_guard<std::mutex> lock(m_mutex);
    advance();
    if (controller == PLXSIM_BOARD) {
        stats->generated = m_trafficCarried;
        stats->notCarried = m_trafficDropped;
        stats->interrupts = m_interrupts;
        return true;
    }
    if (controller >= m_controllers.size())
        return false;
    const SimSja1000::Stats &s = m_controllers[controller]->stats();
    stats->received = s.received;
    stats->overruns = s.overruns;
    stats->transmitted = s.transmitted;
    stats->requested = s.requested;
    return true;
}
