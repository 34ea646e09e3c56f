#include "canobjstr.h"

bool CanObjStr::isEmpty() const
{
    return index.isEmpty() && id.isEmpty() && name.isEmpty() && deviceTime.isEmpty()
        && time.isEmpty() && spare6.isEmpty() && spare7.isEmpty() && frameType.isEmpty()
        && frameFormat.isEmpty() && dataLen.isEmpty() && data.isEmpty() && spare12.isEmpty()
        && direction.isEmpty();
}
