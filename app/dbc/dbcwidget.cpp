#include "dbcwidget.h"

#include "ulbuffer.h"

DBCWidget::DBCWidget(int replayMode, int channel, bool *openFlag)
    : QWidget(nullptr),
      mode(replayMode == LiveMode ? LiveMode : ReplayMode),
      channelIndex(channel >= 0 && channel < UlBuffer::Channels ? channel : 0),
      openFlag(openFlag)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("DBCWidget"));
    setWindowTitle(QStringLiteral("DBC"));
    resize(800, 500);
    if (openFlag)
        *openFlag = true;
}

DBCWidget::~DBCWidget()
{
    // A replay window must not switch off the queue of a live window.
    if (mode == LiveMode) {
        UlBuffer &buffer = UlBuffer::instance(channelIndex);
        buffer.setDBCRun(false);
        buffer.ClearDBC();
    }
    if (openFlag)
        *openFlag = false;
}
