// A channel's software ID filter: two lists of ID ranges and the mode that
// says which applies. The GUI thread edits it; the receive path asks
// isValid for every received frame. One mutex guards both lists; the mode
// is atomic, and copy assignment changes lists and mode under the mutex
// together, so isValid sees a whole copy or none of it.
#pragma once

#include "ulidfilter.h"
#include "vizoz_global.h"

#include <QMutex>
#include <QObject>
#include <QQueue>

#include <atomic>

class VIZOZ_EXPORT UlIdFilterMannger : public QObject
{
    Q_OBJECT
public:
    enum FilterMode { NoFilter = 0, NotReceiveMode = 1, OnlyReceiveMode = 2 };

    static constexpr int Channels = 4;
    // Manager of a channel 0..3; other values give channel 0's.
    static UlIdFilterMannger &instance(int channel);

    UlIdFilterMannger();
    // Copies both lists and the mode; the copy has no parent.
    UlIdFilterMannger(const UlIdFilterMannger &other);
    UlIdFilterMannger &operator=(const UlIdFilterMannger &other);

    void addNotReceive(const UlIdFilter &filter);
    void addOnlyReceive(const UlIdFilter &filter);
    // Replacing or removing at an index outside the list does nothing.
    void replaceNotReceive(int index, const UlIdFilter &filter);
    void replaceOnlyReceive(int index, const UlIdFilter &filter);
    void removeAtNotReceive(int index);
    void removeAtOnlyReceive(int index);
    // A default (empty) filter for an index outside the list.
    UlIdFilter getNotReceive(int index) const;
    UlIdFilter getOnlyReceive(int index) const;
    int NotReceiveCount() const;
    int OnlyReceiveCount() const;
    void clearNotReceive();
    void clearOnlyReceive();
    QQueue<UlIdFilter> getNotReceiveQueue() const;
    QQueue<UlIdFilter> getOnlyReceiveQueue() const;

    void setFilterMode(int mode) { filterMode = mode; }
    int getFilterMode() const { return filterMode; }

    // Mode 1: pass unless in a NotReceive range; mode 2: pass only inside
    // an OnlyReceive range; any other mode: pass.
    bool isValid(unsigned id) const;

protected:
    bool isNotReceive(unsigned id) const;
    bool isOnlyReceive(unsigned id) const;

private:
    static bool inAny(const QQueue<UlIdFilter> &list, unsigned id);

    mutable QMutex mutex;
    QQueue<UlIdFilter> notReceive;
    QQueue<UlIdFilter> onlyReceive;
    std::atomic<int> filterMode{NoFilter};
};
