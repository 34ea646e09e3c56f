// One frame as 13 display strings, made by the frame buffer for the frame
// list and the save threads. The texts are untranslated core texts.
#pragma once

#include "vizoz_global.h"

#include <QMetaType>
#include <QString>

class VIZOZ_EXPORT CanObjStr
{
    Q_GADGET
public:
    QString index;        // row number in the buffer, "-1" from an empty watch row
    QString id;           // "%08X "
    QString name;         // free for the GUI
    QString deviceTime;   // "0x%X", or "NULL" for a transmitted frame
    QString time;         // arrival time "%02d:%02d:%02d:%03d"
    QString spare6;
    QString spare7;
    QString frameType;    // "Data Frame" or "Remote"
    QString frameFormat;  // "Standard" or "Extend"
    QString dataLen;      // "%d"
    QString data;         // "%02X" bytes separated by blanks
    QString spare12;
    QString direction;    // "Rx" or "Tx"

    bool isEmpty() const;
};

Q_DECLARE_METATYPE(CanObjStr)
