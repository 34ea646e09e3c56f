#ifndef DBC_NETWORK_H
#define DBC_NETWORK_H

#include "attribute.h"
#include "attributedefinition.h"
#include "bittiming.h"
#include "environmentvariable.h"
#include "message.h"
#include "node.h"
#include "valuetable.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace DBC {

// Filled by Ravolt_parse_dbc; the caller owns it and empties it before a
// load. Strings are bytes as read from the file.
struct Network
{
    std::string version;
    std::vector<std::string> newSymbols;
    BitTiming bitTiming;
    std::map<std::string, Node> nodes;
    std::map<std::string, ValueTable> valueTables;
    std::map<uint32_t, Message> messages;
    std::map<std::string, EnvironmentVariable> environmentVariables;
    std::string comment;
    std::map<std::string, AttributeDefinition> attributeDefinitions;
    std::map<std::string, Attribute> attributeDefaults;
};

} // namespace DBC

#endif // DBC_NETWORK_H
