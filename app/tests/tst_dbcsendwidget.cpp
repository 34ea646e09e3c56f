// The DBC send dialog on a message row of the frame-parsing window: its
// tree (ranges, value descriptions, byte rows), value edits encoded into
// the data (rounding, clamping, several edits combined), the frame sent on
// the simulated bus (ID, flags, length, bytes; also after a language
// switch), frequency and interval, one send at a time, closing during a
// send, the refusals, its texts whole in both languages (also in the open
// send-type list), and an open dialog following language switches.
#include "applicationfamily.h"
#include "dbc/message.h"
#include "dbcdatabase.h"
#include "dbcfixture.h"
#include "dbcmessagekey.h"
#include "dbcsendwidget.h"
#include "dbcwidget.h"
#include "devcan.h"
#include "guitest.h"
#include "labelwidths.h"
#include "openlists.h"
#include "uifiledialog.h"
#include "uimessage.h"
#include "ulbuffer.h"
#include "vcisim.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

namespace {

constexpr quint32 Extended = DBCMessageKey::ExtendedMark;

QStringList boxes;

QByteArray sendFixture()
{
    return "BO_ 291 Motor: 8 ECU\n"
           " SG_ Torque : 0|8@1+ (0.1,0) [0|25.5] \"Nm\" ECU\n"
           " SG_ Level : 8|8@1+ (1,0) [0|100] \"%\" ECU\n"
           " SG_ Ratio : 16|8@1+ (0.5,0) [0.5|10.5] \"\" ECU\n"
           " SG_ Temp : 24|8@1- (1,-40) [-40|87] \"degC\" ECU\n"
           " SG_ Mode : 32|2@1+ (1,0) [0|3] \"\" ECU\n\n"
           "BO_ 2147483939 MotorExt: 8 ECU\n"
           " SG_ Torque : 0|8@1+ (0.1,0) [0|25.5] \"Nm\" ECU\n\n"
           "BO_ 292 Wide: 8 ECU\n"
           " SG_ Big : 0|55@1- (1,0) [0|0] \"\" ECU\n\n"
           "BO_ 2566844672 Long: 20 ECU\n"
           " SG_ Tail : 144|16@1+ (1,0) [0|0] \"\" ECU\n\n"
           "BO_ 2565810711 Proprietary: 3 ECU\n"
           " SG_ Level : 0|8@1+ (1,0) [0|0] \"\" ECU\n\n"
           "VAL_ 291 Mode 0 \"Off\" 1 \"On\" 2 \"Auto\" ;\n";
}

// Two channels at 500 kbit/s: the dialog sends on 0, channel 1 listens.
void openBus()
{
    DevCan &device = DevCan::instance();
    QCOMPARE(device.openDevice(VCI_KELMO_USB2, 0, 0), 1u);
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFF;
    config.FilterMode = 1;
    config.BTR1 = 0x1C;
    for (uint32_t ch = 0; ch < 2; ++ch) {
        QCOMPARE(device.initCAN(ch, &config), 1u);
        QCOMPARE(device.StartCAN(ch), 1u);
    }
}

// What channel 1 heard, waiting up to waitMs for the first frame's bus time.
QVector<VCI_CAN_OBJ> heardOnChannel1(uint32_t waitMs = 2000)
{
    VCI_CAN_OBJ frames[64];
    const uint32_t n = DevCan::instance().Receive(1, frames, 64, waitMs);
    return QVector<VCI_CAN_OBJ>(frames, frames + (n > 64 ? 0 : n));
}

VCI_CAN_OBJ frame(quint32 id, const char *hex, bool extended = false, bool remote = false)
{
    VCI_CAN_OBJ f{};
    f.ID = id;
    f.ExternFlag = extended ? 1 : 0;
    f.RemoteFlag = remote ? 1 : 0;
    const QByteArray data = QByteArray::fromHex(hex);
    f.DataLen = quint8(qMin(data.size(), 8));
    memcpy(f.Data, data.constData(), f.DataLen);
    return f;
}

// A live window of channel 3 with the fixture loaded.
struct Window {
    bool open = false;
    std::unique_ptr<DBCWidget> widget{new DBCWidget(DBCWidget::LiveMode, 3, &open)};

