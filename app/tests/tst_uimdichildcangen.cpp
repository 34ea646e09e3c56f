// The channel window against the simulated device: title, Start and Stop
// with the channel's threads, Clear, the display menus, saving the buffer
// and saving in real time (with the refusals that keep files intact), the
// DBC and charging windows, the close refusals, and the send pages' controls
// apart in a sub-window however small, in either language.
#include "apphelpers.h"
#include "canfile.h"
#include "canobj.h"
#include "canreadthread.h"
#include "canrealtimesavethread.h"
#include "chinesecatalogue.h"
#include "dbcwidget.h"
#include "devcan.h"
#include "filesizelimit.h"
#include "gbt27931widget.h"
#include "guitest.h"
#include "labelwidths.h"
#include "taskthread.h"
#include "uicanobjlistmodel.h"
#include "uicanobjlistwidget.h"
#include "uifiledialog.h"
#include "uifont.h"
#include "uimdiarea.h"
#include "uimdichildcangen.h"
#include "uimdichildtools.h"
#include "uimessage.h"
#include "testhelpers.h"
#include "uitabsend.h"
#include "uitabsendbasepage.h"
#include "uitabsendfilepage.h"
#include "ulsendfilethread.h"
#include "ulbuffer.h"
#include "ulglobalset.h"
#include "vcisim.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <memory>
#include <thread>

