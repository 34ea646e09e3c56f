// The tasks a send page hands to its channel's send-task thread, in order.
#pragma once

#include "taskobj.h"

#include <QMetaType>
#include <QQueue>

using taskQueue = QQueue<taskObj>;

Q_DECLARE_METATYPE(taskQueue)
