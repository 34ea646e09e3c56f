#include "uifont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {

// Qt lists a family made by more than one foundry as "Family [Foundry]",
// under which hasFamily() knows it by neither name.
QString withoutFoundry(const QString &name)
{
    const int open = name.lastIndexOf(QLatin1String(" ["));
    return open > 0 && name.endsWith(QLatin1Char(']')) ? name.left(open) : name;
}

bool installed(const QFontDatabase &fonts, const QString &family)
{
    if (fonts.hasFamily(family))
        return true;
    const QString wanted = withoutFoundry(family);
    const QStringList listed = fonts.families();
    return std::any_of(listed.begin(), listed.end(), [&](const QString &name) {
        return withoutFoundry(name).compare(wanted, Qt::CaseInsensitive) == 0;
    });
}

} // namespace

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
        const bool fallBack = !installed(fonts, family) && fonts.hasFamily(cjkFamily());
        it = chosen.insert(family, fallBack ? cjkFamily() : family);
    }
    return *it;
}

} // namespace UiFont
