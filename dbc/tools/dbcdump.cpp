// Prints the messages and signals of a DBC file and, when the file is not
// accepted, where the parse stopped. Exit code 0 when accepted.

#include "dbc/dbcparser.h"

#include <cstdio>
#include <string>

namespace {

const char *multiplexText(const DBC::Signal &signal, std::string &buffer)
{
    switch (signal.multiplexor) {
    case DBC::Signal::MultiplexerSwitch:
        return "M";
    case DBC::Signal::Multiplexed:
        buffer = "m" + std::to_string(signal.multiplexerSwitchValue);
        return buffer.c_str();
    default:
        return "";
    }
}

void dump(const DBC::Network &network)
{
    std::printf("version \"%s\", %zu nodes, %zu value tables, %zu environment variables, "
                "%zu attribute definitions\n",
                network.version.c_str(), network.nodes.size(), network.valueTables.size(),
                network.environmentVariables.size(), network.attributeDefinitions.size());
    for (const auto &entry : network.messages) {
        const DBC::Message &message = entry.second;
        std::printf("BO_ %u %s: %u %s (%zu signals)\n", entry.first, message.name.c_str(),
                    message.size, message.transmitter.c_str(), message.signals.size());
        for (const auto &signalEntry : message.signals) {
            const DBC::Signal &signal = signalEntry.second;
            std::string buffer;
            std::printf("  SG_ %s %s : %u|%u@%c%c (%g,%g) [%g|%g] \"%s\"%s\n",
                        signal.name.c_str(), multiplexText(signal, buffer), signal.startBit,
                        signal.bitSize, signal.byteOrder, signal.valueType, signal.factor,
                        signal.offset, signal.minimum, signal.maximum, signal.unit.c_str(),
                        signal.extendedValueType == '1' ? " float"
                        : signal.extendedValueType == '2' ? " double" : "");
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s [-q] file.dbc...\n", argv[0]);
        return 2;
    }
    bool quiet = false;
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-q") {
            quiet = true;
            continue;
        }
        DBC::Network network;
        Quillon::DbcParser::Stop stop;
        const bool accepted = Quillon::DbcParser::parseFile(argument, network, &stop);
        if (!quiet)
            dump(network);
        if (accepted) {
            std::printf("%s: accepted, %zu messages\n", argument.c_str(), network.messages.size());
        } else if (stop.line == 0) {
            std::printf("%s: cannot be read\n", argument.c_str());
            status = 1;
        } else {
            std::printf("%s: stopped at line %zu, column %zu\n", argument.c_str(), stop.line,
                        stop.column);
            status = 1;
        }
    }
    return status;
}
