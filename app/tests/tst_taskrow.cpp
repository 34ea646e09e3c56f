// A task table row: its file fields, the checks before it is sent, the
// send task it makes and the ID-format conversion of its ID.
#include "candata.h"
#include "taskobj.h"
#include "taskrow.h"

#include <QtTest>

#include <functional>

using RowEdit = std::function<void(TaskRow &)>;
Q_DECLARE_METATYPE(RowEdit)
Q_DECLARE_METATYPE(TaskRow::Field)

class tst_TaskRow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldsOfNewRow();
    void fieldsKeepTwelve();
    void fromFields_data();
    void fromFields();
    void fault_data();
    void fault();
    void dataBytes_data();
    void dataBytes();
    void toTask();
    void convertId_data();
    void convertId();
};

void tst_TaskRow::fieldsOfNewRow()
{
    QCOMPARE(TaskRow().fields().join(QLatin1Char(',')),
             QStringLiteral("1,,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0"));
}

void tst_TaskRow::fieldsKeepTwelve()
{
    TaskRow row;
    row.name = QStringLiteral("a,b\nc");
    row.data = QStringLiteral("11,22");
    row.interval = QStringLiteral("1,000");
    const QStringList fields = row.fields().join(QLatin1Char(',')).split(QLatin1Char(','));
    QCOMPARE(fields.size(), 12);
    QCOMPARE(fields.at(TaskRow::Name), QStringLiteral("a b c"));
    QCOMPARE(fields.at(TaskRow::Data), QStringLiteral("11 22"));
    QCOMPARE(fields.at(TaskRow::Interval), QStringLiteral("1 000"));
}

void tst_TaskRow::fromFields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<RowEdit>("expected");  // applied to a new row

    QTest::newRow("all fields") << "0,Motor,3,1abc,1,1,01 02,2,1,8,50,250" << true << RowEdit([](TaskRow &r) {
        r.checked = false;
        r.name = QStringLiteral("Motor");
        r.sendMode = 3;
        r.id = QStringLiteral("1abc");
        r.format = 1;
        r.type = 1;
        r.data = QStringLiteral("01 02");
        r.frames = QStringLiteral("2");
        r.idRule = 1;
        r.dataRule = 8;
        r.times = QStringLiteral("50");
        r.interval = QStringLiteral("250");
    });
    QTest::newRow("empty texts kept") << "1,,0,,0,0,,,0,0,," << true << RowEdit([](TaskRow &r) {
        r.id.clear();
        r.data.clear();
        r.frames.clear();
        r.times.clear();
        r.interval.clear();
    });
    QTest::newRow("check box 'yes'") << "yes,,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0" << true
                                     << RowEdit([](TaskRow &r) { r.checked = false; });
    QTest::newRow("check box empty") << ",,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0" << true
                                     << RowEdit([](TaskRow &r) { r.checked = false; });
    QTest::newRow("choices not numbers") << "1,,x,0000,,y,11 22 33 44 55 66 77 88,1,z,?,1,0" << true
                                         << RowEdit([](TaskRow &) {});
    QTest::newRow("choice out of list kept") << "1,,7,0000,0,0,11 22 33 44 55 66 77 88,1,0,9,1,0" << true
                                             << RowEdit([](TaskRow &r) {
                                                    r.sendMode = 7;
                                                    r.dataRule = 9;
                                                });
    QTest::newRow("11 fields") << "1,,0,0000,0,0,11 22,1,0,0,1" << false << RowEdit();
    QTest::newRow("13 fields") << "1,a,b,0,0000,0,0,11 22,1,0,0,1,0" << false << RowEdit();
    QTest::newRow("empty line") << "" << false << RowEdit();
}

void tst_TaskRow::fromFields()
{
    QFETCH(QString, line);
    QFETCH(bool, taken);
    QFETCH(RowEdit, expected);
    TaskRow row;
    row.name = QStringLiteral("untouched");
    QCOMPARE(TaskRow::fromFields(line.split(QLatin1Char(',')), row), taken);
    if (!taken) {
        QCOMPARE(row.name, QStringLiteral("untouched"));
        return;
    }
    TaskRow want;
    expected(want);
    QCOMPARE(row, want);
    QCOMPARE(row.fields().join(QLatin1Char(',')), want.fields().join(QLatin1Char(',')));
}

