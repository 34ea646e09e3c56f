// The choice cells of the task table (drawn texts, editor round trip,
// clicks, the editor's open list) and the Frames limiter.
#include "applicationfamily.h"
#include "comboboxdelegate.h"
#include "frameslimiter.h"
#include "guitest.h"
#include "openlists.h"
#include "taskrow.h"
#include "uifont.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QtTest>

namespace {

const QStringList SendModes{"Normal Send", "Single Send", "Send & Receive", "Single Send&Rec"};
const QStringList DataRules{"Fixed",      "0 Increase", "1 Increase", "2 Increase", "3 Increase",
                            "4 Increase", "5 Increase", "6 Increase", "7 Increase"};

// Records the label of every combo box the style draws.
class LabelRecorder : public QProxyStyle
{
public:
    QStringList labels;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element == CE_ComboBoxLabel) {
            if (const auto *box = qstyleoption_cast<const QStyleOptionComboBox *>(option))
                const_cast<LabelRecorder *>(this)->labels << box->currentText;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

// A shown table whose column 1 holds choices.
struct ChoiceTable {
    QTableWidget table{3, 3};
    ComboBoxDelegate *delegate = new ComboBoxDelegate(SendModes, &table);

    ChoiceTable()
    {
        table.setItemDelegateForColumn(1, delegate);
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                auto *item = new QTableWidgetItem;
                item->setData(Qt::EditRole, row);
                table.setItem(row, column, item);
            }
        }
        table.setSelectionBehavior(QAbstractItemView::SelectRows);
        table.resize(400, 200);
        table.show();
    }
    QPoint centre(int row, int column) const { return table.visualRect(table.model()->index(row, column)).center(); }
    QComboBox *editor() const { return table.viewport()->findChild<QComboBox *>(); }
};

} // namespace

class tst_ComboBoxDelegate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paintsChoiceText_data();
    void paintsChoiceText();
    void editorRoundTrip();
    void leftClickNeitherSelectsNorEdits();
    void newTextsFollow();
    void editorListShowsItemsWhole();
    void framesLimiter_data();
    void framesLimiter();
};

void tst_ComboBoxDelegate::paintsChoiceText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("label");
    QTest::newRow("first") << 0 << "Normal Send";
    QTest::newRow("last") << 3 << "Single Send&Rec";
    QTest::newRow("past the list") << 7 << "";
    QTest::newRow("negative") << -1 << "";
}

void tst_ComboBoxDelegate::paintsChoiceText()
{
    QFETCH(int, value);
    QFETCH(QString, label);
    auto *recorder = new LabelRecorder;
    QApplication::setStyle(recorder);  // the application owns it
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), value, Qt::EditRole);
    ComboBoxDelegate delegate(SendModes, nullptr);
    QImage image(100, 20, QImage::Format_ARGB32);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 100, 20);
    option.state = QStyle::State_None;
    delegate.paint(&painter, option, model.index(0, 0));
    QCOMPARE(recorder->labels, QStringList{label});
    QApplication::setStyle(QStringLiteral("Fusion"));
}

void tst_ComboBoxDelegate::editorRoundTrip()
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), 4, Qt::EditRole);
    ComboBoxDelegate delegate(DataRules, nullptr);
    QWidget parent;
    QWidget *editor = delegate.createEditor(&parent, QStyleOptionViewItem(), model.index(0, 0));
    auto *box = qobject_cast<QComboBox *>(editor);
    QVERIFY(box);
    QCOMPARE(box->parent(), &parent);
    QCOMPARE(box->count(), 9);
    delegate.setEditorData(box, model.index(0, 0));
    QCOMPARE(box->currentText(), QStringLiteral("3 Increase"));
    box->setCurrentText(QStringLiteral("Fixed"));
    delegate.setModelData(box, &model, model.index(0, 0));
    QCOMPARE(model.data(model.index(0, 0), Qt::EditRole), QVariant(0));
    QCOMPARE(model.data(model.index(0, 0), Qt::EditRole).type(), QVariant::Int);

    QWidget other;  // editors of another kind are left alone
    delegate.setModelData(&other, &model, model.index(0, 0));
    QCOMPARE(model.data(model.index(0, 0), Qt::EditRole), QVariant(0));
}

