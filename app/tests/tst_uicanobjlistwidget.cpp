// The frame list over a channel's frame buffer: following the newest
// frame, every time, data and ID display, watch mode, Find with wrap-
// around, Go to line, and the context menu's send and name actions.
#include "guitest.h"
#include "modaldialog.h"
#include "uicanobjlistmodel.h"
#include "uicanobjlistwidget.h"
#include "uigotolinedlg.h"
#include "uimessage.h"
#include "uinamesetting.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "ulnamemapping.h"

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

constexpr int kChannel = 1;

VCI_CAN_OBJ makeFrame(quint32 id, std::initializer_list<quint8> data, bool extended = false, bool remote = false,
                      quint32 deviceTime = 1)
{
    VCI_CAN_OBJ f{};
    f.ID = id;
    f.ExternFlag = extended ? 1 : 0;
    f.RemoteFlag = remote ? 1 : 0;
    f.DeviceTime = deviceTime;
    f.HasDeviceTime = 1;
    f.DataLen = quint8(data.size());
    std::copy(data.begin(), data.end(), f.Data);
    return f;
}

UlBuffer &buffer()
{
    return UlBuffer::instance(kChannel);
}

void addFrames(int n, quint32 id = 0x100)
{
    std::vector<VCI_CAN_OBJ> frames(std::size_t(n), makeFrame(id, {1, 2, 3}));
    buffer().addFrame(frames.data(), n, false);
}

// Runs action on the next popup menu once it shows, then closes the menu.
void onNextPopup(std::function<void(QMenu *)> action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll->stop();
        poll->deleteLater();
        action(menu);
        menu->close();
    });
    poll->start(10);
}

} // namespace

class tst_UiCanObjListWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void fewFramesLeaveRowsFree();
    void followsNewestFrame();
    void followsSteadyTraffic();
    void manualScrollStays();
    void display_data();
    void display();
    void idHeaderFollowsFormat();
    void watchModeMarksChangedBytes();
    void find_data();
    void find();
    void findWithoutMatchTellsUser();
    void findInWatchModeSearchesWatchList();
    void gotoLine();
    void homeAndEndKeys();
    void addToSendTakesRightClickedFrame_data();
    void addToSendTakesRightClickedFrame();
    void rightClickOutsideRowsOpensNoMenu();
    void nameSettingUsesRealId();
    void clearEmptiesBufferAndList();

private:
    struct List {
        UiCanObjListWidget list{nullptr, kChannel};
        List()
        {
            list.show();
            QVERIFY(QTest::qWaitForWindowExposed(&list));
        }
        QString cell(int row, int column) const { return list.model()->index(row, column).data().toString(); }
        int firstVisible() const { return list.rowAt(0); }
        int lastVisible() const
        {
            const int row = list.rowAt(list.viewport()->height() - 1);
            return row < 0 ? list.model()->rowCount() - 1 : row;
        }
        QPoint rowPoint(int row) const { return list.visualRect(list.model()->index(row, 1)).center(); }
    };

    QList<UiMessage::Box> boxes;
};

void tst_UiCanObjListWidget::init()
{
    buffer().setMaxCount(UlBuffer::DefaultMaxCount);
    buffer().reset();
    buffer().setHideSendFrame(false);
    UlGlobalSet &set = UlGlobalSet::instance();
    set.watch = false;
    set.IDFORMAT = 0;
    set.channel[kChannel].timeDisplay = 2;
    set.channel[kChannel].dataDisplay = 1;
    UlNameMapping::getSingleton()->clear();
    boxes.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
}

void tst_UiCanObjListWidget::cleanup()
{
    UiMessage::setHandler({});
}

void tst_UiCanObjListWidget::fewFramesLeaveRowsFree()
{
    List l;
    QVERIFY(l.list.visibleRowCount() > 5);
    addFrames(5);
    l.list.updateList();
    QCOMPARE(l.list.model()->rowCount(), 5);
    QCOMPARE(l.list.verticalScrollBar()->value(), 0);
    for (int row = 0; row < 5; ++row)
        QCOMPARE(l.cell(row, UiCanObjListModel::IndexColumn), QString::number(row));
    QCOMPARE(l.list.rowAt(l.list.visualRect(l.list.model()->index(4, 0)).bottom() + 2), -1);
}

