// The simulated SJA1000 against its data-sheet behaviour, as register
// sequences on a two-controller board (0x2210: controller c at BAR 2 +
// 256 c), driven through the window calls like a driver would.
//
// A sequence is a list of steps, each optionally prefixed "1:" for
// controller 1 (registers decimal, values hexadecimal):
//   wR=V         write V into register R
//   rR=V         read register R, expect V (rR=V/M: only the bits of M)
//   pR=V         peek without the read's side effects
//   tR=V         peek until R reads V (tR=V/M: in the bits of M), at most
//                5 s: for what takes bus time
//   P            PeliCAN set-up in reset mode: CDR 0xC8, 500 kbit/s,
//                acceptance code 0, mask all ones
//   f<id>[.<dlc>]:<data>  the partner sends a standard data frame
//   x<id>[.<dlc>]:<data>  ... an extended data frame
//   q<id>.<dlc>, Q<id>.<dlc>  ... a standard or extended remote frame
//   e<ecc>       a bus error with that error code capture
//   a<bit>       arbitration lost at that bit
//   ack0, ack1   the partner stops or starts acknowledging
//   <step>*<n>   the step n times; steps joined by + repeat together
#include "plxtest.h"

#include <QtTest>

namespace {

constexpr uint32_t kRate = 500000;

QStringList expand(const QString &steps)
{
    QStringList out;
    for (const QString &token : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QString step = token;
        int times = 1;
        const int star = step.indexOf(QLatin1Char('*'));
        if (star > 0) {
            times = step.mid(star + 1).toInt();
            step.truncate(star);
        }
        QString prefix;
        if (step.startsWith(QLatin1String("1:"))) {
            prefix = QStringLiteral("1:");
            step = step.mid(2);
        }
        QStringList one;
        if (step == QLatin1String("P")) {
            for (const char *s : {"w31=c8", "w6=00", "w7=1c", "w16=00", "w17=00", "w18=00", "w19=00", "w20=ff",
                                  "w21=ff", "w22=ff", "w23=ff"})
                one << prefix + QLatin1String(s);
        } else {
            for (const QString &part : step.split(QLatin1Char('+')))
                one << prefix + part;
        }
        for (int i = 0; i < times; ++i)
            out << one;
    }
    return out;
}

VCI_CAN_OBJ partnerFrame(const QString &step)
{
    VCI_CAN_OBJ f{};
    const QChar kind = step.at(0);
    f.ExternFlag = kind == QLatin1Char('x') || kind == QLatin1Char('Q');
    f.RemoteFlag = kind == QLatin1Char('q') || kind == QLatin1Char('Q');
    const QStringList parts = step.mid(1).split(QLatin1Char(':'));
    const QStringList idDlc = parts.at(0).split(QLatin1Char('.'));
    f.ID = idDlc.at(0).toUInt(nullptr, 16);
    const QByteArray data = QByteArray::fromHex(parts.value(1).toLatin1());
    std::memcpy(f.Data, data.constData(), size_t(std::min(data.size(), 8)));
    f.DataLen = uint8_t(idDlc.size() > 1 ? idDlc.at(1).toUInt(nullptr, 16) : uint32_t(data.size()));
    return f;
}

} // namespace

class TestSimSja1000 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { PLXSIM_SetBoards("0x2210"); }
    void cleanupTestCase() { PLXSIM_SetBoards(nullptr); }

    void registerSequences_data();
    void registerSequences();
    void interruptLine();
    void deadController();
};

