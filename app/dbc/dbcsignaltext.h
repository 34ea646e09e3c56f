// Texts of DBC numbers as the DBC views print them.
#pragma once

#include <QString>

namespace DBC {
class Signal;
}

namespace DBCSignalText {

// An ID as the views show it: "0x" and eight upper-case hexadecimal digits.
QString id(quint32 id);
// "%f" without its trailing zeros and then a trailing point: 12.5, 3, -40.
QString number(double value);
// The bit number of the signal's least significant bit (Motorola signals
// give their start bit as the most significant one).
int startPosition(const DBC::Signal &signal);
// "1" within 1e-6 of one, otherwise number().
QString factor(double factor);
// "0" within 1e-6 of zero, otherwise number().
QString offset(double offset);

} // namespace DBCSignalText