void tst_UiCanObjListWidget::followsNewestFrame()
{
    List l;
    addFrames(1000);
    l.list.updateList();
    QCOMPARE(l.lastVisible(), 999);
    QCOMPARE(l.cell(l.lastVisible(), UiCanObjListModel::IndexColumn), QStringLiteral("999"));

    // Without new frames the list stays where the user put it ...
    l.list.scrollToTop();
    l.list.updateList();
    QCOMPARE(l.firstVisible(), 0);
    // ... and moves to the newest frame when the count changes.
    addFrames(10);
    l.list.updateList();
    QCOMPARE(l.lastVisible(), 1009);
    QVERIFY(l.list.visualRect(l.list.model()->index(1009, 0)).bottom() < l.list.viewport()->height());
}

// A feeder thread adds frames at a steady rate while the list's own timer
// runs; the last row in view keeps up with the buffer.
void tst_UiCanObjListWidget::followsSteadyTraffic()
{
    buffer().setMaxCount(3000);
    List l;
    std::atomic<bool> feeding{true};
    std::thread feeder([&feeding] {
        quint32 n = 0;
        while (feeding) {
            VCI_CAN_OBJ frames[20];
            for (auto &f : frames)
                f = makeFrame(n++ & 0x7FF, {1, 2});
            buffer().addFrame(frames, 20, false);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    // Through the ring's filling and past it (the count then stays 3000).
    const bool wrapped = QTest::qWaitFor([] { return buffer().frames() > 6000; }, 20000);
    feeding = false;
    feeder.join();
    QVERIFY(wrapped);
    QTest::qWait(3 * UiCanObjListWidget::DefaultRefreshCycle);
    QCOMPARE(l.list.model()->rowCount(), 3000);
    QCOMPARE(l.lastVisible(), 2999);
    QCOMPARE(l.cell(2999, UiCanObjListModel::IndexColumn), QStringLiteral("2999"));
    // The row shows the newest frame of the ring.
    const quint32 newest = quint32(buffer().frames() - 1) & 0x7FF;
    QCOMPARE(l.cell(2999, UiCanObjListModel::IdColumn), QString::asprintf("0x%08X", newest));
}

void tst_UiCanObjListWidget::manualScrollStays()
{
    List l;
    addFrames(500);
    l.list.updateList();
    l.list.onManualScroll();
    l.list.scrollToTop();
    addFrames(500);
    l.list.updateList();
    QCOMPARE(l.list.model()->rowCount(), 1000);
    QCOMPARE(l.firstVisible(), 0);
    l.list.onAutoScroll();
    addFrames(1);
    l.list.updateList();
    QCOMPARE(l.lastVisible(), 1000);
}

void tst_UiCanObjListWidget::display_data()
{
    QTest::addColumn<int>("timeDisplay");
    QTest::addColumn<int>("dataDisplay");
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<bool>("remote");
    QTest::addColumn<bool>("transmitted");
    QTest::addColumn<quint32>("deviceTime");
    // Expected cells: time (a pattern), id, format, type, length, data.
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("data");

    const QString dataFrame = QStringLiteral("Data Frame");
    const QString standard = QStringLiteral("Standard");
    QTest::newRow("clock time, hex") << 2 << 1 << 0 << false << false << false << 1u
                                     << QStringLiteral("^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d$") << "0x00000123"
                                     << dataFrame << standard << "2" << "41 FF";
    QTest::newRow("device time 0x1") << 0 << 1 << 0 << false << false << false << 1u
                                     << QStringLiteral("^00:00:00\\.000\\.100$") << "0x00000123" << dataFrame
                                     << standard << "2" << "41 FF";
    QTest::newRow("device time of 100 hours") << 0 << 1 << 0 << false << false << false << 3600000000u
                                              << QStringLiteral("^100:00:00\\.000\\.000$") << "0x00000123"
                                              << dataFrame << standard << "2" << "41 FF";
    QTest::newRow("device time, sent") << 0 << 1 << 0 << false << false << true << 0u
                                       << QStringLiteral("^00:00:00\\.000\\.000$") << "0x00000123" << dataFrame
                                       << standard << "2" << "41 FF";
    QTest::newRow("hex time") << 3 << 1 << 0 << false << false << false << 0x2Au << QStringLiteral("^0x2A$")
                              << "0x00000123" << dataFrame << standard << "2" << "41 FF";
    QTest::newRow("hex time, sent") << 3 << 1 << 0 << false << false << true << 0u << QStringLiteral("^NULL$")
                                    << "0x00000123" << dataFrame << standard << "2" << "41 FF";
    QTest::newRow("time display 1 left empty") << 1 << 1 << 0 << false << false << false << 1u
                                               << QStringLiteral("^$") << "0x00000123" << dataFrame << standard
                                               << "2" << "41 FF";
    QTest::newRow("decimal") << 2 << 0 << 0 << false << false << false << 1u << QString() << "0x00000123"
                             << dataFrame << standard << "2" << "65 255 ";
    QTest::newRow("characters") << 2 << 2 << 0 << false << false << false << 1u << QString() << "0x00000123"
                                << dataFrame << standard << "2" << QStringLiteral("A \u00FF ");
    QTest::newRow("binary") << 2 << 3 << 0 << false << false << false << 1u << QString() << "0x00000123"
                            << dataFrame << standard << "2" << "01000001 11111111 ";
    QTest::newRow("left-aligned standard") << 2 << 1 << 1 << false << false << false << 1u << QString()
                                           << "0x00002460" << dataFrame << standard << "2" << "41 FF";
    QTest::newRow("extended") << 2 << 1 << 0 << true << false << false << 1u << QString() << "0x00001001"
                              << dataFrame << "Extend" << "2" << "41 FF";
    QTest::newRow("left-aligned extended") << 2 << 1 << 1 << true << false << false << 1u << QString()
                                           << "0x00008008" << dataFrame << "Extend" << "2" << "41 FF";
    QTest::newRow("received remote") << 2 << 1 << 0 << false << true << false << 1u << QString() << "0x00000123"
                                     << "Remote" << standard << "0" << QString();
    QTest::newRow("sent remote") << 2 << 1 << 0 << false << true << true << 0u << QString() << "0x00000123"
                                 << "Remote" << standard << "2" << "41 FF";
}

void tst_UiCanObjListWidget::display()
{
    QFETCH(int, timeDisplay);
    QFETCH(int, dataDisplay);
    QFETCH(int, idFormat);
    QFETCH(bool, extended);
    QFETCH(bool, remote);
    QFETCH(bool, transmitted);
    QFETCH(quint32, deviceTime);
    QFETCH(QString, time);
    QFETCH(QString, id);
    QFETCH(QString, format);
    QFETCH(QString, type);
    QFETCH(QString, length);
    QFETCH(QString, data);

    UlGlobalSet &set = UlGlobalSet::instance();
    set.channel[kChannel].timeDisplay = timeDisplay;
    set.channel[kChannel].dataDisplay = dataDisplay;
    set.IDFORMAT = idFormat;
    const VCI_CAN_OBJ f = makeFrame(extended ? 0x1001 : 0x123, {0x41, 0xFF}, extended, remote, deviceTime);
    buffer().addFrame(&f, 1, transmitted);
    List l;
    l.list.updateList();
    QCOMPARE(l.cell(0, UiCanObjListModel::IndexColumn), QStringLiteral("0"));
    QCOMPARE(l.cell(0, UiCanObjListModel::DirectionColumn), transmitted ? QStringLiteral("Tx") : QStringLiteral("Rx"));
    if (!time.isEmpty()) {
        const QString shown = l.cell(0, UiCanObjListModel::TimeColumn);
        QVERIFY2(QRegularExpression(time).match(shown).hasMatch(), qPrintable(shown));
    }
    QCOMPARE(l.cell(0, UiCanObjListModel::IdColumn), id);
    QCOMPARE(l.cell(0, UiCanObjListModel::FormatColumn), format);
    QCOMPARE(l.cell(0, UiCanObjListModel::TypeColumn), type);
    QCOMPARE(l.cell(0, UiCanObjListModel::LengthColumn), length);
    QCOMPARE(l.cell(0, UiCanObjListModel::DataColumn), data);
}

void tst_UiCanObjListWidget::idHeaderFollowsFormat()
{
    List l;
    auto header = [&l] {
        return l.list.model()->headerData(UiCanObjListModel::IdColumn, Qt::Horizontal).toString();
    };
    QCOMPARE(header(), QStringLiteral("Id(Align Right)"));
    UlGlobalSet::instance().IDFORMAT = 1;
    Q_EMIT l.list.idFormatChangedSignal();
    QCOMPARE(header(), QStringLiteral("Id(Align Left)"));
}

void tst_UiCanObjListWidget::watchModeMarksChangedBytes()
{
    UlGlobalSet::instance().watch = true;
    const VCI_CAN_OBJ frames[] = {makeFrame(0x100, {0x01, 0x02}), makeFrame(0x200, {0x10}),
                                  makeFrame(0x100, {0x01, 0x03})};
    buffer().addFrame(frames, 3, false);
    List l;
    l.list.resize(1000, 300);
    l.list.updateList();
    QCOMPARE(l.list.model()->rowCount(), 2);
    const QModelIndex data = l.list.model()->index(0, UiCanObjListModel::DataColumn);
    QCOMPARE(data.data().toString(), QString());
    QCOMPARE(data.data(UiCanObjListModel::ByteTextsRole).toStringList(), QStringList({"01", "03"}));
    const QBitArray changed = data.data(UiCanObjListModel::ChangedBytesRole).toBitArray();
    QVERIFY(!changed.testBit(0));
    QVERIFY(changed.testBit(1));

    // Drawn: red ink only in the second byte's slot of that cell.
    l.list.clearSelection();
    const QRect cell = l.list.visualRect(data);
    const QImage image = l.list.viewport()->grab().toImage();
    auto redIn = [&image, &cell](int from, int to) {
        int red = 0;
        for (int x = cell.left() + from; x < cell.left() + to; ++x) {
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
            }
        }
        return red;
    };
    QCOMPARE(redIn(0, 32), 0);
    QVERIFY(redIn(32, 59) > 0);

    UlGlobalSet::instance().channel[kChannel].dataDisplay = 0;
    l.list.updateList();
    QCOMPARE(data.data(UiCanObjListModel::ByteTextsRole).toStringList(), QStringList({"1", "3"}));
    QCOMPARE(l.list.model()->headerData(UiCanObjListModel::DataColumn, Qt::Horizontal).toString(),
             QStringLiteral("Data(DEC)"));
}

void tst_UiCanObjListWidget::find_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("hitRow");
    QTest::addColumn<int>("hitNo");
    QTest::newRow("down") << 15 << false << "7FF" << 20 << 3;
    QTest::newRow("down wraps to the start") << 20 << false << "7ff" << 3 << 1;
    QTest::newRow("up") << 15 << true << "7FF" << 10 << 2;
    QTest::newRow("up wraps to the end") << 3 << true << "7FF" << 20 << 3;
    QTest::newRow("only match found again") << 7 << false << "55" << 7 << 1;
    QTest::newRow("leading zeros") << 0 << false << "000007FF" << 3 << 1;
    QTest::newRow("no current row") << -1 << false << "7FF" << 3 << 1;
}

void tst_UiCanObjListWidget::find()
{
    QFETCH(int, current);
    QFETCH(bool, up);
    QFETCH(QString, id);
    QFETCH(int, hitRow);
    QFETCH(int, hitNo);
    for (int i = 0; i < 30; ++i) {
        const quint32 frameId = (i == 3 || i == 10 || i == 20) ? 0x7FF : i == 7 ? 0x55 : 0x100 + quint32(i);
        const VCI_CAN_OBJ f = makeFrame(frameId, {quint8(i)});
        buffer().addFrame(&f, 1, false);
    }
    List l;
    l.list.updateList();
    if (current >= 0)
        l.list.selectRow(current);
    QSignalSpy count(&l.list, &UiCanObjListWidget::onFINDCOUNT);
    l.list.onFINDID(up, id);
    QCOMPARE(boxes.size(), 0);
    QCOMPARE(l.list.currentIndex().row(), hitRow);
    QVERIFY(l.list.selectionModel()->isRowSelected(hitRow, QModelIndex()));
    QCOMPARE(count.count(), 1);
    QCOMPARE(count.at(0), QVariantList({hitNo, id == QLatin1String("55") ? 1 : 3}));
    QCOMPARE(l.list.palette().color(QPalette::Highlight), QColor(0, 120, 215));
}

void tst_UiCanObjListWidget::findWithoutMatchTellsUser()
{
    addFrames(10);
    List l;
    l.list.updateList();
    l.list.selectRow(4);
    QSignalSpy count(&l.list, &UiCanObjListWidget::onFINDCOUNT);
    l.list.onFINDID(false, QStringLiteral("7FF"));
    QCOMPARE(count.count(), 0);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0).title, QStringLiteral("Hit"));
    QCOMPARE(boxes.at(0).text, QStringLiteral("No matching ID was found."));
    QCOMPARE(l.list.currentIndex().row(), 4);
}

