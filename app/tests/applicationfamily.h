// The application's font in another family for the life of the object:
// offscreen, Qt's face is not the program's, and a text that fits in one
// may be cut in the other.
#pragma once

#include "uifont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QString>

class ApplicationFamily
{
public:
    // An empty family leaves the font as it is.
    explicit ApplicationFamily(const QString &family)
    {
        if (family.isEmpty())
            return;
        QFont font = saved;
        font.setFamily(family);
        QApplication::setFont(font);
    }
    ~ApplicationFamily() { QApplication::setFont(saved); }
    ApplicationFamily(const ApplicationFamily &) = delete;
    ApplicationFamily &operator=(const ApplicationFamily &) = delete;

private:
    const QFont saved = QApplication::font();
};

// The program's face where it is installed; else empty, for Qt's.
inline QString programFamily()
{
    return QFontDatabase().hasFamily(UiFont::cjkFamily()) ? UiFont::cjkFamily() : QString();
}
