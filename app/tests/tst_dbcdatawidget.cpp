// The message-list dialog: one row per message in ascending ID order with
// its check box, the header box that follows the rows and checks or clears
// every row, the result after OK, and names of 32 characters shown whole in
// both languages.
#include "dbc/message.h"
#include "dbcdatabase.h"
#include "dbcdatawidget.h"
#include "dbcfixture.h"
#include "dbcmsgidtablewidgetheader.h"
#include "guitest.h"

#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QtTest>

#include <memory>

#include <string>
#include <vector>

namespace {

QStringList rowTexts(const QTableWidget *table, int row)
{
    QStringList texts;
    for (int column = 0; column < DBCDataWidget::ColumnCount; ++column)
        texts << table->item(row, column)->text();
    return texts;
}

QList<bool> checks(const QTableWidget *table)
{
    QList<bool> states;
    for (int row = 0; row < table->rowCount(); ++row)
        states << (table->item(row, DBCDataWidget::CheckColumn)->checkState() == Qt::Checked);
    return states;
}

} // namespace

class tst_DBCDataWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rows();
    void headerBoxTogglesEveryRow();
    void emptyDatabase();
    void largeListFillsAfterOpening();
    void namesWhole_data();
    void namesWhole();

private:
    QTemporaryDir dir;
};

void tst_DBCDataWidget::rows()
{
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir)));
    db.messageTable[0x190].enabled = false;
    DBCDataWidget dialog(db.messageTable);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("DBC File data"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    auto *table = dialog.findChild<QTableWidget *>(QStringLiteral("m_pTableWidgetMessages"));
    QCOMPARE(table->rowCount(), 7);
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("Num"));
    QCOMPARE(rowTexts(table, 0), (QStringList{"", "1", "0x00000000", "Zero", ""}));
    QCOMPARE(rowTexts(table, 1), (QStringList{"", "2", "0x00000100", "Engine", QString::fromUtf8(kUtf8Text)}));
    // Ascending IDs; an extended ID without its mark.
    QCOMPARE(table->item(4, DBCDataWidget::IdColumn)->text(), QStringLiteral("0x00000200"));
    QCOMPARE(table->item(6, DBCDataWidget::IdColumn)->text(), QStringLiteral("0x18FEF100"));
    QCOMPARE(checks(table), (QList<bool>{true, true, true, false, true, true, true}));
    // The header box shows the rows from the start.
    QCOMPARE(dialog.findChild<DBCMsgIDTableWidgetHeader *>()->checkState(), Qt::PartiallyChecked);
    QCOMPARE(table->rowHeight(6), 20);
    QVERIFY(table->editTriggers() == QAbstractItemView::NoEditTriggers);

    table->item(0, DBCDataWidget::CheckColumn)->setCheckState(Qt::Unchecked);
    const QMap<quint32, bool> result = dialog.checkedMessages();
    QCOMPARE(result.keys(), db.messageTable.keys());
    QCOMPARE(result.value(0), false);
    QCOMPARE(result.value(0x190), false);
    QCOMPARE(result.value(0x100), true);
}

void tst_DBCDataWidget::headerBoxTogglesEveryRow()
{
    DBCDatabase db;
    QVERIFY(db.load(writeDbc(dir)));
    DBCDataWidget dialog(db.messageTable);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *table = dialog.findChild<QTableWidget *>(QStringLiteral("m_pTableWidgetMessages"));
    auto *header = dialog.findChild<DBCMsgIDTableWidgetHeader *>();
    QVERIFY(header && header->isChecked());
    QTRY_VERIFY(!header->checkBoxRect().isEmpty());
    QCOMPARE(header->checkBoxRect().size(), QSize(14, 14));

    const auto click = [header] {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->checkBoxRect().center());
    };

    // The box follows single rows.
    table->item(2, DBCDataWidget::CheckColumn)->setCheckState(Qt::Unchecked);
    QCOMPARE(header->checkState(), Qt::PartiallyChecked);
    // From partly checked a click checks every row, the next clears them.
    click();
    QCOMPARE(header->checkState(), Qt::Checked);
    QCOMPARE(checks(table), QVector<bool>(7, true).toList());
    click();
    QCOMPARE(header->checkState(), Qt::Unchecked);
    QCOMPARE(checks(table), QVector<bool>(7, false).toList());
    // Rows checked one by one: partly, then wholly checked.
    for (int row = 0; row < 7; ++row) {
        table->item(row, DBCDataWidget::CheckColumn)->setCheckState(Qt::Checked);
        QCOMPARE(header->checkState(), row < 6 ? Qt::PartiallyChecked : Qt::Checked);
    }
    table->item(4, DBCDataWidget::CheckColumn)->setCheckState(Qt::Unchecked);
    click();
    QCOMPARE(checks(table), QVector<bool>(7, true).toList());
    QCOMPARE(dialog.checkedMessages().values(), QVector<bool>(7, true).toList());
    // Elsewhere in section 0 the box stays.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->checkBoxRect().bottomRight() + QPoint(1, 1));
    QVERIFY(header->isChecked());
    QCOMPARE(checks(table), QVector<bool>(7, true).toList());
}

