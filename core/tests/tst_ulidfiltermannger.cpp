#include "ulidfiltermannger.h"

#include <QtTest>

#include <atomic>
#include <thread>

class tst_UlIdFilterMannger : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void acceptance_data();
    void acceptance();
    void outOfRangeIndexChangesNothing_data();
    void outOfRangeIndexChangesNothing();
    void copyIsIndependent();
    void assignmentIsWholeForReaders();
    void onePerChannel();
};

// "100-1FF,300-3FF" -> ranges in list order.
static QVector<UlIdFilter> ranges(const QString &text)
{
    QVector<UlIdFilter> list;
    for (const QString &range : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = range.split(QLatin1Char('-'));
        list.append(UlIdFilter(ends.at(0).toUInt(nullptr, 16), ends.at(1).toUInt(nullptr, 16), range));
    }
    return list;
}

void tst_UlIdFilterMannger::acceptance_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("notReceive");
    QTest::addColumn<QString>("onlyReceive");
    QTest::addColumn<uint>("id");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("mode 0 ignores both lists") << 0 << "100-1FF" << "300-3FF" << 0x150u << true;
    QTest::newRow("mode 1, empty list") << 1 << "" << "" << 0x123u << true;
    QTest::newRow("mode 2, empty list") << 2 << "" << "" << 0x123u << false;
    QTest::newRow("mode 1, first ID") << 1 << "100-1FF" << "" << 0x100u << false;
    QTest::newRow("mode 1, last ID") << 1 << "100-1FF" << "" << 0x1FFu << false;
    QTest::newRow("mode 1, after range") << 1 << "100-1FF" << "" << 0x200u << true;
    QTest::newRow("mode 1, before range") << 1 << "100-1FF" << "" << 0xFFu << true;
    QTest::newRow("mode 1, second range") << 1 << "100-1FF,300-3FF" << "" << 0x3FFu << false;
    QTest::newRow("mode 1 ignores OnlyReceive") << 1 << "" << "100-1FF" << 0x500u << true;
    QTest::newRow("mode 2, inside") << 2 << "" << "100-1FF" << 0x1FFu << true;
    QTest::newRow("mode 2, outside") << 2 << "" << "100-1FF" << 0x200u << false;
    QTest::newRow("mode 2 ignores NotReceive") << 2 << "100-1FF" << "300-3FF" << 0x150u << false;
    QTest::newRow("mode 1, start above end") << 1 << "200-100" << "" << 0x150u << true;
    QTest::newRow("mode 2, start above end") << 2 << "" << "200-100" << 0x200u << false;
    QTest::newRow("unsigned compare") << 2 << "" << "7FFFFFFF-FFFFFFFF" << 0xFFFFFFFFu << true;
    QTest::newRow("unsigned compare, below") << 2 << "" << "80000000-FFFFFFFF" << 0x7FFFFFFFu << false;
    QTest::newRow("mode 3 passes") << 3 << "" << "100-1FF" << 0x500u << true;
    QTest::newRow("mode -1 passes") << -1 << "100-1FF" << "" << 0x150u << true;
}

void tst_UlIdFilterMannger::acceptance()
{
    QFETCH(int, mode);
    QFETCH(QString, notReceive);
    QFETCH(QString, onlyReceive);
    QFETCH(uint, id);
    QFETCH(bool, accepted);

    UlIdFilterMannger filter;
    for (const UlIdFilter &range : ranges(notReceive))
        filter.addNotReceive(range);
    for (const UlIdFilter &range : ranges(onlyReceive))
        filter.addOnlyReceive(range);
    filter.setFilterMode(mode);
    QCOMPARE(filter.isValid(id), accepted);
}

void tst_UlIdFilterMannger::outOfRangeIndexChangesNothing_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("count") << 2;
    QTest::newRow("far beyond") << 1000;
}

