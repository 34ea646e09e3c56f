#include "merovast.h"
#include "uifont.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    UiFont::chooseApplicationFont(app);
    Merovast window;
    window.show();
    return app.exec();
}
