#include "idfilterxmlwriter.h"

#include <QXmlStreamWriter>

namespace {

void writeRules(QXmlStreamWriter &xml, const QString &element, const QQueue<UlIdFilter> &rules)
{
    for (const UlIdFilter &rule : rules) {
        xml.writeEmptyElement(element);
        xml.writeAttribute(QStringLiteral("LowID"), QString::number(rule.startId, 16));
        xml.writeAttribute(QStringLiteral("HighID"), QString::number(rule.endId, 16));
        xml.writeAttribute(QStringLiteral("Comment"), rule.text);
    }
}

} // namespace

IdFilterXmlWriter::IdFilterXmlWriter(const UlIdFilterMannger &filters) : filters(filters) {}

bool IdFilterXmlWriter::write(QIODevice *device) const
{
    QXmlStreamWriter xml(device);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE xml>"));
    xml.writeStartElement(QStringLiteral("xml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    xml.writeEmptyElement(QStringLiteral("Filter"));
    xml.writeAttribute(QStringLiteral("Mode"), QString::number(filters.getFilterMode()));
    writeRules(xml, QStringLiteral("NotReceiveFilter"), filters.getNotReceiveQueue());
    writeRules(xml, QStringLiteral("OnlyReceiveFilter"), filters.getOnlyReceiveQueue());
    xml.writeEndDocument();
    return !xml.hasError();
}
