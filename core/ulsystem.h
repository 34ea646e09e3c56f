// The few operating-system services the core needs, in one place.
#pragma once

#include "vizoz_global.h"

#include <QString>

namespace UlSystem {

// Folder of the running program's executable, without a trailing separator.
VIZOZ_EXPORT QString programFolder();

// File name of the VCI_ interface library loaded from the program's folder.
VIZOZ_EXPORT QString interfaceLibraryName();

} // namespace UlSystem
