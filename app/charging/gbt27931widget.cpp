#include "gbt27931widget.h"

#include "ulbuffer.h"

GBT27931Widget::GBT27931Widget(int channel, bool *openFlag)
    : QWidget(nullptr),
      channelIndex(channel >= 0 && channel < UlBuffer::Channels ? channel : 0),
      openFlag(openFlag)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("GBT27931Widget"));
    setWindowTitle(QStringLiteral("GBT27930"));
    resize(800, 500);
    if (openFlag)
        *openFlag = true;
    UlBuffer::instance(channelIndex).setGBT27930Run(true);
}

GBT27931Widget::~GBT27931Widget()
{
    UlBuffer &buffer = UlBuffer::instance(channelIndex);
    buffer.setGBT27930Run(false);
    buffer.ClearGBT27930();
    if (openFlag)
        *openFlag = false;
}
