// Parses arbitrary text, then decodes and encodes every signal the grammar
// produced over a classic frame and over a span of the message's size.

#include "dbc/dbcparser.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

void exercise(const DBC::Signal &signal, gsl::span<uint8_t> span)
{
    signal.decode_ex(span);
    signal.decodePhysicalValue(span);
    if (span.size() >= 8)
        signal.decode(span);
    signal.encode(span, -1);
    signal.encode_ex(span, 0x5a5a5a5a5a5a5a5a);
    signal.encode_ex(span, -2);
    signal.encodePhysicalValue(span, signal.maximum);
    signal.encodePhysicalValue(span, signal.minimum);
    signal.minimumRawValue();
    signal.maximumRawValue();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    DBC::Network network;
    Quillon::DbcParser::Stop stop;
    Quillon::DbcParser::parseText(text, network, &stop);

    uint8_t frame[8] = {};
    std::memcpy(frame, data, std::min<size_t>(size, sizeof frame));
    for (const auto &message : network.messages) {
        // Exactly sized, so that the sanitizer sees any access past the end.
        std::vector<uint8_t> bytes(std::min<uint32_t>(message.second.size, 64), 0xa5);
        for (const auto &signal : message.second.signals) {
            exercise(signal.second, gsl::span<uint8_t>(frame));
            exercise(signal.second, gsl::span<uint8_t>(bytes));
        }
    }
    return 0;
}
