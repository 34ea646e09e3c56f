#ifndef DBC_BITTIMING_H
#define DBC_BITTIMING_H

#include <cstdint>

namespace DBC {

// Values as written after "BS_:"; all zero when the file gives none.
struct BitTiming
{
    int32_t baudrate = 0;
    int32_t btr1 = 0;
    int32_t btr2 = 0;
};

} // namespace DBC

#endif // DBC_BITTIMING_H
