#ifndef QUILLON_NETWORKBUILDER_H
#define QUILLON_NETWORKBUILDER_H

#include "dbcast.h"
#include "network.h"

#include <boost/optional.hpp>

#include <string>

namespace Quillon {

// Writes one completely parsed statement into the network. map[key] below
// is a find-or-insert lookup that does not copy the key into the record.
class NetworkBuilder
{
public:
    static void version(DBC::Network &network, const std::string &text);
    static void bitTiming(DBC::Network &network, const boost::optional<Ast::BitTiming> &timing);
    static void newSymbols(DBC::Network &network, const Ast::Names &symbols);
    static void nodes(DBC::Network &network, const Ast::Names &names);
    static void valueTable(DBC::Network &network, const Ast::ValueTable &table);
    static void message(DBC::Network &network, const Ast::Message &message);
    static void messageTransmitters(DBC::Network &network, const Ast::MessageTransmitters &list);
    static void environmentVariable(DBC::Network &network, const Ast::EnvironmentVariable &variable);
    static void networkComment(DBC::Network &network, const std::string &text);
    static void nodeComment(DBC::Network &network, const Ast::NodeComment &comment);
    static void messageComment(DBC::Network &network, const Ast::MessageComment &comment);
    static void signalComment(DBC::Network &network, const Ast::SignalComment &comment);
    static void environmentComment(DBC::Network &network, const Ast::EnvironmentComment &comment);
    static void signalValueDescriptions(DBC::Network &network,
                                        const Ast::SignalValueDescriptions &descriptions);
    static void environmentValueDescriptions(DBC::Network &network,
                                             const Ast::EnvironmentValueDescriptions &descriptions);
    static void attributeDefinition(DBC::Network &network, const Ast::AttributeDefinition &definition);
    static void attributeDefault(DBC::Network &network, const Ast::AttributeDefault &value);
    static void signalValueType(DBC::Network &network, const Ast::SignalValueType &valueType);
};

} // namespace Quillon

#endif // QUILLON_NETWORKBUILDER_H