void TestSimSja1000::registerSequences_data()
{
    QTest::addColumn<QString>("steps");

    QTest::newRow("power-up: BasicCAN, reset mode") << "r0=01 r31=00 r6=ff w6=1c r6=ff r2=ff";
    QTest::newRow("mode bits written in BasicCAN are lost on the switch") << "w0=0b w31=c8 r0=01";
    QTest::newRow("CDR mode bit only in reset mode") << "P w0=00 w31=48 r31=c8 w0=01 w31=48 r31=48 r0=01 r6=ff";
    QTest::newRow("LOM, STM, AFM change only in reset mode")
        << "w31=c8 w0=03 r0=03 w0=02 r0=02 w0=04 r0=02 w0=05 r0=03 w0=0d r0=0d";
    QTest::newRow("timing, output, limit and counters only in reset mode")
        << "P r6=00 r7=1c w8=1a r8=1a w13=20 r13=20 w0=00 w6=01 r6=00 w8=00 r8=1a w13=30 r13=20 w14=05 r14=00"
           " w15=05 r15=00";
    QTest::newRow("16-23 are code and mask in reset mode, receive buffer in operating mode")
        << "P w16=12 r16=12 w20=fe r20=fe w20=ff r24=00 w0=00 f123:aabb r16=02 r17=24 r18=60 r19=aa r20=bb";
    QTest::newRow("standard remote frame layout, 3 FIFO bytes") << "P w0=00 q123.2 r16=42 r17=24 r18=70 w1=04 r30=03";
    QTest::newRow("extended frame layout")
        << "P w0=00 x12345678:55 r16=81 r17=91 r18=a2 r19=b3 r20=c0 r21=55 w1=04 r30=06";
    QTest::newRow("length code above 8 stores 8 data bytes")
        << "P w0=00 f7ff.c:0102030405060708 r16=0c r17=ff r18=e0 r26=08 w1=04 r30=0b r29=00";
    QTest::newRow("receive interrupt survives the read, release clears it")
        << "P w4=01 w0=00 f123:01 r3=01 r3=01 r2=0d w1=04 r3=00 r2=0c";
    QTest::newRow("next message after a release") << "P w4=01 w0=00 f1:aa f2:bbcc r30=00 w1=04 r30=04 r17=00 r18=40"
                                                     " r19=bb r3=01 w1=04 r29=00 r3=00 r1=ff";
    QTest::newRow("bus error and arbitration flags are cleared by the read")
        << "P w4=c9 w0=00 e08 r3=80 r3=00 r12=08 a05 r3=40 r3=00 r11=05";
    QTest::newRow("capture registers hold the first event until read")
        << "P w4=c0 w0=00 e08 e10 r3=80 r3=00 r12=08 e10 r3=80 r12=10 a05 a07 r3=40 r3=00 r11=05 a07 r3=40"
           " r11=07";
    QTest::newRow("flags only for enabled sources; RI follows RIE")
        << "P w4=00 w0=00 f123: e08 r3=00 w4=81 r3=01 w4=00 p3=00";
    QTest::newRow("64-byte FIFO: the sixth 11-byte message is lost, a short one still fits")
        << "P w4=09 w0=00 f1:0102030405060708*6 r29=05 r2=0f r3=09 r3=01 f2:0102030405060708 r3=01 f3: r29=06"
           " w1=08 r2=0d w1=04 r29=05";
    // Unacknowledged, the frame is sent again and again until the reset: how
    // often depends on the host, and with it the error status bit (masked).
    QTest::newRow("entering reset mode empties the FIFO and drops a pending transmission")
        << "P w0=00 f123:01 r29=01 ack0 w16=00 w17=24 w18=60 w1=01 r2=21/bf w0=01 r29=00 r2=04/bf";
    QTest::newRow("transmission acknowledged by the partner")
        << "P w4=02 w0=00 w16=02 w17=24 w18=60 w19=11 w20=22 w1=01 t2=0c r3=02 r15=00";
    // Sent again after every missing acknowledge: TXERR climbs to error
    // passive and stays there.
    QTest::newRow("no acknowledge: pending, locked buffer, acknowledge errors, until aborted")
        << "P w4=80 w0=00 ack0 w16=00 w17=24 w18=60 w1=01 t15=80 r2=20/2c r3=80 r12=d9 w16=05 r96=00 w1=02"
           " r2=04/2c r15=80";
    QTest::newRow("acknowledge errors stop counting at error passive")
        << "P w0=00 ack0 w16=00 w17=24 w18=60 w1=03+t2=04/24*15 r15=78 w1=03+t2=04/24*5 r15=80";
    QTest::newRow("single shot fails without acknowledge")
        << "P w0=00 ack0 w16=00 w17=24 w18=60 w1=03 t2=04/24 r2=04 r15=08";
    QTest::newRow("self test completes without acknowledge; self reception stores the frame")
        << "P w0=05 w0=04 r0=04 ack0 w16=01 w17=24 w18=60 w19=7e w1=01 t2=0c r29=00 w1=10 t2=0d r29=01 r19=7e";
    QTest::newRow("self reception in normal mode needs an acknowledge")
        << "P w0=00 w16=01 w17=24 w18=60 w19=7f w1=10 t29=01 r19=7f w1=04 ack0 w1=10 t15=80 r2=20/2c r29=00";
    QTest::newRow("controllers at one rate acknowledge each other; another rate does not")
        << "P 1:P w0=00 1:w0=00 ack0 w16=88 w17=91 w18=a2 w19=b3 w20=c0 w21=01 w22=02 w23=03 w24=04 w25=05"
           " w26=06 w27=07 w28=08 w1=01 t2=0c 1:r16=88 1:r17=91 1:r20=c0 1:r28=08 1:w0=01 1:w6=01 1:w0=00"
           " w1=01 t15=80 r2=20/2c";
    QTest::newRow("listen only neither acknowledges nor transmits, but receives")
        << "P 1:P w0=03 w0=02 1:w0=00 ack0 1:w16=00 1:w17=24 1:w18=60 1:w1=01 1:t15=80 1:r2=20/2c r29=00 w16=00"
           " w17=24 w18=60 w1=01 r2=20/2c 1:r29=00 1:w1=02 ack1 1:w1=01 1:t2=0c/2c r29=01";
    QTest::newRow("single filter: identifier bits compared, RTR and data masked")
        << "P w16=24 w17=60 w20=00 w21=1f w0=08 r0=08 f123:01 f124:01 f123: q123.0 r29=03";
    QTest::newRow("dual filter: either filter passes")
        << "P w16=24 w17=60 w18=8a w19=c0 w20=00 w21=1f w22=00 w23=1f w0=00 f123:01 f456:01 f124:01 r29=02";
    QTest::newRow("acceptance filter applies to self reception")
        << "P w16=aa w20=00 w22=00 w0=00 w16=00 w17=24 w18=60 w1=10 t2=0c r29=00";
    QTest::newRow("warning and passive interrupts at 96 and 128")
        << "P w4=24 w0=00 e00*12 r3=04 r15=60 r2=4c e00*4 r3=20 r15=80";
    QTest::newRow("receive errors count by one, a good frame takes one off") << "P w0=00 e20*3 r14=03 f123: r14=02";
    QTest::newRow("bus off past 255, reset mode, recovery on leaving it")
        << "P w4=04 w0=00 e00*32 r0=01 r15=7f r14=00 r2=cc r3=04 e00 r15=7f w0=00 r0=00 r15=00 r2=0c r3=04";
    QTest::newRow("writing TXERR in reset mode ends bus off") << "P w0=00 e00*32 r2=cc w15=00 r2=0c";
}

