// One frame handed from the frame list to the send pages ("Add to Send",
// "Add to List"). A plain value; it crosses queued connections as a
// registered meta-type.
#pragma once

#include <QMetaType>
#include <QString>

struct BaseSendParam {
    quint8 format = 0;   // 0 standard identifier, 1 extended
    quint8 type = 0;     // 0 data frame, 1 remote frame
    quint32 id = 0;      // in the ID format in force (left-aligned when IDFORMAT is 1)
    QString data;        // data bytes as hexadecimal pairs separated by blanks
    QString alias;       // the identifier's name, may be empty
    quint8 length = 0;   // data length as the list shows it

    bool operator==(const BaseSendParam &other) const
    {
        return format == other.format && type == other.type && id == other.id && data == other.data
               && alias == other.alias && length == other.length;
    }

    // Registers the meta-type once; safe to call from any constructor.
    static void registerMetaType();
};

Q_DECLARE_METATYPE(BaseSendParam)