void tst_TaskRow::fault_data()
{
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<RowEdit>("edit");
    QTest::addColumn<TaskRow::Field>("fault");

    const auto id = [](const char *text, bool extended) {
        return RowEdit([=](TaskRow &r) {
            r.id = QLatin1String(text);
            r.format = extended ? 1 : 0;
        });
    };
    const auto field = [](QString TaskRow::*member, const char *text) {
        return RowEdit([=](TaskRow &r) { r.*member = QLatin1String(text); });
    };

    QTest::newRow("new row") << 0 << RowEdit([](TaskRow &) {}) << TaskRow::NoField;
    QTest::newRow("standard 7ff") << 0 << id("7ff", false) << TaskRow::NoField;
    QTest::newRow("standard 800") << 0 << id("800", false) << TaskRow::Id;
    QTest::newRow("extended 1fffffff") << 0 << id("1fffffff", true) << TaskRow::NoField;
    QTest::newRow("extended 20000000") << 0 << id("20000000", true) << TaskRow::Id;
    QTest::newRow("past 64 bits") << 0 << id("10000000000000000", true) << TaskRow::Id;
    QTest::newRow("ID not hexadecimal reads 0") << 0 << id("zz", false) << TaskRow::NoField;
    QTest::newRow("aligned standard ffe0") << 1 << id("ffe0", false) << TaskRow::NoField;
    QTest::newRow("aligned standard ffff") << 1 << id("ffff", false) << TaskRow::NoField;
    QTest::newRow("aligned standard 10000") << 1 << id("10000", false) << TaskRow::Id;
    QTest::newRow("aligned extended ffffffff") << 1 << id("ffffffff", true) << TaskRow::NoField;
    QTest::newRow("aligned extended 100000000") << 1 << id("100000000", true) << TaskRow::Id;
    QTest::newRow("16 digits") << 0 << field(&TaskRow::data, "0011223344556677") << TaskRow::NoField;
    QTest::newRow("9 bytes") << 0 << field(&TaskRow::data, "11 22 33 44 55 66 77 88 99") << TaskRow::Data;
    QTest::newRow("17 digits") << 0 << field(&TaskRow::data, "00112233445566778") << TaskRow::Data;
    QTest::newRow("no data") << 0 << field(&TaskRow::data, "") << TaskRow::NoField;
    QTest::newRow("frames 3") << 0 << field(&TaskRow::frames, "3") << TaskRow::NoField;
    QTest::newRow("frames 4") << 0 << field(&TaskRow::frames, "4") << TaskRow::Frames;
    QTest::newRow("frames 0") << 0 << field(&TaskRow::frames, "0") << TaskRow::Frames;
    QTest::newRow("frames -1") << 0 << field(&TaskRow::frames, "-1") << TaskRow::Frames;
    QTest::newRow("frames text") << 0 << field(&TaskRow::frames, "x") << TaskRow::Frames;
    QTest::newRow("frames too long") << 0 << field(&TaskRow::frames, "18446744073709551617") << TaskRow::Frames;
    QTest::newRow("times 0") << 0 << field(&TaskRow::times, "0") << TaskRow::Times;
    QTest::newRow("times max") << 0 << field(&TaskRow::times, "999999999") << TaskRow::NoField;
    QTest::newRow("times past max") << 0 << field(&TaskRow::times, "1000000000") << TaskRow::Times;
    QTest::newRow("interval max") << 0 << field(&TaskRow::interval, "99999999") << TaskRow::NoField;
    QTest::newRow("interval past max") << 0 << field(&TaskRow::interval, "100000000") << TaskRow::Interval;
    QTest::newRow("interval -1") << 0 << field(&TaskRow::interval, "-1") << TaskRow::Interval;
    QTest::newRow("interval too long") << 0 << field(&TaskRow::interval, "-99999999999999999999")
                                       << TaskRow::Interval;
    QTest::newRow("interval text reads 0") << 0 << field(&TaskRow::interval, "abc") << TaskRow::NoField;
    QTest::newRow("first fault named") << 0 << RowEdit([](TaskRow &r) {
        r.frames = QStringLiteral("9");
        r.times = QStringLiteral("0");
    }) << TaskRow::Frames;
}

