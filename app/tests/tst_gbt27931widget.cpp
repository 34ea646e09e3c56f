// The charging window over its channel's GB/T 27930 queue: frames put in
// the queue as the receive thread puts them reach the handshake and
// parameter pages through the poll thread, the transport reassembly and
// the dispatcher; the queue and the open flag follow the window's life;
// texts and widths follow the language; BRM's fields left out show empty;
// the remaining time comes from BCS, empty beyond 600 min; a held GUI
// thread gets the newest messages only; every text of every page shows
// whole at the default and the minimum size in both languages.
#include "busstatusledwidget.h"
#include "chargehandshakewidget.h"
#include "chargeparamconfigwidget.h"
#include "chinesecatalogue.h"
#include "gbt27930.h"
#include "gbt27931widget.h"
#include "gbtframes.h"
#include "guitest.h"
#include "labelwidths.h"
#include "procstatus.h"
#include "uilanguage.h"
#include "ulbuffer.h"
#include "vci.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using namespace GbtFrames;

Q_DECLARE_METATYPE(QVector<VCI_CAN_OBJ>)

namespace {

constexpr int Channel = 1;

// The BRM of the conversation: 49 bytes, every field distinct.
QByteArray brm()
{
    return QByteArray::fromHex("010100"   // protocol version
                               "03"       // lithium iron phosphate
                               "e803"     // 100 Ah
                               "5a0f"     // 393 V
                               "43415442" // "CATB"
                               "39300000" // pack serial 12345
                               "220514"   // 2019-5-20
                               "102700"   // 10000 charges
                               "01"       // owned by the car
                               "ff"
                               "4c5a5941544a4b4c3031323334353637"
                               "38"         // "LZYATJKL012345678"
                               "030f06e307" // version 2019-6-15, serial 3
                               "ffffff");
}

// BCS: 360 V, -50 A, 3.45 V in group 1, 80 %, minutes remaining.
QByteArray bcs(quint16 minutes)
{
    return QByteArray::fromHex("100eac0d591150") + char(minutes & 0xFF) + char(minutes >> 8);
}

// BCP: 3.5 V per cell, 0 A, 60 kWh, 400 V, 60 degrees, 50 %, 380.5 V.
QByteArray bcp()
{
    return QByteArray::fromHex("5e01a00f5802a00f6ef401dd0e");
}

// A change of size hints goes up the widget tree one level per pass of
// posted events.
void settleLayouts()
{
    for (int level = 0; level < 8; ++level)
        QCoreApplication::processEvents();
}

using Messages = QVector<QPair<uint, QByteArray>>;

// Messages whose values show as the widest texts of their fields, message
// by message: the largest numbers first, then the negative ones, then
// each battery type.
QVector<Messages> widestValues()
{
    const QByteArray brm = QByteArray::fromHex("010100" "03" "ffff" "ffff") + QByteArray(4, 'W')
            + QByteArray::fromHex("feffffff" "fefefe" "feffff" "01" "ff") + QByteArray(17, 'W')
            + QByteArray::fromHex("feffffffff" "ffffff");
    QVector<Messages> rounds;
    rounds << Messages{{Gbt::CHM, QByteArray::fromHex("ffffff")},
                       {Gbt::CRM, QByteArray::fromHex("aaffffffff") + QByteArray(3, 'W')},
                       {Gbt::BRM, brm},
                       {Gbt::BCP, QByteArray::fromHex("ffffffffffffffffffffffffff")},
                       {Gbt::CTS, QByteArray::fromHex("ffffffffffffff")},
                       {Gbt::CML, QByteArray::fromHex("ffffffffffffffff")},
                       {Gbt::BCL, QByteArray::fromHex("ffffffff01")},
                       {Gbt::BCS, QByteArray::fromHex("ffffffffffffff5802")},
                       {Gbt::CCS, QByteArray::fromHex("ffffffffffff01")},
                       {Gbt::BSM, QByteArray::fromHex("ffffffffff0000")},
                       {Gbt::BMV, QByteArray::fromHex("ffffffff")},
                       {Gbt::BMT, QByteArray::fromHex("ffff")},
                       {Gbt::BST, QByteArray::fromHex("aaaaaaaa")},
                       {Gbt::CST, QByteArray::fromHex("aaaaaaaa")},
                       {Gbt::BSD, QByteArray::fromHex("ffffffffffffff")},
                       {Gbt::CSD, QByteArray::fromHex("ffffffffffffffff")},
                       {Gbt::BEM, QByteArray::fromHex("00000000")}};
    QByteArray leased = brm;
    leased[22] = 0;
    rounds << Messages{{Gbt::BRM, leased},
                       {Gbt::BCP, QByteArray::fromHex("ffff0100ffffffff00ffffffff")},
                       {Gbt::CML, QByteArray::fromHex("ffffffff01000100")},
                       {Gbt::BCL, QByteArray::fromHex("ffff010002")},
                       {Gbt::BCS, QByteArray::fromHex("ffff0100ffffff0000")},
                       {Gbt::CCS, QByteArray::fromHex("ffff0100ffff00")},
                       {Gbt::BSM, QByteArray::fromHex("ff00ff00ff0000")},
                       {Gbt::BSD, QByteArray::fromHex("ffffffffff0000")}};
    for (int type : {1, 2, 3, 4, 5, 6, 7, 8, 255}) {
        QByteArray typed = brm;
        typed[3] = char(type);
        rounds << Messages{{Gbt::BRM, typed}, {Gbt::BCL, QByteArray::fromHex("ffffffff01")}};
    }
    return rounds;
}

} // namespace