void tst_DBCDataWidget::emptyDatabase()
{
    const QMap<quint32, DBCMessageEntry> none;
    DBCDataWidget dialog(none);
    QCOMPARE(dialog.findChild<QTableWidget *>()->rowCount(), 0);
    QCOMPARE(dialog.findChild<DBCMsgIDTableWidgetHeader *>()->checkState(), Qt::Checked);
    dialog.findChild<QPushButton *>(QStringLiteral("m_pPushButtonOK"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.checkedMessages().isEmpty());
}

void tst_DBCDataWidget::largeListFillsAfterOpening()
{
    // More rows than one slice makes; every third message starts disabled.
    const int count = 4500;
    QVERIFY(count > 2 * DBCDataWidget::RowsPerSlice);
    std::vector<DBC::Message> messages;
    messages.resize(std::size_t(count));
    QMap<quint32, DBCMessageEntry> table;
    for (int i = 0; i < count; ++i) {
        messages[std::size_t(i)].name = "M" + std::to_string(i);
        table.insert(quint32(0x100 + i), DBCMessageEntry{i % 3 != 0, &messages[std::size_t(i)]});
    }
    DBCDataWidget dialog(table);
    auto *widget = dialog.findChild<QTableWidget *>(QStringLiteral("m_pTableWidgetMessages"));
    auto *header = dialog.findChild<DBCMsgIDTableWidgetHeader *>();
    QCOMPARE(widget->rowCount(), count);
    QVERIFY(widget->item(0, DBCDataWidget::CheckColumn));
    QCOMPARE(header->checkState(), Qt::PartiallyChecked);
    // Before the last rows are made the result already holds every message.
    QVERIFY(!widget->item(count - 1, DBCDataWidget::CheckColumn));
    QMap<quint32, bool> result = dialog.checkedMessages();
    QCOMPARE(result.size(), count);
    QCOMPARE(result.value(0x100 + count - 1), (count - 1) % 3 != 0);

    // The header box sets rows that are not made yet too.
    dialog.onCheckStausChange(false);
    QCOMPARE(header->checkState(), Qt::Unchecked);
    QTRY_VERIFY(widget->item(count - 1, DBCDataWidget::CheckColumn));
    QCOMPARE(checks(widget), QVector<bool>(count, false).toList());
    QCOMPARE(rowTexts(widget, count - 1),
             (QStringList{"", "4500", "0x00001293", "M4499", ""}));
    result = dialog.checkedMessages();
    QCOMPARE(result.values(), QVector<bool>(count, false).toList());
    // A row made late follows single changes like the first ones.
    widget->item(count - 1, DBCDataWidget::CheckColumn)->setCheckState(Qt::Checked);
    QCOMPARE(header->checkState(), Qt::PartiallyChecked);
    QVERIFY(dialog.checkedMessages().value(0x100 + count - 1));
}

void tst_DBCDataWidget::namesWhole_data()
{
    addLanguageRows();
}

// At the size the dialog opens with, names of 32 characters show whole and
// the Comment column takes the rest of the table.
void tst_DBCDataWidget::namesWhole()
{
    // As files write them, and of the widest letters.
    std::vector<DBC::Message> messages(3);
    messages[0].name = "Engine_Temperature_Sensor_Status";
    messages[1].name = "MWMWMWMWMWMWMWMWMWMWMWMWMWMWMWMW";
    messages[2].name = "Short";
    messages[2].comment = "A comment";
    QMap<quint32, DBCMessageEntry> table;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        QVERIFY(messages[i].name.size() <= std::size_t(DBCDataWidget::NameChars));
        table.insert(quint32(0x100 + i), DBCMessageEntry{true, &messages[i]});
    }
    std::unique_ptr<ChineseCatalogue> chinese = firstLanguage();
    QVERIFY(!chinese || chinese->isLoaded());
    DBCDataWidget dialog(table);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    lastLanguage(chinese);
    auto *widget = dialog.findChild<QTableWidget *>(QStringLiteral("m_pTableWidgetMessages"));
    QCOMPARE(widget->horizontalHeaderItem(DBCDataWidget::NameColumn)->text(),
             QCoreApplication::translate("DBCDataWidget", "Name"));

    const QHeaderView *header = widget->horizontalHeader();
    const int viewport = widget->viewport()->width();
    const int nameEnd = header->sectionViewportPosition(DBCDataWidget::NameColumn)
            + header->sectionSize(DBCDataWidget::NameColumn);
    QVERIFY2(nameEnd <= viewport, qPrintable(QStringLiteral("Name ends at %1 of %2 px").arg(nameEnd).arg(viewport)));
    // An item view keeps a margin on each side of its text; the grid line
    // takes the last pixel of the column.
    const int margin = widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int has = widget->columnWidth(DBCDataWidget::NameColumn) - (widget->showGrid() ? 1 : 0);
    for (int row = 0; row < widget->rowCount(); ++row) {
        const QTableWidgetItem *item = widget->item(row, DBCDataWidget::NameColumn);
        const QFont font = item->data(Qt::FontRole).isValid() ? item->font() : widget->font();
        const int needs = qCeil(QFontMetricsF(font).horizontalAdvance(item->text())) + 2 * margin;
        QVERIFY2(needs <= has,
                 qPrintable(QStringLiteral("\"%1\": needs %2 px, has %3").arg(item->text()).arg(needs).arg(has)));
    }
    // Comment: the rest, at least its header.
    QCOMPARE(header->sectionViewportPosition(DBCDataWidget::CommentColumn)
                     + header->sectionSize(DBCDataWidget::CommentColumn),
             viewport);
    QVERIFY(header->sectionSize(DBCDataWidget::CommentColumn) >= header->sectionSizeHint(DBCDataWidget::CommentColumn));
}

MEROVAST_GUI_TEST_MAIN(tst_DBCDataWidget)
#include "tst_dbcdatawidget.moc"
