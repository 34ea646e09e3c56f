// The open list of a combo box with the width follower: every item drawn
// whole in the program's face, also an item the list draws wider than the
// box draws it (an ampersand) and in a box narrower than its items, and
// after the items, their texts or the font changed.
#include "applicationfamily.h"
#include "combopopupwidth.h"
#include "guitest.h"
#include "openlists.h"
#include "uifont.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QtTest>

class tst_ComboPopupWidth : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemsWhole_data();
    void itemsWhole();
};

namespace {

enum Change { None, TextsReplaced, ItemsAdded, FontEnlarged };

} // namespace

Q_DECLARE_METATYPE(Change)

void tst_ComboPopupWidth::itemsWhole_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("fixedBox");  // the box narrower than its items, as in a table cell
    const QStringList sendModes{"Normal Send", "Single Send", "Send & Receive", "Single Send&Rec"};
    QTest::newRow("an ampersand") << sendModes << None << false;
    QTest::newRow("ampersands, box as wide as a cell") << sendModes << None << true;
    QTest::newRow("texts replaced") << sendModes << TextsReplaced << false;
    QTest::newRow("items added") << sendModes << ItemsAdded << false;
    QTest::newRow("font enlarged") << sendModes << FontEnlarged << true;
}

void tst_ComboPopupWidth::itemsWhole()
{
    QFETCH(QStringList, items);
    QFETCH(Change, change);
    QFETCH(bool, fixedBox);
    if (!QFontDatabase().hasFamily(UiFont::cjkFamily()))
        QSKIP("the program's face is not installed");
    const ApplicationFamily face(UiFont::cjkFamily());
    QWidget window;
    window.resize(400, 300);
    auto *box = new QComboBox(&window);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    if (fixedBox)
        box->setFixedWidth(80);
    if (change == TextsReplaced)
        box->addItems(QStringList{"a", "b", "c", "d"}.mid(0, items.size()));
    else if (change != ItemsAdded)
        box->addItems(items);
    ComboPopupWidth::install(box);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    switch (change) {
    case TextsReplaced:
        for (int i = 0; i < items.size(); ++i)
            box->setItemText(i, items.at(i));
        break;
    case ItemsAdded:
        box->addItems(items);
        break;
    case FontEnlarged: {
        QFont font = box->font();
        font.setPointSize(font.pointSize() * 2);
        window.setFont(font);
        break;
    }
    case None:
        break;
    }
    const TextsShown shown = openListsShown(window);
    QCOMPARE(shown.measured, items.size());
    QVERIFY2(shown.cut.isEmpty(), qPrintable(shown.cut.join(QLatin1Char('\n'))));
}

MEROVAST_GUI_TEST_MAIN(tst_ComboPopupWidth)
#include "tst_combopopupwidth.moc"
