// Writes a channel's ID filters as a filter list file (*.filter):
//   <?xml version="1.0" encoding="UTF-8"?>
//   <!DOCTYPE xml>
//   <xml version="1.0">
//       <Filter Mode="1"/>
//       <NotReceiveFilter LowID="100" HighID="1ff" Comment="..."/>
//       <OnlyReceiveFilter LowID="..." HighID="..." Comment="..."/>
//   </xml>
// IDs in lower-case hexadecimal without leading zeros; both lists are
// written whatever the mode.
#pragma once

#include "ulidfiltermannger.h"

class QIODevice;

class IdFilterXmlWriter
{
public:
    explicit IdFilterXmlWriter(const UlIdFilterMannger &filters);

    // False when the device did not take the whole document.
    bool write(QIODevice *device) const;

private:
    UlIdFilterMannger filters;
};
