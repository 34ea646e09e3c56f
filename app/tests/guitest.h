// main() for widget tests, in place of QTEST_MAIN. Qt's offscreen platform
// never frees its screen; a pointer to it in a global keeps LeakSanitizer
// from reporting that at exit, while leaks of the tested code still show.
#pragma once

#include <QApplication>
#include <QScreen>
#include <QtTest>

inline QScreen *volatile merovastOffscreenScreen = nullptr;

#define MEROVAST_GUI_TEST_MAIN(TestObject)                                                                   \
    int main(int argc, char *argv[])                                                                         \
    {                                                                                                        \
        QApplication app(argc, argv);                                                                        \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                             \
        merovastOffscreenScreen = QGuiApplication::primaryScreen();                                          \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
