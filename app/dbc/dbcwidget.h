// The DBC frame-parsing window: a top-level window without parent that
// deletes itself when closed. Live mode (replayMode 0) decodes the frames
// of one channel, replay mode (1) decodes record files and leaves the
// channels alone. The window keeps its opener's open flag: true from
// construction to destruction. The decoding views are still to come.
#pragma once

#include <QWidget>

class DBCWidget : public QWidget
{
    Q_OBJECT

public:
    enum Mode { LiveMode = 0, ReplayMode = 1 };

    DBCWidget(int replayMode, int channel, bool *openFlag);
    // Clears the open flag; in live mode also switches the channel's DBC
    // queue off and empties it.
    ~DBCWidget() override;

    int replayMode() const { return mode; }
    int channel() const { return channelIndex; }

private:
    int mode;
    int channelIndex;
    bool *openFlag;
};