    explicit Window(const QString &dbc)
    {
        UiFileDialog::setHandler([dbc](const UiFileDialog::Request &) { return dbc; });
        widget->findChild<QToolButton *>(QStringLiteral("m_pButtonLoad"))->click();
        QTRY_VERIFY(!widget->isLoading());
        boxes.clear();
    }

    // The message row that the window makes for the frame.
    QTreeWidgetItem *row(const VCI_CAN_OBJ &received)
    {
        auto *tree = widget->findChild<QTreeWidget *>(QStringLiteral("m_pTreeWidgetMessage"));
        tree->clear();
        UlBuffer::instance(3).addDBCFrame(&received, 1);
        if (!QTest::qWaitFor([tree] { return tree->topLevelItemCount() == 1; }))
            return nullptr;
        return tree->topLevelItem(0);
    }

    const DBC::Message *message(quint32 key) const { return widget->database()->messageTable.value(key).message; }
};

QTreeWidgetItem *messageRowOf(DBCSendWidget &dialog)
{
    return dialog.findChild<QTreeWidget *>(QStringLiteral("m_pTreeWidgetMessage"))->topLevelItem(0);
}

QTreeWidgetItem *signalRow(DBCSendWidget &dialog, const QString &name)
{
    QTreeWidgetItem *row = messageRowOf(dialog);
    for (int i = 0; i < row->childCount(); ++i) {
        if (row->child(i)->data(0, DBCSendWidget::RowRole).toInt() == DBCSendWidget::SignalRow
            && row->child(i)->text(DBCSendWidget::NameColumn) == name)
            return row->child(i);
    }
    return nullptr;
}

QStringList texts(const QTreeWidgetItem *item)
{
    QStringList out;
    for (int column = 0; column < DBCSendWidget::ColumnCount; ++column)
        out << item->text(column);
    return out;
}

void setFields(DBCSendWidget &dialog, const QString &frequency, const QString &interval, int sendType = 0)
{
    dialog.findChild<QLineEdit *>(QStringLiteral("m_pLineEditFrequency"))->setText(frequency);
    dialog.findChild<QLineEdit *>(QStringLiteral("m_pLineEditSendInterval"))->setText(interval);
    dialog.findChild<QComboBox *>(QStringLiteral("m_pComboBoxSendType"))->setCurrentIndex(sendType);
}

QPushButton *sendButton(DBCSendWidget &dialog)
{
    return dialog.findChild<QPushButton *>(QStringLiteral("m_pushButtonSend"));
}

} // namespace

Q_DECLARE_METATYPE(VCI_CAN_OBJ)

class tst_DBCSendWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void treeOfTheRow();
    void edits_data();
    void edits();
    void wideSignedLimits_data();
    void wideSignedLimits();
    void editsCombine();
    void editorOnValueCellsOnly();
    void frameOnTheBus_data();
    void frameOnTheBus();
    void enterCommitsAndMovesOn();
    void sendCommitsTheOpenEditor_data();
    void sendCommitsTheOpenEditor();
    void frequencyAndInterval();
    void emptyFrequencySendsNothing();
    void closingStopsTheSend();
    void refusals();
    void textsWhole_data();
    void textsWhole();
    void followsLanguageSwitch_data();
    void followsLanguageSwitch();

private:
    QTemporaryDir dir;
};

void tst_DBCSendWidget::init()
{
    boxes.clear();
    UiMessage::setHandler([](const UiMessage::Box &box) {
        boxes << box.title + QLatin1String(": ") + box.text;
        return QMessageBox::Ok;
    });
}

void tst_DBCSendWidget::cleanup()
{
    UiMessage::setHandler({});
    UiFileDialog::setHandler({});
    DevCan::instance().closeDevice();
    VCISIM_ResetAll();
}

