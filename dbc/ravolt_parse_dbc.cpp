#include "ravolt_parse_dbc.h"

#include "dbcparser.h"

bool Ravolt_parse_dbc(const std::string &path, DBC::Network *network)
{
    if (!network)
        return false;
    return Quillon::DbcParser::parseFile(path, *network);
}

bool Ravolt_parse_dbc_ex(const std::string &path, DBC::Network *network, const std::atomic<bool> *cancel,
                         std::size_t *line, std::size_t *column)
{
    if (line)
        *line = 0;
    if (column)
        *column = 0;
    if (!network)
        return false;
    Quillon::DbcParser::Stop stop;
    const bool ok = Quillon::DbcParser::parseFile(path, *network, &stop, cancel);
    if (!ok && !(cancel && cancel->load())) {
        if (line)
            *line = stop.line;
        if (column)
            *column = stop.column;
    }
    return ok;
}
