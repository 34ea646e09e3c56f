#include "merovast.h"

#include <QApplication>
#include <QFontDatabase>

namespace {

// Without a desktop theme Qt falls back to a generic face whose Latin
// letters are too wide for the fixed tool-bar buttons and which draws
// Chinese from another font; one CJK face with narrow Latin letters
// serves both languages.
void chooseFont(QApplication &app)
{
    const QString cjk = QStringLiteral("WenQuanYi Micro Hei");
    if (app.font().family() != QLatin1String("Sans Serif") || !QFontDatabase().hasFamily(cjk))
        return;
    QFont font = app.font();
    font.setFamily(cjk);
    app.setFont(font);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    chooseFont(app);
    Merovast window;
    window.show();
    return app.exec();
}