void tst_DBCSendWidget::treeOfTheRow()
{
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "0305091AFF000000"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("DBCSendWidget"));
    QTreeWidgetItem *row = messageRowOf(dialog);
    QCOMPARE(row->data(0, DBCSendWidget::RowRole).toInt(), DBCSendWidget::MessageRow);
    QStringList sourceTexts;
    for (int column = 1; column < DBCWidget::ColumnCount; ++column)
        sourceTexts << source->text(column);
    QCOMPARE(texts(row), sourceTexts);
    // Header, five signals, hexadecimal and binary bytes.
    QCOMPARE(row->childCount(), 8);
    QCOMPARE(row->child(0)->text(1), QStringLiteral("Signal name"));
    QCOMPARE(row->child(0)->text(DBCSendWidget::RangeColumn), QStringLiteral("Range"));
    QCOMPARE(texts(signalRow(dialog, "Level")),
             (QStringList{"", "Level", "5", "%", "0x5", "8", "8", "1", "0", "", "", "0 - 100"}));
    QCOMPARE(signalRow(dialog, "Ratio")->text(DBCSendWidget::RangeColumn), QStringLiteral("0.5 - 10.5"));
    QCOMPARE(signalRow(dialog, "Mode")->text(DBCSendWidget::DescriptionColumn), QStringLiteral("0:Off 1:On 2:Auto "));
    QCOMPARE(texts(row->child(6)), (QStringList{"", "", "03", "05", "09", "1A", "FF", "00", "00", "00", "", ""}));
    QCOMPARE(row->child(7)->text(2), QStringLiteral("00000011"));
    QCOMPARE(row->child(7)->text(6), QStringLiteral("11111111"));
    QCOMPARE(dialog.frameData().toHex(), QByteArray("0305091aff000000"));
}

void tst_DBCSendWidget::edits_data()
{
    QTest::addColumn<QString>("signal");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("box");  // 0 none, 1 out of range, 2 not a number
    QTest::newRow("0.3 with factor 0.1 is raw 3")
            << "Torque" << "0.3" << "0.3" << "0x3" << QByteArray("0300000000000000") << 0;
    QTest::newRow("rounded to the nearest raw value")
            << "Torque" << "0.26" << "0.3" << "0x3" << QByteArray("0300000000000000") << 0;
    QTest::newRow("signed value") << "Temp" << "-41" << "-41" << "0xff" << QByteArray("000000ff00000000") << 0;
    QTest::newRow("above the raw range") << "Level" << "300" << "255" << "0xff" << QByteArray("00ff000000000000")
                                         << 1;
    QTest::newRow("negative for an unsigned signal")
            << "Level" << "-5" << "0" << "0x0" << QByteArray("0000000000000000") << 1;
    QTest::newRow("not a number keeps the value")
            << "Level" << "abc" << "0" << "0x0" << QByteArray("0000000000000000") << 2;
    QTest::newRow("a number with trailing text is not one")
            << "Level" << "12abc" << "0" << "0x0" << QByteArray("0000000000000000") << 2;
}

void tst_DBCSendWidget::wideSignedLimits_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("clamped");
    // 2^54 - 1 is no double: read as one it is 2^54, past the maximum.
    QTest::newRow("the maximum as typed") << "18014398509481983" << "0x3fffffffffffff"
                                          << QByteArray("ffffffffffff3f00") << true;
    QTest::newRow("far above") << "1e20" << "0x3fffffffffffff" << QByteArray("ffffffffffff3f00") << true;
    QTest::newRow("largest double inside") << "18014398509481982" << "0x3ffffffffffffe"
                                           << QByteArray("feffffffffff3f00") << false;
    QTest::newRow("the minimum") << "-18014398509481984" << "0x40000000000000" << QByteArray("0000000000004000")
                                 << false;
    QTest::newRow("far below") << "-1e20" << "0x40000000000000" << QByteArray("0000000000004000") << true;
}

void tst_DBCSendWidget::wideSignedLimits()
{
    QFETCH(QString, input);
    QFETCH(QString, raw);
    QFETCH(QByteArray, data);
    QFETCH(bool, clamped);
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x124, "0000000000000000"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x124), 0);
    QTreeWidgetItem *item = signalRow(dialog, QStringLiteral("Big"));
    item->setText(DBCSendWidget::ValueColumn, input);
    QCOMPARE(item->text(DBCSendWidget::RawColumn), raw);
    QCOMPARE(dialog.frameData().toHex(), data);
    QCOMPARE(boxes.size(), clamped ? 1 : 0);
}