void tst_UiCanObjListWidget::findInWatchModeSearchesWatchList()
{
    UlGlobalSet::instance().watch = true;
    addFrames(50, 0x100);
    addFrames(50, 0x300);
    List l;
    l.list.updateList();
    QCOMPARE(l.list.model()->rowCount(), 2);
    QSignalSpy count(&l.list, &UiCanObjListWidget::onFINDCOUNT);
    l.list.onFINDID(false, QStringLiteral("300"));
    QCOMPARE(l.list.currentIndex().row(), 1);
    QCOMPARE(count.at(0), QVariantList({1, 1}));
}

void tst_UiCanObjListWidget::gotoLine()
{
    addFrames(1000);
    List l;
    l.list.updateList();
    onNextModal<UiGotoLineDlg>([](UiGotoLineDlg *d) {
        auto *spin = d->findChild<QSpinBox *>(QStringLiteral("spinBox"));
        QCOMPARE(spin->maximum(), 1000);
        spin->setValue(100);
        d->accept();
    });
    l.list.onGoto();
    QCOMPARE(l.list.currentIndex().row(), 99);
    QVERIFY(l.firstVisible() <= 99 && 99 <= l.lastVisible());

    onNextModal<UiGotoLineDlg>([](UiGotoLineDlg *d) { d->reject(); });
    l.list.onGoto();
    QCOMPARE(l.list.currentIndex().row(), 99);
}

