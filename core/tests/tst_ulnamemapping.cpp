#include "ulnamemapping.h"

#include <QtTest>

#include <atomic>
#include <thread>

class tst_UlNameMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void addAndFind();
    void listIsInIdOrder();
    void readersWhileEditing();
    void deletedSingletonIsRebuilt();
};

void tst_UlNameMapping::init()
{
    UlNameMapping::getSingleton()->clear();
}

void tst_UlNameMapping::addAndFind()
{
    UlNameMapping *map = UlNameMapping::getSingleton();
    QVERIFY(map == UlNameMapping::getSingleton());
    QVERIFY(map->parent() == nullptr);
    QCOMPARE(map->find(0x123), QString());
    map->add(0x123, QStringLiteral("Engine"));
    map->add(0x123, QStringLiteral("Brake"));
    map->add(0x18FF0001, QStringLiteral("Extended"));
    QCOMPARE(map->find(0x123), QStringLiteral("Brake"));
    QCOMPARE(map->find(0x18FF0001), QStringLiteral("Extended"));
    QCOMPARE(map->size(), 2);
    map->clear();
    QCOMPARE(map->size(), 0);
    QCOMPARE(map->find(0x123), QString());
}

void tst_UlNameMapping::listIsInIdOrder()
{
    UlNameMapping *map = UlNameMapping::getSingleton();
    map->add(0x300, QStringLiteral("c"));
    map->add(0x100, QStringLiteral("a"));
    map->add(0x200, QStringLiteral("b"));
    const QList<QPair<uint32_t, QString>> list = map->getList();
    QCOMPARE(list.size(), 3);
    QCOMPARE(list.at(0), qMakePair(uint32_t(0x100), QStringLiteral("a")));
    QCOMPARE(list.at(1), qMakePair(uint32_t(0x200), QStringLiteral("b")));
    QCOMPARE(list.at(2), qMakePair(uint32_t(0x300), QStringLiteral("c")));

    // A snapshot does not change under later edits.
    const QMap<uint32_t, QString> snapshot = map->getNameList();
    map->add(0x400, QStringLiteral("d"));
    QCOMPARE(snapshot.size(), 3);
    QCOMPARE(map->getNameList().size(), 4);
}

void tst_UlNameMapping::readersWhileEditing()
{
    // A save thread reads names while the GUI rewrites the map.
    UlNameMapping *map = UlNameMapping::getSingleton();
    std::atomic<bool> done{false};
    std::atomic<int> badReads{0};
    std::thread reader([&] {
        while (!done) {
            const QString name = map->find(7);
            if (!name.isEmpty() && !name.startsWith(QLatin1String("name")))
                ++badReads;
            for (const auto &entry : map->getList()) {
                if (entry.second != QStringLiteral("name%1").arg(entry.first))
                    ++badReads;
            }
        }
    });
    for (int round = 0; round < 200; ++round) {
        map->clear();
        for (uint32_t id = 0; id < 50; ++id)
            map->add(id, QStringLiteral("name%1").arg(id));
    }
    done = true;
    reader.join();
    QCOMPARE(badReads.load(), 0);
}

void tst_UlNameMapping::deletedSingletonIsRebuilt()
{
    UlNameMapping *first = UlNameMapping::getSingleton();
    first->add(1, QStringLiteral("x"));
    delete first;  // as the main window does at exit
    UlNameMapping *second = UlNameMapping::getSingleton();
    QVERIFY(second);
    QCOMPARE(second->size(), 0);
}

QTEST_GUILESS_MAIN(tst_UlNameMapping)
#include "tst_ulnamemapping.moc"