void tst_DBCSendWidget::edits()
{
    QFETCH(QString, signal);
    QFETCH(QString, input);
    QFETCH(QString, shown);
    QFETCH(QString, raw);
    QFETCH(QByteArray, data);
    QFETCH(int, box);
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "0000000000000000"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    QTreeWidgetItem *item = signalRow(dialog, signal);
    item->setText(DBCSendWidget::ValueColumn, input);
    QCOMPARE(item->text(DBCSendWidget::ValueColumn), shown);
    QCOMPARE(item->text(DBCSendWidget::RawColumn), raw);
    QCOMPARE(dialog.frameData().toHex(), data);
    QCOMPARE(messageRowOf(dialog)->text(DBCSendWidget::DataColumn).remove(QLatin1Char(' ')).toLower(),
             QString::fromLatin1(data));
    QCOMPARE(boxes.size(), box ? 1 : 0);
    if (box == 1)
        QVERIFY(boxes.first().endsWith(QStringLiteral("was set to %1.").arg(shown)));
    if (box == 2)
        QCOMPARE(boxes.first(),
                 QStringLiteral("Tips: \"%1\" is not a number; the signal keeps its value %2.").arg(input, shown));
}

void tst_DBCSendWidget::editsCombine()
{
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "0000000000000000"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    signalRow(dialog, "Torque")->setText(DBCSendWidget::ValueColumn, "2.5");
    signalRow(dialog, "Mode")->setText(DBCSendWidget::ValueColumn, "2");
    QCOMPARE(dialog.frameData().toHex(), QByteArray("1900000002000000"));
    QTreeWidgetItem *row = messageRowOf(dialog);
    QCOMPARE(row->text(DBCSendWidget::DataColumn), QStringLiteral("19 00 00 00 02 00 00 00 "));
    QCOMPARE(row->child(6)->text(2), QStringLiteral("19"));
    QCOMPARE(row->child(6)->text(6), QStringLiteral("02"));
    QCOMPARE(row->child(7)->text(2), QStringLiteral("00011001"));
    QCOMPARE(row->child(7)->text(6), QStringLiteral("00000010"));
}

void tst_DBCSendWidget::editorOnValueCellsOnly()
{
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "00"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    dialog.show();
    auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("m_pTreeWidgetMessage"));
    QTreeWidgetItem *level = signalRow(dialog, "Level");
    const QList<QPair<QTreeWidgetItem *, int>> refused{{level, 1}, {level, 4}, {messageRowOf(dialog), 2},
                                                       {messageRowOf(dialog)->child(0), 2}};
    for (const auto &cell : refused) {
        dialog.openPersistentEditor(cell.first, cell.second);
        QVERIFY(!tree->isPersistentEditorOpen(cell.first, cell.second));
    }
    dialog.openPersistentEditor(level, DBCSendWidget::ValueColumn);
    QVERIFY(tree->isPersistentEditorOpen(level, DBCSendWidget::ValueColumn));
    // Another row selected: the editor closes.
    tree->setCurrentItem(signalRow(dialog, "Torque"));
    QVERIFY(!tree->isPersistentEditorOpen(level, DBCSendWidget::ValueColumn));
}

void tst_DBCSendWidget::frameOnTheBus_data()
{
    QTest::addColumn<VCI_CAN_OBJ>("received");
    QTest::addColumn<quint32>("key");
    QTest::addColumn<bool>("chineseRow");
    QTest::addColumn<int>("sendType");
    QTest::addColumn<QByteArray>("bytes");  // as heard, DataLen bytes
    QTest::newRow("standard data frame") << frame(0x123, "0102030405060708") << quint32(0x123) << false << 0
                                         << QByteArray("0102030405060708");
    QTest::newRow("extended frame, length of the message")
            << frame(0x18EF2A17, "AABBCCDD", true) << (Extended | 0x18EF2A17) << false << 0 << QByteArray("aabbcc");
    QTest::newRow("extended message of a standard message's number")
            << frame(0x123, "0102030405060708", true) << (Extended | 0x123) << false << 0
            << QByteArray("0102030405060708");
    QTest::newRow("remote frame") << frame(0x123, "", false, true) << quint32(0x123) << false << 0 << QByteArray();
    QTest::newRow("row made in Chinese, sent after a switch")
            << frame(0x18EF2A17, "01020304", true, true) << (Extended | 0x18EF2A17) << true << 0 << QByteArray();
    QTest::newRow("send and receive") << frame(0x123, "11") << quint32(0x123) << false << 2
                                      << QByteArray("1100000000000000");
}

