// Decoders of the time-out reports (BEM from the BMS, CEM from the
// charger): data bytes in, the seven two-bit codes the charge-error page
// shows out. A message shorter than its PGN's length gives no record.
#pragma once

#include <QByteArray>

#include <array>
#include <optional>

// One code per reported message: 0 received, 1 time-out, 2 not credible,
// 3 undefined; in the order of the page's rows.
struct TimeoutCodes {
    static constexpr int Size = 4;
    static constexpr int Count = 7;
    std::array<quint8, Count> codes{};
};

std::optional<TimeoutCodes> decodeBem(const QByteArray &data);
std::optional<TimeoutCodes> decodeCem(const QByteArray &data);
