#include "idfilterxmlreader.h"

namespace {

quint32 hexAttribute(const QXmlStreamAttributes &attributes, const QString &name)
{
    bool ok = false;
    const quint32 value = attributes.value(name).toUInt(&ok, 16);
    return ok ? value : 0;
}

} // namespace

bool IdFilterXmlReader::read(QIODevice *device)
{
    xml.setDevice(device);
    if (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("xml")
            || xml.attributes().value(QLatin1String("version")) != QLatin1String("1.0")) {
            xml.raiseError(tr("The file is not an XBEL version 1.0 file."));
        }
    }
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("Filter")) {
            const QStringRef mode = xml.attributes().value(QLatin1String("Mode"));
            bool ok = true;
            const int value = mode.isNull() ? 0 : mode.toInt(&ok);
            if (!ok || value < UlIdFilterMannger::NoFilter || value > UlIdFilterMannger::OnlyReceiveMode) {
                xml.raiseError(tr("The filter mode %1 is not 0, 1 or 2.").arg(mode.toString()));
                break;
            }
            result.setFilterMode(value);
        } else if (name == QLatin1String("NotReceiveFilter")) {
            result.addNotReceive(readRule());
        } else if (name == QLatin1String("OnlyReceiveFilter")) {
            result.addOnlyReceive(readRule());
        }
    }
    return !xml.hasError();
}

UlIdFilter IdFilterXmlReader::readRule() const
{
    const QXmlStreamAttributes attributes = xml.attributes();
    return UlIdFilter(hexAttribute(attributes, QStringLiteral("LowID")),
                      hexAttribute(attributes, QStringLiteral("HighID")),
                      attributes.value(QLatin1String("Comment")).toString());
}

QString IdFilterXmlReader::errorString() const
{
    return tr("%1\nLine %2, column %3").arg(xml.errorString()).arg(xml.lineNumber()).arg(xml.columnNumber());
}