namespace {

void openDevice(uint32_t type)
{
    DevCan &device = DevCan::instance();
    QCOMPARE(device.openDevice(type, 0, 0), 1u);
    VCI_INIT_CONFIG config{};
    config.MaskCode = 0xFFFFFFFF;
    config.FilterMode = 1;
    config.BTR1 = 0x1C;
    for (uint32_t ch = 0; ch < device.getChannels(); ++ch) {
        QCOMPARE(device.initCAN(ch, &config), 1u);
        QCOMPARE(device.StartCAN(ch), 1u);
    }
}

VCI_CAN_OBJ frame(uint32_t id)
{
    VCI_CAN_OBJ f{};
    f.ID = id;
    f.DataLen = 2;
    f.Data[0] = 0xAB;
    return f;
}

uint64_t transmitted(uint32_t channel)
{
    VCISIM_STATS stats{};
    VCISIM_GetStats(VCI_DRAVIN_PCI2, 0, channel, &stats);
    return stats.transmitted;
}

QAction *action(const UiMdiChildCanGen &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

// Layout requests posted by layout changes, handled.
void settleLayouts()
{
    for (int level = 0; level < 8; ++level)
        QCoreApplication::processEvents();
}

// The face the program chooses at start for the life of the object.
class ProgramFace
{
public:
    ProgramFace() { UiFont::chooseApplicationFont(*qApp); }
    ~ProgramFace() { QApplication::setFont(saved); }
    ProgramFace(const ProgramFace &) = delete;
    ProgramFace &operator=(const ProgramFace &) = delete;

private:
    const QFont saved = QApplication::font();
};

// The bottom-right corner of a sub-window dragged by the mouse so that the
// window would be size; it stops at the least size it accepts.
void dragCorner(QMdiSubWindow &window, const QSize &size)
{
    const QPoint corner(window.width() - 2, window.height() - 2);
    const QPoint to = corner + QPoint(size.width() - window.width(), size.height() - window.height());
    const auto send = [&](QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, window.mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
    };
    send(QEvent::MouseMove, corner, Qt::NoButton, Qt::NoButton);  // picks the resize
    send(QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    settleLayouts();
}

// What a user reads or works: labels with a text, fields, choices,
// buttons, tables and progress bars.
bool isControl(const QWidget &widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        return !label->text().isEmpty();
    return qobject_cast<const QLineEdit *>(&widget) || qobject_cast<const QAbstractSpinBox *>(&widget)
           || qobject_cast<const QComboBox *>(&widget) || qobject_cast<const QAbstractButton *>(&widget)
           || qobject_cast<const QAbstractItemView *>(&widget) || qobject_cast<const QProgressBar *>(&widget);
}

// The visible controls of root that are not part of another control (the
// field of a spin box, the header of a table).
QList<QWidget *> controlsOf(const QWidget &root)
{
    QList<QWidget *> controls;
    for (QWidget *widget : root.findChildren<QWidget *>()) {
        if (!widget->isVisible() || !isControl(*widget))
            continue;
        bool part = false;
        for (const QWidget *up = widget->parentWidget(); up && up != &root && !part; up = up->parentWidget())
            part = isControl(*up);
        if (!part)
            controls << widget;
    }
    return controls;
}

// The least size a layout gives the widget.
QSize leastSize(const QWidget &widget)
{
    const QSize hint = widget.minimumSizeHint();
    const QSize least(widget.minimumWidth() > 0 ? widget.minimumWidth() : std::max(0, hint.width()),
                      widget.minimumHeight() > 0 ? widget.minimumHeight() : std::max(0, hint.height()));
    return least.boundedTo(widget.maximumSize());
}

QString nameOf(const QWidget &widget)
{
    const auto *label = qobject_cast<const QLabel *>(&widget);
    const QString name = widget.objectName().isEmpty() ? QLatin1String(widget.metaObject()->className())
                                                        : widget.objectName();
    return label ? QStringLiteral("%1 \"%2\"").arg(name, label->text().trimmed()) : name;
}

// One line for each of widgets that is squeezed below its least size, lies
// outside what root shows or scrolls to, or lies on another of them.
QStringList faultsAmong(const QWidget &root, const QList<QWidget *> &widgets, const QString &where)
{
    QStringList faults;
    QVector<QRect> places;
    for (const QWidget *widget : widgets) {
        const QRect place(widget->mapTo(&root, QPoint(0, 0)), widget->size());
        places << place;
        const QSize least = leastSize(*widget);
        if (widget->width() < least.width() || widget->height() < least.height())
            faults << QStringLiteral("%1: %2 is %3 x %4, needs %5 x %6")
                              .arg(where, nameOf(*widget))
                              .arg(widget->width())
                              .arg(widget->height())
                              .arg(least.width())
                              .arg(least.height());
        // Inside the root, or inside the body of the scroll area it is in.
        const QWidget *frame = &root;
        for (const QWidget *up = widget->parentWidget(); up && up != &root; up = up->parentWidget()) {
            if (const auto *scroll = qobject_cast<const QScrollArea *>(up)) {
                frame = scroll->widget();
                break;
            }
        }
        if (!QRect(frame->mapTo(&root, QPoint(0, 0)), frame->size()).contains(place))
            faults << QStringLiteral("%1: %2 out of reach").arg(where, nameOf(*widget));
    }
    for (int i = 0; i < widgets.size(); ++i) {
        for (int j = i + 1; j < widgets.size(); ++j) {
            if (widgets[i]->isAncestorOf(widgets[j]) || widgets[j]->isAncestorOf(widgets[i]))
                continue;
            if (places[i].intersects(places[j]))
                faults << QStringLiteral("%1: %2 on %3").arg(where, nameOf(*widgets[i]), nameOf(*widgets[j]));
        }
    }
    return faults;
}

} // namespace

class tst_UiMdiChildCanGen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void title_data();
    void title();
    void stopAndStart();
    void channelStopEndsSending_data();
    void channelStopEndsSending();
    void addToSendFillsTheBasePage();
    void clearEmptiesListAndCounters();
    void displayMenus_data();
    void displayMenus();
    void menusShowTheChannelsModes_data();
    void menusShowTheChannelsModes();
    void saveBuffer_data();
    void saveBuffer();
    void saveInRealTime();
    void realTimeRefusalsKeepFiles_data();
    void realTimeRefusalsKeepFiles();
    void realTimeFailureWarns();
    void realTimeFileLimitWarnsAndReceives();
    void realTimeSwitchLosesNoFrame();
    void realTimeDropsAreReported();
    void dbcAndChargingWindows();
    void closeRefusals_data();
    void closeRefusals();
    void closeStopsTheChannel();
    void goingAwayClosesItsWindows();
    void sendTabErrors_data();
    void sendTabErrors();
    void controlsApartInSubWindow_data();
    void controlsApartInSubWindow();

private:
    QStringList shownBoxes() const;

    QTemporaryDir dir;
    QList<UiMessage::Box> boxes;
    QString answer;        // the file dialog's answer
    QString answerFilter;  // and the filter chosen in it
    QList<UiFileDialog::Request> requests;
};

void tst_UiMdiChildCanGen::init()
{
    DevCan::instance().closeDevice();
    VCISIM_ResetAll();
    UlGlobalSet &settings = UlGlobalSet::instance();
    for (int ch = 0; ch < UlGlobalSet::Channels; ++ch) {
        channelStatus &row = settings.channel[ch];
        row.sending = false;
        row.realTimeSave = false;
        row.sendMode = 0;
        row.timeDisplay = 2;
        row.dataDisplay = 1;
        UlBuffer::instance(ch).reset();
        UlBuffer::instance(ch).setHideSendFrame(false);
    }
    openDevice(VCI_DRAVIN_PCI2);
    boxes.clear();
    requests.clear();
    answer.clear();
    answerFilter.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
    UiFileDialog::setHandler([this](const UiFileDialog::Request &request) {
        requests << request;
        if (request.selectedFilter)
            *request.selectedFilter = answerFilter;
        return answer;
    });
}

void tst_UiMdiChildCanGen::cleanup()
{
    UiMessage::setHandler({});
    UiFileDialog::setHandler({});
    for (int ch = 0; ch < UlGlobalSet::Channels; ++ch)
        UlGlobalSet::instance().channel[ch].sending = false;
    DevCan::instance().closeDevice();
}

QStringList tst_UiMdiChildCanGen::shownBoxes() const
{
    QStringList shown;
    for (const UiMessage::Box &box : boxes)
        shown << box.title << box.text;
    return shown;
}

void tst_UiMdiChildCanGen::title_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("name"); // empty: the board's hardware type
    QTest::newRow("board's own name") << uint(VCI_DRAVIN_PCI2) << 1 << QString();
    QTest::newRow("network device") << uint(VCI_VARNET_UDP) << 0 << "VARNET-UDP";
}

void tst_UiMdiChildCanGen::title()
{
    QFETCH(uint, type);
    QFETCH(int, channel);
    QFETCH(QString, name);
    DevCan &device = DevCan::instance();
    device.closeDevice();
    openDevice(type);
    if (name.isEmpty()) {
        VCI_BOARD_INFO info{};
        QCOMPARE(device.readBoardInfo(&info), 1u);
        name = QString::fromLatin1(info.HardwareType);
        QVERIFY(name.startsWith(QLatin1String("DRAVIN")));
    }
    UiMdiChildCanGen window(nullptr, channel);
    QCOMPARE(window.windowTitle(), QStringLiteral("%1 Device:0 Channel %2").arg(name).arg(channel));

    QTranslator chinese;
    QVERIFY(chinese.load(QStringLiteral(":/translations/Merovast_zh.qm")));
    QCoreApplication::installTranslator(&chinese);
    QCoreApplication::processEvents();
    QCOMPARE(window.windowTitle(), QStringLiteral("%1 设备:0 通道 %2").arg(name).arg(channel));
    QCoreApplication::removeTranslator(&chinese);
}