class tst_GBT27931Widget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void openFlagAndQueue();
    void brmInAnyPacketOrder_data();
    void brmInAnyPacketOrder();
    void abortDeliversNothing();
    void handshakeLamps();
    void recognition();
    void singleFramesWhateverTheirAddresses_data();
    void singleFramesWhateverTheirAddresses();
    void parameterPage_data();
    void parameterPage();
    void readyLamps_data();
    void readyLamps();
    void incompleteMessagesChangeNothing_data();
    void incompleteMessagesChangeNothing();
    void batteryTypes_data();
    void batteryTypes();
    void followsTheLanguage();
    void brmFieldsNotProvidedShowEmpty();
    void remainingTime_data();
    void remainingTime();
    void heldGuiThreadGetsTheNewestOnly();
    void pageLabelWidths_data();
    void pageLabelWidths();
    void textsShowWhole_data();
    void textsShowWhole();

private:
    void feed(const QVector<VCI_CAN_OBJ> &frames);
    // Feeds a message that changes a field the comparisons skip, and waits
    // for it: every frame fed before has been handled then.
    void settle(bool avoidTimeSync = false);
    QString text(const char *name) const;
    QLabel *windowLabel(const char *name) const;
    int lamp(const char *name) const;
    // Every field and lamp but the handshake lamps (the timer's) and the
    // fields that settle changes.
    QStringList shown() const;

    QPointer<GBT27931Widget> window;
    bool open = false;
    int settled = 0;
};

void tst_GBT27931Widget::init()
{
    UiLanguage::setCode(UiLanguage::Other);
    UlBuffer::instance(Channel).ClearGBT27930();
    window = new GBT27931Widget(Channel, &open);
    settled = 0;
}

void tst_GBT27931Widget::cleanup()
{
    delete window.data();
    UiLanguage::setCode(UiLanguage::Chinese);
}

void tst_GBT27931Widget::feed(const QVector<VCI_CAN_OBJ> &frames)
{
    QCOMPARE(UlBuffer::instance(Channel).addGBT27930Frame(frames.constData(), frames.size()), frames.size());
}

void tst_GBT27931Widget::settle(bool avoidTimeSync)
{
    ++settled;
    if (avoidTimeSync) {
        const QByteArray crm = QByteArray::fromHex("aa") + QByteArray(4, char(settled)) + "ABC";
        feed({single(Gbt::CRM, crm, Charger, Bms)});
        QTRY_COMPARE(text("m_pLineEditChargeNum"), QString::number(quint32(settled) * 0x01010101u));
    } else {
        // Second and minute count up.
        const QByteArray cts = QByteArray(1, char(settled % 10)) + char(settled / 10) + QByteArray::fromHex("0801072019");
        feed({single(Gbt::CTS, cts, Charger, Bms)});
        QTRY_COMPARE(text("m_pLineEditTime"), QStringLiteral("2019-7-1 8:%1:%2").arg(settled / 10).arg(settled % 10));
    }
}

// Pages share some field names: the window's own field, else the first
// page's in tab order.
QString tst_GBT27931Widget::text(const char *name) const
{
    const QString objectName = QLatin1String(name);
    if (const auto *own = window->findChild<QLineEdit *>(objectName, Qt::FindDirectChildrenOnly))
        return own->text();
    const auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("m_pTabWidget"));
    for (int i = 0; i < tabs->count(); ++i) {
        if (const auto *field = tabs->widget(i)->findChild<QLineEdit *>(objectName))
            return field->text();
    }
    return QStringLiteral("<no field %1>").arg(objectName);
}

