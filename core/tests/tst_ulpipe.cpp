#include "ulpipe.h"

#include <QtTest>

#include <thread>
#include <vector>

class tst_UlPipe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void keepsUnitsInOrder();
    void emptyPipe();
    void channelsAreSeparate();
    void pushWakesWaiter();
    void concurrentProducers();
};

static CanData unit(uint32_t id, int frames = 1)
{
    CanData d;
    for (int i = 0; i < frames; ++i) {
        CanObj f;
        f.ID = id;
        f.Data[0] = uint8_t(i);
        d.push(f);
    }
    return d;
}

void tst_UlPipe::init()
{
    for (int ch = 0; ch < UlPipe::Channels; ++ch)
        UlPipe::instance(ch).clear();
}

void tst_UlPipe::keepsUnitsInOrder()
{
    UlPipe &pipe = UlPipe::instance(0);
    pipe.push(unit(1, 3));
    pipe.push(unit(2));
    pipe.push(unit(3));
    QCOMPARE(pipe.count(), 3);

    const CanData first = pipe.pop();
    QCOMPARE(first.size(), 3);
    QCOMPARE(first.at(2).Data[0], uint8_t(2));
    CanData next;
    QVERIFY(pipe.tryPop(next));
    QCOMPARE(next.at(0).ID, 2u);
    QVERIFY(pipe.waitPop(next, 0));
    QCOMPARE(next.at(0).ID, 3u);
    QVERIFY(pipe.isEmpty());

    pipe.push(unit(4));
    pipe.push(unit(5));
    pipe.clear();
    QCOMPARE(pipe.count(), 0);
}

void tst_UlPipe::emptyPipe()
{
    UlPipe &pipe = UlPipe::instance(1);
    CanData out = unit(9);
    QVERIFY(!pipe.tryPop(out));
    QCOMPARE(out.at(0).ID, 9u);  // untouched
    QVERIFY(pipe.pop().isEmpty());
    QVERIFY(!pipe.waitPop(out, 30));
}

void tst_UlPipe::channelsAreSeparate()
{
    UlPipe::instance(2).push(unit(1));
    QCOMPARE(UlPipe::instance(2).count(), 1);
    QCOMPARE(UlPipe::instance(3).count(), 0);
    QVERIFY(&UlPipe::instance(-1) == &UlPipe::instance(0));
    QVERIFY(&UlPipe::instance(4) == &UlPipe::instance(0));
}

void tst_UlPipe::pushWakesWaiter()
{
    UlPipe &pipe = UlPipe::instance(0);
    CanData out;
    bool got = false;
    QElapsedTimer timer;
    timer.start();
    std::thread consumer([&] { got = pipe.waitPop(out, 10000); });
    QTest::qWait(20);
    pipe.push(unit(7));
    consumer.join();
    QVERIFY(got);
    QCOMPARE(out.at(0).ID, 7u);
    QVERIFY(timer.elapsed() < 5000);
}

void tst_UlPipe::concurrentProducers()
{
    // Every unit arrives once, and each producer's units stay in order.
    UlPipe &pipe = UlPipe::instance(1);
    constexpr int Producers = 4;
    constexpr int PerProducer = 2000;
    std::vector<std::thread> producers;
    for (int p = 0; p < Producers; ++p) {
        producers.emplace_back([&pipe, p] {
            for (int i = 0; i < PerProducer; ++i)
                pipe.push(unit(uint32_t(p << 16 | i)));
        });
    }
    std::vector<int> next(Producers, 0);
    int taken = 0;
    bool ordered = true;
    while (taken < Producers * PerProducer) {
        CanData d;
        if (!pipe.waitPop(d, 1000))
            break;
        const uint32_t id = d.at(0).ID;
        const int p = int(id >> 16);
        ordered = ordered && int(id & 0xFFFF) == next[std::size_t(p)];
        ++next[std::size_t(p)];
        ++taken;
    }
    for (std::thread &t : producers)
        t.join();
    QCOMPARE(taken, Producers * PerProducer);
    QVERIFY(ordered);
    QVERIFY(pipe.isEmpty());
}

QTEST_GUILESS_MAIN(tst_UlPipe)
#include "tst_ulpipe.moc"
