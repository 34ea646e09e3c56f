#ifndef DBC_VALUETABLE_H
#define DBC_VALUETABLE_H

#include <cstdint>
#include <map>
#include <string>

namespace DBC {

struct ValueTable
{
    std::string name;
    // Negative keys in the file are kept as their 32-bit two's complement.
    std::map<uint32_t, std::string> valueDescriptions;
};

} // namespace DBC

#endif // DBC_VALUETABLE_H