void tst_UiMdiChildCanGen::stopAndStart()
{
    DevCan &device = DevCan::instance();
    // Channel 1 was never started: its receive thread runs all the same.
    QCOMPARE(device.ResetCAN(1), 1u);
    UiMdiChildCanGen window(nullptr, 1);
    QAction *start = window.toolBar()->startAction();
    QAction *stop = window.toolBar()->stopAction();
    QVERIFY(window.receiveThread()->isRunning());
    QVERIFY(start->isEnabled());
    QVERIFY(!stop->isEnabled());
    QVERIFY(!window.sendTab()->isSendEnabled());

    start->trigger();
    QVERIFY(device.isStarted(1));
    QVERIFY(!start->isEnabled());
    QVERIFY(stop->isEnabled());
    QVERIFY(window.sendTab()->isSendEnabled());
    // The channel hears the bus.
    const VCI_CAN_OBJ f = frame(0x321);
    QCOMPARE(VCISIM_InjectFrames(VCI_DRAVIN_PCI2, 0, 1, &f, 1), 1u);
    QTRY_COMPARE(UlBuffer::instance(1).count(), 1);

    stop->trigger();
    QVERIFY(!window.receiveThread()->isRunning());
    QVERIFY(!window.sendTab()->sendTaskThread()->isRunning());
    QVERIFY(device.isReset(1));
    QVERIFY(start->isEnabled());
    QVERIFY(!window.sendTab()->isSendEnabled());

    start->trigger();
    QVERIFY(window.receiveThread()->isRunning());
    QVERIFY(device.isStarted(1));
}

void tst_UiMdiChildCanGen::channelStopEndsSending_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<int>("sendMode");
    QTest::addColumn<int>("tab");
    QTest::newRow("base page in a long pause") << "base" << 0 << int(UiTabSend::BasePage);
    QTest::newRow("task list") << "task" << 1 << int(UiTabSend::TaskPage);
    QTest::newRow("timing tasks, Task tab current") << "task" << 2 << int(UiTabSend::TaskPage);
    QTest::newRow("timing tasks, Base tab current") << "task" << 2 << int(UiTabSend::BasePage);
    QTest::newRow("file page, circulation") << "file" << 0 << int(UiTabSend::FilePage);
    QTest::newRow("shown sending only") << "shown" << 2 << int(UiTabSend::TaskPage);
}

// The channel's Stop stops whatever its send tabs send, timing tasks too,
// so that nothing transmits on a reset channel, and leaves them idle.
void tst_UiMdiChildCanGen::channelStopEndsSending()
{
    QFETCH(QString, sender);
    QFETCH(int, sendMode);
    QFETCH(int, tab);
    UiMdiChildCanGen window(nullptr, 0);
    UiTabSend *tabs = window.sendTab();
    UlGlobalSet::instance().channel[0].sendMode = sendMode;
    tabs->setCurrentIndex(tab);
    if (sender == QLatin1String("base")) {
        tabs->basePage()->findChild<QSpinBox *>(QStringLiteral("m_ctrlInterval"))->setValue(99999999);
        tabs->basePage()->findChild<QSpinBox *>(QStringLiteral("m_ctrlSendTimes"))->setValue(5);
        tabs->basePage()->findChild<QPushButton *>(QStringLiteral("SendButton"))->click();
    } else if (sender == QLatin1String("task")) {
        taskQueue queue;
        queue.enqueue(TestFrames::task(TestFrames::frame(0x10, "a"), 1, 1, 5));
        Q_EMIT tabs->taskPage()->start(queue);
    } else if (sender == QLatin1String("file")) {
        UiTabSendFilePage *file = tabs->filePage();
        answer = dir.filePath(QStringLiteral("replay.bin"));
        writeFile(answer, "0123456789");
        file->findChild<QPushButton *>(QStringLiteral("BrowseButton"))->click();
        file->findChild<QComboBox *>(QStringLiteral("m_ctrlSendMode_2"))->setCurrentIndex(UiTabSendFilePage::Circulation);
        file->findChild<QSpinBox *>(QStringLiteral("m_ctrlInterval"))->setValue(2);
        file->sendButton()->click();
        QVERIFY(file->isRunning());
    } else {
        tabs->UpdateUI(true);
    }
    if (sender != QLatin1String("shown"))
        QTRY_VERIFY(transmitted(0) > 0);
    QVERIFY(UlGlobalSet::instance().channel[0].sending);

    QElapsedTimer timer;
    timer.start();
    window.toolBar()->stopAction()->trigger();
    QVERIFY(timer.elapsed() < 500);
    QVERIFY(!UlGlobalSet::instance().channel[0].sending);
    QCOMPARE(tabs->activeSender(), UiTabSend::NoSender);
    QVERIFY(!tabs->sendTaskThread()->isRunning());
    QCOMPARE(tabs->sendTaskThread()->singleTaskCount(), 0);
    QVERIFY(!tabs->filePage()->isRunning());
    QVERIFY(!tabs->filePage()->replayThread()->isRunning());
    const uint64_t sent = transmitted(0);
    QTest::qWait(50);
    QCOMPARE(transmitted(0), sent);
    // The pages wait for the channel: Send comes back with Start.
    QVERIFY(!tabs->basePage()->sendButton()->isEnabled());
    QVERIFY(!tabs->basePage()->stopButton()->isEnabled());
    window.toolBar()->startAction()->trigger();
    QVERIFY(tabs->basePage()->sendButton()->isEnabled());
    QVERIFY(!tabs->basePage()->stopButton()->isEnabled());
}

