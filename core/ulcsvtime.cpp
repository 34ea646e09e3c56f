#include "ulcsvtime.h"

#include "ulrecordtext.h"

#include <QRegularExpression>

// Built per call: classification runs once per file.

bool isValidDateTime(const QString &text)
{
    const QRegularExpression re(QStringLiteral(
        "^([01]\\d|2[0-3]):([0-5]\\d):([0-5]\\d)(\\.(\\d{1,3}))?(\\.(\\d{1,3}))?$"));
    return re.match(text).hasMatch();
}

bool isHexadecimal(const QString &text)
{
    const QRegularExpression re(QStringLiteral("^(0[xX])?[0-9A-Fa-f]+$"));
    if (!re.match(text).hasMatch())
        return false;
    uint64_t value = 0;
    return UlRecordText::parsePrefixedHex(text, value);
}

bool isTimeFormat(const QString &text)
{
    const QRegularExpression re(QStringLiteral(
        "^([01]\\d|2[0-3]):([0-5]\\d):([0-5]\\d)(:(\\d{1,3})(\\.\\d{1,3})?)?$"));
    return re.match(text).hasMatch();
}

int identifyTimeString(const QString &text)
{
    if (isValidDateTime(text))
        return 2;
    if (isHexadecimal(text))
        return 0;
    if (isTimeFormat(text))
        return 1;
    return 9;
}
