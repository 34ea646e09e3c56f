#include "bytespan.h"

int registerByteSpanMetaType()
{
    static const int id = qRegisterMetaType<gsl::span<uint8_t>>("gsl::span<uint8_t>");
    return id;
}