// The pages have labels of the same names.
QLabel *tst_GBT27931Widget::windowLabel(const char *name) const
{
    return window->findChild<QLabel *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

int tst_GBT27931Widget::lamp(const char *name) const
{
    return window->findChild<BusStatusLEDWidget *>(QLatin1String(name))->state;
}

QStringList tst_GBT27931Widget::shown() const
{
    QStringList values;
    for (const QLineEdit *field : window->findChildren<QLineEdit *>()) {
        const QString name = field->objectName();
        if (name != QLatin1String("m_pLineEditTime") && name != QLatin1String("m_pLineEditChargeNum"))
            values << name + QLatin1Char('=') + field->text();
    }
    for (const BusStatusLEDWidget *led : window->findChildren<BusStatusLEDWidget *>()) {
        const QString name = led->objectName();
        if (!name.endsWith(QLatin1String("Handshake")))
            values << name + QLatin1Char('=') + QString::number(led->state);
    }
    return values;
}

// Frames queued before the window opens belong to an earlier charge; those
// left when it closes are dropped with it.
void tst_GBT27931Widget::openFlagAndQueue()
{
    delete window.data();
    UlBuffer &buffer = UlBuffer::instance(Channel);
    const VCI_CAN_OBJ stale = single(Gbt::CHM, QByteArray::fromHex("010100"), Charger, Bms);
    buffer.addGBT27930Frame(&stale, 1);
    QCOMPARE(buffer.countGBT27930(), 1);

    window = new GBT27931Widget(Channel, &open);
    QVERIFY(open);
    QCOMPARE(buffer.countGBT27930(), 0);
    QVERIFY(buffer.GBT27930Run());
    QVERIFY(!UlBuffer::instance(0).GBT27930Run());
    QCOMPARE(window->windowTitle(), QStringLiteral("GBT27930-2015 Protocol Resolution"));
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    settle();
    QCOMPARE(text("m_pLineEditProtocolVer"), QString());

    // Kept in the queue by a window that cannot take them any more.
    window->show();
    window->close();
    QTRY_VERIFY(window.isNull());
    QVERIFY(!open);
    QVERIFY(!buffer.GBT27930Run());
    QCOMPARE(buffer.countGBT27930(), 0);
}

void tst_GBT27931Widget::brmInAnyPacketOrder_data()
{
    QTest::addColumn<QVector<int>>("order");
    QTest::newRow("in sequence") << QVector<int>{1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("reversed") << QVector<int>{7, 6, 5, 4, 3, 2, 1};
    QTest::newRow("shuffled") << QVector<int>{3, 1, 7, 2, 6, 4, 5};
    QTest::newRow("repeated packet") << QVector<int>{1, 2, 2, 3, 4, 5, 6, 7, 1};
}

void tst_GBT27931Widget::brmInAnyPacketOrder()
{
    QFETCH(QVector<int>, order);
    QVector<VCI_CAN_OBJ> frames = transfer(Gbt::BRM, brm(), Bms, Charger, order);
    // Packets outside the announced size carry nothing of the message.
    QVector<VCI_CAN_OBJ> stray{packet(QByteArray(14, 'X'), 0, Bms, Charger),
                               packet(QByteArray(70, 'X'), 8, Bms, Charger)};
    frames.insert(3, stray.at(0));
    frames.insert(5, stray.at(1));
    feed(frames);
    QTRY_COMPARE(text("m_pLineEditVIN"), QStringLiteral("LZYATJKL012345678"));
    QCOMPARE(text("m_pLineEditBatteryType"), QStringLiteral("Lithium iron phosphate battery"));
    QCOMPARE(text("m_pLineEditRateCapcity"), QStringLiteral("100"));
    QCOMPARE(text("m_pLineEditRateVoltage"), QStringLiteral("393"));
    QCOMPARE(text("m_pLineEditManufacturer"), QStringLiteral("CATB"));
    QCOMPARE(text("m_pLineEditBatterySN"), QStringLiteral("12345"));
    QCOMPARE(text("m_pLineEditBatteryPD"), QStringLiteral("2019-5-20"));
    QCOMPARE(text("m_pLineEditBatteryCT"), QStringLiteral("10000"));
    QCOMPARE(text("m_pLineEditBatteryPR"), QStringLiteral("Car own"));
    QCOMPARE(text("m_pLineEditVersion"), QStringLiteral("2019-6-15 3"));
}

// An abort between request and acknowledgement drops the transfer; the
// next one is delivered whole.
void tst_GBT27931Widget::abortDeliversNothing()
{
    QByteArray other = brm();
    other.replace(24, 17, "XXXXXXXXXXXXXXXXX");
    QVector<VCI_CAN_OBJ> frames = transfer(Gbt::BRM, other, Bms, Charger);
    frames.insert(frames.size() - 1, abort(Gbt::BRM, Charger, Bms));
    feed(frames);
    settle();
    QCOMPARE(text("m_pLineEditVIN"), QString());
    QCOMPARE(text("m_pLineEditBatteryType"), QString());

    // A request announcing a new transfer also ends the one in progress.
    QVector<VCI_CAN_OBJ> restarted = transfer(Gbt::BRM, other, Bms, Charger);
    restarted.resize(5);
    feed(restarted + transfer(Gbt::BRM, brm(), Bms, Charger));
    QTRY_COMPARE(text("m_pLineEditVIN"), QStringLiteral("LZYATJKL012345678"));
}

void tst_GBT27931Widget::handshakeLamps()
{
    QCOMPARE(lamp("m_pWidgetChargePileHandshake"), int(BusStatusLEDWidget::Off));
    // Straight to the dispatcher, so that no timer tick comes in between.
    window->onProcessData(Gbt::CHM, QByteArray::fromHex("010100"));
    window->onProcessData(Gbt::BHM, QByteArray::fromHex("a00f"));
    QCOMPARE(text("m_pLineEditProtocolVer"), QStringLiteral("V1.1"));
    QCOMPARE(lamp("m_pWidgetChargePileHandshake"), int(BusStatusLEDWidget::Green));
    QCOMPARE(lamp("m_pWidgetBMSHandshake"), int(BusStatusLEDWidget::Green));
    QTRY_COMPARE_WITH_TIMEOUT(lamp("m_pWidgetChargePileHandshake"), int(BusStatusLEDWidget::Off), 2200);
    QCOMPARE(lamp("m_pWidgetBMSHandshake"), int(BusStatusLEDWidget::Off));
    QCOMPARE(text("m_pLineEditProtocolVer"), QStringLiteral("V1.1"));
}

void tst_GBT27931Widget::recognition()
{
    feed({single(Gbt::CRM, QByteArray::fromHex("aa01020304") + "021", Charger, Bms)});
    QTRY_COMPARE(text("m_pLineEditChargeNum"), QStringLiteral("67305985"));
    QCOMPARE(text("m_pLineEditAreaCode"), QStringLiteral("021"));
    QCOMPARE(lamp("m_pWidgetBMSRecognize"), int(BusStatusLEDWidget::Green));

    feed({single(Gbt::CRM, QByteArray::fromHex("00ffffffff") + "021", Charger, Bms)});
    QTRY_COMPARE(text("m_pLineEditChargeNum"), QStringLiteral("4294967295"));
    QCOMPARE(lamp("m_pWidgetBMSRecognize"), int(BusStatusLEDWidget::Off));
}

void tst_GBT27931Widget::singleFramesWhateverTheirAddresses_data()
{
    QTest::addColumn<quint32>("id");
    QTest::newRow("priority 6, charger to BMS") << 0x1826F456u;
    QTest::newRow("priority 0, other addresses") << 0x00260102u;
    QTest::newRow("data page set") << 0x1D26F456u;
}

void tst_GBT27931Widget::singleFramesWhateverTheirAddresses()
{
    QFETCH(quint32, id);
    VCI_CAN_OBJ chm = single(Gbt::CHM, QByteArray::fromHex("010100"), Charger, Bms);
    chm.ID = id;
    feed({chm});
    QTRY_COMPARE(text("m_pLineEditProtocolVer"), QStringLiteral("V1.1"));
}

void tst_GBT27931Widget::parameterPage_data()
{
    QTest::addColumn<QVector<VCI_CAN_OBJ>>("frames");
    QTest::addColumn<QStringList>("fields"); // object name, text, ...
    QTest::newRow("BCP") << transfer(Gbt::BCP, bcp(), Bms, Charger)
                         << QStringList{"m_pLineEditMaxAllowVoltage", "3.5", "m_pLineEditMaxAllowCurrent", "0",
                                        "m_pLineEditTotalEnergy", "60", "m_pLineEditMaxTotalVoltage", "400",
                                        "m_pLineEditMaxTemperature", "60", "m_pLineEditChargeState", "50",
                                        "m_pLineEditCurrentVoltage", "380.5"};
    QByteArray low = bcp();
    low[2] = 0;
    low[3] = 0;
    low[8] = 0;
    QTest::newRow("BCP lowest current and temperature")
            << transfer(Gbt::BCP, low, Bms, Charger)
            << QStringList{"m_pLineEditMaxAllowCurrent", "-400", "m_pLineEditMaxTemperature", "-50"};
    QByteArray hot = bcp();
    hot[8] = char(250);
    QTest::newRow("BCP 200 degrees") << transfer(Gbt::BCP, hot, Bms, Charger)
                                     << QStringList{"m_pLineEditMaxTemperature", "200"};
    QTest::newRow("CTS") << QVector<VCI_CAN_OBJ>{single(Gbt::CTS, QByteArray::fromHex("30150801072019"), Charger,
                                                        Bms)}
                         << QStringList{"m_pLineEditTime", "2019-7-1 8:15:30"};
    QTest::newRow("CML") << QVector<VCI_CAN_OBJ>{single(Gbt::CML, QByteArray::fromHex("401f881328230000"), Charger,
                                                        Bms)}
                         << QStringList{"m_pLineEditMaxOutputVoltage", "800", "m_pLineEditMinOutputVoltage", "500",
                                        "m_pLineEditMaxOutputCurrent", "500", "m_pLineEditMinOutputCurrent",
                                        "-400"};
}

void tst_GBT27931Widget::parameterPage()
{
    QFETCH(QVector<VCI_CAN_OBJ>, frames);
    QFETCH(QStringList, fields);
    feed(frames);
    for (int i = 0; i < fields.size(); i += 2)
        QTRY_COMPARE(text(qPrintable(fields.at(i))), fields.at(i + 1));
}

void tst_GBT27931Widget::readyLamps_data()
{
    QTest::addColumn<quint32>("pgn");
    QTest::addColumn<QString>("lampName");
    QTest::newRow("BRO") << quint32(Gbt::BRO) << "m_pWidgetBMSStatus";
    QTest::newRow("CRO") << quint32(Gbt::CRO) << "m_pWidgetChargepileStatus";
}

void tst_GBT27931Widget::readyLamps()
{
    QFETCH(quint32, pgn);
    QFETCH(QString, lampName);
    const QByteArray name = lampName.toLatin1();
    const std::pair<int, int> steps[] = {{0xAA, BusStatusLEDWidget::Green},
                                         {0x00, BusStatusLEDWidget::Off},
                                         {0xAA, BusStatusLEDWidget::Green},
                                         {0x55, BusStatusLEDWidget::Off}};
    for (const auto &[code, state] : steps) {
        window->onProcessData(pgn, QByteArray(1, char(code)));
        QCOMPARE(lamp(name.constData()), state);
    }
}

void tst_GBT27931Widget::incompleteMessagesChangeNothing_data()
{
    QTest::addColumn<QVector<VCI_CAN_OBJ>>("frames");
    const auto shortSingle = [](quint32 pgn, const char *hex) {
        return QVector<VCI_CAN_OBJ>{single(pgn, QByteArray::fromHex(hex), Charger, Bms)};
    };
    QTest::newRow("CHM of 2 bytes") << shortSingle(Gbt::CHM, "0101");
    QTest::newRow("CRM of 7 bytes") << shortSingle(Gbt::CRM, "aa010203043032");
    QTest::newRow("CTS of 6 bytes") << shortSingle(Gbt::CTS, "301508010720");
    QTest::newRow("CML of 7 bytes") << shortSingle(Gbt::CML, "401f8813282300");
    QTest::newRow("BRO of 0 bytes") << shortSingle(Gbt::BRO, "");
    QTest::newRow("CRO of 0 bytes") << shortSingle(Gbt::CRO, "");
    QTest::newRow("BCP of 12 bytes") << transfer(Gbt::BCP, bcp().left(12), Bms, Charger);
    QTest::newRow("BRM of 40 bytes") << transfer(Gbt::BRM, brm().left(40), Bms, Charger);
    QTest::newRow("BRM never acknowledged") << transfer(Gbt::BRM, brm(), Bms, Charger).mid(0, 9);
    VCI_CAN_OBJ remote = single(Gbt::CRO, QByteArray::fromHex("aa"), Charger, Bms);
    remote.RemoteFlag = 1;
    QTest::newRow("remote frame") << QVector<VCI_CAN_OBJ>{remote};
    QTest::newRow("other group") << shortSingle(0x3000, "aaaaaaaaaaaaaaaa");
}

// Too short for its group, or not a whole message: the pages stay as they
// were (whatever stale bytes the frame record holds past its length).
void tst_GBT27931Widget::incompleteMessagesChangeNothing()
{
    QFETCH(QVector<VCI_CAN_OBJ>, frames);
    for (VCI_CAN_OBJ &f : frames) {
        for (int i = f.DataLen; i < 8; ++i)
            f.Data[i] = 0xAA;
    }
    const bool timeSync = ((frames.first().ID >> 16) & 0xFF) == Gbt::CTS >> 8;
    settle(timeSync);
    const QStringList before = shown();
    feed(frames);
    settle(timeSync);
    QCOMPARE(shown(), before);
}

void tst_GBT27931Widget::batteryTypes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("type");
    QTest::newRow("1") << 1 << "Lead-acid battery";
    QTest::newRow("2") << 2 << "NiMH battery";
    QTest::newRow("3") << 3 << "Lithium iron phosphate battery";
    QTest::newRow("4") << 4 << "Lithium manganate battery";
    QTest::newRow("5") << 5 << "Lithium cobalt oxide battery";
    QTest::newRow("6") << 6 << "Ternary material battery";
    QTest::newRow("7") << 7 << "Polymer li-ion battery";
    QTest::newRow("8") << 8 << "Lithium titanate battery";
    QTest::newRow("255") << 255 << "Other battery";
    QTest::newRow("0") << 0 << "";
    QTest::newRow("9") << 9 << "";
    QTest::newRow("254") << 254 << "";
}

void tst_GBT27931Widget::batteryTypes()
{
    QFETCH(int, code);
    QFETCH(QString, type);
    window->onProcessData(Gbt::BRM, brm());
    QByteArray data = brm();
    data[3] = char(code);
    data[22] = 0;
    window->onProcessData(Gbt::BRM, data);
    QCOMPARE(text("m_pLineEditBatteryType"), type);
    QCOMPARE(text("m_pLineEditBatteryPR"), QStringLiteral("Lease"));
}

void tst_GBT27931Widget::followsTheLanguage()
{
    window->show();
    settleLayouts();
    const int englishMinimum = window->minimumWidth();
    QVERIFY(windowLabel("label_4")->minimumWidth() >= 120);
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("m_pTabWidget"));
    QCOMPARE(tabs->count(), 8);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Charge handshake"));
    QCOMPARE(tabs->tabText(7), QStringLiteral("Error message"));
    window->onProcessData(Gbt::BRM, brm());
    QCOMPARE(text("m_pLineEditBatteryPR"), QStringLiteral("Car own"));
    window->onProcessData(Gbt::BCS, bcs(45));

    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        // BRM is not repeated: its texts come from the last one received.
        QCOMPARE(text("m_pLineEditBatteryPR"), QStringLiteral("车辆自有"));
        QCOMPARE(text("m_pLineEditBatteryType"), QStringLiteral("磷酸铁锂电池"));
        QCOMPARE(text("m_pLineEditBMSClock"), QStringLiteral("00:45:00"));
        QCOMPARE(text("m_pLineEditSysOpeMode"), QStringLiteral("正在充电"));
        QCOMPARE(window->windowTitle(), QStringLiteral("GBT27930-2015协议解析"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("充电参数配置"));
        // Every page needs less room in Chinese, the hidden ones too.
        settleLayouts();
        QVERIFY2(window->minimumWidth() < englishMinimum, qPrintable(QString::number(window->minimumWidth())));
        QVERIFY(windowLabel("label_3")->minimumWidth() >= 70);
    }
    settleLayouts();
    QCOMPARE(window->minimumWidth(), englishMinimum);
    QCOMPARE(window->windowTitle(), QStringLiteral("GBT27930-2015 Protocol Resolution"));
    QCOMPARE(text("m_pLineEditBatteryPR"), QStringLiteral("Car own"));
    QCOMPARE(text("m_pLineEditBatteryType"), QStringLiteral("Lithium iron phosphate battery"));
    QCOMPARE(text("m_pLineEditBMSClock"), QStringLiteral("00:45:00"));
}