void tst_TaskRow::fault()
{
    QFETCH(int, idFormat);
    QFETCH(RowEdit, edit);
    QFETCH(TaskRow::Field, fault);
    TaskRow row;
    edit(row);
    QCOMPARE(row.fault(idFormat), fault);
}

void tst_TaskRow::dataBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lone digits") << "1 2 3" << QByteArray("\x12\x30", 2);
    QTest::newRow("odd last") << "ABC" << QByteArray("\xAB\xC0", 2);
    QTest::newRow("not hexadecimal") << "GG 11" << QByteArray("\x00\x11", 2);
    QTest::newRow("empty") << "" << QByteArray();
    QTest::newRow("blanks only") << "  \t " << QByteArray();
    QTest::newRow("eight") << " 11 22 33 44 55 66 77 88 " << QByteArray("\x11\x22\x33\x44\x55\x66\x77\x88");
}

void tst_TaskRow::dataBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TaskRow::dataBytes(text), bytes);
}

void tst_TaskRow::toTask()
{
    TaskRow row;
    row.sendMode = 2;
    row.id = QStringLiteral("1ABCDEF");
    row.format = 1;
    row.type = 1;
    row.data = QStringLiteral("de ad b");
    row.frames = QStringLiteral(" 3 ");
    row.idRule = 1;
    row.dataRule = 4;
    row.times = QStringLiteral("10");
    row.interval = QStringLiteral("100");
    const taskObj task = row.toTask();
    QCOMPARE(task.Frames, 3);
    QCOMPARE(task.Times, 10);
    QCOMPARE(task.Interval, 100);
    QCOMPARE(task.IdIncrease, 1);
    QCOMPARE(task.DataIncrease, 4);
    QCOMPARE(task.size(), 1);
    QCOMPARE(task.at(0).size(), 1);
    const CanObj &f = task.at(0).at(0);
    QCOMPARE(f.ID, 0x1ABCDEFu);
    QCOMPARE(int(f.SendType), 2);
    QCOMPARE(int(f.ExternFlag), 1);
    QCOMPARE(int(f.RemoteFlag), 1);
    QCOMPARE(int(f.DataLen), 3);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.Data), 8), QByteArray("\xDE\xAD\xB0\0\0\0\0\0", 8));
    QCOMPARE(f.DeviceTime, 0u);
    QCOMPARE(f.userValue, 0);
}

void tst_TaskRow::convertId_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<int>("idFormat");
    QTest::addColumn<QString>("converted");
    QTest::newRow("standard to aligned") << "7ff" << false << 1 << "ffe0";
    QTest::newRow("extended to aligned") << "1fffffff" << true << 1 << "fffffff8";
    QTest::newRow("standard back") << "ffe0" << false << 0 << "07ff";
    QTest::newRow("extended back") << "fffffff8" << true << 0 << "1fffffff";
    QTest::newRow("small standard padded") << "1" << false << 1 << "0020";
    QTest::newRow("longer keeps its digits") << "20000000" << true << 1 << "100000000";
    QTest::newRow("upper case in") << "7FF" << false << 1 << "ffe0";
    QTest::newRow("not hexadecimal") << "zz" << true << 1 << "00000000";
}

void tst_TaskRow::convertId()
{
    QFETCH(QString, id);
    QFETCH(bool, extended);
    QFETCH(int, idFormat);
    QFETCH(QString, converted);
    QCOMPARE(TaskRow::convertId(id, extended, idFormat), converted);
}

QTEST_APPLESS_MAIN(tst_TaskRow)
#include "tst_taskrow.moc"
