// The extern "C" layer of the simulation API declared in plxsim.h.
#include "plxsim.h"

#include "plxdevicetable.h"
#include "simboards.h"

namespace {

std::shared_ptr<SimBoard> board(uint32_t index)
{
    return SimBoards::instance().board(index);
}

} // namespace

void PLXSIM_SetBoards(const char *boards)
{
    PlxDeviceTable::instance().closeAll();
    SimBoards::instance().configure(boards);
}

uint32_t PLXSIM_BoardCount(void)
{
    return SimBoards::instance().count();
}

uint32_t PLXSIM_SendFrames(uint32_t index, uint32_t bitRate, const VCI_CAN_OBJ *frames, uint32_t count)
{
    const auto b = board(index);
    return b && frames ? b->send(bitRate, frames, count) : 0;
}

uint32_t PLXSIM_SetAcknowledge(uint32_t index, uint32_t acknowledge)
{
    const auto b = board(index);
    if (!b)
        return 0;
    b->setAcknowledge(acknowledge != 0);
    return 1;
}

uint32_t PLXSIM_SetTraffic(uint32_t index, uint32_t bitRate, uint32_t id, uint32_t framesPerSecond)
{
    const auto b = board(index);
    if (!b || framesPerSecond > PLXSIM_MAX_TRAFFIC || (framesPerSecond > 0 && bitRate == 0))
        return 0;
    b->setTraffic(bitRate, id, framesPerSecond);
    return 1;
}

uint32_t PLXSIM_SetTrafficLength(uint32_t index, uint32_t dataLength)
{
    const auto b = board(index);
    if (!b || dataLength > 8)
        return 0;
    b->setTrafficLength(uint8_t(dataLength));
    return 1;
}

uint32_t PLXSIM_SetOverload(uint32_t index, uint32_t overload)
{
    const auto b = board(index);
    if (!b)
        return 0;
    b->setOverload(overload != 0);
    return 1;
}

uint32_t PLXSIM_HoldInterrupt(uint32_t index, uint32_t hold)
{
    const auto b = board(index);
    if (!b)
        return 0;
    b->holdInterrupt(hold != 0);
    return 1;
}

uint32_t PLXSIM_BusError(uint32_t index, uint32_t controller, uint8_t ecc)
{
    const auto b = board(index);
    return b && b->busError(controller, ecc) ? 1 : 0;
}

uint32_t PLXSIM_ArbitrationLost(uint32_t index, uint32_t controller, uint8_t bitNumber)
{
    const auto b = board(index);
    return b && b->arbitrationLost(controller, bitNumber) ? 1 : 0;
}

uint32_t PLXSIM_SetControllerPresent(uint32_t index, uint32_t controller, uint32_t present)
{
    const auto b = board(index);
    return b && b->setPresent(controller, present != 0) ? 1 : 0;
}

uint32_t PLXSIM_PeekRegister(uint32_t index, uint32_t controller, uint8_t reg, uint8_t *value)
{
    const auto b = board(index);
    return b && value && b->peek(controller, reg, value) ? 1 : 0;
}

uint32_t PLXSIM_NotificationWaiters(uint32_t index)
{
    const auto b = board(index);
    return b ? b->notificationWaiters() : 0;
}

uint32_t PLXSIM_HoldTimeouts(uint32_t index, uint32_t hold)
{
    const auto b = board(index);
    if (!b)
        return 0;
    b->holdTimeouts(hold != 0);
    return 1;
}

uint32_t PLXSIM_GetStats(uint32_t index, uint32_t controller, PLXSIM_STATS *stats)
{
    const auto b = board(index);
    return b && stats && b->stats(controller, stats) ? 1 : 0;
}
