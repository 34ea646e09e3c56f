// The Chinese catalogue installed for the life of the object the way the
// main window switches languages (language code first, then the
// catalogue); removed again, with the code of any other catalogue, at the
// end. Widgets have seen the language-change events when either returns.
#pragma once

#include "uilanguage.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QtTest>

class ChineseCatalogue
{
public:
    ChineseCatalogue()
    {
        UiLanguage::setCode(UiLanguage::Chinese);
        loaded = translator.load(QStringLiteral(":/translations/Merovast_zh.qm"));
        QCoreApplication::installTranslator(&translator);
        QCoreApplication::processEvents();
    }
    ~ChineseCatalogue()
    {
        UiLanguage::setCode(UiLanguage::Other);
        QCoreApplication::removeTranslator(&translator);
        QCoreApplication::processEvents();
    }
    ChineseCatalogue(const ChineseCatalogue &) = delete;
    ChineseCatalogue &operator=(const ChineseCatalogue &) = delete;

    bool isLoaded() const { return loaded; }

private:
    QTranslator translator;
    bool loaded = false;
};
