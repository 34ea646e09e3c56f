// The newest frame of one DBC message, waiting to be shown.
#pragma once

#include <QByteArray>
#include <QtGlobal>

struct DBCPendingFrame {
    quint32 time = 0;   // DeviceTime of the frame (of the last packet of a transport message)
    quint8 extended = 0;
    quint8 remote = 0;
    QByteArray data;    // the 8 data bytes; a reassembled transport message: its bytes;
                        // a remote frame: none
};
