#include "ravolt_parse_dbc.h"

#include "dbcparser.h"

bool Ravolt_parse_dbc(const std::string &path, DBC::Network *network)
{
    if (!network)
        return false;
    return Quillon::DbcParser::parseFile(path, *network);
}
