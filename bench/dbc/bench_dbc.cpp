#include "dbc/ravolt_parse_dbc.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string j1939Path = QUILLON_TESTDATA_DIR "/dbc/canmatrix/j1939.dbc";

// The whole load as the program does it: read the file, parse, fill.
void parseJ1939(benchmark::State &state)
{
    if (!std::ifstream(j1939Path)) {
        state.SkipWithError("j1939.dbc not found");
        return;
    }
    for (auto _ : state) {
        DBC::Network network;
        if (!Ravolt_parse_dbc(j1939Path, &network)) {
            state.SkipWithError("j1939.dbc rejected");
            return;
        }
        benchmark::DoNotOptimize(network.messages.size());
    }
}
BENCHMARK(parseJ1939)->Unit(benchmark::kMillisecond);

DBC::Signal makeSignal(char byteOrder, char valueType, uint32_t startBit, uint32_t bitSize)
{
    DBC::Signal signal;
    signal.byteOrder = DBC::ByteOrder(byteOrder);
    signal.valueType = DBC::ValueType(valueType);
    signal.startBit = startBit;
    signal.bitSize = bitSize;
    signal.factor = 1.0;
    return signal;
}

std::vector<std::array<uint8_t, 8>> frames()
{
    std::vector<std::array<uint8_t, 8>> result(64);
    uint32_t seed = 12345;
    for (auto &frame : result)
        for (uint8_t &byte : frame)
            byte = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    return result;
}

// One decode per signal and frame, as the frame-parsing window does for a
// classic frame; argument 0: Intel, 1: Motorola.
void decodeSignals(benchmark::State &state)
{
    const char order = state.range(0) == 0 ? '1' : '0';
    const std::vector<DBC::Signal> signals = {
        makeSignal(order, '+', 7, 1), makeSignal(order, '-', 12, 12),
        makeSignal(order, '+', 24, 16), makeSignal(order, '-', 47, 20),
        makeSignal(order, '+', 0, 8), makeSignal(order, '-', 39, 7),
        makeSignal(order, '+', 56, 8), makeSignal(order, '+', 32, 3)};
    auto data = frames();
    for (auto _ : state) {
        for (auto &frame : data) {
            const gsl::span<uint8_t> span(frame);
            for (const DBC::Signal &signal : signals)
                benchmark::DoNotOptimize(signal.decode(span));
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(data.size() * signals.size()));
}
BENCHMARK(decodeSignals)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