void tst_UiMdiChildCanGen::addToSendFillsTheBasePage()
{
    UiMdiChildCanGen window(nullptr, 0);
    window.onStop();  // nothing else fills the buffer
    UlBuffer &buffer = UlBuffer::instance(0);
    for (uint32_t id = 1; id <= 3; ++id) {
        VCI_CAN_OBJ f = frame(id);
        f.ExternFlag = id == 2;
        f.ID = id == 2 ? 0x1ABCDE : id;
        buffer.addFrame(&f, 1, false);
    }
    window.frameList()->updateList();
    window.sendTab()->setCurrentIndex(UiTabSend::ErrorInfoPage);
    window.frameList()->selectRow(1);
    window.frameList()->addToSendAction()->trigger();
    UiTabSendBasePage *base = window.sendTab()->basePage();
    QCOMPARE(window.sendTab()->currentIndex(), int(UiTabSend::BasePage));
    QCOMPARE(base->findChild<QComboBox *>(QStringLiteral("m_ctrlFormat"))->currentIndex(), 1);
    QCOMPARE(base->findChild<QComboBox *>(QStringLiteral("m_ctrlType"))->currentIndex(), 0);
    QCOMPARE(base->findChild<QLineEdit *>(QStringLiteral("m_ctrlId"))->text(), QStringLiteral("1abcde"));
    QCOMPARE(base->findChild<QLineEdit *>(QStringLiteral("m_ctrlData"))->text(), QStringLiteral("AB 00"));
}

void tst_UiMdiChildCanGen::clearEmptiesListAndCounters()
{
    UiMdiChildCanGen window(nullptr, 0);
    window.onStop();  // nothing else fills the buffer
    UlGlobalSet::instance().watch = true;
    UlBuffer &buffer = UlBuffer::instance(0);
    for (uint32_t id = 1; id <= 50; ++id) {
        const VCI_CAN_OBJ f = frame(id);
        buffer.addFrame(&f, 1, false);
    }
    UlGlobalSet::instance().watch = false;
    window.frameList()->updateList();
    QCOMPARE(window.frameList()->listModel()->rowCount(), 50);
    UlRunCounters &counters = UlGlobalSet::instance().channel[0].counters;
    counters.usedTime = 3.0;
    counters.received = 50;
    counters.sent = 2;
    QSignalSpy cleared(&window, &UiMdiChildCanGen::clearSignal);

    action(window, "clearAct")->trigger();
    QCOMPARE(buffer.count(), 0);
    QCOMPARE(buffer.countW(), 0);
    QCOMPARE(window.frameList()->listModel()->rowCount(), 0);
    QCOMPARE(counters.usedTime.load(), -1.0);
    QCOMPARE(counters.received.load(), int64_t(0));
    QCOMPARE(counters.sent.load(), int64_t(0));
    QCOMPARE(cleared.size(), 1);
}

void tst_UiMdiChildCanGen::displayMenus_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("timeDisplay");
    QTest::addColumn<int>("dataDisplay");
    QTest::addColumn<int>("redraws");
    QTest::newRow("DEC") << "decAct" << 0 << 0 << 1;
    QTest::newRow("HEX") << "hexAct" << 0 << 1 << 1;
    QTest::newRow("ASC") << "ascAct" << 0 << 2 << 1;
    QTest::newRow("BIN") << "binAct" << 0 << 3 << 1;
    QTest::newRow("Normal Time") << "normalTimeAct" << 0 << 1 << 0;
    QTest::newRow("HEX Time") << "hexTimeAct" << 3 << 1 << 0;
    QTest::newRow("Clock Time") << "clockTimeAct" << 2 << 1 << 0;
}

void tst_UiMdiChildCanGen::displayMenus()
{
    QFETCH(QString, entry);
    QFETCH(int, timeDisplay);
    QFETCH(int, dataDisplay);
    QFETCH(int, redraws);
    UiMdiChildCanGen window(nullptr, 1);
    // Start from a comparative time so that Clock Time changes something.
    action(window, "normalTimeAct")->trigger();
    QSignalSpy redrawn(&window, &UiMdiChildCanGen::digitalTypeChangedSignal);
    action(window, qPrintable(entry))->trigger();
    const channelStatus &row = UlGlobalSet::instance().channel[1];
    QCOMPARE(row.timeDisplay.load(), timeDisplay);
    QCOMPARE(row.dataDisplay.load(), dataDisplay);
    QCOMPARE(redrawn.size(), redraws);
    int marked = 0;
    for (const char *name : {"clockTimeAct", "hexTimeAct", "normalTimeAct"})
        marked += action(window, name)->isChecked();
    QCOMPARE(marked, 1);
}

void tst_UiMdiChildCanGen::menusShowTheChannelsModes_data()
{
    QTest::addColumn<int>("timeDisplay");
    QTest::addColumn<int>("dataDisplay");
    QTest::addColumn<bool>("sentHidden");
    QTest::addColumn<QStringList>("marked");
    QTest::newRow("as at start") << 2 << 1 << false << QStringList{"clockTimeAct", "hexAct", "showSendFrameAct"};
    QTest::newRow("HEX time, DEC, sent hidden")
        << 3 << 0 << true << QStringList{"hexTimeAct", "decAct", "hideSendFrameAct"};
    QTest::newRow("normal time, BIN") << 0 << 3 << false << QStringList{"normalTimeAct", "binAct", "showSendFrameAct"};
    QTest::newRow("clock time, ASC") << 2 << 2 << true << QStringList{"clockTimeAct", "ascAct", "hideSendFrameAct"};
}

// A channel's display choices outlive its window (the device closed and
// opened again): a new window's menus mark what the list really shows.
void tst_UiMdiChildCanGen::menusShowTheChannelsModes()
{
    QFETCH(int, timeDisplay);
    QFETCH(int, dataDisplay);
    QFETCH(bool, sentHidden);
    QFETCH(QStringList, marked);
    channelStatus &row = UlGlobalSet::instance().channel[1];
    row.timeDisplay = timeDisplay;
    row.dataDisplay = dataDisplay;
    UlBuffer::instance(1).setHideSendFrame(sentHidden);
    UiMdiChildCanGen window(nullptr, 1);
    QStringList checked;
    for (const char *name : {"clockTimeAct", "hexTimeAct", "normalTimeAct", "decAct", "hexAct", "ascAct", "binAct",
                             "hideSendFrameAct", "showSendFrameAct"}) {
        if (action(window, name)->isChecked())
            checked << QLatin1String(name);
    }
    QCOMPARE(checked, marked);
}