void tst_ComboBoxDelegate::leftClickNeitherSelectsNorEdits()
{
    ChoiceTable t;
    QVERIFY(QTest::qWaitForWindowExposed(&t.table));
    t.table.setCurrentCell(0, 0);
    QTest::mouseClick(t.table.viewport(), Qt::LeftButton, {}, t.centre(2, 1));
    QCOMPARE(t.table.currentRow(), 0);
    QVERIFY(!t.table.selectionModel()->isRowSelected(2, {}));
    QVERIFY(!t.editor());

    QTest::mouseClick(t.table.viewport(), Qt::LeftButton, {}, t.centre(2, 0));  // a plain cell
    QCOMPARE(t.table.currentRow(), 2);

    // A double click as the window system delivers it: press, release, double click.
    QTest::mouseClick(t.table.viewport(), Qt::LeftButton, {}, t.centre(1, 1));
    QVERIFY(!t.editor());
    QTest::mouseDClick(t.table.viewport(), Qt::LeftButton, {}, t.centre(1, 1));
    QPointer<QComboBox> editor = t.editor();
    QVERIFY(editor);
    QCOMPARE(editor->currentText(), QStringLiteral("Single Send"));
    editor->setCurrentIndex(2);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!editor);
    QCOMPARE(t.table.item(1, 1)->data(Qt::EditRole), QVariant(2));
}

void tst_ComboBoxDelegate::newTextsFollow()
{
    ChoiceTable t;
    t.delegate->setTexts({"a", "b", "c", "d"});
    t.table.editItem(t.table.item(2, 1));
    QComboBox *editor = t.editor();
    QVERIFY(editor);
    QCOMPARE(editor->currentText(), QStringLiteral("c"));
}

// The editor's list, opened on a cell narrower than its items, draws every
// choice whole in the program's face.
void tst_ComboBoxDelegate::editorListShowsItemsWhole()
{
    if (!QFontDatabase().hasFamily(UiFont::cjkFamily()))
        QSKIP("the program's face is not installed");
    const ApplicationFamily face(UiFont::cjkFamily());
    ChoiceTable t;
    t.table.setColumnWidth(1, 80);
    QVERIFY(QTest::qWaitForWindowExposed(&t.table));
    t.table.editItem(t.table.item(0, 1));
    QVERIFY(t.editor());
    const TextsShown shown = openListsShown(t.table);
    QCOMPARE(shown.measured, SendModes.size());
    QVERIFY2(shown.cut.isEmpty(), qPrintable(shown.cut.join(QLatin1Char('\n'))));
}

void tst_ComboBoxDelegate::framesLimiter_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("5") << int(TaskRow::Frames) << "5" << "3";
    QTest::newRow("4") << int(TaskRow::Frames) << "4" << "3";
    QTest::newRow("3") << int(TaskRow::Frames) << "3" << "3";
    QTest::newRow("0") << int(TaskRow::Frames) << "0" << "0";
    QTest::newRow("negative") << int(TaskRow::Frames) << "-7" << "-7";
    QTest::newRow("letters") << int(TaskRow::Frames) << "abc" << "abc";
    QTest::newRow("other column") << int(TaskRow::Times) << "5" << "5";
}

void tst_ComboBoxDelegate::framesLimiter()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QTableWidget table(1, TaskRow::FieldCount);
    new FramesLimiter(&table);
    table.setItem(0, column, new QTableWidgetItem(QStringLiteral("1")));
    table.item(0, column)->setText(typed);
    QCOMPARE(table.item(0, column)->text(), kept);
}

MEROVAST_GUI_TEST_MAIN(tst_ComboBoxDelegate)
#include "tst_comboboxdelegate.moc"
