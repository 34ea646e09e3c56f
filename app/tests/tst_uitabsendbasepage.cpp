// The Base send page on its own: the task its fields make (ID range and the
// left-aligned ID format, data bytes, counting rules), the format switch,
// "Add to Send", the field limits and the Chinese texts.
#include "basesendparam.h"
#include "chinesecatalogue.h"
#include "guitest.h"
#include "taskobj.h"
#include "uitabsendbasepage.h"
#include "ulglobalset.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

class tst_UiTabSendBasePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void buildFrames_data();
    void buildFrames();
    void taskFields();
    void sendEmitsOneTask();
    void formatSwitch_data();
    void formatSwitch();
    void addToSend_data();
    void addToSend();
    void fieldLimits();
    void chineseTexts();

private:
    template <typename T>
    T *field(const char *name) const
    {
        return page->findChild<T *>(QLatin1String(name));
    }

    std::unique_ptr<UiTabSendBasePage> page;
};

void tst_UiTabSendBasePage::init()
{
    UlGlobalSet::instance().IDFORMAT = 0;
    page = std::make_unique<UiTabSendBasePage>(nullptr, 0);
}

void tst_UiTabSendBasePage::cleanup()
{
    page.reset();
    UlGlobalSet::instance().IDFORMAT = 0;
}

void tst_UiTabSendBasePage::buildFrames_data()
{
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<QString>("idText");
    QTest::addColumn<QString>("dataText");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<uint>("id");           // in the task's template
    QTest::addColumn<QByteArray>("data");   // DataLen bytes
    QTest::addColumn<QString>("idAfter");   // the fields afterwards
    QTest::addColumn<QString>("dataAfter");

    const QString eight = QStringLiteral("11 22 33 44 55 66 77 88");
    const QByteArray eightBytes = QByteArray::fromHex("1122334455667788");
    QTest::newRow("standard 7ff") << 0 << false << "7ff" << eight << true << 0x7FFu << eightBytes << "7ff" << eight;
    QTest::newRow("standard 800 refused") << 0 << false << "800" << "ab" << false << 0u << QByteArray() << "800"
                                          << "AB";
    QTest::newRow("extended 1fffffff") << 0 << true << "1fffffff" << "01" << true << 0x1FFFFFFFu
                                       << QByteArray("\x01") << "1fffffff" << "01";
    QTest::newRow("extended 20000000 refused") << 0 << true << "20000000" << "01" << false << 0u << QByteArray()
                                               << "20000000" << "01";
    QTest::newRow("left-aligned standard masked") << 1 << false << "0061" << "01" << true << 0x60u
                                                  << QByteArray("\x01") << "0060" << "01";
    QTest::newRow("left-aligned standard, no range test")
        << 1 << false << "ffff" << "01" << true << 0xFFE0u << QByteArray("\x01") << "ffe0" << "01";
    QTest::newRow("left-aligned extended masked")
        << 1 << true << "ffffffff" << "01" << true << 0xFFFFFFF8u << QByteArray("\x01") << "fffffff8" << "01";
    QTest::newRow("odd digit count") << 0 << false << "1" << "ABC" << true << 1u << QByteArray("\xAB\x0C", 2) << "1"
                                     << "AB 0C";
    QTest::newRow("empty data") << 0 << false << "123" << "" << true << 0x123u << QByteArray() << "123" << "";
}