void tst_DBCSendWidget::frameOnTheBus()
{
    QFETCH(VCI_CAN_OBJ, received);
    QFETCH(quint32, key);
    QFETCH(bool, chineseRow);
    QFETCH(int, sendType);
    QFETCH(QByteArray, bytes);
    openBus();
    Window window(writeDbc(dir, sendFixture()));
    QTranslator chinese;
    if (chineseRow) {
        QVERIFY(chinese.load(QStringLiteral(":/translations/Merovast_zh.qm")));
        QCoreApplication::installTranslator(&chinese);
        QCoreApplication::processEvents();
    }
    QTreeWidgetItem *source = window.row(received);
    QVERIFY(source);
    if (chineseRow) {
        QCoreApplication::removeTranslator(&chinese);
        QCoreApplication::processEvents();
    }
    DBCSendWidget dialog(source, window.message(key), 0);
    setFields(dialog, "1", "0", sendType);
    sendButton(dialog)->click();
    QTRY_COMPARE(boxes, QStringList{"Tips: Send successfully "});

    const QVector<VCI_CAN_OBJ> heard = heardOnChannel1();
    QCOMPARE(heard.size(), 1);
    const VCI_CAN_OBJ &f = heard.first();
    // The message's own ID and format.
    QCOMPARE(f.ID, DBCMessageKey::idOf(key));
    QCOMPARE(int(f.ExternFlag), int(DBCMessageKey::isExtended(key)));
    QCOMPARE(int(f.RemoteFlag), int(received.RemoteFlag));
    QCOMPARE(int(f.DataLen), int(window.message(key)->size));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.Data), f.RemoteFlag ? 0 : f.DataLen).toHex(), bytes);
    // Send and receive returns the frame to the sender too.
    VCISIM_STATS stats{};
    VCISIM_GetStats(VCI_KELMO_USB2, 0, 0, &stats);
    QCOMPARE(stats.received, uint64_t(sendType == 2 ? 1 : 0));
}

// Types text into the value editor of a signal row, as the user would.
static QWidget *typeValue(DBCSendWidget &dialog, QTreeWidgetItem *item, const QString &text)
{
    auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("m_pTreeWidgetMessage"));
    tree->setCurrentItem(item, DBCSendWidget::ValueColumn);
    if (!tree->isPersistentEditorOpen(item, DBCSendWidget::ValueColumn))
        dialog.openPersistentEditor(item, DBCSendWidget::ValueColumn);
    auto *editor = qobject_cast<QLineEdit *>(tree->itemWidget(item, DBCSendWidget::ValueColumn));
    if (!editor)
        return nullptr;
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, text);
    return editor;
}

void tst_DBCSendWidget::enterCommitsAndMovesOn()
{
    openBus();
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "0000000000000000"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    setFields(dialog, "1", "0");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("m_pTreeWidgetMessage"));

    QWidget *editor = typeValue(dialog, signalRow(dialog, "Level"), "42");
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(signalRow(dialog, "Level")->text(DBCSendWidget::ValueColumn), QStringLiteral("42"));
    QCOMPARE(dialog.frameData().toHex(), QByteArray("002a000000000000"));
    // The next signal's value is open for editing.
    QVERIFY(!tree->isPersistentEditorOpen(signalRow(dialog, "Level"), DBCSendWidget::ValueColumn));
    QVERIFY(tree->isPersistentEditorOpen(signalRow(dialog, "Ratio"), DBCSendWidget::ValueColumn));
    // Enter again, unchanged, and on the keypad.
    QTest::keyClick(tree->itemWidget(signalRow(dialog, "Ratio"), DBCSendWidget::ValueColumn), Qt::Key_Enter,
                    Qt::KeypadModifier);
    QVERIFY(tree->isPersistentEditorOpen(signalRow(dialog, "Temp"), DBCSendWidget::ValueColumn));
    QTest::qWait(100);
    QVERIFY(!dialog.isSending());
    QVERIFY(heardOnChannel1().isEmpty());
    QVERIFY(boxes.isEmpty());

    // On the focused Send button Enter is its key.
    sendButton(dialog)->setFocus();
    QTest::keyClick(sendButton(dialog), Qt::Key_Return);
    QTRY_COMPARE(boxes, QStringList{"Tips: Send successfully "});
    const QVector<VCI_CAN_OBJ> heard = heardOnChannel1();
    QCOMPARE(heard.size(), 1);
    QCOMPARE(heard.first().Data[1], uint8_t(42));
}

