// The GB/T 27930 charging window of one channel: a top-level window without
// parent that deletes itself when closed. While it exists the channel's
// GB/T 27930 queue is on, and its opener's open flag is true. The charging
// pages are still to come.
#pragma once

#include <QWidget>

class GBT27931Widget : public QWidget
{
    Q_OBJECT

public:
    GBT27931Widget(int channel, bool *openFlag);
    // Switches the queue off, empties it and clears the open flag.
    ~GBT27931Widget() override;

    int channel() const { return channelIndex; }

private:
    int channelIndex;
    bool *openFlag;
};