void tst_UiMdiChildCanGen::saveBuffer_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");  // the file saved, or empty
    QTest::addColumn<QStringList>("box");
    QTest::newRow("csv") << "frames.csv" << "CAN File(*.can)" << "frames.csv"
                         << QStringList{"Hint", "Save successfully"};
    QTest::newRow("no suffix: the filter's") << "frames" << "ASC File(*.ASC)" << "frames.asc"
                                             << QStringList{"Hint", "Save successfully"};
    QTest::newRow("unknown suffix") << "notes.txt" << "CSV File(*.CSV)" << ""
                                    << QStringList{"Warning", "Cannot write file %1,\nUnknown file type: save as "
                                                              ".can, .csv or .asc."};
    QTest::newRow("cannot open") << "missing/frames.can" << "CAN File(*.can)" << "" << QStringList{"Warning"};
}

void tst_UiMdiChildCanGen::saveBuffer()
{
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(QStringList, box);
    UiMdiChildCanGen window(nullptr, 0);
    window.onStop();
    for (uint32_t id = 1; id <= 20; ++id) {
        const VCI_CAN_OBJ f = frame(id);
        UlBuffer::instance(0).addFrame(&f, 1, false);
    }
    const QString path = dir.filePath(name);
    QFile::remove(path);
    if (written.isEmpty()) {
        QFile existing(path);
        if (existing.open(QIODevice::WriteOnly))
            existing.write("keep");
    }
    answer = path;
    answerFilter = filter;
    action(window, "saveAct")->trigger();

    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().caption, QStringLiteral("Save"));
    QCOMPARE(requests.first().filter, QStringLiteral("CAN File(*.can);;CSV File(*.CSV);;ASC File(*.ASC)"));
    QVERIFY(requests.first().dir.isEmpty());
    QStringList shown = shownBoxes().mid(0, box.size());
    if (box.size() > 1 && box.at(1).contains(QLatin1String("%1")))
        box[1] = box.at(1).arg(path);
    QCOMPARE(shown, box);
    if (written.isEmpty()) {
        // Nothing touched a file that could not be saved to.
        QVERIFY(!QFile::exists(path) || readAll(path) == "keep");
    } else {
        const QByteArray text = readAll(dir.filePath(written));
        QCOMPARE(text.count('\n'), written.endsWith(QLatin1String(".csv")) ? 21 : 4 + 20 + 1);
    }
}

void tst_UiMdiChildCanGen::saveInRealTime()
{
    UiMdiChildCanGen window(nullptr, 1);
    const QString first = dir.filePath(QStringLiteral("live.csv"));
    const QString second = dir.filePath(QStringLiteral("live2.asc"));
    QFile::remove(first);
    QFile::remove(second);
    answer = first;
    action(window, "rtSaveAct")->trigger();
    QCOMPARE(requests.first().dir, QStringLiteral("test"));
    QCOMPARE(requests.first().filter, QStringLiteral("CAN File(*.can);;CSV File(*.csv);;ASC File(*.asc)"));
    QVERIFY(UlGlobalSet::instance().channel[1].realTimeSave);
    QVERIFY(window.realTimeSaveThread()->isRunning());

    VCI_CAN_OBJ frames[5];
    for (uint32_t i = 0; i < 5; ++i)
        frames[i] = frame(0x200 + i);
    QCOMPARE(VCISIM_InjectFrames(VCI_DRAVIN_PCI2, 0, 1, frames, 5), 5u);
    QTRY_COMPARE(window.realTimeSaveThread()->rowsWritten(), qint64(5));

    // A new file ends the recording in hand.
    answer = second;
    action(window, "rtSaveAct")->trigger();
    QCOMPARE(readAll(first).count('\n'), 1 + 5);
    QCOMPARE(VCISIM_InjectFrames(VCI_DRAVIN_PCI2, 0, 1, frames, 2), 2u);
    QTRY_COMPARE(window.realTimeSaveThread()->rowsWritten(), qint64(2));

    action(window, "stopRtSaveAct")->trigger();
    QVERIFY(!UlGlobalSet::instance().channel[1].realTimeSave);
    QVERIFY(!window.realTimeSaveThread()->isRunning());
    QVERIFY(readAll(second).endsWith("End Triggerblock\n"));
    QCOMPARE(readAll(second).count('\n'), 4 + 2 + 1);
    QVERIFY(boxes.isEmpty());
}

void tst_UiMdiChildCanGen::realTimeRefusalsKeepFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("unknown suffix") << "old.txt";
    QTest::newRow("cannot open") << "missing/old.csv";
}

void tst_UiMdiChildCanGen::realTimeRefusalsKeepFiles()
{
    QFETCH(QString, name);
    UiMdiChildCanGen window(nullptr, 0);
    const QString path = dir.filePath(name);
    QFile existing(path);
    if (existing.open(QIODevice::WriteOnly))
        existing.write("keep");
    existing.close();
    answer = path;
    action(window, "rtSaveAct")->trigger();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Warning"));
    QVERIFY(boxes.first().text.startsWith(QStringLiteral("Cannot write file %1,\n").arg(path)));
    QVERIFY(!UlGlobalSet::instance().channel[0].realTimeSave);
    QVERIFY(!window.realTimeSaveThread()->isRunning());
    QVERIFY(!QFile::exists(path) || readAll(path) == "keep");
}

