#include "basesendparam.h"

void BaseSendParam::registerMetaType()
{
    static const int id = qRegisterMetaType<BaseSendParam>("BaseSendParam");
    Q_UNUSED(id)
}
