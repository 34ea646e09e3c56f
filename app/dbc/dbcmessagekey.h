// The key under which the frame-parsing window keeps a DBC message and
// looks up a frame: the 29-bit ID with bit 31 set for the extended frame
// format, the mark DBC files give extended IDs. A message and a frame
// match only when their keys are equal, so a standard and an extended
// message of one number stay apart and each decodes only its own frames.
#pragma once

#include "vci.h"

#include <QtGlobal>

class DBCMessageKey
{
public:
    static constexpr quint32 ExtendedMark = 0x80000000;
    static constexpr quint32 IdMask = 0x1FFFFFFF;
    static constexpr quint32 MaxStandardId = 0x7FF;

    // Bits 29 and 30 are not part of any CAN ID: a DBC ID that sets them
    // names no frame.
    static bool isCanId(quint32 dbcId) { return (dbcId & ~(IdMask | ExtendedMark)) == 0; }
    // A DBC ID above 0x7FF without the mark cannot be carried by a standard
    // frame; many files write extended IDs that way, so it keys the
    // extended frames of that number. Only for CAN IDs (isCanId).
    static quint32 ofMessage(quint32 dbcId)
    {
        const quint32 id = dbcId & IdMask;
        return (dbcId & ExtendedMark) || id > MaxStandardId ? id | ExtendedMark : id;
    }
    static quint32 ofFrame(quint32 id, bool extended) { return (id & IdMask) | (extended ? ExtendedMark : 0); }
    static quint32 ofFrame(const VCI_CAN_OBJ &frame) { return ofFrame(frame.ID, frame.ExternFlag != 0); }

    // The ID as shown and sent, without the mark.
    static quint32 idOf(quint32 key) { return key & IdMask; }
    static bool isExtended(quint32 key) { return (key & ExtendedMark) != 0; }
};
