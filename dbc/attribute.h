#ifndef DBC_ATTRIBUTE_H
#define DBC_ATTRIBUTE_H

#include <cstdint>
#include <string>

namespace DBC {

// A default value; the definition of the same name says which member holds
// it (Int and Hex: integerValue, Float: floatValue, String and Enum:
// stringValue).
struct Attribute
{
    std::string name;
    int32_t integerValue = 0;
    double floatValue = 0.0;
    std::string stringValue;
};

} // namespace DBC

#endif // DBC_ATTRIBUTE_H