void tst_DBCSendWidget::sendCommitsTheOpenEditor_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("a value") << "-30" << QByteArray("0000000a00000000") << QStringList{"Tips: Send successfully "};
    QTest::newRow("out of range, clamped first")
            << "500" << QByteArray("0000007f00000000")
            << QStringList{"Tips: The value is outside the range of the signal and was set to 87.",
                           "Tips: Send successfully "};
}

void tst_DBCSendWidget::sendCommitsTheOpenEditor()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, shown);
    openBus();
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "0000002800000000"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    setFields(dialog, "1", "0");
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(typeValue(dialog, signalRow(dialog, "Temp"), typed));
    // The editor keeps the focus: the click comes as from a shortcut.
    sendButton(dialog)->click();
    QTRY_COMPARE(boxes.size(), shown.size());
    QCOMPARE(boxes, shown);
    const QVector<VCI_CAN_OBJ> heard = heardOnChannel1();
    QCOMPARE(heard.size(), 1);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(heard.first().Data), 8).toHex(), bytes);
}

void tst_DBCSendWidget::frequencyAndInterval()
{
    openBus();
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "01"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    setFields(dialog, "3", "100");
    QElapsedTimer clock;
    clock.start();
    sendButton(dialog)->click();
    // One send at a time.
    QVERIFY(dialog.isSending());
    QVERIFY(!sendButton(dialog)->isEnabled());
    QTRY_COMPARE(boxes, QStringList{"Tips: Send successfully "});
    // The pause follows the last frame too.
    QVERIFY2(clock.elapsed() >= 300, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(sendButton(dialog)->isEnabled());
    QCOMPARE(heardOnChannel1().size(), 3);
}

void tst_DBCSendWidget::emptyFrequencySendsNothing()
{
    openBus();
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "01"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    setFields(dialog, "", "0");
    sendButton(dialog)->click();
    QCOMPARE(boxes, QStringList{"Tips: Nothing was sent: the frequency is empty."});
    QVERIFY(!dialog.isSending());
    QTest::qWait(50);
    QVERIFY(heardOnChannel1(0).isEmpty());
}

void tst_DBCSendWidget::closingStopsTheSend()
{
    openBus();
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "01"));
    QVERIFY(source);
    auto *dialog = new DBCSendWidget(source, window.message(0x123), 0);
    setFields(*dialog, "100", "1000");
    sendButton(*dialog)->click();
    QTest::qWait(150);
    QElapsedTimer clock;
    clock.start();
    delete dialog;
    QVERIFY2(clock.elapsed() <= DBCSendWidget::StopSliceMs + 50, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(heardOnChannel1().size(), 1);
    QCoreApplication::processEvents();
    QVERIFY(boxes.isEmpty());
}

