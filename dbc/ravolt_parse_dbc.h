#ifndef QUILLON_RAVOLT_PARSE_DBC_H
#define QUILLON_RAVOLT_PARSE_DBC_H

#include "network.h"
#include "quillon_global.h"

#include <atomic>
#include <cstddef>
#include <string>

// Parses the DBC file at path (narrow name, passed to the file stream as
// is) into *network, which the caller owns and has emptied. True when the
// file was read and all of its text was understood; on false the network
// holds what the statements before the first rejected one wrote. Reentrant
// for different networks.
extern "C" QUILLON_EXPORT bool Ravolt_parse_dbc(const std::string &path, DBC::Network *network);

// As Ravolt_parse_dbc, and also: once *cancel (if given) is true, from any
// thread, the parse ends before the next statement (or the next 64 kB read)
// and returns false. When the text is not accepted, *line and *column (if
// given; 1-based, the column in bytes) receive where parsing stopped, the
// start of the first statement not accepted; both stay 0 when the file
// could not be read or the parse was cancelled.
extern "C" QUILLON_EXPORT bool Ravolt_parse_dbc_ex(const std::string &path, DBC::Network *network,
                                                   const std::atomic<bool> *cancel, std::size_t *line,
                                                   std::size_t *column);

#endif // QUILLON_RAVOLT_PARSE_DBC_H
