// An ordered group of frames sent as one unit (transmit pipe, send tasks).
// Implicitly shared: a copy shares the frames until one side changes them.
#pragma once

#include "canobj.h"
#include "vizoz_global.h"

#include <QSharedDataPointer>

class CanDataPrivate;

class VIZOZ_EXPORT CanData
{
    Q_GADGET
public:
    CanData();
    CanData(const CanData &other);
    CanData(CanData &&other) noexcept;
    CanData &operator=(const CanData &other);
    CanData &operator=(CanData &&other) noexcept;
    ~CanData();

    void push(const CanObj &frame);
    void push(CanObj &&frame);
    // Removes and returns the first frame; the caller checks !isEmpty().
    CanObj pop();
    const CanObj &at(int i) const;
    CanObj &operator[](int i);
    int size() const;
    bool isEmpty() const;
    void clear();
    void reserve(int n);

private:
    QSharedDataPointer<CanDataPrivate> d;
};

Q_DECLARE_METATYPE(CanData)
