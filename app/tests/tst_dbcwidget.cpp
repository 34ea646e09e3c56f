// The DBC window's open flag and the channel's DBC queue: a live window
// switches the queue off and empties it when it goes; a replay window
// leaves every channel's queue alone.
#include "dbcwidget.h"
#include "guitest.h"
#include "ulbuffer.h"
#include "vci.h"

#include <QPointer>
#include <QtTest>

class tst_DBCWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void openFlagAndQueue_data();
    void openFlagAndQueue();
};

void tst_DBCWidget::init()
{
    for (int ch = 0; ch < UlBuffer::Channels; ++ch) {
        UlBuffer::instance(ch).setDBCRun(false);
        UlBuffer::instance(ch).ClearDBC();
    }
}

void tst_DBCWidget::openFlagAndQueue_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("queueAfter");
    QTest::newRow("live") << int(DBCWidget::LiveMode) << false;
    QTest::newRow("replay") << int(DBCWidget::ReplayMode) << true;
}

void tst_DBCWidget::openFlagAndQueue()
{
    QFETCH(int, mode);
    QFETCH(bool, queueAfter);
    // A live decoder of channel 2 runs while the window exists.
    UlBuffer &buffer = UlBuffer::instance(2);
    bool open = false;
    QPointer<DBCWidget> window = new DBCWidget(mode, 2, &open);
    QVERIFY(open);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!window->parent());
    buffer.setDBCRun(true);
    VCI_CAN_OBJ frame{};
    buffer.addDBCFrame(&frame, 1);

    window->show();
    window->close();
    QTRY_VERIFY(window.isNull());
    QVERIFY(!open);
    QCOMPARE(buffer.DBCRun(), queueAfter);
    QCOMPARE(buffer.countDBC(), queueAfter ? 1 : 0);
}

MEROVAST_GUI_TEST_MAIN(tst_DBCWidget)
#include "tst_dbcwidget.moc"
