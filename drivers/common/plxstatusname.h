// Names of the bridge library's status codes, for the board's last error.
#pragma once

#include <cstdint>

// "OK" for 512 ... "BUFF_TOO_SMALL" for 538; "?UNKNOWN?" for 539 and for
// every code outside the table.
const wchar_t *plxStatusName(uint32_t status);
