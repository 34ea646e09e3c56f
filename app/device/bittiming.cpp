#include "bittiming.h"

#include <algorithm>

namespace {

BitTiming standard(float rate, uint8_t btr0, uint8_t btr1, float samplePoint)
{
    BitTiming t;
    t.btr0 = btr0;
    t.btr1 = btr1;
    t.tseg2Bits = btr1 & 0x70;
    t.tseg1Bits = btr1 & 0x0F;
    t.samplePoint = samplePoint;
    t.rate = rate;
    t.recommended = true;
    return t;
}

// BRP 0..63, TSEG2 0..7, TSEG1 TSEG2..15: 6400 timings, made once.
const QVector<BitTiming> &allTimings()
{
    static const QVector<BitTiming> timings = [] {
        QVector<BitTiming> all;
        all.reserve(6400);
        for (int brp = 0; brp < 64; ++brp) {
            for (int tseg2 = 0; tseg2 < 8; ++tseg2) {
                for (int tseg1 = tseg2; tseg1 < 16; ++tseg1) {
                    const int quanta = tseg1 + tseg2 + 3;
                    BitTiming t;
                    t.btr0 = uint8_t(brp);
                    t.btr1 = uint8_t(tseg2 << 4 | tseg1);
                    t.tseg2Bits = t.btr1 & 0x70;
                    t.tseg1Bits = t.btr1 & 0x0F;
                    t.rate = 8000.0f / float((brp + 1) * quanta);
                    t.samplePoint = float(tseg1 + 2) / float(quanta);
                    t.recommended = BitTiming::isRecommended(t.rate, t.samplePoint);
                    all.append(t);
                }
            }
        }
        return all;
    }();
    return timings;
}

} // namespace

const QVector<BitTiming> &BitTiming::standardTable()
{
    static const QVector<BitTiming> table{
            standard(5, 0xBF, 0xFF, 0.68f),    standard(10, 0x31, 0x1C, 0.875f),
            standard(20, 0x18, 0x1C, 0.875f),  standard(40, 0x87, 0xFF, 0.68f),
            standard(50, 0x09, 0x1C, 0.875f),  standard(80, 0x83, 0xFF, 0.68f),
            standard(100, 0x04, 0x1C, 0.875f), standard(125, 0x03, 0x1C, 0.875f),
            standard(200, 0x81, 0xFA, 0.60f),  standard(250, 0x01, 0x1C, 0.875f),
            standard(400, 0x80, 0xFA, 0.60f),  standard(500, 0x00, 0x1C, 0.875f),
            standard(666, 0x80, 0xB6, 0.667f), standard(800, 0x00, 0x16, 0.80f),
            standard(1000, 0x00, 0x14, 0.75f),
    };
    return table;
}

QVector<BitTiming> BitTiming::sweep(double start, double end)
{
    QVector<BitTiming> found;
    for (const BitTiming &t : allTimings()) {
        if (t.samplePoint > 0.5f && start <= t.rate && t.rate <= end)
            found.append(t);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const BitTiming &a, const BitTiming &b) { return a.rate < b.rate; });
    return found;
}

bool BitTiming::isRecommended(float rate, float samplePoint)
{
    if (rate > 800 && rate <= 1000)
        return samplePoint > 0.70f && samplePoint < 0.80f;
    if (rate > 500 && rate <= 800)
        return samplePoint > 0.75f && samplePoint < 0.85f;
    if (rate >= 5 && rate <= 500)
        return samplePoint > 0.80f && samplePoint <= 0.90f;
    return false;
}
