#include "idfilterxmlreader.h"

#include "ullistlimits.h"

#include <QBuffer>

namespace {

constexpr quint32 kMaxId = 0x1FFFFFFF;

} // namespace

bool IdFilterXmlReader::read(QIODevice *device)
{
    refusal = false;
    error.clear();
    QByteArray text = device->read(UlListLimits::MaxFileBytes + 1);
    if (text.size() > UlListLimits::MaxFileBytes) {
        refusal = true;
        error = tr("The file is larger than %1 MB.").arg(UlListLimits::MaxFileBytes >> 20);
        return false;
    }
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    xml.setDevice(&buffer);
    if (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("xml")
            || xml.attributes().value(QLatin1String("version")) != QLatin1String("1.0")) {
            xml.raiseError(tr("The file is not an XBEL version 1.0 file."));
        }
    }
    int rules = 0;
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        const bool notReceive = name == QLatin1String("NotReceiveFilter");
        if (name == QLatin1String("Filter")) {
            const QStringRef mode = xml.attributes().value(QLatin1String("Mode"));
            bool ok = true;
            const int value = mode.isNull() ? 0 : mode.toInt(&ok);
            if (!ok || value < UlIdFilterMannger::NoFilter || value > UlIdFilterMannger::OnlyReceiveMode) {
                refuse(tr("The filter mode %1 is not 0, 1 or 2.").arg(mode.toString()));
                break;
            }
            result.setFilterMode(value);
        } else if (notReceive || name == QLatin1String("OnlyReceiveFilter")) {
            if (++rules > UlListLimits::MaxEntries) {
                refuse(tr("The file holds more than %1 rules.").arg(UlListLimits::MaxEntries));
                break;
            }
            UlIdFilter rule;
            if (!readRule(rule))
                break;
            if (notReceive)
                result.addNotReceive(rule);
            else
                result.addOnlyReceive(rule);
        }
    }
    const bool ok = !xml.hasError();
    if (!ok)
        error = tr("%1\nLine %2, column %3").arg(xml.errorString()).arg(xml.lineNumber()).arg(xml.columnNumber());
    xml.setDevice(nullptr);
    return ok;
}

void IdFilterXmlReader::refuse(const QString &why)
{
    refusal = true;
    xml.raiseError(why);
}

// An absent ID is 0; one that is there must be an identifier.
bool IdFilterXmlReader::readId(const QXmlStreamAttributes &attributes, const QString &name, quint32 &id)
{
    id = 0;
    if (!attributes.hasAttribute(name))
        return true;
    const QStringRef text = attributes.value(name);
    bool ok = false;
    id = text.toUInt(&ok, 16);
    if (ok && id <= kMaxId)
        return true;
    refuse(tr("The rule's %1 \"%2\" is not a hexadecimal ID from 0 to 1FFFFFFF.").arg(name, text.toString()));
    return false;
}

bool IdFilterXmlReader::readRule(UlIdFilter &rule)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    if (!readId(attributes, QStringLiteral("LowID"), rule.startId)
        || !readId(attributes, QStringLiteral("HighID"), rule.endId))
        return false;
    if (rule.startId > rule.endId) {
        refuse(tr("The rule's LowID %1 is above its HighID %2.")
                       .arg(rule.startId, 0, 16)
                       .arg(rule.endId, 0, 16));
        return false;
    }
    rule.text = attributes.value(QLatin1String("Comment")).toString();
    return true;
}
