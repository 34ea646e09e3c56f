// Bit timings of the channel controller (16 MHz clock): the usual rates
// with their register values, and every timing the registers allow.
// Rates in kbit/s, sample points as fractions.
#pragma once

#include <QVector>

#include <cstdint>

class BitTiming
{
public:
    uint8_t btr0 = 0;
    uint8_t btr1 = 0;
    uint8_t tseg2Bits = 0; // btr1 & 0x70
    uint8_t tseg1Bits = 0; // btr1 & 0x0F
    float samplePoint = 0.0f;
    float rate = 0.0f;
    bool recommended = false;

    // The 15 usual rates from 5 to 1000 kbit/s, in that order.
    static const QVector<BitTiming> &standardTable();
    // Every timing with SJW 0 and single sampling whose rate lies in
    // [start, end], by rising rate (ties in register order).
    static QVector<BitTiming> sweep(double start, double end);
    // Whether the sample point suits the rate.
    static bool isRecommended(float rate, float samplePoint);
};
