// An open device handle on a simulated board. Mapped BARs are address
// ranges reserved without access rights, so a driver that bypassed the
// window calls would fault at once instead of reading stale memory.
#pragma once

#include "plxopendevice.h"
#include "simboard.h"

class SimBoardDevice : public PlxOpenDevice
{
public:
    explicit SimBoardDevice(std::shared_ptr<SimBoard> board);

    uint32_t reset() override;
    uint32_t readEeprom(uint32_t offset, uint16_t *value) override;
    uint32_t enableInterrupt(const PlxInterrupt &interrupt) override;
    uint32_t disableInterrupt(const PlxInterrupt &interrupt) override;

protected:
    uint32_t mapWindow(uint8_t bar, Window &window) override;
    void unmapWindow(const Window &window) override;
    uint8_t readWindow(const Window &window, size_t offset) override;
    void writeWindow(const Window &window, size_t offset, uint8_t value) override;
    std::shared_ptr<PlxNotifier> makeNotifier(const PlxInterrupt &interrupt, uint32_t &status) override;
    void closed() override;

private:
    const std::shared_ptr<SimBoard> m_board;
};
