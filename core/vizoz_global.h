// Export macro of the core library.
#pragma once

#include <QtCore/qglobal.h>

#if defined(VIZOZ_LIBRARY)
#define VIZOZ_EXPORT Q_DECL_EXPORT
#else
#define VIZOZ_EXPORT Q_DECL_IMPORT
#endif