void tst_UiMdiChildCanGen::realTimeFailureWarns()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full");
    UiMdiChildCanGen window(nullptr, 0);
    const QString path = dir.filePath(QStringLiteral("full.can"));
    QFile::remove(path);
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
    answer = path;
    action(window, "rtSaveAct")->trigger();
    // The .can header alone fits the file's buffer: more frames than that.
    UlBuffer &buffer = UlBuffer::instance(0);
    for (uint32_t id = 0; id < 2000; ++id) {
        const VCI_CAN_OBJ f = frame(id);
        buffer.addFrame(&f, 1, false);
    }
    QTRY_COMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Warning"));
    QVERIFY(boxes.first().text.startsWith(QStringLiteral("Cannot write file %1,\n").arg(path)));
    QVERIFY(!UlGlobalSet::instance().channel[0].realTimeSave);
    QCOMPARE(buffer.countRt(), 0);
}

// The recording's file fills up: one warning with the system's reason, the
// file keeps the whole rows written, the recording ends and the channel goes
// on receiving.
void tst_UiMdiChildCanGen::realTimeFileLimitWarnsAndReceives()
{
    UiMdiChildCanGen window(nullptr, 1);
    const QString path = dir.filePath(QStringLiteral("limit.csv"));
    QFile::remove(path);
    constexpr qint64 kLimit = 2000 + 7;  // about 30 rows, and a part of one
    VCI_CAN_OBJ frames[100];
    for (uint32_t i = 0; i < 100; ++i)
        frames[i] = frame(0x300 + i);
    UlBuffer &buffer = UlBuffer::instance(1);
    {
        const FileSizeLimit limit(kLimit);
        QVERIFY(limit.isSet());
        answer = path;
        action(window, "rtSaveAct")->trigger();
        QVERIFY(window.realTimeSaveThread()->isRunning());
        QCOMPARE(VCISIM_InjectFrames(VCI_DRAVIN_PCI2, 0, 1, frames, 100), 100u);
        QTRY_COMPARE(boxes.size(), 1);
        QVERIFY(window.realTimeSaveThread()->wait(5000));
    }
    QCOMPARE(boxes.first().title, QStringLiteral("Warning"));
    QCOMPARE(boxes.first().text, QStringLiteral("Cannot write file %1,\n%2").arg(path, FileSizeLimit::reason()));
    // Cut back to the last whole row.
    QVERIFY(QFileInfo(path).size() <= kLimit);
    QVERIFY(QFileInfo(path).size() > kLimit - 100);
    QVERIFY(readAll(path).startsWith("Index,"));
    QVERIFY(readAll(path).endsWith('\n'));
    QVERIFY(!UlGlobalSet::instance().channel[1].realTimeSave);
    QTRY_COMPARE(buffer.count(), 100);
    QCOMPARE(VCISIM_InjectFrames(VCI_DRAVIN_PCI2, 0, 1, frames, 5), 5u);
    QTRY_COMPARE(buffer.count(), 105);
    QCOMPARE(buffer.countRt(), 0);
    QCOMPARE(boxes.size(), 1);
}

