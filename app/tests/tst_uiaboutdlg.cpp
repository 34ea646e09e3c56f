// The about dialog: the build's version, this year in the notice, the web
// link, its fixed size, and its texts after a change of catalogue.
#include "guitest.h"
#include "modaldialog.h"
#include "uiaboutdlg.h"

#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

class tst_UiAboutDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsVersionYearAndLink();
    void fixedSizeAndOk();
    void followsTheCatalogue();

private:
    static QLabel *textLabel(const QDialog &dialog)
    {
        return dialog.findChild<QLabel *>(QStringLiteral("textLabel"));
    }
};

void tst_UiAboutDlg::showsVersionYearAndLink()
{
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(QStringLiteral(MEROVAST_VERSION)).hasMatch());
    UiAboutDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About Merovast"));
    const QString text = textLabel(dialog)->text();
    QVERIFY2(text.contains(QStringLiteral("<p>Version:" MEROVAST_VERSION "</p>")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Copyright © %1 The Merovast project").arg(QDate::currentDate().year())),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("All rights reserved.")));
    QVERIFY(text.endsWith(QStringLiteral("website:<a href=https://merovast.example>https://merovast.example</a>")));
    QCOMPARE(textLabel(dialog)->textFormat(), Qt::RichText);
    QVERIFY(textLabel(dialog)->openExternalLinks());
    const QLabel *logo = dialog.findChild<QLabel *>(QStringLiteral("logoLabel"));
    QCOMPARE(logo->pos(), QPoint(10, 5));
    QVERIFY(logo->pixmap() && !logo->pixmap()->isNull());
    QVERIFY(logo->pixmap()->width() <= 128 && logo->pixmap()->height() <= 128);
}

void tst_UiAboutDlg::fixedSizeAndOk()
{
    UiAboutDlg dialog;
    QCOMPARE(dialog.minimumSize(), QSize(500, 200));
    QCOMPARE(dialog.maximumSize(), QSize(500, 200));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    onNextModal<UiAboutDlg>([](UiAboutDlg *d) { d->findChild<QPushButton *>(QStringLiteral("OkButton"))->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
}

void tst_UiAboutDlg::followsTheCatalogue()
{
    UiAboutDlg dialog;
    QTranslator chinese;
    QVERIFY(chinese.load(QStringLiteral(":/translations/Merovast_zh.qm")));
    QCoreApplication::installTranslator(&chinese);
    QCoreApplication::processEvents();
    const QString text = textLabel(dialog)->text();
    QCoreApplication::removeTranslator(&chinese);
    QVERIFY2(text.contains(QStringLiteral("<p>版本:" MEROVAST_VERSION "</p>")), qPrintable(text));
    QVERIFY(text.contains(QString::number(QDate::currentDate().year())));
    QVERIFY(!dialog.windowTitle().contains(QStringLiteral("About")));
}

MEROVAST_GUI_TEST_MAIN(tst_UiAboutDlg)
#include "tst_uiaboutdlg.moc"
