// A queue of display records (argument of the transmit thread's sendEvent).
#pragma once

#include "canobjstr.h"
#include "vizoz_global.h"

#include <QQueue>

class VIZOZ_EXPORT UlCanObjStrQueue
{
    Q_GADGET
public:
    void enqueue(const CanObjStr &row) { rows.enqueue(row); }
    CanObjStr dequeue() { return rows.dequeue(); }
    CanObjStr at(int i) const { return rows.at(i); }
    int size() const { return rows.size(); }
    bool isEmpty() const { return rows.isEmpty(); }
    void clear() { rows.clear(); }

private:
    QQueue<CanObjStr> rows;
};

Q_DECLARE_METATYPE(UlCanObjStrQueue)
