#ifndef QUILLON_DBCAST_H
#define QUILLON_DBCAST_H

// Parse-tree records: each statement is parsed into one of these first and
// reaches the network only when the whole statement matched.

#include "environmentvariable.h"
#include "signal.h"

#include <boost/fusion/include/adapt_struct.hpp>
#include <boost/fusion/include/std_pair.hpp>
#include <boost/optional.hpp>
#include <boost/variant.hpp>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace Quillon {
namespace Ast {

// Keys that fit neither int32 nor uint32 carry this mark and are dropped.
constexpr int64_t UnrepresentableKey = std::numeric_limits<int64_t>::min();

using Descriptions = std::vector<std::pair<int64_t, std::string>>;
using Names = std::vector<std::string>;
using AttributeValue = boost::variant<double, std::string>;

struct BitTiming
{
    int32_t baudrate = 0;
    int32_t btr1 = 0;
    int32_t btr2 = 0;
};

struct Multiplex
{
    DBC::Signal::Multiplexor kind = DBC::Signal::NotMultiplexed;
    uint32_t switchValue = 0;
};

struct Signal
{
    std::string name;
    boost::optional<Multiplex> multiplex;
    uint32_t startBit = 0;
    uint32_t bitSize = 0;
    DBC::ByteOrder byteOrder = DBC::ByteOrder(0);
    DBC::ValueType valueType = DBC::ValueType(0);
    double factor = 0.0;
    double offset = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    std::string unit;
    Names receivers;
};

struct Message
{
    uint32_t id = 0;
    std::string name;
    uint32_t size = 0;
    std::string transmitter;
    std::vector<Signal> signals;
};

struct MessageTransmitters
{
    uint32_t id = 0;
    Names transmitters;
};

struct ValueTable
{
    std::string name;
    Descriptions descriptions;
};

struct EnvironmentVariable
{
    std::string name;
    DBC::EnvironmentVariable::Type type = DBC::EnvironmentVariable::Type(0);
    double minimum = 0.0;
    double maximum = 0.0;
    std::string unit;
    double initialValue = 0.0;
    uint32_t id = 0;
    uint32_t accessType = 0;
    Names accessNodes;
};

struct NodeComment
{
    std::string name;
    std::string text;
};

struct MessageComment
{
    uint32_t id = 0;
    std::string text;
};

struct SignalComment
{
    uint32_t id = 0;
    std::string signal;
    std::string text;
};

struct EnvironmentComment
{
    std::string name;
    std::string text;
};

struct SignalValueDescriptions
{
    uint32_t id = 0;
    std::string signal;
    Descriptions descriptions;
};

struct EnvironmentValueDescriptions
{
    std::string name;
    Descriptions descriptions;
};

// Integer bounds are read as reals so that files with bounds beyond 32 bits
// (or written with an exponent) are still accepted.
struct AttributeValueType
{
    int32_t type = 0;
    double minimum = 0.0;
    double maximum = 0.0;
    Names enumValues;
};

struct AttributeDefinition
{
    boost::optional<int32_t> objectType;
    std::string name;
    AttributeValueType valueType;
};

struct AttributeDefault
{
    std::string name;
    AttributeValue value;
};

struct SignalValueType
{
    uint32_t id = 0;
    std::string signal;
    char code = 0;
};

} // namespace Ast
} // namespace Quillon

BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::BitTiming, baudrate, btr1, btr2)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::Multiplex, kind, switchValue)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::Signal, name, multiplex, startBit, bitSize, byteOrder,
                          valueType, factor, offset, minimum, maximum, unit, receivers)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::Message, id, name, size, transmitter, signals)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::MessageTransmitters, id, transmitters)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::ValueTable, name, descriptions)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::EnvironmentVariable, name, type, minimum, maximum, unit,
                          initialValue, id, accessType, accessNodes)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::NodeComment, name, text)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::MessageComment, id, text)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::SignalComment, id, signal, text)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::EnvironmentComment, name, text)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::SignalValueDescriptions, id, signal, descriptions)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::EnvironmentValueDescriptions, name, descriptions)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::AttributeValueType, type, minimum, maximum, enumValues)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::AttributeDefinition, objectType, name, valueType)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::AttributeDefault, name, value)
BOOST_FUSION_ADAPT_STRUCT(Quillon::Ast::SignalValueType, id, signal, code)

#endif // QUILLON_DBCAST_H
