#ifndef QUILLON_RAVOLT_PARSE_DBC_H
#define QUILLON_RAVOLT_PARSE_DBC_H

#include "network.h"
#include "quillon_global.h"

#include <string>

// Parses the DBC file at path (narrow name, passed to the file stream as
// is) into *network, which the caller owns and has emptied. True when the
// file was read and all of its text was understood; on false the network
// holds what the statements before the first rejected one wrote. Reentrant
// for different networks.
extern "C" QUILLON_EXPORT bool Ravolt_parse_dbc(const std::string &path, DBC::Network *network);

#endif // QUILLON_RAVOLT_PARSE_DBC_H
