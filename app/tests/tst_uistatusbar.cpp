// The status bar: its three values, the Clear button and its captions in
// both catalogues.
#include "guitest.h"
#include "uistatusbar.h"

#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <cmath>
#include <limits>

class tst_UiStatusBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshBarShowsNothingSent();
    void sendTime_data();
    void sendTime();
    void frameCounts();
    void clearButtonResetsAndSignals();
    void captionsFollowCatalogue();

private:
    static QString text(const UiStatusBar &bar, const char *name)
    {
        const auto *label = bar.findChild<QLabel *>(QLatin1String(name));
        return label ? label->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
    }
};

void tst_UiStatusBar::freshBarShowsNothingSent()
{
    UiStatusBar bar;
    QCOMPARE(text(bar, "sendTimeValue"), QString());
    QCOMPARE(text(bar, "sendFramesValue"), QStringLiteral("0"));
    QCOMPARE(text(bar, "recvFramesValue"), QStringLiteral("0"));
    const auto *clear = bar.findChild<QToolButton *>(QStringLiteral("statusBarBtnClear"));
    QVERIFY(clear);
    QCOMPARE(clear->minimumWidth(), 80);
    QCOMPARE(clear->maximumWidth(), 80);
    QVERIFY(clear->autoRaise());
    QCOMPARE(clear->focusPolicy(), Qt::NoFocus);
}

void tst_UiStatusBar::sendTime_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no send run") << -1.0 << QString();
    QTest::newRow("truncated") << 2.9 << QStringLiteral("2");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
    QTest::newRow("below one second") << 0.999 << QStringLiteral("0");
    QTest::newRow("beyond int") << 5e12 << QStringLiteral("5000000000000");
    QTest::newRow("negative fraction") << -0.5 << QStringLiteral("0");
    QTest::newRow("not a number") << std::nan("") << QString();
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << QString();
}

void tst_UiStatusBar::sendTime()
{
    QFETCH(double, seconds);
    QFETCH(QString, shown);
    UiStatusBar bar;
    bar.setSendTime(7.0);
    bar.setSendTime(seconds);
    QCOMPARE(text(bar, "sendTimeValue"), shown);
}

void tst_UiStatusBar::frameCounts()
{
    UiStatusBar bar;
    bar.setSendFrames(std::numeric_limits<ulong>::max());
    bar.setRecvFrames(30001);
    QCOMPARE(text(bar, "sendFramesValue"), QStringLiteral("18446744073709551615"));
    QCOMPARE(text(bar, "recvFramesValue"), QStringLiteral("30001"));
}

void tst_UiStatusBar::clearButtonResetsAndSignals()
{
    UiStatusBar bar;
    bar.setSendTime(12.5);
    bar.setSendFrames(3);
    bar.setRecvFrames(4);
    QSignalSpy cleared(&bar, &UiStatusBar::clearSignal);
    QTest::mouseClick(bar.findChild<QToolButton *>(QStringLiteral("statusBarBtnClear")), Qt::LeftButton);
    QCOMPARE(cleared.count(), 1);
    QCOMPARE(text(bar, "sendTimeValue"), QString());
    QCOMPARE(text(bar, "sendFramesValue"), QStringLiteral("0"));
    QCOMPARE(text(bar, "recvFramesValue"), QStringLiteral("0"));
}

// One translator reloaded, as the main window does it.
void tst_UiStatusBar::captionsFollowCatalogue()
{
    const QStringList chinese{QStringLiteral("发送时间(秒)"), QStringLiteral("发送帧数"), QStringLiteral("接收帧数"),
                              QStringLiteral("清除")};
    const QStringList english{QStringLiteral("Send Time(s)"), QStringLiteral("Send Frames"),
                              QStringLiteral("Receive Frames"), QStringLiteral("Clear")};
    UiStatusBar bar;
    QTranslator translator;
    for (const QStringList &expected : {chinese, english, chinese}) {
        QVERIFY(translator.load(expected == chinese ? QStringLiteral(":/translations/Merovast_zh.qm")
                                                    : QStringLiteral(":/translations/Merovast_en.qm")));
        QCoreApplication::installTranslator(&translator);
        QCoreApplication::processEvents(); // the change reaches widgets as a posted event
        const QStringList shown{text(bar, "sendTimeCaption"), text(bar, "sendFramesCaption"),
                                text(bar, "recvFramesCaption"),
                                bar.findChild<QToolButton *>(QStringLiteral("statusBarBtnClear"))->text()};
        QCOMPARE(shown, expected);
    }
}

MEROVAST_GUI_TEST_MAIN(tst_UiStatusBar)
#include "tst_uistatusbar.moc"
