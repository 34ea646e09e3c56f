#ifndef QUILLON_DBCPARSER_H
#define QUILLON_DBCPARSER_H

#include "network.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

namespace Quillon {

// The parse behind Ravolt_parse_dbc, with the position where it stopped.
// Linked into tests and tools from the static build of the library; not
// exported.
class DbcParser
{
public:
    struct Stop
    {
        std::size_t offset = 0;  // bytes from the start of the text
        std::size_t line = 0;    // 1-based
        std::size_t column = 0;  // 1-based, in bytes
    };

    // True when every statement of the text was accepted. The network keeps
    // whatever the statements before a rejected one wrote. When the text is
    // not accepted, stop (if given) receives the start of the first
    // statement not accepted. Once *cancel (if given) is true the parse
    // ends before the next statement and returns false, leaving stop as it
    // was.
    static bool parseText(const std::string &text, DBC::Network &network, Stop *stop = nullptr,
                          const std::atomic<bool> *cancel = nullptr);
    // As parseText, with running() asked before every statement in place of
    // the cancel: once it answers false the parse ends there.
    static bool parseTextWhile(const std::string &text, DBC::Network &network, const std::function<bool()> &running,
                               Stop *stop = nullptr);
    // False also when the file cannot be read; the network is then untouched
    // and stop keeps line and column 0.
    static bool parseFile(const std::string &path, DBC::Network &network, Stop *stop = nullptr,
                          const std::atomic<bool> *cancel = nullptr);
};

} // namespace Quillon

#endif // QUILLON_DBCPARSER_H
