// The cell-voltage and cell-temperature tables: the first message with
// entries sets the rows, later ones change only the value column of the
// rows they reach and never add rows; empty messages change nothing. Fed
// from message bytes through the decoders.
#include "chinesecatalogue.h"
#include "guitest.h"
#include "monomertemperaturewidget.h"
#include "monomervoltagewidget.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QtTest>

namespace {

// Rows as "number|group or point|value".
QStringList rows(const QTableWidget &table)
{
    QStringList shown;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table.columnCount(); ++c)
            cells << table.item(r, c)->text();
        shown << cells.join(QLatin1Char('|'));
    }
    return shown;
}

QStringList headers(const QTableWidget &table)
{
    QStringList shown;
    for (int c = 0; c < table.columnCount(); ++c)
        shown << table.horizontalHeaderItem(c)->text();
    return shown;
}

} // namespace

class tst_MonomerTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void voltages_data();
    void voltages();
    void temperatures_data();
    void temperatures();
    void tableSettings();
};

void tst_MonomerTables::voltages_data()
{
    QTest::addColumn<QList<QByteArray>>("messages");
    QTest::addColumn<QStringList>("shown");
    const QByteArray three = QByteArray::fromHex("4a114b114c");
    QTest::newRow("first message") << QList<QByteArray>{three} << QStringList{"1|1|3.3", "2|1|3.31", "3|0|0.76"};
    QTest::newRow("second changes the voltages only")
            << QList<QByteArray>{three, QByteArray::fromHex("59f15a025a03")}
            << QStringList{"1|1|3.45", "2|1|6.02", "3|0|8.58"};
    QTest::newRow("fewer cells change the first rows")
            << QList<QByteArray>{three, QByteArray::fromHex("5901")} << QStringList{"1|1|3.45", "2|1|3.31", "3|0|0.76"};
    QTest::newRow("more cells add no rows")
            << QList<QByteArray>{three, QByteArray::fromHex("540154015401ff0f")}
            << QStringList{"1|1|3.4", "2|1|3.4", "3|0|3.4"};
    QTest::newRow("empty first message") << QList<QByteArray>{QByteArray(), three}
                                         << QStringList{"1|1|3.3", "2|1|3.31", "3|0|0.76"};
    QTest::newRow("empty later message") << QList<QByteArray>{three, QByteArray()}
                                         << QStringList{"1|1|3.3", "2|1|3.31", "3|0|0.76"};
    QTest::newRow("nothing yet") << QList<QByteArray>{} << QStringList{};
}

void tst_MonomerTables::voltages()
{
    QFETCH(QList<QByteArray>, messages);
    QFETCH(QStringList, shown);
    MonomerVoltageWidget page;
    for (const QByteArray &message : messages)
        page.updateBMV(decodeBmv(message));
    QCOMPARE(rows(*page.findChild<QTableWidget *>(QStringLiteral("m_pTableWidgetVoltageList"))), shown);
}

void tst_MonomerTables::temperatures_data()
{
    QTest::addColumn<QList<QByteArray>>("messages");
    QTest::addColumn<QStringList>("shown");
    const QByteArray four = QByteArray::fromHex("00325afa");
    // Sampling points count from 1, as the battery status numbers its test points.
    QTest::newRow("first message") << QList<QByteArray>{four} << QStringList{"1|1|-50", "2|2|0", "3|3|40", "4|4|200"};
    QTest::newRow("fewer points change the first rows")
            << QList<QByteArray>{four, QByteArray::fromHex("4645")} << QStringList{"1|1|20", "2|2|19", "3|3|40", "4|4|200"};
    QTest::newRow("more points add no rows")
            << QList<QByteArray>{four, QByteArray::fromHex("3c3c3c3c3c")}
            << QStringList{"1|1|10", "2|2|10", "3|3|10", "4|4|10"};
    QTest::newRow("empty first message") << QList<QByteArray>{QByteArray(), QByteArray::fromHex("ff")}
                                         << QStringList{"1|1|205"};
    QTest::newRow("empty later message") << QList<QByteArray>{four, QByteArray()}
                                         << QStringList{"1|1|-50", "2|2|0", "3|3|40", "4|4|200"};
}

void tst_MonomerTables::temperatures()
{
    QFETCH(QList<QByteArray>, messages);
    QFETCH(QStringList, shown);
    MonomerTemperatureWidget page;
    for (const QByteArray &message : messages)
        page.updateBMT(decodeBmt(message));
    QCOMPARE(rows(*page.findChild<QTableWidget *>(QStringLiteral("m_pTableWidgetTemperature"))), shown);
}

void tst_MonomerTables::tableSettings()
{
    MonomerVoltageWidget voltages;
    MonomerTemperatureWidget temperatures;
    const auto *voltageTable = voltages.findChild<QTableWidget *>(QStringLiteral("m_pTableWidgetVoltageList"));
    const auto *temperatureTable = temperatures.findChild<QTableWidget *>(QStringLiteral("m_pTableWidgetTemperature"));
    QCOMPARE(voltageTable->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(voltageTable->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(temperatureTable->editTriggers(), QTableWidget().editTriggers());
    QCOMPARE(headers(*voltageTable), (QStringList{"Num", "Group number", "Voltage(V)"}));
    QCOMPARE(headers(*temperatureTable), (QStringList{"Num", "Sampling point", "Temperature(℃)"}));
    {
        ChineseCatalogue chinese;
        QVERIFY(chinese.isLoaded());
        QCOMPARE(headers(*voltageTable), (QStringList{"序号", "组号", "电压(V)"}));
        QCOMPARE(headers(*temperatureTable), (QStringList{"序号", "采样点", "温度(℃)"}));
    }
    QCOMPARE(headers(*voltageTable), (QStringList{"Num", "Group number", "Voltage(V)"}));
}

MEROVAST_GUI_TEST_MAIN(tst_MonomerTables)
#include "tst_monomertables.moc"