void tst_UlIdFilterMannger::outOfRangeIndexChangesNothing()
{
    QFETCH(int, index);
    UlIdFilterMannger filter;
    for (const UlIdFilter &range : ranges(QStringLiteral("100-1FF,300-3FF"))) {
        filter.addNotReceive(range);
        filter.addOnlyReceive(range);
    }
    filter.removeAtNotReceive(index);
    filter.removeAtOnlyReceive(index);
    filter.replaceNotReceive(index, UlIdFilter(1, 2));
    filter.replaceOnlyReceive(index, UlIdFilter(1, 2));
    QCOMPARE(filter.NotReceiveCount(), 2);
    QCOMPARE(filter.OnlyReceiveCount(), 2);
    QCOMPARE(filter.getNotReceive(1).startId, 0x300u);
    QCOMPARE(filter.getOnlyReceive(1).endId, 0x3FFu);
    QVERIFY(filter.getNotReceive(index).text.isEmpty());
    QCOMPARE(filter.getOnlyReceive(index).endId, 0u);

    // A valid index still works.
    filter.replaceNotReceive(1, UlIdFilter(5, 6, QStringLiteral("new")));
    filter.removeAtOnlyReceive(0);
    QCOMPARE(filter.getNotReceive(1).text, QStringLiteral("new"));
    QCOMPARE(filter.getOnlyReceiveQueue().size(), 1);
    QCOMPARE(filter.getOnlyReceiveQueue().head().startId, 0x300u);
}

void tst_UlIdFilterMannger::copyIsIndependent()
{
    UlIdFilterMannger original;
    original.addNotReceive(UlIdFilter(0x100, 0x1FF, QStringLiteral("a")));
    original.addOnlyReceive(UlIdFilter(0x300, 0x3FF, QStringLiteral("b")));
    original.setFilterMode(2);

    UlIdFilterMannger constructed(original);
    UlIdFilterMannger assigned;
    assigned.addNotReceive(UlIdFilter(1, 1));
    assigned.addNotReceive(UlIdFilter(2, 2));
    assigned = original;
    original.clearNotReceive();
    original.clearOnlyReceive();
    original.setFilterMode(0);

    for (const UlIdFilterMannger *copy : {&constructed, &assigned}) {
        QCOMPARE(copy->getFilterMode(), 2);
        QCOMPARE(copy->NotReceiveCount(), 1);
        QCOMPARE(copy->getNotReceive(0).text, QStringLiteral("a"));
        QCOMPARE(copy->getOnlyReceive(0).startId, 0x300u);
        QVERIFY(copy->isValid(0x350));
        QVERIFY(!copy->isValid(0x150));
    }
}

// Two states that reject 0x100 alike, while any mix of one's mode with the
// other's lists accepts it: a reader that ever accepts 0x100 saw a mix.
void tst_UlIdFilterMannger::assignmentIsWholeForReaders()
{
    UlIdFilterMannger notMode;
    notMode.addNotReceive(UlIdFilter(0x100, 0x100));
    notMode.addOnlyReceive(UlIdFilter(0x100, 0x100));
    notMode.setFilterMode(1);
    UlIdFilterMannger onlyMode;
    onlyMode.setFilterMode(2);

    UlIdFilterMannger shared(notMode);
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::atomic<int> mixed{0};
    std::thread reader([&] {
        while (!done) {
            if (shared.isValid(0x100))
                ++mixed;
            ++reads;
        }
    });
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; mixed == 0 && (reads < 1000000 || i < 100000) && clock.elapsed() < 500; ++i)
        shared = (i % 2) ? notMode : onlyMode;
    done = true;
    reader.join();
    QCOMPARE(mixed.load(), 0);
}

void tst_UlIdFilterMannger::onePerChannel()
{
    UlIdFilterMannger::instance(2).setFilterMode(2);
    QCOMPARE(&UlIdFilterMannger::instance(2), &UlIdFilterMannger::instance(2));
    QCOMPARE(UlIdFilterMannger::instance(1).getFilterMode(), 0);
    QVERIFY(!UlIdFilterMannger::instance(2).isValid(0x10));
    UlIdFilterMannger::instance(2).setFilterMode(0);
}

QTEST_GUILESS_MAIN(tst_UlIdFilterMannger)
#include "tst_ulidfiltermannger.moc"
