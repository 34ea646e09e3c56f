#include "networkbuilder.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace Quillon {

namespace {

std::map<uint32_t, std::string> toMap(const Ast::Descriptions &descriptions)
{
    std::map<uint32_t, std::string> map;
    for (const auto &entry : descriptions) {
        if (entry.first == Ast::UnrepresentableKey
                || entry.first < std::numeric_limits<int32_t>::min()
                || entry.first > std::numeric_limits<uint32_t>::max())
            continue;
        // The first text of a key wins.
        map.emplace(uint32_t(entry.first), entry.second);
    }
    return map;
}

int32_t clampToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (value >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

std::set<std::string> toSet(const Ast::Names &names)
{
    return std::set<std::string>(names.begin(), names.end());
}

} // namespace

void NetworkBuilder::version(DBC::Network &network, const std::string &text)
{
    network.version = text;
}

void NetworkBuilder::bitTiming(DBC::Network &network, const boost::optional<Ast::BitTiming> &timing)
{
    const Ast::BitTiming values = timing.value_or(Ast::BitTiming());
    network.bitTiming = DBC::BitTiming{values.baudrate, values.btr1, values.btr2};
}

void NetworkBuilder::newSymbols(DBC::Network &network, const Ast::Names &symbols)
{
    network.newSymbols = symbols;
}

void NetworkBuilder::nodes(DBC::Network &network, const Ast::Names &names)
{
    for (const std::string &name : names)
        network.nodes[name].name = name;
}

void NetworkBuilder::valueTable(DBC::Network &network, const Ast::ValueTable &table)
{
    DBC::ValueTable &target = network.valueTables[table.name];
    target.name = table.name;
    target.valueDescriptions = toMap(table.descriptions);
}

void NetworkBuilder::message(DBC::Network &network, const Ast::Message &message)
{
    // A repeated id merges into the existing message.
    DBC::Message &target = network.messages[message.id];
    target.id = message.id;
    target.name = message.name;
    target.size = message.size;
    target.transmitter = message.transmitter;
    for (const Ast::Signal &parsed : message.signals) {
        DBC::Signal &signal = target.signals[parsed.name];
        signal.name = parsed.name;
        const Ast::Multiplex multiplex = parsed.multiplex.value_or(Ast::Multiplex());
        signal.multiplexor = multiplex.kind;
        signal.multiplexerSwitchValue = multiplex.switchValue;
        signal.startBit = parsed.startBit;
        signal.bitSize = parsed.bitSize;
        signal.byteOrder = parsed.byteOrder;
        signal.valueType = parsed.valueType;
        signal.factor = parsed.factor;
        signal.offset = parsed.offset;
        signal.minimum = parsed.minimum;
        signal.maximum = parsed.maximum;
        signal.unit = parsed.unit;
        signal.receivers = toSet(parsed.receivers);
    }
}

void NetworkBuilder::messageTransmitters(DBC::Network &network, const Ast::MessageTransmitters &list)
{
    network.messages[list.id].transmitters = toSet(list.transmitters);
}

void NetworkBuilder::environmentVariable(DBC::Network &network,
                                         const Ast::EnvironmentVariable &variable)
{
    DBC::EnvironmentVariable &target = network.environmentVariables[variable.name];
    target.name = variable.name;
    target.type = variable.type;
    target.minimum = variable.minimum;
    target.maximum = variable.maximum;
    target.unit = variable.unit;
    target.initialValue = variable.initialValue;
    target.id = variable.id;
    target.accessType = DBC::EnvironmentVariable::AccessType(int32_t(variable.accessType));
    target.accessNodes = toSet(variable.accessNodes);
}

void NetworkBuilder::networkComment(DBC::Network &network, const std::string &text)
{
    network.comment = text;
}

void NetworkBuilder::nodeComment(DBC::Network &network, const Ast::NodeComment &comment)
{
    network.nodes[comment.name].comment = comment.text;
}

void NetworkBuilder::messageComment(DBC::Network &network, const Ast::MessageComment &comment)
{
    network.messages[comment.id].comment = comment.text;
}

void NetworkBuilder::signalComment(DBC::Network &network, const Ast::SignalComment &comment)
{
    network.messages[comment.id].signals[comment.signal].comment = comment.text;
}

void NetworkBuilder::environmentComment(DBC::Network &network, const Ast::EnvironmentComment &comment)
{
    network.environmentVariables[comment.name].comment = comment.text;
}

void NetworkBuilder::signalValueDescriptions(DBC::Network &network,
                                             const Ast::SignalValueDescriptions &descriptions)
{
    network.messages[descriptions.id].signals[descriptions.signal].valueDescriptions
            = toMap(descriptions.descriptions);
}

void NetworkBuilder::environmentValueDescriptions(DBC::Network &network,
                                                  const Ast::EnvironmentValueDescriptions &descriptions)
{
    network.environmentVariables[descriptions.name].valueDescriptions
            = toMap(descriptions.descriptions);
}

void NetworkBuilder::attributeDefinition(DBC::Network &network,
                                         const Ast::AttributeDefinition &definition)
{
    using Type = DBC::AttributeValueType::Type;
    DBC::AttributeDefinition target;
    target.name = definition.name;
    if (definition.objectType)
        target.objectType = DBC::AttributeObjectType(*definition.objectType);
    const Ast::AttributeValueType &parsed = definition.valueType;
    DBC::AttributeValueType &valueType = target.valueType;
    valueType.type = Type(parsed.type);
    switch (valueType.type) {
    case Type::Int:
    case Type::Hex:
        valueType.integer.minimum = clampToInt32(parsed.minimum);
        valueType.integer.maximum = clampToInt32(parsed.maximum);
        break;
    case Type::Float:
        valueType.real.minimum = parsed.minimum;
        valueType.real.maximum = parsed.maximum;
        break;
    case Type::String:
        break;
    case Type::Enum:
        valueType.enumValues = parsed.enumValues;
        break;
    }
    // The first definition of a name wins.
    network.attributeDefinitions.emplace(definition.name, std::move(target));
}

void NetworkBuilder::attributeDefault(DBC::Network &network, const Ast::AttributeDefault &value)
{
    // A default without a definition gets an empty Int definition.
    network.attributeDefinitions[value.name];
    DBC::Attribute attribute;
    attribute.name = value.name;
    // Both numeric members are set; the definition's type tells which one
    // the reader takes.
    if (const double *number = boost::get<double>(&value.value)) {
        attribute.integerValue = clampToInt32(*number);
        attribute.floatValue = *number;
    } else {
        attribute.stringValue = boost::get<std::string>(value.value);
    }
    network.attributeDefaults[value.name] = std::move(attribute);
}

void NetworkBuilder::signalValueType(DBC::Network &network, const Ast::SignalValueType &valueType)
{
    network.messages[valueType.id].signals[valueType.signal].extendedValueType = valueType.code;
}

} // namespace Quillon
