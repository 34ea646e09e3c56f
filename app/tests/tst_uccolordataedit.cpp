// The coloured byte cell: where and in which colour each text is drawn,
// also past the eighth text, which has no colour of its own.
#include "guitest.h"
#include "uccolordataedit.h"

#include <QImage>
#include <QtTest>

class tst_UcColorDataEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsInTheirColours();
    void moreThanEightTexts();
    void itemWidthSpreadsTexts();

private:
    // Counts of strongly red and of dark pixels in the 27-px slot of text i.
    static QPair<int, int> slotInk(const QImage &image, int i, int pitch = 27);
};

QPair<int, int> tst_UcColorDataEdit::slotInk(const QImage &image, int i, int pitch)
{
    int red = 0;
    int dark = 0;
    for (int x = 5 + pitch * i; x < 5 + pitch * (i + 1) && x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 100 && c.blue() < 100)
                ++red;
            else if (c.red() < 100 && c.green() < 100 && c.blue() < 100)
                ++dark;
        }
    }
    return {red, dark};
}

static QImage render(UcColorDataEdit &edit)
{
    edit.resize(400, 20);
    edit.setAutoFillBackground(true);
    edit.setPalette(QPalette(Qt::white, Qt::white));
    return edit.grab().toImage();
}

void tst_UcColorDataEdit::textsInTheirColours()
{
    UcColorDataEdit edit;
    edit.setTexts({QStringLiteral("00"), QStringLiteral("11"), QStringLiteral("22")});
    QCOMPARE(edit.color(0), QColor(0, 0, 0, 255));
    edit.setColor(1, QColor(255, 0, 0));
    const QImage image = render(edit);
    QVERIFY(slotInk(image, 0).second > 0);
    QCOMPARE(slotInk(image, 0).first, 0);
    QVERIFY(slotInk(image, 1).first > 0);
    QVERIFY(slotInk(image, 2).second > 0);
    QCOMPARE(slotInk(image, 2).first, 0);
    QCOMPARE(slotInk(image, 3), qMakePair(0, 0));
}

void tst_UcColorDataEdit::moreThanEightTexts()
{
    UcColorDataEdit edit;
    QStringList texts;
    for (int i = 0; i < 10; ++i) {
        texts << QStringLiteral("FF");
        edit.setColor(i, QColor(255, 0, 0));  // 8 and 9 have no colour and are ignored
    }
    edit.setTexts(texts);
    QCOMPARE(edit.color(8), QColor(Qt::black));
    const QImage image = render(edit);
    for (int i = 0; i < 8; ++i)
        QVERIFY2(slotInk(image, i).first > 0, qPrintable(QString::number(i)));
    for (int i = 8; i < 10; ++i) {
        QCOMPARE(slotInk(image, i).first, 0);
        QVERIFY2(slotInk(image, i).second > 0, qPrintable(QString::number(i)));
    }
}

void tst_UcColorDataEdit::itemWidthSpreadsTexts()
{
    UcColorDataEdit edit;
    edit.setItemWidth(28);  // pitch 50
    edit.setTexts({QStringLiteral("AA"), QStringLiteral("BB")});
    const QImage image = render(edit);
    QVERIFY(slotInk(image, 0, 50).second > 0);
    QVERIFY(slotInk(image, 1, 50).second > 0);
    QCOMPARE(slotInk(image, 2, 50), qMakePair(0, 0));
}

MEROVAST_GUI_TEST_MAIN(tst_UcColorDataEdit)
#include "tst_uccolordataedit.moc"
