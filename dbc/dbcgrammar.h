#ifndef QUILLON_DBCGRAMMAR_H
#define QUILLON_DBCGRAMMAR_H

#include "dbcast.h"
#include "network.h"

#include <boost/spirit/include/qi.hpp>

#include <functional>
#include <string>

namespace Quillon {

namespace qi = boost::spirit::qi;

// Recursive-descent grammar of a DBC file. Built for one parse; the start
// rule writes every statement into the network given as its attribute as
// soon as the whole statement has matched, and stops at the first text that
// no statement accepts.
class DbcGrammar : public qi::grammar<const char *, DBC::Network(), qi::ascii::space_type>
{
public:
    using Iterator = const char *;
    using Skipper = qi::ascii::space_type;

    // running, when given, is asked before every statement: once it
    // answers false the start rule ends there, leaving the rest of the text
    // unread.
    explicit DbcGrammar(std::function<bool()> running = {});

private:
    const std::function<bool()> running_;
    template <typename Attribute>
    using Rule = qi::rule<Iterator, Attribute(), Skipper>;
    // Rules without skipper read one token, or one line of the line-oriented
    // statements, with no white space skipped inside.
    template <typename Attribute>
    using Lexeme = qi::rule<Iterator, Attribute()>;
    using Skip = qi::rule<Iterator, Skipper>;

    Rule<DBC::Network> start_;

    Lexeme<std::string> identifier_;
    Lexeme<std::string> quoted_;
    Lexeme<std::string> node_name_;
    qi::rule<Iterator> blanks_;
    qi::rule<Iterator> blanks1_;
    Rule<Ast::Names> node_list_;
    Rule<Ast::Names> name_list_;
    Rule<int64_t> description_key_;
    Rule<Ast::Descriptions> descriptions_;
    Rule<uint32_t> access_type_;
    qi::rule<Iterator> number_syntax_;
    Rule<double> real_;
    Rule<Ast::AttributeValue> attribute_value_;

    Rule<std::string> version_;
    Rule<boost::optional<Ast::BitTiming>> bs_;
    Lexeme<Ast::Names> ns_;
    Lexeme<Ast::Names> bu_;
    Rule<Ast::ValueTable> val_table_;
    Rule<Ast::Multiplex> multiplexer_indicator_;
    Rule<Ast::Signal> sg_;
    Rule<Ast::Message> bo_;
    Rule<Ast::MessageTransmitters> bo_tx_bu_;
    Rule<Ast::EnvironmentVariable> ev_;
    Rule<std::string> cm_;
    Rule<Ast::NodeComment> cm_bu_;
    Rule<Ast::MessageComment> cm_bo_;
    Rule<Ast::SignalComment> cm_sg_;
    Rule<Ast::EnvironmentComment> cm_ev_;
    Rule<Ast::SignalValueDescriptions> val_;
    Rule<Ast::EnvironmentValueDescriptions> val_ev_;

    Rule<Ast::AttributeValueType> int_type_;
    Rule<Ast::AttributeValueType> hex_type_;
    Rule<Ast::AttributeValueType> float_type_;
    Rule<Ast::AttributeValueType> string_type_;
    Rule<Ast::AttributeValueType> enum_type_;
    Rule<Ast::AttributeValueType> attribute_value_type_;
    Rule<Ast::AttributeDefinition> ba_def_;
    Rule<Ast::AttributeDefinition> ba_def_rel_;
    Rule<Ast::AttributeDefault> ba_def_def_;
    Skip ba_;
    Skip ba_bu_;
    Skip ba_bo_;
    Skip ba_sg_;
    Skip ba_ev_;
    Skip ba_ptcan_;
    Skip pairs_;

    // Standard statements that the network does not hold, except the
    // extended value type of a signal.
    Rule<Ast::SignalValueType> sig_valtype_;
    Skip sg_mul_val_;
    Skip ba_rel_;
    Skip ba_def_sgtype_;
    Skip ba_sgtype_;
    Skip sig_group_;
    Skip sgtype_val_;
    Skip sgtype_;
    Skip sig_type_ref_;
    Skip sigtype_valtype_;
    Skip envvar_data_;
    Skip obsolete_;
};

} // namespace Quillon

#endif // QUILLON_DBCGRAMMAR_H