void TestSimSja1000::registerSequences()
{
    QFETCH(QString, steps);
    plxtest::MappedBar bar(0, 2);
    QCOMPARE(bar.status, uint32_t(PLX_STATUS_OK));

    for (QString step : expand(steps)) {
        const QString where = QStringLiteral("step \"%1\"").arg(step);
        size_t base = 0;
        uint32_t controller = 0;
        if (step.startsWith(QLatin1String("1:"))) {
            base = 256;
            controller = 1;
            step = step.mid(2);
        }
        const QChar op = step.at(0);
        if (op == QLatin1Char('w') || op == QLatin1Char('r') || op == QLatin1Char('p') || op == QLatin1Char('t')) {
            const QStringList parts = step.mid(1).split(QLatin1Char('='));
            const uint8_t reg = uint8_t(parts.at(0).toUInt());
            const QStringList valueMask = parts.at(1).split(QLatin1Char('/'));
            const uint8_t value = uint8_t(valueMask.at(0).toUInt(nullptr, 16));
            const uint8_t mask = uint8_t(valueMask.size() > 1 ? valueMask.at(1).toUInt(nullptr, 16) : 0xFF);
            if (op == QLatin1Char('w')) {
                bar.write(base + reg, value);
                continue;
            }
            uint8_t got = 0;
            if (op == QLatin1Char('r')) {
                got = bar.read(base + reg);
            } else if (op == QLatin1Char('t')) {
                QElapsedTimer waited;
                waited.start();
                while (PLXSIM_PeekRegister(0, controller, reg, &got) && (got & mask) != value && waited.elapsed() < 5000)
                    QThread::usleep(50);
            } else {
                QVERIFY(PLXSIM_PeekRegister(0, controller, reg, &got));
            }
            QVERIFY2((got & mask) == value,
                     qPrintable(QStringLiteral("%1: read 0x%2").arg(where).arg(got, 2, 16, QLatin1Char('0'))));
        } else if (QStringLiteral("fxqQ").contains(op)) {
            const VCI_CAN_OBJ f = partnerFrame(step);
            PLXSIM_SendFrames(0, kRate, &f, 1);
        } else if (op == QLatin1Char('e')) {
            QVERIFY(PLXSIM_BusError(0, controller, uint8_t(step.mid(1).toUInt(nullptr, 16))));
        } else if (step.startsWith(QLatin1String("ack"))) {
            QVERIFY(PLXSIM_SetAcknowledge(0, step.mid(3).toUInt()));
        } else if (op == QLatin1Char('a')) {
            QVERIFY(PLXSIM_ArbitrationLost(0, controller, uint8_t(step.mid(1).toUInt())));
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown %1").arg(where)));
        }
    }
}

