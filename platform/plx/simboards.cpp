#include "simboards.h"

#include "plxkey.h"
#include "simboarddevice.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

constexpr uint16_t kPlxVendor = 0x10B5;

} // namespace

SimBoards &SimBoards::instance()
{
    // Never destroyed, like the device table (see there).
    static SimBoards *boards = new SimBoards;
    return *boards;
}

void SimBoards::configure(const char *list)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    configureLocked(list);
}

void SimBoards::configureLocked(const char *list)
{
    m_configured = true;
    m_boards.clear();
    if (!list)
        list = std::getenv("PLXSIM_BOARDS");
    m_active = list != nullptr;
    if (!list)
        return;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        char *end = nullptr;
        const unsigned long id = std::strtoul(item.c_str(), &end, 16);
        if (item.empty() || *end || id > 0xFFFF) {
            std::fprintf(stderr, "PLXSIM_BOARDS: \"%s\" is not a PCI device id\n", item.c_str());
            continue;
        }
        m_boards.push_back(std::make_shared<SimBoard>(uint16_t(id), uint32_t(m_boards.size())));
    }
}

void SimBoards::ensureConfigured()
{
    if (!m_configured)
        configureLocked(nullptr);
}

bool SimBoards::active()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ensureConfigured();
    return m_active;
}

std::shared_ptr<SimBoard> SimBoards::board(uint32_t index)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ensureConfigured();
    return index < m_boards.size() ? m_boards[index] : nullptr;
}

uint32_t SimBoards::count()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ensureConfigured();
    return uint32_t(m_boards.size());
}

uint32_t SimBoards::find(PlxDeviceKey &key, uint16_t matchIndex)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ensureConfigured();
    uint32_t count = 0;
    for (size_t i = 0; i < m_boards.size(); ++i) {
        PlxDeviceKey found{};
        found.vendorId = kPlxVendor;
        found.deviceId = m_boards[i]->deviceId();
        found.bus = uint8_t(i + 1);
        found.source = 1;
        if (!PlxKey::matches(key, found))
            continue;
        if (count++ == matchIndex) {
            key = found;
            return PLX_STATUS_OK;
        }
    }
    return PLX_STATUS_NOT_FOUND;
}

uint32_t SimBoards::open(const PlxDeviceKey &key, std::shared_ptr<PlxOpenDevice> &device)
{
    std::shared_ptr<SimBoard> b = key.bus >= 1 ? board(uint32_t(key.bus - 1)) : nullptr;
    if (!b || b->deviceId() != key.deviceId || key.vendorId != kPlxVendor)
        return PLX_STATUS_INVALID_OBJECT;
    device = std::make_shared<SimBoardDevice>(std::move(b));
    return PLX_STATUS_OK;
}