void tst_UiCanObjListWidget::homeAndEndKeys()
{
    addFrames(300);
    List l;
    l.list.updateList();
    l.list.selectRow(150);
    QTest::keyClick(&l.list, Qt::Key_Home);
    QCOMPARE(l.list.currentIndex().row(), 0);
    QCOMPARE(l.firstVisible(), 0);
    QTest::keyClick(&l.list, Qt::Key_End);
    QCOMPARE(l.list.currentIndex().row(), 299);
    QCOMPARE(l.lastVisible(), 299);
    QTest::keyClick(&l.list, Qt::Key_Up);
    QCOMPARE(l.list.currentIndex().row(), 298);
}

void tst_UiCanObjListWidget::addToSendTakesRightClickedFrame_data()
{
    QTest::addColumn<int>("action");  // 1 Add to Send, 2 Add to List
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<int>("dataDisplay");
    QTest::addColumn<bool>("watch");
    QTest::newRow("to send") << 1 << 0 << 1 << false;
    QTest::newRow("to list, left-aligned, decimal") << 2 << 1 << 0 << false;
    QTest::newRow("to send from watch list") << 1 << 0 << 1 << true;
}

void tst_UiCanObjListWidget::addToSendTakesRightClickedFrame()
{
    QFETCH(int, action);
    QFETCH(int, idFormat);
    QFETCH(int, dataDisplay);
    QFETCH(bool, watch);
    UlGlobalSet &set = UlGlobalSet::instance();
    set.IDFORMAT = idFormat;
    set.channel[kChannel].dataDisplay = dataDisplay;
    set.watch = watch;
    UlNameMapping::getSingleton()->add(0x1ABCDEF, QStringLiteral("Motor"));
    buffer().setMaxCount(20);
    for (int i = 0; i < 10; ++i) {
        const VCI_CAN_OBJ f =
                i == 5 ? makeFrame(0x1ABCDEF, {0x0A, 0xFF, 0x30}, true) : makeFrame(0x10 + quint32(i), {1});
        buffer().addFrame(&f, 1, false);
    }
    List l;
    l.list.updateList();
    l.list.selectRow(2);
    QSignalSpy toSend(&l.list, &UiCanObjListWidget::AddMoveSend);
    QSignalSpy toList(&l.list, &UiCanObjListWidget::AddMoveList);
    onNextPopup([&](QMenu *menu) {
        QCOMPARE(menu->actions().size(), 4);
        // New frames push the ring along while the menu is open.
        addFrames(15, 0x7);
        l.list.updateList();
        menu->actions().at(action)->trigger();
    });
    l.list.on_tableWidget_customContextMenuRequested(l.rowPoint(5));
    QSignalSpy &spy = action == 1 ? toSend : toList;
    QCOMPARE(spy.count(), 1);
    QCOMPARE((action == 1 ? toList : toSend).count(), 0);
    const auto param = spy.at(0).at(0).value<BaseSendParam>();
    QCOMPARE(int(param.format), 1);
    QCOMPARE(int(param.type), 0);
    QCOMPARE(param.id, idFormat ? 0x1ABCDEFu << 3 : 0x1ABCDEFu);
    QCOMPARE(param.data, QStringLiteral("0A FF 30"));
    QCOMPARE(param.alias, QStringLiteral("Motor"));
    QCOMPARE(int(param.length), 3);
}

