#include "uifont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>

namespace UiFont {

QString cjkFamily()
{
    return QStringLiteral("WenQuanYi Micro Hei");
}

void chooseApplicationFont(QApplication &app)
{
    if (app.font().family() != QLatin1String("Sans Serif") || !QFontDatabase().hasFamily(cjkFamily()))
        return;
    QFont font = app.font();
    font.setFamily(cjkFamily());
    app.setFont(font);
}

QString family(const QString &family)
{
    // Painted widgets ask at every paint; the font database is slow to search.
    static QHash<QString, QString> chosen;
    auto it = chosen.constFind(family);
    if (it == chosen.constEnd()) {
        const QFontDatabase fonts;
        const bool fallBack = !fonts.hasFamily(family) && fonts.hasFamily(cjkFamily());
        it = chosen.insert(family, fallBack ? cjkFamily() : family);
    }
    return *it;
}

} // namespace UiFont
