// The probing dialog against the simulated device library: its waiting
// time check, a run that finds the bus and hands back the timing, Ok only
// for a result row of the current run, Stop, and failures shown once.
#include "devcan.h"
#include "doubleslider.h"
#include "guitest.h"
#include "uiautoprobing.h"
#include "uimessage.h"
#include "vcisim.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

constexpr uint32_t kType = VCI_KELMO_USB2;
constexpr int kRunTimeoutMs = 20000;
// Long enough that a loaded machine still delivers frames within a try.
const QString kFindingWaitMs = QStringLiteral("200");

struct Dialog {
    UiAutoProbing dialog{0};
    QPushButton *operation = dialog.findChild<QPushButton *>(QStringLiteral("m_btnOperation"));
    QPushButton *ok = dialog.findChild<QPushButton *>(QStringLiteral("m_btnOk"));
    QTableWidget *table = dialog.findChild<QTableWidget *>(QStringLiteral("tableWidget"));
    DoubleSlider *slider = dialog.findChild<DoubleSlider *>();

    // Starts a run and waits until the thread has ended.
    bool run()
    {
        operation->click();
        if (!dialog.isRunning() || operation->text() != QLatin1String("Stop") || ok->isEnabled()
            || slider->isEnabled())
            return false;
        return QTest::qWaitFor([this] { return !dialog.isRunning() && operation->isEnabled(); }, kRunTimeoutMs);
    }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << table->item(r, c)->text();
        return cells;
    }
};

} // namespace

class tst_UiAutoProbing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void form();
    void waitingTimeOutOfRange_data();
    void waitingTimeOutOfRange();
    void findsTheBusAndHandsItsTiming();
    void okOnlyForARowOfTheCurrentRun();
    void stopWaitsForTheThread();
    void openFailureShownOnce();
    void closingStopsTheRun();

private:
    QList<UiMessage::Box> boxes;
};

void tst_UiAutoProbing::init()
{
    DevCan::instance().closeDevice();
    VCISIM_ResetAll();
    DevCan::instance().setDevType(kType);
    DevCan::instance().setDevIndex(0);
    boxes.clear();
    UiMessage::setHandler([this](const UiMessage::Box &box) {
        boxes << box;
        return QMessageBox::Ok;
    });
}

void tst_UiAutoProbing::cleanup()
{
    UiMessage::setHandler({});
}

void tst_UiAutoProbing::form()
{
    Dialog d;
    QCOMPARE(d.dialog.windowTitle(), QStringLiteral("Automatic Detection"));
    QCOMPARE(d.dialog.size(), QSize(535, 330));
    QCOMPARE(d.slider->minValue(), 5.0f);
    QCOMPARE(d.slider->maxValue(), 1000.0f);
    QCOMPARE(d.dialog.findChild<QLabel *>(QStringLiteral("m_pLabelminVal"))->text(), QStringLiteral("5.00 k"));
    QCOMPARE(d.dialog.findChild<QLabel *>(QStringLiteral("m_pLabelmaxVal"))->text(), QStringLiteral("1000.00 k"));
    d.slider->setMinValue(125.0f);
    QCOMPARE(d.dialog.findChild<QLabel *>(QStringLiteral("m_pLabelminVal"))->text(), QStringLiteral("125.00 k"));
    QCOMPARE(d.operation->text(), QStringLiteral("Start"));
    QVERIFY(!d.ok->isEnabled());
    QCOMPARE(d.table->columnCount(), 5);
    QCOMPARE(d.table->horizontalHeaderItem(0)->text(), QStringLiteral("BitRate(kbps)"));
    QCOMPARE(d.table->horizontalHeaderItem(4)->text(), QStringLiteral("Remark"));
    QCOMPARE(d.table->columnWidth(1), 70);
}

void tst_UiAutoProbing::waitingTimeOutOfRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("49") << "49";
    QTest::newRow("1001") << "1001";
    QTest::newRow("not a number") << "abc";
}

void tst_UiAutoProbing::waitingTimeOutOfRange()
{
    QFETCH(QString, text);
    Dialog d;
    d.dialog.findChild<QLineEdit *>(QStringLiteral("m_lineEditTimeOut"))->setText(text);
    d.operation->click();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Tip"));
    QCOMPARE(boxes.first().text, QStringLiteral("The Range of Sampling Interval is 50 - 1000"));
    QVERIFY(!d.dialog.isRunning());
    QCOMPARE(d.operation->text(), QStringLiteral("Start"));
}

