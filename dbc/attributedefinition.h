#ifndef DBC_ATTRIBUTEDEFINITION_H
#define DBC_ATTRIBUTEDEFINITION_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace DBC {

enum class AttributeObjectType : int32_t {
    Network = 0,
    Node = 1,                    // "BU_"
    Message = 2,                 // "BO_"
    Signal = 3,                  // "SG_"
    EnvironmentVariable = 4,     // "EV_"
    NodeEnvironmentVariable = 5, // "BU_EV_REL_"
    NodeMessage = 6,             // "BU_BO_REL_"
    NodeSignal = 7               // "BU_SG_REL_"
};

struct AttributeValueType
{
    enum class Type : int32_t {
        Int = 0,
        Hex = 1,
        Float = 2,
        String = 3,
        Enum = 4
    };
    struct IntegerRange
    {
        int32_t minimum = 0;
        int32_t maximum = 0;
    };
    struct RealRange
    {
        double minimum = 0.0;
        double maximum = 0.0;
    };

    Type type = Type::Int;
    IntegerRange integer;  // Int and Hex; bounds beyond 32 bits are clamped
    RealRange real;        // Float
    std::vector<std::string> enumValues;
};

struct AttributeDefinition
{
    std::string name;
    std::optional<AttributeObjectType> objectType;  // absent for the network
    AttributeValueType valueType;
};

} // namespace DBC

#endif // DBC_ATTRIBUTEDEFINITION_H
