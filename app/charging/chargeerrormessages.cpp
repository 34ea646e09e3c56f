#include "chargeerrormessages.h"

#include "gbt27930.h"

namespace {

struct CodePosition {
    int byte;
    int shift;
};

using CodeLayout = std::array<CodePosition, TimeoutCodes::Count>;

// BEM: charger recognition 0x00 and 0xAA, time sync and maximum output,
// charger ready, charger state, charger stop, charger statistics.
constexpr CodeLayout kBemLayout{{{0, 0}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 2}, {3, 0}}};
// CEM: BMS recognition, charging parameters, BMS ready, charging state,
// charging demand, BMS stop, BMS statistics.
constexpr CodeLayout kCemLayout{{{0, 0}, {1, 0}, {1, 2}, {2, 0}, {2, 2}, {2, 4}, {3, 0}}};

std::optional<TimeoutCodes> decode(const QByteArray &data, const CodeLayout &layout)
{
    if (data.size() < TimeoutCodes::Size)
        return std::nullopt;
    TimeoutCodes report;
    for (int i = 0; i < TimeoutCodes::Count; ++i)
        report.codes[i] = quint8(Gbt::u8(data, layout[i].byte) >> layout[i].shift & 0x03);
    return report;
}

} // namespace

std::optional<TimeoutCodes> decodeBem(const QByteArray &data)
{
    return decode(data, kBemLayout);
}

std::optional<TimeoutCodes> decodeCem(const QByteArray &data)
{
    return decode(data, kCemLayout);
}
