#include "taskobj.h"

taskObj::taskObj() = default;

taskObj::taskObj(QObject *parent)
    : QObject(parent)
{
}

taskObj::taskObj(const taskObj &other)
    : QObject()
    , frames(other.frames)
    , Frames(other.Frames)
    , Interval(other.Interval)
    , Times(other.Times)
    , IdIncrease(other.IdIncrease)
    , DataIncrease(other.DataIncrease)
{
}

taskObj &taskObj::operator=(const taskObj &other)
{
    frames = other.frames;
    Frames = other.Frames;
    Interval = other.Interval;
    Times = other.Times;
    IdIncrease = other.IdIncrease;
    DataIncrease = other.DataIncrease;
    return *this;
}

taskObj::~taskObj() = default;

bool taskObj::templateFrame(CanObj &out) const
{
    if (frames.isEmpty() || frames.first().isEmpty())
        return false;
    out = frames.first().at(0);
    return true;
}

uint32_t taskObj::firstId(const CanObj &templ, bool leftAligned)
{
    if (!leftAligned)
        return templ.ID;
    return templ.ExternFlag ? templ.ID >> 3 : templ.ID >> 5;
}

uint32_t taskObj::nextId(uint32_t id, bool extended, uint32_t step)
{
    const uint64_t last = extended ? 0x1FFFFFFFu : 0x7FFu;
    const uint64_t next = uint64_t(id) + step;
    return next > last ? 0 : uint32_t(next);
}
