#ifndef DBC_MESSAGE_H
#define DBC_MESSAGE_H

#include "signal.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace DBC {

struct Message
{
    uint32_t id = 0;               // as written, extended ids keep bit 31
    std::string name;
    uint32_t size = 0;             // bytes
    std::string transmitter;       // empty for the "Vector_XXX" placeholder
    std::map<std::string, Signal> signals;
    std::set<std::string> transmitters;
    std::string comment;
};

} // namespace DBC

#endif // DBC_MESSAGE_H