void tst_UiTabSendBasePage::buildFrames()
{
    QFETCH(int, idFormat);
    QFETCH(bool, extended);
    QFETCH(QString, idText);
    QFETCH(QString, dataText);
    QFETCH(bool, accepted);
    QFETCH(uint, id);
    QFETCH(QByteArray, data);
    QFETCH(QString, idAfter);
    QFETCH(QString, dataAfter);
    UlGlobalSet::instance().IDFORMAT = idFormat;
    field<QComboBox>("m_ctrlFormat")->setCurrentIndex(extended ? 1 : 0);
    field<QLineEdit>("m_ctrlId")->setText(idText);
    field<QLineEdit>("m_ctrlData")->setText(dataText);
    QSignalSpy refused(page.get(), &UiTabSendPage::maxIdErrorSignal);

    taskObj task;
    QCOMPARE(page->buildFrames(task), accepted);
    QCOMPARE(refused.count(), accepted ? 0 : 1);
    QCOMPARE(field<QLineEdit>("m_ctrlId")->text(), idAfter);
    QCOMPARE(field<QLineEdit>("m_ctrlData")->text(), dataAfter);
    if (!accepted)
        return;
    CanObj templ;
    QVERIFY(task.templateFrame(templ));
    QCOMPARE(task.size(), 1);
    QCOMPARE(templ.ID, id);
    QCOMPARE(int(templ.ExternFlag), int(extended));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(templ.Data), templ.DataLen), data);
}

void tst_UiTabSendBasePage::taskFields()
{
    field<QComboBox>("m_ctrlType")->setCurrentIndex(1);
    field<QComboBox>("m_ctrlSendMode")->setCurrentIndex(3);
    field<QComboBox>("m_ctrlIdFlag")->setCurrentIndex(0);
    field<QComboBox>("m_ctrlDataFlag")->setCurrentIndex(8);
    field<QSpinBox>("m_ctrlFrames")->setValue(3);
    field<QSpinBox>("m_ctrlInterval")->setValue(99999999);
    field<QSpinBox>("m_ctrlSendTimes")->setValue(999999999);
    field<QLineEdit>("m_ctrlData")->setText(QStringLiteral("01 02"));

    taskObj task;
    QVERIFY(page->buildFrames(task));
    QCOMPARE(task.Frames, 3);
    QCOMPARE(task.Interval, 99999999);
    QCOMPARE(task.Times, 999999999);
    QCOMPARE(task.IdIncrease, 0);
    QCOMPARE(task.DataIncrease, 8);
    CanObj templ;
    QVERIFY(task.templateFrame(templ));
    QCOMPARE(int(templ.RemoteFlag), 1);
    QCOMPARE(int(templ.SendType), 3);
    // A remote frame asks for as many bytes as the data field holds.
    QCOMPARE(int(templ.DataLen), 2);
    QCOMPARE(templ.DeviceTime, 0u);
    QVERIFY(field<QLineEdit>("m_ctrlData")->isEnabled());

    // The defaults: ID 43 counting up, data fixed, one frame.
    page = std::make_unique<UiTabSendBasePage>(nullptr, 0);
    taskObj defaults;
    QVERIFY(page->buildFrames(defaults));
    QCOMPARE(defaults.IdIncrease, 1);
    QCOMPARE(defaults.DataIncrease, 0);
    QCOMPARE(defaults.Times, 1);
    QVERIFY(defaults.templateFrame(templ));
    QCOMPARE(templ.ID, 0x43u);
    QCOMPARE(int(templ.DataLen), 8);
}

void tst_UiTabSendBasePage::sendEmitsOneTask()
{
    QSignalSpy started(page.get(), &UiTabSendPage::start);
    QSignalSpy stopped(page.get(), &UiTabSendPage::stop);
    field<QPushButton>("SendButton")->click();
    QCOMPARE(started.count(), 1);
    const auto queue = started.at(0).at(0).value<taskQueue>();
    QCOMPARE(queue.size(), 1);

    // Refused: nothing is started.
    field<QLineEdit>("m_ctrlId")->setText(QStringLiteral("fff"));
    field<QPushButton>("SendButton")->click();
    QCOMPARE(started.count(), 1);

    page->onAnswerTaskRunning(true);
    QVERIFY(!field<QPushButton>("SendButton")->isEnabled());
    field<QPushButton>("StopButton")->click();
    QCOMPARE(stopped.count(), 1);
}

void tst_UiTabSendBasePage::formatSwitch_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("idText");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("extended to standard keeps the last digits") << 1 << "12345678" << "5678" << 4;
    QTest::newRow("standard to extended pads") << 0 << "43" << "00000043" << 8;
}

