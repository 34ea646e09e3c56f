#ifndef QUILLON_KEYWORDTABLES_H
#define QUILLON_KEYWORDTABLES_H

#include "environmentvariable.h"
#include "signal.h"

#include <boost/spirit/include/qi_symbols.hpp>

#include <cstdint>

namespace Quillon {

// The keyword tables of the grammar, built once when the library is loaded
// and only read afterwards, so parses on several threads may share them.
class KeywordTables
{
public:
    KeywordTables();

    boost::spirit::qi::symbols<char, DBC::ByteOrder> byteOrder;
    boost::spirit::qi::symbols<char, DBC::ValueType> valueType;
    boost::spirit::qi::symbols<char, DBC::EnvironmentVariable::Type> environmentType;
    boost::spirit::qi::symbols<char, uint32_t> accessType;
    boost::spirit::qi::symbols<char, int32_t> attributeObjectType;
};

extern const KeywordTables keywordTables;

} // namespace Quillon

#endif // QUILLON_KEYWORDTABLES_H