void tst_GBT27931Widget::brmFieldsNotProvidedShowEmpty()
{
    window->onProcessData(Gbt::BRM, brm());
    QCOMPARE(text("m_pLineEditBatteryCT"), QStringLiteral("10000"));
    QByteArray bare = brm();
    bare.replace(8, 41, QByteArray(41, '\xFF')); // every optional field left out
    window->onProcessData(Gbt::BRM, bare);
    QCOMPARE(text("m_pLineEditBatteryType"), QStringLiteral("Lithium iron phosphate battery"));
    QCOMPARE(text("m_pLineEditRateCapcity"), QStringLiteral("100"));
    for (const char *field : {"m_pLineEditManufacturer", "m_pLineEditBatterySN", "m_pLineEditBatteryPD",
                              "m_pLineEditBatteryCT", "m_pLineEditBatteryPR", "m_pLineEditVIN", "m_pLineEditVersion"})
        QVERIFY2(text(field).isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(field, text(field))));
    // A property right left out stays empty in another language.
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        QCOMPARE(text("m_pLineEditBatteryPR"), QString());
        QCOMPARE(text("m_pLineEditBatteryType"), QStringLiteral("磷酸铁锂电池"));
    }
}

void tst_GBT27931Widget::remainingTime_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("clock"); // empty: not valid
    QTest::newRow("none left") << 0 << "00:00:00";
    QTest::newRow("59 min") << 59 << "00:59:00";
    QTest::newRow("2 h 5 min") << 125 << "02:05:00";
    QTest::newRow("the standard's largest, 600 min") << 600 << "10:00:00";
    QTest::newRow("601 min") << 601 << "";
    QTest::newRow("0xFFFF") << 0xFFFF << "";
}