void tst_UiTabSendBasePage::formatSwitch()
{
    QFETCH(int, from);
    QFETCH(QString, idText);
    QFETCH(QString, after);
    QFETCH(int, maxLength);
    auto *format = field<QComboBox>("m_ctrlFormat");
    auto *id = field<QLineEdit>("m_ctrlId");
    format->setCurrentIndex(from);
    id->setText(idText);
    format->setCurrentIndex(1 - from);
    QCOMPARE(id->text(), after);
    QCOMPARE(id->maxLength(), maxLength);
}

void tst_UiTabSendBasePage::addToSend_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("type");
    QTest::addColumn<uint>("id");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("idText");
    QTest::newRow("extended data frame") << 1 << 0 << 0x1Au << "0A FF 30" << "1a";
    QTest::newRow("long extended ID") << 1 << 1 << 0x1ABCDEF0u << "" << "1abcdef0";
    QTest::newRow("standard remote frame") << 0 << 1 << 0x7FFu << "" << "7ff";
}

void tst_UiTabSendBasePage::addToSend()
{
    QFETCH(int, format);
    QFETCH(int, type);
    QFETCH(uint, id);
    QFETCH(QString, data);
    QFETCH(QString, idText);
    // Start from the other format, so that the switch happens first.
    field<QComboBox>("m_ctrlFormat")->setCurrentIndex(1 - format);
    BaseSendParam param;
    param.format = quint8(format);
    param.type = quint8(type);
    param.id = id;
    param.data = data;
    Q_EMIT page->AddMoveSend(param);
    QCOMPARE(field<QComboBox>("m_ctrlFormat")->currentIndex(), format);
    QCOMPARE(field<QComboBox>("m_ctrlType")->currentIndex(), type);
    QCOMPARE(field<QLineEdit>("m_ctrlId")->text(), idText);
    QCOMPARE(field<QLineEdit>("m_ctrlData")->text(), data);

    taskObj task;
    QVERIFY(page->buildFrames(task));
    CanObj templ;
    QVERIFY(task.templateFrame(templ));
    QCOMPARE(templ.ID, id);
    QCOMPARE(int(templ.ExternFlag), format);
}

void tst_UiTabSendBasePage::fieldLimits()
{
    auto *frames = field<QSpinBox>("m_ctrlFrames");
    frames->setValue(4);
    QCOMPARE(frames->value(), 3);
    auto *times = field<QSpinBox>("m_ctrlSendTimes");
    times->setValue(0);
    QCOMPARE(times->value(), 1);
    QCOMPARE(field<QSpinBox>("m_ctrlInterval")->maximum(), 99999999);
    // The ID field takes hexadecimal digits only, so "0x12" cannot become ID 0.
    auto *id = field<QLineEdit>("m_ctrlId");
    id->clear();
    QTest::keyClicks(id, QStringLiteral("0x1g2"));
    QCOMPARE(id->text(), QStringLiteral("012"));
    auto *data = field<QLineEdit>("m_ctrlData");
    data->clear();
    QTest::keyClicks(data, QStringLiteral("a1b2z3c4d5e6f7a8b9"));
    QCOMPARE(data->text(), QStringLiteral("A1 B2 3C 4D 5E 6F 7A 8B"));
}

void tst_UiTabSendBasePage::chineseTexts()
{
    auto *type = field<QComboBox>("m_ctrlType");
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        type->setCurrentIndex(1);
        QVERIFY(type->currentText() != QLatin1String("Remote Frame"));
        QVERIFY(field<QPushButton>("SendButton")->text() != QLatin1String("Send"));
        QVERIFY(field<QComboBox>("m_ctrlDataFlag")->itemText(8) != QLatin1String("Data 7 Increase"));
    }
    QCOMPARE(type->currentIndex(), 1);
    QCOMPARE(type->currentText(), QStringLiteral("Remote Frame"));
}

MEROVAST_GUI_TEST_MAIN(tst_UiTabSendBasePage)
#include "tst_uitabsendbasepage.moc"
