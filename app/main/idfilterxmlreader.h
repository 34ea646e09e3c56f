// Reads a filter list file (*.filter, see IdFilterXmlWriter) into a fresh
// set of ID filters. A file that breaks off leaves the filters read before
// the break; a file whose content is refused (larger than
// UlListLimits::MaxFileBytes, more than UlListLimits::MaxEntries rules, a
// rule whose IDs are not hexadecimal, above 0x1FFFFFFF or reversed, a mode
// other than 0, 1 or 2) is one to take nothing from.
#pragma once

#include "ulidfiltermannger.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

class IdFilterXmlReader
{
    Q_DECLARE_TR_FUNCTIONS(IdFilterXmlReader)

public:
    // False on malformed XML, another root or version, or refused content.
    bool read(QIODevice *device);
    // After a false read: whether the content was refused (rather than
    // broken off).
    bool refused() const { return refusal; }
    // The error, with its line and column where it has one.
    QString errorString() const { return error; }
    const UlIdFilterMannger &filters() const { return result; }

private:
    bool readRule(UlIdFilter &rule);
    bool readId(const QXmlStreamAttributes &attributes, const QString &name, quint32 &id);
    void refuse(const QString &why);

    QXmlStreamReader xml;
    UlIdFilterMannger result;
    bool refusal = false;
    QString error;
};
