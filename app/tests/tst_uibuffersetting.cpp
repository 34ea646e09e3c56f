// The buffer dialog: what it starts from, the limits of its fields, and
// what Ok and the close button leave in the four channels' frame buffers.
#include "guitest.h"
#include "modaldialog.h"
#include "uibuffersetting.h"
#include "ulbuffer.h"
#include "ulglobalset.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace {

QSpinBox *sizeBox(QDialog *dialog)
{
    return dialog->findChild<QSpinBox *>(QStringLiteral("spinBoxBufferSize"));
}

QSpinBox *cycleBox(QDialog *dialog)
{
    return dialog->findChild<QSpinBox *>(QStringLiteral("spinBoxRefreshCycle"));
}

// Two frames in the display ring, one in the watch list and one waiting
// for the real-time save thread, on every channel.
void fillBuffers()
{
    for (int ch = 0; ch < UlBuffer::Channels; ++ch) {
        UlBuffer &buffer = UlBuffer::instance(ch);
        VCI_CAN_OBJ frames[2] = {};
        frames[0].ID = 0x100;
        frames[1].ID = 0x101;
        QCOMPARE(buffer.addFrame(frames, 2, false), 2);
        UlCanObj frame;
        frame.obj.ID = 0x200;
        buffer.addWatchFrame(frame);
        buffer.addRtSaveFrame(frame);
    }
}

} // namespace

class tst_UiBufferSetting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsFromChannelZero();
    void limits_data();
    void limits();
    void ok_data();
    void ok();
    void closingChangesNothing();
};

void tst_UiBufferSetting::init()
{
    for (int ch = 0; ch < UlBuffer::Channels; ++ch) {
        UlBuffer &buffer = UlBuffer::instance(ch);
        buffer.setMaxCount(UlBuffer::DefaultMaxCount);
        buffer.setRefreshCycle(UlBuffer::DefaultRefreshCycle);
        UlGlobalSet::instance().channel[ch].realTimeSave = false;
        buffer.reset();
    }
}

void tst_UiBufferSetting::cleanup()
{
    init();
}

void tst_UiBufferSetting::startsFromChannelZero()
{
    UlBuffer::instance(0).setMaxCount(12000);
    UlBuffer::instance(0).setRefreshCycle(250);
    UlBuffer::instance(1).setMaxCount(99000);
    UiBufferSetting dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Data List Setting"));
    QCOMPARE(dialog.windowModality(), Qt::WindowModal);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QCOMPARE(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Ok"));
    QCOMPARE(sizeBox(&dialog)->value(), 12000);
    QCOMPARE(cycleBox(&dialog)->value(), 250);
}

void tst_UiBufferSetting::limits_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("value");
    QTest::newRow("size 0") << "spinBoxBufferSize" << 0 << 1;
    QTest::newRow("size above 10000000") << "spinBoxBufferSize" << 10000001 << 10000000;
    QTest::newRow("cycle 0") << "spinBoxRefreshCycle" << 0 << 1;
    QTest::newRow("cycle above 100000") << "spinBoxRefreshCycle" << 100001 << 100000;
}

void tst_UiBufferSetting::limits()
{
    QFETCH(QString, box);
    QFETCH(int, typed);
    QFETCH(int, value);
    UiBufferSetting dialog;
    auto *spin = dialog.findChild<QSpinBox *>(box);
    spin->setValue(typed);
    QCOMPARE(spin->value(), value);
    // The size moves in steps of 1000 frames, the cycle by 1 ms.
    sizeBox(&dialog)->setValue(30000);
    sizeBox(&dialog)->stepUp();
    QCOMPARE(sizeBox(&dialog)->value(), 31000);
    cycleBox(&dialog)->setValue(500);
    cycleBox(&dialog)->stepUp();
    QCOMPARE(cycleBox(&dialog)->value(), 501);
}

void tst_UiBufferSetting::ok_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("emptied");
    QTest::newRow("new size") << 50000 << true;
    QTest::newRow("same size") << UlBuffer::DefaultMaxCount << false;
}

// Ok applies both values to all four channels. A new size empties the
// display rings and watch lists; frames that wait for a running real-time
// save (channel 2 here) still reach their file.
void tst_UiBufferSetting::ok()
{
    QFETCH(int, size);
    QFETCH(bool, emptied);
    UlGlobalSet::instance().channel[2].realTimeSave = true;
    fillBuffers();
    UiBufferSetting dialog;
    onNextModal<UiBufferSetting>([&](UiBufferSetting *d) {
        sizeBox(d)->setValue(size);
        cycleBox(d)->setValue(200);
        d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(dialog.exec(), 1);
    for (int ch = 0; ch < UlBuffer::Channels; ++ch) {
        const UlBuffer &buffer = UlBuffer::instance(ch);
        QCOMPARE(buffer.getMaxCount(), size);
        QCOMPARE(buffer.getRefreshCycle(), 200);
        QCOMPARE(buffer.count(), emptied ? 0 : 2);
        QCOMPARE(buffer.countW(), emptied ? 0 : 1);
        // Channel 2 queued its ring frames for the file as well.
        QCOMPARE(buffer.countRt(), ch == 2 ? 3 : emptied ? 0 : 1);
    }
}

void tst_UiBufferSetting::closingChangesNothing()
{
    fillBuffers();
    UiBufferSetting dialog;
    onNextModal<UiBufferSetting>([&](UiBufferSetting *d) {
        sizeBox(d)->setValue(70000);
        cycleBox(d)->setValue(100);
        d->close();
    });
    QCOMPARE(dialog.exec(), -1);
    for (int ch = 0; ch < UlBuffer::Channels; ++ch) {
        const UlBuffer &buffer = UlBuffer::instance(ch);
        QCOMPARE(buffer.getMaxCount(), UlBuffer::DefaultMaxCount);
        QCOMPARE(buffer.getRefreshCycle(), UlBuffer::DefaultRefreshCycle);
        QCOMPARE(buffer.count(), 2);
    }
}

MEROVAST_GUI_TEST_MAIN(tst_UiBufferSetting)
#include "tst_uibuffersetting.moc"
