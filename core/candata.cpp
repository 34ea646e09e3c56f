#include "candata.h"

#include <QSharedData>
#include <QVector>

// Frames before `head` have been popped; they are dropped when the dead
// prefix grows, so pop stays O(1) amortised.
class CanDataPrivate : public QSharedData
{
public:
    QVector<CanObj> frames;
    int head = 0;

    void compact()
    {
        if (head > 64 && head * 2 > frames.size()) {
            frames.erase(frames.begin(), frames.begin() + head);
            head = 0;
        }
    }
};

CanData::CanData() : d(new CanDataPrivate) {}
CanData::CanData(const CanData &other) = default;
CanData::CanData(CanData &&other) noexcept = default;
CanData &CanData::operator=(const CanData &other) = default;
CanData &CanData::operator=(CanData &&other) noexcept = default;
CanData::~CanData() = default;

void CanData::push(const CanObj &frame)
{
    d->frames.append(frame);
}

void CanData::push(CanObj &&frame)
{
    d->frames.append(std::move(frame));
}

CanObj CanData::pop()
{
    CanObj frame = d->frames.at(d->head);
    ++d->head;
    if (d->head == d->frames.size()) {
        d->frames.clear();
        d->head = 0;
    } else {
        d->compact();
    }
    return frame;
}

const CanObj &CanData::at(int i) const
{
    return d->frames.at(d->head + i);
}

CanObj &CanData::operator[](int i)
{
    return d->frames[d->head + i];
}

int CanData::size() const
{
    return d->frames.size() - d->head;
}

bool CanData::isEmpty() const
{
    return size() == 0;
}

void CanData::clear()
{
    d->frames.clear();
    d->head = 0;
}

void CanData::reserve(int n)
{
    d->frames.reserve(d->head + n);
}