void tst_UiAutoProbing::findsTheBusAndHandsItsTiming()
{
    QVERIFY(VCISIM_SetBackgroundTraffic(kType, 0, 500000, 0x123, 1000));
    Dialog d;
    d.dialog.findChild<QLineEdit *>(QStringLiteral("m_lineEditTimeOut"))->setText(kFindingWaitMs);
    d.slider->setMinValue(300.0f);
    QVERIFY(d.run());
    QCOMPARE(d.table->rowCount(), 1);
    QCOMPARE(d.row(0), (QStringList{"500.000", "0x00", "0x1C", "87.50%", "Recommended"}));
    QCOMPARE(d.table->item(0, 2)->textAlignment(), int(Qt::AlignCenter));
    QVERIFY(d.slider->isEnabled());
    QCOMPARE(d.operation->text(), QStringLiteral("Start"));
    QVERIFY(!d.ok->isEnabled()); // nothing chosen yet
    d.table->setCurrentCell(0, 3);
    QVERIFY(d.ok->isEnabled());
    d.table->clearSelection(); // still current, no longer chosen
    QVERIFY(!d.ok->isEnabled());
    d.table->selectRow(0);
    QVERIFY(d.ok->isEnabled());
    d.ok->click();
    QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(d.dialog.chosenBtr0(), QStringLiteral("00"));
    QCOMPARE(d.dialog.chosenBtr1(), QStringLiteral("1C"));
    QVERIFY(boxes.isEmpty());
}

void tst_UiAutoProbing::okOnlyForARowOfTheCurrentRun()
{
    QVERIFY(VCISIM_SetBackgroundTraffic(kType, 0, 500000, 0x123, 1000));
    Dialog d;
    d.dialog.findChild<QLineEdit *>(QStringLiteral("m_lineEditTimeOut"))->setText(kFindingWaitMs);
    d.slider->setMinValue(400.0f);
    QVERIFY(d.run());
    d.table->setCurrentCell(0, 0);
    QVERIFY(d.ok->isEnabled());

    // The next run finds nothing: the earlier row is gone and Ok stays off.
    QVERIFY(VCISIM_SetBackgroundTraffic(kType, 0, 500000, 0x123, 1000)); // the probe's close ended it
    d.dialog.findChild<QLineEdit *>(QStringLiteral("m_lineEditTimeOut"))->setText(QStringLiteral("50"));
    d.slider->setMinValue(600.0f);
    d.slider->setMaxValue(700.0f);
    QVERIFY(d.run());
    QCOMPARE(d.table->rowCount(), 0);
    QVERIFY(!d.ok->isEnabled());
    QVERIFY(d.dialog.chosenBtr0().isEmpty());
}

void tst_UiAutoProbing::stopWaitsForTheThread()
{
    Dialog d; // no traffic: the run would take minutes
    d.operation->click();
    QVERIFY(d.dialog.isRunning());
    QTest::qWait(120);
    d.operation->click();
    QVERIFY(!d.dialog.isRunning());
    QCOMPARE(d.operation->text(), QStringLiteral("Start"));
    QVERIFY(d.slider->isEnabled());
    QVERIFY(!d.operation->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(d.operation->isEnabled(), kRunTimeoutMs);
    QVERIFY(!d.ok->isEnabled());
    QCOMPARE(d.table->rowCount(), 0);
}

void tst_UiAutoProbing::openFailureShownOnce()
{
    DevCan::instance().setDevIndex(8); // the library serves boards 0 to 7
    Dialog d;
    QVERIFY(d.run());
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Failed to open device"));
    QCOMPARE(boxes.first().text, QStringLiteral("error code = 0"));
    QCOMPARE(boxes.first().buttons, QMessageBox::StandardButtons(QMessageBox::Yes));
    QVERIFY(d.slider->isEnabled());

    // A second run reports again, once.
    QVERIFY(d.run());
    QCOMPARE(boxes.size(), 2);
}

void tst_UiAutoProbing::closingStopsTheRun()
{
    Dialog d;
    d.dialog.show();
    d.operation->click();
    QVERIFY(d.dialog.isRunning());
    d.dialog.close();
    QCOMPARE(d.dialog.result(), int(QDialog::Rejected));
    QVERIFY(!d.dialog.findChild<CAutoProbingThread *>()->isRunning());
}

MEROVAST_GUI_TEST_MAIN(tst_UiAutoProbing)
#include "tst_uiautoprobing.moc"