// Frames counting in bytes 0-3 arrive all the time: each recording's file
// holds a run of the count, and each file goes on where the one before it
// ended.
void tst_UiMdiChildCanGen::realTimeSwitchLosesNoFrame()
{
    UiMdiChildCanGen window(nullptr, 1);
    QStringList files;
    for (const char *name : {"first.can", "second.can", "third.can"}) {
        files << dir.filePath(QLatin1String(name));
        QFile::remove(files.last());
    }
    answer = files.at(0);
    action(window, "rtSaveAct")->trigger();
    std::atomic<bool> feeding{true};
    std::thread feeder([&feeding] {
        VCI_CAN_OBJ f = frame(0x123);
        f.DataLen = 4;
        for (uint32_t count = 0; feeding; ++count) {
            std::memcpy(f.Data, &count, 4);
            UlBuffer::instance(1).addFrame(&f, 1, false);
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
    });
    const auto filled = [](const QString &path) { return QFileInfo(path).size() > 20 + 24 * 200; };
    for (int i = 1; i < files.size(); ++i) {
        QTRY_VERIFY(filled(files.at(i - 1)));
        answer = files.at(i);
        action(window, "rtSaveAct")->trigger();
    }
    QTRY_VERIFY(filled(files.last()));
    action(window, "stopRtSaveAct")->trigger();
    feeding = false;
    feeder.join();
    QVERIFY(boxes.isEmpty());

    qint64 next = -1;
    for (const QString &path : files) {
        CANFile file;
        QVERIFY(file.open(path));
        QVERIFY(file.prepare());
        CanObj f;
        int frames = 0;
        while (file.getFrame(f)) {
            uint32_t count = 0;
            std::memcpy(&count, f.Data, 4);
            if (next >= 0)
                QCOMPARE(qint64(count), next);
            next = qint64(count) + 1;
            ++frames;
        }
        QVERIFY2(!file.hasError(), qPrintable(file.errorString()));
        QVERIFY(frames > 200);
    }
}

// A recording into a pipe that nobody reads stalls; the queue drops its
// oldest frames. The window says so once, keeps the count in view until the
// next recording, and the recording goes on.
void tst_UiMdiChildCanGen::realTimeDropsAreReported()
{
    const QString path = dir.filePath(QStringLiteral("stalled.can"));
    QFile::remove(path);
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    const int reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    // A check that fails closes the pipe: the recording then fails on
    // EPIPE and the window can go.
    const auto brokenPipe = std::signal(SIGPIPE, SIG_IGN);
    UiMdiChildCanGen window(nullptr, 0);
    const std::unique_ptr<const int, void (*)(const int *)> closeReader(&reader, [](const int *fd) { ::close(*fd); });
    window.show();
    auto *label = window.findChild<QLabel *>(QStringLiteral("rtDropsLabel"));
    QVERIFY(label);
    UlBuffer &buffer = UlBuffer::instance(0);
    const qint64 droppedBefore = buffer.droppedRtSave();
    answer = path;
    action(window, "rtSaveAct")->trigger();
    QVERIFY(window.realTimeSaveThread()->isRunning());
    QVERIFY(!label->isVisible());

    const auto offer = [&buffer](int n) {
        VCI_CAN_OBJ batch[100];
        for (int i = 0; i < n; i += 100) {
            for (int k = 0; k < 100; ++k)
                batch[k] = frame(uint32_t(i + k) & 0x7FF);
            buffer.addFrame(batch, 100, false);
        }
    };
    int offered = UlBuffer::QueueBound + 20000;
    offer(offered);
    QTRY_COMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Warning"));
    QVERIFY2(boxes.first().text.contains(path), qPrintable(boxes.first().text));
    const qint64 dropped = buffer.droppedRtSave() - droppedBefore;
    QVERIFY(dropped > 0);
    QTRY_COMPARE(label->text(), QStringLiteral("Saving in real time: %1 frames not saved").arg(dropped));
    QVERIFY(label->isVisible());

    // Once per recording: further drops only raise the count.
    offer(5000);
    offered += 5000;
    const qint64 droppedInAll = buffer.droppedRtSave() - droppedBefore;
    QVERIFY(droppedInAll > dropped);
    QTRY_COMPARE(label->text(), QStringLiteral("Saving in real time: %1 frames not saved").arg(droppedInAll));
    QCOMPARE(boxes.size(), 1);
    QVERIFY(UlGlobalSet::instance().channel[0].realTimeSave);

    qint64 received = 0;
    std::thread drain([reader, &received] {
        ::fcntl(reader, F_SETFL, 0);
        char bytes[65536];
        ssize_t n = 0;
        while ((n = ::read(reader, bytes, sizeof bytes)) > 0)
            received += n;
    });
    action(window, "stopRtSaveAct")->trigger();
    drain.join();
    const qint64 kept = offered - droppedInAll;
    QCOMPARE(window.realTimeSaveThread()->rowsWritten(), kept);
    QCOMPARE(received, 20 + 24 * kept);
    QVERIFY(label->isVisible());

    answer = dir.filePath(QStringLiteral("next.can"));
    action(window, "rtSaveAct")->trigger();
    QVERIFY(!label->isVisible());
    action(window, "stopRtSaveAct")->trigger();
    QCOMPARE(boxes.size(), 1);
    std::signal(SIGPIPE, brokenPipe);
}

void tst_UiMdiChildCanGen::dbcAndChargingWindows()
{
    UiMdiChildCanGen window(nullptr, 1);
    action(window, "dbcAct")->trigger();
    QPointer<DBCWidget> dbc = window.dbcWindow();
    QVERIFY(dbc && dbc->isVisible());
    QCOMPARE(dbc->replayMode(), int(DBCWidget::LiveMode));
    QCOMPARE(dbc->channel(), 1);
    action(window, "dbcAct")->trigger();
    QCOMPARE(window.dbcWindow(), dbc.data());
    dbc->close();
    QTRY_VERIFY(dbc.isNull());
    QVERIFY(!window.isDbcOpen());
    action(window, "dbcAct")->trigger();
    QVERIFY(window.dbcWindow() && window.dbcWindow() != dbc.data());
    window.dbcWindow()->close();

    action(window, "gbtAct")->trigger();
    QPointer<GBT27931Widget> gbt = window.gbtWindow();
    QVERIFY(gbt && window.isGbtOpen());
    QVERIFY(UlBuffer::instance(1).GBT27930Run());
    action(window, "gbtAct")->trigger();
    QCOMPARE(window.gbtWindow(), gbt.data());
    gbt->close();
    QTRY_VERIFY(gbt.isNull());
    QVERIFY(!window.isGbtOpen());
}

void tst_UiMdiChildCanGen::closeRefusals_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("text");
    QTest::newRow("shown sending") << "sending" << "Please stop sending data first";
    QTest::newRow("base page sending") << "base send" << "Please stop sending data first";
    QTest::newRow("DBC window") << "dbcAct" << "Please close the DBC dialog box first";
    QTest::newRow("charging window") << "gbtAct" << "Please close the charging pile dialog box first";
}

void tst_UiMdiChildCanGen::closeRefusals()
{
    QFETCH(QString, open);
    QFETCH(QString, text);
    UiMdiChildCanGen window(nullptr, 0);
    window.show();
    if (open == QLatin1String("sending")) {
        window.sendTab()->UpdateUI(true);
    } else if (open == QLatin1String("base send")) {
        window.sendTab()->basePage()->findChild<QSpinBox *>(QStringLiteral("m_ctrlInterval"))->setValue(10);
        window.sendTab()->basePage()->findChild<QSpinBox *>(QStringLiteral("m_ctrlSendTimes"))->setValue(100000);
        window.sendTab()->basePage()->sendButton()->click();
    } else {
        action(window, qPrintable(open))->trigger();
    }
    QSignalSpy closed(&window, &UiMdiChildCanGen::closeSignal);
    QVERIFY(!window.close());
    QCOMPARE(shownBoxes(), QStringList({"Hint", text}));
    QCOMPARE(boxes.first().parent, &window);
    QVERIFY(closed.isEmpty());
    QVERIFY(window.receiveThread()->isRunning());
    QVERIFY(DevCan::instance().isStarted(0));
}

void tst_UiMdiChildCanGen::closeStopsTheChannel()
{
    UiMdiChildCanGen window(nullptr, 1);
    window.show();
    answer = dir.filePath(QStringLiteral("closing.asc"));
    action(window, "rtSaveAct")->trigger();
    QSignalSpy closed(&window, &UiMdiChildCanGen::closeSignal);
    QVERIFY(window.close());
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed.first().at(0).toInt(), 1);
    QVERIFY(!window.receiveThread()->isRunning());
    QVERIFY(!window.realTimeSaveThread()->isRunning());
    QVERIFY(readAll(answer).endsWith("End Triggerblock\n"));
    QVERIFY(DevCan::instance().isReset(1));
    QVERIFY(DevCan::instance().isStarted(0));
}

