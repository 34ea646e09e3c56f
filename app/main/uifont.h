// Font faces on a machine without the desktop fonts the program asks for:
// the program's CJK face, which has narrow Latin letters, stands in for
// Qt's generic face and for named families that are not installed.
// GUI thread only.
#pragma once

#include <QString>

class QApplication;

namespace UiFont {

// "WenQuanYi Micro Hei"
QString cjkFamily();

// Without a desktop theme Qt falls back to a generic face whose Latin
// letters are too wide for the fixed tool-bar buttons and which draws
// Chinese from another font; the CJK face replaces it when installed.
void chooseApplicationFont(QApplication &app);

// family when installed (also as fontconfig lists it with a foundry,
// "C059 [UKWN]", or without one, "C059"), else the CJK face when that is
// installed, else family (left to the platform's matching).
QString family(const QString &family);

} // namespace UiFont
