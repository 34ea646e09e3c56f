// Reads a filter list file (*.filter, see IdFilterXmlWriter) into a fresh
// set of ID filters. After an error the filters hold what was read before
// it.
#pragma once

#include "ulidfiltermannger.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

class IdFilterXmlReader
{
    Q_DECLARE_TR_FUNCTIONS(IdFilterXmlReader)

public:
    // False on malformed XML, another root or version, or a mode other
    // than 0, 1 or 2.
    bool read(QIODevice *device);
    // The error with its line and column.
    QString errorString() const;
    const UlIdFilterMannger &filters() const { return result; }

private:
    UlIdFilter readRule() const;

    QXmlStreamReader xml;
    UlIdFilterMannger result;
};