// Before the first BCS the clock shows the form's text; after it, what the
// last BCS said, also in another language.
void tst_GBT27931Widget::remainingTime()
{
    QFETCH(int, minutes);
    QFETCH(QString, clock);
    const QString remaining = clock.isEmpty() ? QString() : QString::number(minutes);
    QCOMPARE(text("m_pLineEditBMSClock"), QStringLiteral("00:00:00"));
    window->onProcessData(Gbt::BCS, bcs(30));
    window->onProcessData(Gbt::BCS, bcs(quint16(minutes)));
    QCOMPARE(text("m_pLineEditBMSClock"), clock);
    QCOMPARE(text("m_pLineEditRemainTime"), remaining);
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        QCOMPARE(text("m_pLineEditBMSClock"), clock);
    }
    // A message too short for BCS leaves it.
    window->onProcessData(Gbt::BCS, bcs(7).left(8));
    QCOMPARE(text("m_pLineEditBMSClock"), clock);
    QCOMPARE(text("m_pLineEditRemainTime"), remaining);
}

// The GUI thread held for 2 s while 5000 frames/s arrive: the window gets
// a handful of deliveries instead of one per message, memory stays put,
// and the newest value shows soon after the GUI thread returns.
void tst_GBT27931Widget::heldGuiThreadGetsTheNewestOnly()
{
    struct DeliveryCounter : QObject {
        std::atomic<int> deliveries{0};
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::MetaCall)
                ++deliveries;
            return false;
        }
    } counter;
    window->installEventFilter(&counter);
    const qint64 before = ProcStatus::residentKb();
    std::atomic<bool> feeding{true};
    std::atomic<int> fed{0};
    std::thread charger([&] {
        // CCS with its charging time counting the frames, 50 every 10 ms.
        int n = 0;
        while (feeding) {
            QVector<VCI_CAN_OBJ> batch;
            for (int i = 0; i < 50; ++i) {
                ++n;
                const QByteArray ccs =
                        QByteArray::fromHex("dc0ead0d") + char(n & 0xFF) + char((n >> 8) & 0xFF) + char(1);
                batch << single(Gbt::CCS, ccs, Charger, Bms);
            }
            UlBuffer::instance(Channel).addGBT27930Frame(batch.constData(), batch.size());
            fed = n;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const qint64 grown = ProcStatus::residentKb() - before;
    feeding = false;
    charger.join();
    // Bound for a loaded machine; unloaded it shows within one event-loop turn.
    QTRY_COMPARE_WITH_TIMEOUT(text("m_pLineEditTotalTime"), QString::number(fed.load() & 0xFFFF), 1000);
    // About 10,000 messages: one delivery each would be thousands.
    QVERIFY2(counter.deliveries <= 50, qPrintable(QString::number(counter.deliveries)));
    QVERIFY2(grown < 8 * 1024, qPrintable(QStringLiteral("%1 kB").arg(grown)));
    window->removeEventFilter(&counter);
}

void tst_GBT27931Widget::pageLabelWidths_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("english"); // at least; wider where the text needs it
    QTest::addColumn<int>("chinese");
    QTest::newRow("handshake, first column") << 0 << "label_3" << 170 << 85;
    QTest::newRow("handshake, second column") << 0 << "label_6" << 105 << 70;
    QTest::newRow("handshake, third column") << 0 << "label_16" << 140 << 70;
    QTest::newRow("parameters, battery") << 1 << "label_7" << 220 << 145;
    QTest::newRow("parameters, charger") << 1 << "label_12" << 160 << 105;
    QTest::newRow("parameters, time and lamps") << 1 << "label_14" << 160 << 100;
    QTest::newRow("charging end, BMS statistics") << 3 << "label_5" << 160 << 105;
    QTest::newRow("charging end, charger statistics") << 3 << "label_8" << 145 << 100;
    QTest::newRow("errors, BMS report") << 7 << "label_7" << 371 << 220;
    QTest::newRow("errors, charger report") << 7 << "label_14" << 240 << 160;
}

void tst_GBT27931Widget::pageLabelWidths()
{
    QFETCH(int, tab);
    QFETCH(QString, label);
    QFETCH(int, english);
    QFETCH(int, chinese);
    QWidget *page = window->findChild<QTabWidget *>(QStringLiteral("m_pTabWidget"))->widget(tab);
    auto *shown = page->findChild<QLabel *>(label);
    const int englishWidth = shown->minimumWidth();
    QCOMPARE(shown->maximumWidth(), englishWidth);
    QVERIFY2(englishWidth >= english, qPrintable(QString::number(englishWidth)));
    {
        ChineseCatalogue catalogue;
        QVERIFY(catalogue.isLoaded());
        QVERIFY2(shown->minimumWidth() >= chinese, qPrintable(QString::number(shown->minimumWidth())));
        QVERIFY(shown->minimumWidth() < englishWidth);
        QCOMPARE(shown->maximumWidth(), shown->minimumWidth());
        const QString text = shown->text();
        QVERIFY(text.endsWith(QStringLiteral("："))); // translated, still ending in the full-width colon
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))));
    }
    QCOMPARE(shown->minimumWidth(), englishWidth);
}

