// The translated texts of the frame-parsing window's rows that the DBC send
// dialog shows as well: the frame type and format of a message row and the
// captions of its signal header row. Translation context "DBCWidget", in
// the language in force. GUI thread.
#pragma once

#include <QString>
#include <QStringList>

namespace DBCRowTexts {

// "Data frame" or "Remote frame".
QString frameType(bool remote);
// "Standard frame" or "Extended frame".
QString frameFormat(bool extended);
// The header row's captions, for the columns from "ID" to "Data lenght".
QStringList signalCaptions();

} // namespace DBCRowTexts
