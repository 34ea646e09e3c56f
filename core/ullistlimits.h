// Bounds of the list files the user loads (send-task lists, ID filter
// lists, name lists): a file past either is refused before it is read, so
// that no load holds the GUI for long.
#pragma once

#include <QtGlobal>

namespace UlListLimits {

constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
constexpr int MaxEntries = 100000;

} // namespace UlListLimits