void tst_GBT27931Widget::textsShowWhole_data()
{
    QTest::addColumn<bool>("builtInChinese");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<bool>("atMinimum");
    QTest::newRow("English, default size") << false << false << false;
    QTest::newRow("English, minimum size") << false << false << true;
    QTest::newRow("Chinese, default size") << true << true << false;
    QTest::newRow("Chinese, minimum size") << true << true << true;
    QTest::newRow("switched to Chinese, minimum size") << false << true << true;
    QTest::newRow("switched to English, minimum size") << true << false << true;
}

// Every label, header section and read-only field on every page shows its
// whole text, each field with the widest values it can show, at the size
// the window opens with and at its minimum size, also after a language
// change.
void tst_GBT27931Widget::textsShowWhole()
{
    QFETCH(bool, builtInChinese);
    QFETCH(bool, chinese);
    QFETCH(bool, atMinimum);
    std::unique_ptr<ChineseCatalogue> catalogue;
    if (builtInChinese) {
        delete window.data();
        catalogue = std::make_unique<ChineseCatalogue>();
        QVERIFY(catalogue->isLoaded());
        window = new GBT27931Widget(Channel, &open);
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    if (chinese && !catalogue)
        catalogue = std::make_unique<ChineseCatalogue>();
    else if (!chinese)
        catalogue.reset();
    settleLayouts();
    if (atMinimum) {
        window->resize(window->minimumSize());
        settleLayouts();
    }
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("m_pTabWidget"));
    QStringList cut;
    for (const Messages &round : widestValues()) {
        for (const auto &message : round)
            window->onProcessData(message.first, message.second);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            settleLayouts();
            const TextsShown shown = textsShown(*window);
            // Beyond the window's own two labels and two fields.
            QVERIFY2(shown.measured > 4, qPrintable(tabs->tabText(tab)));
            cut << shown.cut;
        }
    }
    cut.removeDuplicates();
    for (const QString &line : cut)
        qInfo("%s", qPrintable(line));
    QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("%1 texts cut at %2x%3")
                                               .arg(cut.size())
                                               .arg(window->width())
                                               .arg(window->height())));
}

MEROVAST_GUI_TEST_MAIN(tst_GBT27931Widget)
#include "tst_gbt27931widget.moc"