// The board's interrupt reaches a notification while it is enabled, is
// masked after firing, and fires at once when enabled while pending.
void TestSimSja1000::interruptLine()
{
    plxtest::MappedBar bar(0, 2);
    QCOMPARE(bar.status, uint32_t(PLX_STATUS_OK));
    PlxInterrupt irq{};
    irq.sources = PLX_INT_LOCAL_1 | PLX_INT_LOCAL_2 | PLX_INT_PCI_MAIN;
    PlxNotification event{};
    QCOMPARE(PlxPci_NotificationRegisterFor(&bar.device, &irq, &event), uint32_t(PLX_STATUS_OK));

    for (auto [reg, value] : {std::pair<int, int>{31, 0xC8}, {6, 0x00}, {7, 0x1C}, {20, 0xFF}, {21, 0xFF},
                              {22, 0xFF}, {23, 0xFF}, {4, 0x01}, {0, 0x00}})
        bar.write(size_t(reg), uint8_t(value));
    QCOMPARE(PlxPci_InterruptEnable(&bar.device, &irq), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_NotificationWait(&bar.device, &event, 20), uint32_t(PLX_STATUS_TIMEOUT));

    VCI_CAN_OBJ f{};
    f.ID = 0x123;
    QCOMPARE(PLXSIM_SendFrames(0, kRate, &f, 1), 1u);
    QCOMPARE(PlxPci_NotificationWait(&bar.device, &event, 1000), uint32_t(PLX_STATUS_OK));
    // Masked until enabled again, however many frames come.
    PLXSIM_SendFrames(0, kRate, &f, 1);
    QCOMPARE(PlxPci_NotificationWait(&bar.device, &event, 20), uint32_t(PLX_STATUS_TIMEOUT));
    QCOMPARE(PlxPci_InterruptEnable(&bar.device, &irq), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_NotificationWait(&bar.device, &event, 0), uint32_t(PLX_STATUS_OK));

    // Enabling the source while frames wait raises the line at once.
    bar.write(4, 0x00);
    QCOMPARE(PlxPci_InterruptEnable(&bar.device, &irq), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_NotificationWait(&bar.device, &event, 20), uint32_t(PLX_STATUS_TIMEOUT));
    bar.write(4, 0x01);
    QCOMPARE(PlxPci_NotificationWait(&bar.device, &event, 0), uint32_t(PLX_STATUS_OK));

    // A device reset masks the interrupt and quiets the controllers.
    QCOMPARE(PlxPci_DeviceReset(&bar.device), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_InterruptEnable(&bar.device, &irq), uint32_t(PLX_STATUS_OK));
    QCOMPARE(PlxPci_NotificationWait(&bar.device, &event, 20), uint32_t(PLX_STATUS_TIMEOUT));
    QCOMPARE(bar.read(31), uint8_t(0x00));
}

void TestSimSja1000::deadController()
{
    plxtest::MappedBar bar(0, 2);
    QVERIFY(PLXSIM_SetControllerPresent(0, 1, 0));
    bar.write(256 + 31, 0xC8);
    QCOMPARE(bar.read(256 + 31), uint8_t(0xFF));
    bar.write(31, 0xC8);
    QCOMPARE(bar.read(31), uint8_t(0xC8));
    // Between and past the controllers: nothing answers.
    QCOMPARE(bar.read(128), uint8_t(0xFF));
    QCOMPARE(bar.read(511), uint8_t(0xFF));
}

QTEST_APPLESS_MAIN(TestSimSja1000)
#include "tst_simsja1000.moc"