void tst_DBCSendWidget::refusals()
{
    Window window(writeDbc(dir, sendFixture()));
    // More than 8 bytes: not one frame.
    QTreeWidgetItem *source = window.row(frame(0x18FEF100, "01", true));
    QVERIFY(source);
    {
        DBCSendWidget dialog(source, window.message(Extended | 0x18FEF100), 0);
        sendButton(dialog)->click();
        QCOMPARE(boxes, QStringList{"Tips: A message of more than 8 bytes cannot be sent as one frame."});
        QVERIFY(!dialog.isSending());
    }
    // No open device: the transmit fails.
    boxes.clear();
    source = window.row(frame(0x123, "01"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    sendButton(dialog)->click();
    QTRY_COMPARE(boxes, QStringList{"Tips: Fail to send"});
}

void tst_DBCSendWidget::textsWhole_data()
{
    addLanguageRows();
}

// The labels and every send type, closed and in the open list, show whole
// in the language in force.
void tst_DBCSendWidget::textsWhole()
{
    const ApplicationFamily face(programFamily());
    std::unique_ptr<ChineseCatalogue> chinese = firstLanguage();
    QVERIFY(!chinese || chinese->isLoaded());
    Window window(writeDbc(dir, sendFixture()));
    QTreeWidgetItem *source = window.row(frame(0x123, "01"));
    QVERIFY(source);
    DBCSendWidget dialog(source, window.message(0x123), 0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    lastLanguage(chinese);
    QCoreApplication::processEvents();
    const TextsShown shown = labelsAndChoicesShown(dialog);
    // Three labels and four send types at least.
    QVERIFY2(shown.measured >= 7, qPrintable(QString::number(shown.measured)));
    QVERIFY2(shown.cut.isEmpty(), qPrintable(shown.cut.join(QLatin1Char('\n'))));
    const TextsShown list = openListsShown(dialog);
    QCOMPARE(list.measured, 4);
    QVERIFY2(list.cut.isEmpty(), qPrintable(list.cut.join(QLatin1Char('\n'))));
}

void tst_DBCSendWidget::followsLanguageSwitch_data()
{
    QTest::addColumn<bool>("chineseFirst");
    QTest::newRow("Chinese, English, Chinese") << true;
    QTest::newRow("English, Chinese, English") << false;
}

// An open dialog, switched to the other language and back, shows at each
// step what a dialog opened in that language shows: the row's frame type
// and format, the signal captions and the headers in that language, whole,
// in columns as wide as that dialog's.
void tst_DBCSendWidget::followsLanguageSwitch()
{
    QFETCH(bool, chineseFirst);
    const ApplicationFamily face(programFamily());
    std::unique_ptr<ChineseCatalogue> chinese(chineseFirst ? new ChineseCatalogue : nullptr);
    QVERIFY(!chinese || chinese->isLoaded());
    Window window(writeDbc(dir, sendFixture()));
    // An extended data frame: a type and a format of different flags.
    QTreeWidgetItem *source = window.row(frame(0x18EF2A17, "010203", true));
    QVERIFY(source);
    const DBC::Message *message = window.message(Extended | 0x18EF2A17);
    DBCSendWidget dialog(source, message, 0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *tree = dialog.findChild<QTreeWidget *>(QStringLiteral("m_pTreeWidgetMessage"));
    const auto widths = [](const QTreeWidget *shown) {
        QVector<int> out;
        // The last column stretches to the dialog's width.
        for (int column = 0; column + 1 < DBCSendWidget::ColumnCount; ++column)
            out << shown->columnWidth(column);
        return out;
    };

    for (int step = 0; step < 3; ++step) {
        if (step > 0) {
            chinese.reset(chinese ? nullptr : new ChineseCatalogue);
            // The layout requests that the new texts posted.
            for (int pass = 0; pass < 3; ++pass)
                QCoreApplication::processEvents();
        }
        const char *language = chinese ? "Chinese" : "English";
        const auto window = [](const char *text) { return QCoreApplication::translate("DBCWidget", text); };
        const auto own = [](const char *text) { return QCoreApplication::translate("DBCSendWidget", text); };
        QTreeWidgetItem *row = messageRowOf(dialog);
        QCOMPARE(row->text(DBCWidget::TypeColumn - 1), window("Data frame"));
        QCOMPARE(row->text(DBCWidget::FormatColumn - 1), window("Extended frame"));
        QStringList captions;
        for (const char *caption : {"Signal name", "Actual value", "Unit", "Original value", "Initial position",
                                    "Bit width", "Proportion", "Offset", "Description", "Notes"})
            captions << window(caption);
        captions << own("Range");
        QCOMPARE(texts(row->child(0)).mid(DBCSendWidget::NameColumn), captions);
        QCOMPARE(tree->headerItem()->text(2), own("Transmission direction"));
        QCOMPARE(dialog.findChild<QComboBox *>()->itemText(3), own("Single Send&Rec"));

        QStringList cut = sectionsShown(*tree->header()).cut;
        for (int column = DBCSendWidget::NameColumn; column < DBCSendWidget::ColumnCount; ++column)
            cut << cellCut(tree, row->child(0), column);
        cut << cellCut(tree, row, DBCWidget::TypeColumn - 1) << cellCut(tree, row, DBCWidget::FormatColumn - 1);
        cut << labelsAndChoicesShown(dialog).cut << openListsShown(dialog).cut;
        cut.removeAll(QString());
        QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("%1:\n").arg(language) + cut.join(QLatin1Char('\n'))));

        DBCSendWidget opened(source, message, 0);
        QCOMPARE(widths(tree), widths(opened.findChild<QTreeWidget *>(QStringLiteral("m_pTreeWidgetMessage"))));
    }
}

MEROVAST_GUI_TEST_MAIN(tst_DBCSendWidget)
#include "tst_dbcsendwidget.moc"
