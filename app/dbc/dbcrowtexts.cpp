#include "dbcrowtexts.h"

#include <QCoreApplication>

namespace DBCRowTexts {

QString frameType(bool remote)
{
    return remote ? QCoreApplication::translate("DBCWidget", "Remote frame")
                  : QCoreApplication::translate("DBCWidget", "Data frame");
}

QString frameFormat(bool extended)
{
    return extended ? QCoreApplication::translate("DBCWidget", "Extended frame")
                    : QCoreApplication::translate("DBCWidget", "Standard frame");
}

QStringList signalCaptions()
{
    return {QCoreApplication::translate("DBCWidget", "Signal name"),
            QCoreApplication::translate("DBCWidget", "Actual value"),
            QCoreApplication::translate("DBCWidget", "Unit"),
            QCoreApplication::translate("DBCWidget", "Original value"),
            QCoreApplication::translate("DBCWidget", "Initial position"),
            QCoreApplication::translate("DBCWidget", "Bit width"),
            QCoreApplication::translate("DBCWidget", "Proportion"),
            QCoreApplication::translate("DBCWidget", "Offset"),
            QCoreApplication::translate("DBCWidget", "Description"),
            QCoreApplication::translate("DBCWidget", "Notes")};
}

} // namespace DBCRowTexts
