#include "trimzeros.h"

void trimZeros(QString &text)
{
    if (!text.contains(QLatin1Char('.')))
        return;
    int end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char('0'))
        --end;
    if (end > 0 && text.at(end - 1) == QLatin1Char('.'))
        --end;
    text.truncate(end);
}

QString trimmedNumber(double value)
{
    QString text = QString::asprintf("%f", value);
    trimZeros(text);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}
