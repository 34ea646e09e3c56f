#include "dbcgrammar.h"

#include "keywordtables.h"
#include "networkbuilder.h"

#include <boost/phoenix/bind/bind_function.hpp>
#include <boost/phoenix/core.hpp>
#include <boost/phoenix/operator.hpp>

#include <limits>
#include <string>

namespace Quillon {

namespace {
namespace phx = boost::phoenix;

// Called only for numbers that Spirit could not convert: a too large
// exponent, so infinity, or zero for a negative exponent.
double outOfRangeReal(const boost::iterator_range<const char *> &text)
{
    const std::string number(text.begin(), text.end());
    const bool negative = !number.empty() && number.front() == '-';
    const std::size_t exponent = number.find_first_of("eE");
    if (exponent != std::string::npos && number.find('-', exponent) != std::string::npos)
        return negative ? -0.0 : 0.0;
    const double infinity = std::numeric_limits<double>::infinity();
    return negative ? -infinity : infinity;
}

bool keepsRunning(const std::function<bool()> *asked)
{
    return !*asked || (*asked)();
}

} // namespace

DbcGrammar::DbcGrammar(std::function<bool()> running)
    : DbcGrammar::base_type(start_, "dbc"), running_(std::move(running))
{
    using qi::_1;
    using qi::_val;
    using qi::attr;
    using qi::lit;
    using qi::omit;
    using qi::char_;
    using qi::uint_;
    const KeywordTables &keyword = keywordTables;

    // Tokens. Character classes are the ASCII ones throughout: the standard
    // ones pass bytes above 127 to the C classification functions.
    identifier_ = char_("a-zA-Z_") >> *char_("a-zA-Z_0-9");
    quoted_ = '"' >> *(('\\' >> char_("\\\"")) | ~char_('"')) >> '"';
    node_name_ = (lit("Vector_XXX") >> !char_("a-zA-Z_0-9") >> attr(std::string())) | identifier_;
    blanks_ = *qi::ascii::blank;
    blanks1_ = +qi::ascii::blank;
    node_list_ = node_name_ % ',';
    name_list_ = identifier_ % ',';
    description_key_ = qi::long_long | (omit[qi::ulong_long] >> attr(Ast::UnrepresentableKey));
    descriptions_ = *(description_key_ >> quoted_);
    access_type_ = qi::lexeme[(keyword.accessType >> !qi::ascii::xdigit)
                              | (lit("DUMMY_NODE_VECTOR") >> qi::hex)];
    // Spirit refuses reals beyond the double range that real files carry
    // (a maximum of 4.4E+481); those become infinities. The sequence around
    // double_ restores the position that double_ leaves behind on overflow.
    const auto digit = qi::ascii::digit;
    number_syntax_ = -char_("+-") >> ((+digit >> -('.' >> *digit)) | ('.' >> +digit))
            >> -(char_("eE") >> -char_("+-") >> +digit);
    real_ = (qi::double_ >> qi::eps)[_val = _1]
            | qi::raw[number_syntax_][_val = phx::bind(&outOfRangeReal, _1)];
    attribute_value_ = real_ | quoted_;

    // Network, nodes, value tables, messages and signals.
    version_ = lit("VERSION") >> quoted_;
    bs_ = lit("BS_") >> ':' >> -(qi::int_ >> ':' >> qi::int_ >> ',' >> qi::int_);
    ns_ = lit("NS_") >> blanks_ >> ':' >> blanks_ >> qi::eol
            >> *(blanks1_ >> identifier_ >> blanks_ >> qi::eol);
    bu_ = lit("BU_") >> blanks_ >> ':' >> *(blanks1_ >> identifier_) >> blanks_ >> qi::eol;
    val_table_ = lit("VAL_TABLE_") >> identifier_ >> descriptions_ >> ';';
    // "m1M": multiplexed by switch value 1 and itself a switch of further
    // signals; the network keeps it as multiplexed.
    multiplexer_indicator_ = (lit('M') >> attr(DBC::Signal::MultiplexerSwitch) >> attr(0u))
            | (lit('m') >> attr(DBC::Signal::Multiplexed) >> uint_ >> -lit('M'));
    sg_ = lit("SG_") >> identifier_ >> -multiplexer_indicator_ >> ':'
            >> uint_ >> '|' >> uint_ >> '@' >> keyword.byteOrder >> keyword.valueType
            >> '(' >> real_ >> ',' >> real_ >> ')'
            >> '[' >> real_ >> '|' >> real_ >> ']'
            >> quoted_ >> name_list_;
    bo_ = lit("BO_") >> uint_ >> identifier_ >> ':' >> uint_ >> node_name_ >> *sg_;
    bo_tx_bu_ = lit("BO_TX_BU_") >> uint_ >> ':' >> node_list_ >> ';';
    ev_ = lit("EV_") >> identifier_ >> ':' >> keyword.environmentType
            >> '[' >> real_ >> '|' >> real_ >> ']'
            >> quoted_ >> real_ >> uint_ >> access_type_ >> name_list_ >> ';';

    // Comments and value descriptions.
    cm_ = lit("CM_") >> quoted_ >> -lit(';');
    cm_bu_ = lit("CM_") >> lit("BU_") >> identifier_ >> quoted_ >> -lit(';');
    cm_bo_ = lit("CM_") >> lit("BO_") >> uint_ >> quoted_ >> -lit(';');
    cm_sg_ = lit("CM_") >> lit("SG_") >> uint_ >> identifier_ >> (quoted_ | attr(std::string()))
            >> -lit(';');
    cm_ev_ = lit("CM_") >> lit("EV_") >> identifier_ >> quoted_ >> -lit(';');
    val_ = lit("VAL_") >> uint_ >> identifier_ >> descriptions_ >> ';';
    val_ev_ = lit("VAL_") >> identifier_ >> descriptions_ >> ';';

    // Attribute definitions and defaults; assigned values are not kept.
    int_type_ = lit("INT") >> attr(0) >> real_ >> real_ >> attr(Ast::Names());
    hex_type_ = lit("HEX") >> attr(1) >> real_ >> real_ >> attr(Ast::Names());
    float_type_ = lit("FLOAT") >> attr(2) >> real_ >> real_ >> attr(Ast::Names());
    string_type_ = lit("STRING") >> attr(3) >> attr(0.0) >> attr(0.0) >> attr(Ast::Names());
    enum_type_ = lit("ENUM") >> attr(4) >> attr(0.0) >> attr(0.0)
            >> ((quoted_ % ',') | attr(Ast::Names()));
    attribute_value_type_ = int_type_ | hex_type_ | float_type_ | string_type_ | enum_type_;
    ba_def_ = lit("BA_DEF_") >> -keyword.attributeObjectType >> quoted_
            >> attribute_value_type_ >> ';';
    ba_def_rel_ = lit("BA_DEF_REL_") >> -keyword.attributeObjectType >> quoted_
            >> attribute_value_type_ >> ';';
    ba_def_def_ = (lit("BA_DEF_DEF_REL_") | lit("BA_DEF_DEF_REL") | lit("BA_DEF_DEF_"))
            >> quoted_ >> attribute_value_ >> ';';
    ba_ = lit("BA_") >> quoted_ >> attribute_value_ >> -lit(';');
    ba_bu_ = lit("BA_") >> quoted_ >> lit("BU_") >> identifier_ >> attribute_value_ >> -lit(';');
    ba_bo_ = lit("BA_") >> quoted_ >> lit("BO_") >> uint_ >> attribute_value_ >> -lit(';');
    ba_sg_ = lit("BA_") >> quoted_ >> lit("SG_") >> uint_ >> identifier_ >> attribute_value_
            >> -lit(';');
    ba_ev_ = lit("BA_") >> quoted_ >> lit("EV_") >> identifier_ >> attribute_value_ >> -lit(';');
    ba_ptcan_ = lit("BA_") >> quoted_ >> lit("PTCAN") >> -lit(';');
    pairs_ = *(quoted_ >> qi::int_) >> ';';

    // Further standard statements: the extended value type of a signal is
    // kept, the others are recognised and skipped.
    sig_valtype_ = lit("SIG_VALTYPE_") >> uint_ >> identifier_ >> -lit(':') >> char_("0-3") >> ';';
    sg_mul_val_ = lit("SG_MUL_VAL_") >> uint_ >> identifier_ >> identifier_
            >> ((uint_ >> '-' >> uint_) % ',') >> ';';
    ba_rel_ = lit("BA_REL_") >> quoted_
            >> ((lit("BU_SG_REL_") >> identifier_ >> lit("SG_") >> uint_ >> identifier_)
                | (lit("BU_EV_REL_") >> identifier_ >> identifier_)
                | (lit("BU_BO_REL_") >> identifier_ >> uint_))
            >> attribute_value_ >> ';';
    ba_def_sgtype_ = lit("BA_DEF_SGTYPE_") >> quoted_ >> attribute_value_type_ >> ';';
    ba_sgtype_ = lit("BA_SGTYPE_") >> quoted_ >> lit("SGTYPE_") >> identifier_ >> attribute_value_
            >> ';';
    sig_group_ = lit("SIG_GROUP_") >> uint_ >> identifier_ >> uint_ >> ':'
            >> *(identifier_ >> -lit(',')) >> ';';
    sgtype_val_ = lit("SGTYPE_VAL_") >> identifier_ >> descriptions_ >> ';';
    sgtype_ = lit("SGTYPE_") >> identifier_ >> ':' >> uint_ >> '@' >> keyword.byteOrder
            >> keyword.valueType >> '(' >> real_ >> ',' >> real_ >> ')'
            >> '[' >> real_ >> '|' >> real_ >> ']' >> quoted_ >> real_
            >> -(',' >> identifier_) >> ';';
    sig_type_ref_ = lit("SIG_TYPE_REF_") >> uint_ >> identifier_ >> ':' >> identifier_ >> ';';
    sigtype_valtype_ = lit("SIGTYPE_VALTYPE_") >> identifier_ >> -lit(':') >> uint_ >> ';';
    envvar_data_ = (lit("ENVVAR_DATA_") | lit("EV_DATA_")) >> identifier_ >> ':' >> uint_ >> ';';
    // Category and filter statements of old files: content up to the ';'.
    obsolete_ = (lit("CAT_DEF_") | lit("CAT_") | lit("FILTER")) >> *(quoted_ | ~char_(";\""))
            >> ';';

    using B = NetworkBuilder;
    start_ = *(qi::eps(phx::bind(&keepsRunning, &running_)) >> (version_[phx::bind(&B::version, _val, _1)]
               | bs_[phx::bind(&B::bitTiming, _val, _1)]
               | ns_[phx::bind(&B::newSymbols, _val, _1)]
               | bu_[phx::bind(&B::nodes, _val, _1)]
               | val_table_[phx::bind(&B::valueTable, _val, _1)]
               | bo_[phx::bind(&B::message, _val, _1)]
               | bo_tx_bu_[phx::bind(&B::messageTransmitters, _val, _1)]
               | ev_[phx::bind(&B::environmentVariable, _val, _1)]
               | cm_[phx::bind(&B::networkComment, _val, _1)]
               | cm_bu_[phx::bind(&B::nodeComment, _val, _1)]
               | cm_bo_[phx::bind(&B::messageComment, _val, _1)]
               | cm_sg_[phx::bind(&B::signalComment, _val, _1)]
               | cm_ev_[phx::bind(&B::environmentComment, _val, _1)]
               | val_[phx::bind(&B::signalValueDescriptions, _val, _1)]
               | val_ev_[phx::bind(&B::environmentValueDescriptions, _val, _1)]
               | ba_def_[phx::bind(&B::attributeDefinition, _val, _1)]
               | ba_def_rel_[phx::bind(&B::attributeDefinition, _val, _1)]
               | ba_def_def_[phx::bind(&B::attributeDefault, _val, _1)]
               | ba_ | ba_bu_ | ba_bo_ | ba_sg_ | ba_ev_ | ba_ptcan_ | pairs_
               | sig_valtype_[phx::bind(&B::signalValueType, _val, _1)]
               | sg_mul_val_ | ba_rel_ | ba_def_sgtype_ | ba_sgtype_ | sig_group_
               | sgtype_val_ | sgtype_ | sig_type_ref_ | sigtype_valtype_ | envvar_data_
               | obsolete_));
}

} // namespace Quillon
