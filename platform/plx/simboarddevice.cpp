#include "simboarddevice.h"

#include <sys/mman.h>
#include <unistd.h>

namespace {

size_t pageRounded(size_t size)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

} // namespace

SimBoardDevice::SimBoardDevice(std::shared_ptr<SimBoard> board) : m_board(std::move(board))
{
    m_board->opened();
}

uint32_t SimBoardDevice::reset()
{
    m_board->reset();
    return PLX_STATUS_OK;
}

uint32_t SimBoardDevice::readEeprom(uint32_t offset, uint16_t *value)
{
    return m_board->readEeprom(offset, value);
}

uint32_t SimBoardDevice::enableInterrupt(const PlxInterrupt &interrupt)
{
    m_board->enableInterrupt(interrupt.sources);
    return PLX_STATUS_OK;
}

uint32_t SimBoardDevice::disableInterrupt(const PlxInterrupt &interrupt)
{
    m_board->disableInterrupt(interrupt.sources);
    return PLX_STATUS_OK;
}

uint32_t SimBoardDevice::mapWindow(uint8_t bar, Window &window)
{
    const size_t size = m_board->barSize(bar);
    if (size == 0)
        return PLX_STATUS_INVALID_ADDR;
    void *base = ::mmap(nullptr, pageRounded(size), PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED)
        return PLX_STATUS_INSUFFICIENT_RES;
    window.base = static_cast<uint8_t *>(base);
    window.size = size;
    return PLX_STATUS_OK;
}

void SimBoardDevice::unmapWindow(const Window &window)
{
    ::munmap(window.base, pageRounded(window.size));
}

uint8_t SimBoardDevice::readWindow(const Window &window, size_t offset)
{
    return m_board->read(window.bar, offset);
}

void SimBoardDevice::writeWindow(const Window &window, size_t offset, uint8_t value)
{
    m_board->write(window.bar, offset, value);
}

std::shared_ptr<PlxNotifier> SimBoardDevice::makeNotifier(const PlxInterrupt &interrupt, uint32_t &status)
{
    const std::weak_ptr<SimBoard> board = m_board;
    auto notifier = std::make_shared<SimNotifier>(
            interrupt.sources,
            [board] {
                const std::shared_ptr<SimBoard> b = board.lock();
                return b ? b->tick() : std::chrono::steady_clock::time_point::max();
            },
            [board] {
                const std::shared_ptr<SimBoard> b = board.lock();
                return b && b->timeoutsHeld();
            });
    m_board->addNotifier(notifier);
    status = PLX_STATUS_OK;
    return notifier;
}

void SimBoardDevice::closed()
{
    m_board->closed();
}
