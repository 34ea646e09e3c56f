// The charging window's open flag and the channel's GB/T 27930 queue: on
// while the window exists, off and empty when it is gone.
#include "gbt27931widget.h"
#include "guitest.h"
#include "ulbuffer.h"
#include "vci.h"

#include <QPointer>
#include <QtTest>

class tst_GBT27931Widget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openFlagAndQueue();
};

void tst_GBT27931Widget::openFlagAndQueue()
{
    UlBuffer &buffer = UlBuffer::instance(1);
    bool open = false;
    QPointer<GBT27931Widget> window = new GBT27931Widget(1, &open);
    QVERIFY(open);
    QVERIFY(buffer.GBT27930Run());
    QVERIFY(!UlBuffer::instance(0).GBT27930Run());
    VCI_CAN_OBJ frame{};
    frame.ExternFlag = 1;
    buffer.addGBT27930Frame(&frame, 1);

    window->show();
    window->close();
    QTRY_VERIFY(window.isNull());
    QVERIFY(!open);
    QVERIFY(!buffer.GBT27930Run());
    QCOMPARE(buffer.countGBT27930(), 0);
}

MEROVAST_GUI_TEST_MAIN(tst_GBT27931Widget)
#include "tst_gbt27931widget.moc"
