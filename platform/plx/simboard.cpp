#include "simboard.h"

#include "plxapi.h"

#include <cstdio>
#include <cstdlib>

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

} // namespace

SimBoard::SimBoard(uint16_t deviceId, uint32_t position)
    : m_deviceId(deviceId)
    , m_bridge(PlxBridge::forDevice(deviceId))
    , m_traffic([this](const VCI_CAN_OBJ &frame, uint32_t bitRate) { send(bitRate, &frame, 1); })
{
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
    if (bar == 0 && m_bridge)
        return readBridge(offset);
    uint8_t reg = 0;
    SimSja1000 *c = at(bar, offset, reg);
    return c ? c->read(reg) : 0xFF;
}

void SimBoard::write(uint8_t bar, size_t offset, uint8_t value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (bar == 0 && m_bridge) {
        writeBridge(offset, value);
        updateInterrupt();
        return;
    }
    uint8_t reg = 0;
    if (SimSja1000 *c = at(bar, offset, reg)) {
        c->write(reg, value);
        updateInterrupt();
    }
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
    for (auto &c : m_controllers)
        c->powerUp();
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

void SimBoard::enableInterrupt(uint32_t sources)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bridge)
        m_intcsr |= m_bridge->enableBits(sources);
    m_armed = true;
    updateInterrupt();
}

void SimBoard::disableInterrupt(uint32_t sources)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bridge)
        m_intcsr &= ~m_bridge->disableBits(sources);
}

void SimBoard::updateInterrupt()
{
    if (!m_armed)
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
        m_traffic.start(bitRate, id, framesPerSecond);
}

void SimBoard::closed()
{
    std::lock_guard<std::mutex> traffic(m_trafficMutex);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_opens == 0 || --m_opens > 0)
            return;
    }
    m_traffic.stop();
}

bool SimBoard::transmit(SimSja1000 &sender, const VCI_CAN_OBJ &frame)
{
    // Called from a controller's command, m_mutex held.
    const uint32_t rate = sender.bitRate();
    bool acknowledged = m_acknowledge;
    for (const auto &c : m_controllers)
        acknowledged = acknowledged || (c.get() != &sender && c->acknowledges(rate));
    // Without an acknowledge the sender raises an error frame and nobody
    // keeps the frame, unless self test suppresses that error frame.
    if (acknowledged || sender.selfTest())
        deliver(frame, rate, &sender);
    return acknowledged;
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
    std::lock_guard<std::mutex> lock(m_mutex);
    uint32_t stored = 0;
    for (uint32_t i = 0; i < count; ++i) {
        VCI_CAN_OBJ f = frames[i];
        f.ExternFlag = f.ExternFlag ? 1 : 0;
        f.RemoteFlag = f.RemoteFlag ? 1 : 0;
        f.ID &= f.ExternFlag ? 0x1FFFFFFFu : 0x7FFu;
        f.DataLen &= 0x0F;
        if (deliver(f, bitRate, nullptr))
            ++stored;
    }
    updateInterrupt();
    return stored;
}

void SimBoard::setAcknowledge(bool acknowledge)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_acknowledge = acknowledge;
}

void SimBoard::setTraffic(uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    std::lock_guard<std::mutex> traffic(m_trafficMutex);
    m_traffic.start(bitRate, id, framesPerSecond);
}

bool SimBoard::busError(uint32_t controller, uint8_t ecc)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (controller >= m_controllers.size())
        return false;
    m_controllers[controller]->busError(ecc);
    updateInterrupt();
    return true;
}

bool SimBoard::arbitrationLost(uint32_t controller, uint8_t bitNumber)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (controller >= m_controllers.size())
        return false;
    m_controllers[controller]->arbitrationLost(bitNumber);
    updateInterrupt();
    return true;
}

bool SimBoard::setPresent(uint32_t controller, bool present)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (controller >= m_controllers.size())
        return false;
    m_controllers[controller]->setPresent(present);
    return true;
}

bool SimBoard::peek(uint32_t controller, uint8_t reg, uint8_t *value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (controller >= m_controllers.size())
        return false;
    *value = m_controllers[controller]->peek(reg);
    return true;
}

bool SimBoard::stats(uint32_t controller, PLXSIM_STATS *stats)
{
    *stats = PLXSIM_STATS{};
    if (controller == PLXSIM_BOARD) {
        stats->generated = m_traffic.generated();
        return true;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (controller >= m_controllers.size())
        return false;
    const SimSja1000::Stats &s = m_controllers[controller]->stats();
    stats->received = s.received;
    stats->overruns = s.overruns;
    stats->transmitted = s.transmitted;
    return true;
}
