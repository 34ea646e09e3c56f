#ifndef DBC_ENVIRONMENTVARIABLE_H
#define DBC_ENVIRONMENTVARIABLE_H

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace DBC {

struct EnvironmentVariable
{
    // The character of the type keyword in the file.
    enum Type : char {
        Integer = '0',
        Float = '1',
        String = '2',
        StringType = 's',
        DataType = 'd'
    };
    // The hexadecimal code after "DUMMY_NODE_VECTOR"; bit 15 marks a string
    // variable in files that use it.
    enum AccessType : int32_t {
        Unrestricted = 0,
        Read = 1,
        Write = 2,
        ReadWrite = 3
    };

    std::string name;
    Type type = Type(0);
    double minimum = 0.0;
    double maximum = 0.0;
    std::string unit;
    double initialValue = 0.0;
    uint32_t id = 0;
    AccessType accessType = Unrestricted;
    std::set<std::string> accessNodes;
    std::map<uint32_t, std::string> valueDescriptions;
    std::string comment;
};

} // namespace DBC

#endif // DBC_ENVIRONMENTVARIABLE_H