void tst_UiMdiChildCanGen::goingAwayClosesItsWindows()
{
    auto *window = new UiMdiChildCanGen(nullptr, 0);
    window->onShowDBC();
    window->onShowGBT27930();
    QPointer<DBCWidget> dbc = window->dbcWindow();
    QPointer<GBT27931Widget> gbt = window->gbtWindow();
    QPointer<CanReadThread> receive = window->receiveThread();
    delete window;
    QVERIFY(dbc.isNull());
    QVERIFY(gbt.isNull());
    QVERIFY(receive.isNull());
    QVERIFY(!UlBuffer::instance(0).GBT27930Run());
}

void tst_UiMdiChildCanGen::sendTabErrors_data()
{
    QTest::addColumn<bool>("maxId");
    QTest::addColumn<QString>("text");
    QTest::newRow("send failed") << false << "Send failed.";
    QTest::newRow("ID out of range") << true
                                     << "Frame ID exceeded. Standard Frame ID's valid value is 0 - 0x7ff, Extend "
                                        "Frame ID's valid value is 0 - 0x1fffffff.";
}

void tst_UiMdiChildCanGen::sendTabErrors()
{
    QFETCH(bool, maxId);
    QFETCH(QString, text);
    UiMdiChildCanGen window(nullptr, 0);
    if (maxId)
        Q_EMIT window.sendTab()->maxIdErrorSignal();
    else
        Q_EMIT window.sendTab()->sendErrorSignal();
    QCOMPARE(shownBoxes(), QStringList({"Error", text}));
}

void tst_UiMdiChildCanGen::controlsApartInSubWindow_data()
{
    QTest::addColumn<bool>("chinese");   // the language at the check
    QTest::addColumn<bool>("switched");  // built and sized in the other
    QTest::addColumn<QSize>("size");     // dragged to; invalid: as opened
    QTest::addColumn<bool>("leastSendTabs");  // the splitter pushed down
    for (const bool chinese : {false, true}) {
        const char *language = chinese ? "Chinese" : "English";
        QTest::addRow("%s, as opened", language) << chinese << false << QSize() << false;
        // Where Window > SubWindow used to open it.
        QTest::addRow("%s, 408 x 330", language) << chinese << false << QSize(408, 330) << false;
        QTest::addRow("%s, smallest", language) << chinese << false << QSize(0, 0) << false;
        QTest::addRow("%s, smallest, send tabs least", language) << chinese << false << QSize(0, 0) << true;
        QTest::addRow("%s after a switch, smallest, send tabs least", language)
                << chinese << true << QSize(0, 0) << true;
    }
}

// In sub-window view a channel window as small as the mouse can make it
// keeps its tool bar, list and send tabs apart and whole, and on every
// send page no control lies on another or is squeezed, and no text is cut:
// what does not fit scrolls. The window is built and shown the way the
// main window does.
void tst_UiMdiChildCanGen::controlsApartInSubWindow()
{
    QFETCH(bool, chinese);
    QFETCH(bool, switched);
    QFETCH(QSize, size);
    QFETCH(bool, leastSendTabs);
    const ProgramFace face;
    std::unique_ptr<ChineseCatalogue> catalogue;
    if (chinese != switched) {
        catalogue = std::make_unique<ChineseCatalogue>();
        QVERIFY(catalogue->isLoaded());
    }
    UiMdiArea area;
    area.resize(1300, 598);
    auto *window = new UiMdiChildCanGen(&area, 0);
    QMdiSubWindow *sub = area.addSubWindow(window);
    window->show();
    area.setViewMode(QMdiArea::TabbedView);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    area.setViewMode(QMdiArea::SubWindowView);
    settleLayouts();
    const QSize least = sub->minimumSizeHint();
    if (size.isValid()) {
        dragCorner(*sub, size);
        QCOMPARE(sub->size(), size.expandedTo(least));
    }
    QVERIFY(sub->width() >= least.width() && sub->height() >= least.height());
    if (leastSendTabs) {
        auto *splitter = window->findChild<QSplitter *>();
        splitter->setSizes({splitter->height(), 1});
        settleLayouts();
    }
    if (switched) {
        if (catalogue)
            catalogue.reset();
        else
            catalogue = std::make_unique<ChineseCatalogue>();
        settleLayouts();
    }

    UiTabSend *tabs = window->sendTab();
    QStringList faults =
            faultsAmong(*window, {window->toolBar(), window->frameList(), tabs}, QStringLiteral("window"));
    for (int page = UiTabSend::BasePage; page <= UiTabSend::ErrorInfoPage; ++page) {
        tabs->setCurrentIndex(page);
        settleLayouts();
        const QWidget *form = tabs->widget(page);
        const QList<QWidget *> controls = controlsOf(*form);
        QVERIFY2(controls.size() >= 2, qPrintable(tabs->tabText(page)));
        faults << faultsAmong(*form, controls, tabs->tabText(page));
        // Nor squeezed below what its texts need.
        faults << labelsAndChoicesShown(*form, Clipping::Scrolls).cut;
    }
    for (const QString &line : faults)
        qInfo("%s", qPrintable(line));
    QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults in a sub-window of %2 x %3")
                                                  .arg(faults.size())
                                                  .arg(sub->width())
                                                  .arg(sub->height())));
}

MEROVAST_GUI_TEST_MAIN(tst_UiMdiChildCanGen)
#include "tst_uimdichildcangen.moc"
