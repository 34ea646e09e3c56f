#include "taskqueue.h"

namespace {

// Queued signals carry tasks and queues by these names.
void registerTaskTypes()
{
    qRegisterMetaType<taskObj>("taskObj");
    qRegisterMetaType<taskQueue>("taskQueue");
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(registerTaskTypes)