void tst_UiCanObjListWidget::rightClickOutsideRowsOpensNoMenu()
{
    addFrames(2);
    List l;
    l.list.updateList();
    bool opened = false;
    auto *poll = new QTimer(&l.list);
    connect(poll, &QTimer::timeout, [&opened] {
        if (auto *menu = QApplication::activePopupWidget()) {
            opened = true;
            menu->close();
        }
    });
    poll->start(5);
    l.list.on_tableWidget_customContextMenuRequested(QPoint(10, l.list.viewport()->height() - 5));
    QTest::qWait(50);
    QVERIFY(!opened);
}

void tst_UiCanObjListWidget::nameSettingUsesRealId()
{
    UlGlobalSet::instance().IDFORMAT = 1;
    const VCI_CAN_OBJ f = makeFrame(0x123, {1});
    buffer().addFrame(&f, 1, false);
    List l;
    l.list.updateList();
    QCOMPARE(l.cell(0, UiCanObjListModel::IdColumn), QStringLiteral("0x00002460"));
    QStringList lastRow;
    onNextPopup([](QMenu *menu) { menu->actions().at(3)->trigger(); });
    onNextModal<UiNameSetting>([&lastRow](UiNameSetting *d) {
        auto *table = d->findChild<QTableWidget *>(QStringLiteral("tableWidget"));
        const int row = table->rowCount() - 1;
        lastRow << table->item(row, 0)->text() << table->item(row, 1)->text();
        table->item(row, 1)->setText(QStringLiteral("Door"));
        d->findChild<QPushButton *>(QStringLiteral("m_btnOk"))->click();
    });
    l.list.on_tableWidget_customContextMenuRequested(l.rowPoint(0));
    QCOMPARE(lastRow, QStringList({"123", ""}));
    QCOMPARE(UlNameMapping::getSingleton()->find(0x123), QStringLiteral("Door"));
    l.list.updateList();
    QCOMPARE(l.cell(0, UiCanObjListModel::AliasColumn), QStringLiteral("Door"));
}

void tst_UiCanObjListWidget::clearEmptiesBufferAndList()
{
    UlGlobalSet::instance().watch = true;
    addFrames(10);
    UlGlobalSet::instance().watch = false;
    List l;
    l.list.updateList();
    l.list.clearContents();
    QCOMPARE(buffer().count(), 0);
    QCOMPARE(buffer().countW(), 0);
    QCOMPARE(l.list.model()->rowCount(), 0);
}

MEROVAST_GUI_TEST_MAIN(tst_UiCanObjListWidget)
#include "tst_uicanobjlistwidget.moc"
