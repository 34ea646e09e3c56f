// The language code of the catalogue in force: windows with fixed label
// widths read it to size them. GUI thread only.
#pragma once

namespace UiLanguage {

constexpr int Chinese = 25; // the Chinese catalogue (the program starts with it)
constexpr int Other = 31;   // any other catalogue

int code();
void setCode(int code);

} // namespace UiLanguage
