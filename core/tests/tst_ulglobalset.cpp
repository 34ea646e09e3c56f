#include "ulglobalset.h"

#include <QCoreApplication>
#include <QSettings>
#include <QtTest>

class tst_UlGlobalSet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void idFormatFromSettings_data();
    void idFormatFromSettings();
    void watchToggles();
    void freshChannelRow();
    void copyCopiesEverything();
};

static void storeIdFormat(const QVariant &value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RavoSoft"),
                       QStringLiteral("INIT"));
    if (value.isValid())
        settings.setValue(QStringLiteral("IDFORMAT"), value);
    else
        settings.remove(QStringLiteral("IDFORMAT"));
    settings.sync();
}

void tst_UlGlobalSet::initTestCase()
{
    // CTest gives each test program its own XDG_CONFIG_HOME; refuse to
    // touch a real user's settings otherwise.
    QVERIFY2(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"), "run through ctest");
}

void tst_UlGlobalSet::idFormatFromSettings_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("absent") << QVariant() << 0;
    QTest::newRow("0") << QVariant(0) << 0;
    QTest::newRow("1") << QVariant(1) << 1;
    QTest::newRow("7 counts as 1") << QVariant(7) << 1;
    QTest::newRow("-1 counts as 1") << QVariant(-1) << 1;
}

void tst_UlGlobalSet::idFormatFromSettings()
{
    QFETCH(QVariant, stored);
    QFETCH(int, expected);
    storeIdFormat(stored);
    const UlGlobalSet set;
    QCOMPARE(set.IDFORMAT.load(), expected);
    storeIdFormat(QVariant());
}

void tst_UlGlobalSet::watchToggles()
{
    UlGlobalSet set;
    QVERIFY(!set.isWatch());
    set.onWatch();
    QVERIFY(set.isWatch());
    set.onWatch();
    QVERIFY(!set.isWatch());
}

void tst_UlGlobalSet::freshChannelRow()
{
    const UlGlobalSet set;
    for (const channelStatus &row : set.channel) {
        QCOMPARE(row.timeDisplay.load(), 2);
        QCOMPARE(row.dataDisplay.load(), 1);
        QCOMPARE(row.sendMode.load(), 0);
        QVERIFY(!row.sending);
        QVERIFY(!row.realTimeSave);
        QCOMPARE(row.counters.usedTime.load(), -1.0);
        QCOMPARE(row.counters.received.load(), int64_t(0));
        QCOMPARE(row.counters.sent.load(), int64_t(0));
    }
}

void tst_UlGlobalSet::copyCopiesEverything()
{
    UlGlobalSet a;
    a.IDFORMAT = 1;
    a.onWatch();
    a.channel[3].realTimeSave = true;
    a.channel[3].counters.received = 5000000000LL;  // past 32 bits
    a.channel[2].counters.usedTime = 1.5;
    UlGlobalSet b;
    b = a;
    QCOMPARE(b.IDFORMAT.load(), 1);
    QVERIFY(b.isWatch());
    QVERIFY(b.channel[3].realTimeSave);
    QCOMPARE(b.channel[3].counters.received.load(), int64_t(5000000000LL));
    QCOMPARE(b.channel[2].counters.usedTime.load(), 1.5);
    QCOMPARE(&UlGlobalSet::instance(), &UlGlobalSet::instance());
}

QTEST_GUILESS_MAIN(tst_UlGlobalSet)
#include "tst_ulglobalset.moc"
