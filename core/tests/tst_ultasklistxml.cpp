#include "testhelpers.h"
#include "ultasklistxml.h"

#include <QtTest>

class tst_UlTaskListXml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void document();
    void roundTrip();
    void foreignDocuments_data();
    void foreignDocuments();
    void rejectedTasks_data();
    void rejectedTasks();
    void dataAndLength_data();
    void dataAndLength();
    void writeFailure();
    void bounds_data();
    void bounds();
};

static taskObj task(uint32_t id, int frames, int times)
{
    CanObj f;
    f.ID = id;
    f.DataLen = 8;
    for (int i = 0; i < 8; ++i)
        f.Data[i] = uint8_t(0x11 * (i + 1));
    return TestFrames::task(f, frames, times);
}

static QByteArray written(const QList<taskObj> &tasks)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    UlTaskListXml codec;
    if (!codec.writeFile(&buffer, tasks))
        return QByteArray();
    return buffer.data();
}

static bool read(UlTaskListXml &codec, QByteArray text)
{
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    return codec.readFile(&buffer);
}

static QByteArray withTask(const QByteArray &attributes)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xml>\n<xml version=\"1.0\">\n"
           "<TaskObj Frames=\"1\" Interval=\"0\" Times=\"1\" IdIncrease=\"0\" DataIncrease=\"0\" ID=\"1\" "
           "SendType=\"0\" RemoteFlag=\"0\" ExternFlag=\"0\" DataLen=\"8\" Data=\"00 00 00 00 00 00 00 00\"/>\n"
           "<TaskObj " + attributes + "/>\n"
           "<TaskObj Frames=\"1\" Interval=\"0\" Times=\"1\" IdIncrease=\"0\" DataIncrease=\"0\" ID=\"3\" "
           "SendType=\"0\" RemoteFlag=\"0\" ExternFlag=\"0\" DataLen=\"8\" Data=\"00 00 00 00 00 00 00 00\"/>\n"
           "</xml>\n";
}

static const QByteArray Good = "Frames=\"3\" Interval=\"0\" Times=\"2\" IdIncrease=\"1\" DataIncrease=\"0\" "
                               "ID=\"16\" SendType=\"0\" RemoteFlag=\"0\" ExternFlag=\"0\" DataLen=\"8\" "
                               "Data=\"01 02 03 04 05 06 07 08\"";

static QByteArray replaced(const char *name, const QByteArray &value)
{
    QByteArray attributes = Good;
    const QByteArray key = QByteArray(" ") + name + "=\"";
    const int at = (" " + attributes).indexOf(key);
    const int start = at + key.size() - 1;
    const int end = attributes.indexOf('"', start);
    if (value.isNull())  // drop the attribute
        return attributes.remove(qMax(0, at - 1), end + 1 - qMax(0, at - 1));
    return attributes.replace(start, end - start, value);
}

void tst_UlTaskListXml::document()
{
    taskObj t = task(0x123, 3, 10);
    t.Interval = 100;
    t.IdIncrease = 1;
    t.DataIncrease = 2;
    t.frames[0][0].SendType = 2;
    t.frames[0][0].DataLen = 2;
    taskObj frameless = task(0x1, 1, 1);
    frameless.frames.clear();
    QCOMPARE(written({t, frameless}),
             QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<!DOCTYPE xml>\n"
                        "<xml version=\"1.0\">\n"
                        "    <TaskObj Frames=\"3\" Interval=\"100\" Times=\"10\" IdIncrease=\"1\" "
                        "DataIncrease=\"2\" ID=\"291\" SendType=\"2\" RemoteFlag=\"0\" ExternFlag=\"0\" "
                        "DataLen=\"2\" Data=\"11 22 33 44 55 66 77 88\"/>\n"
                        "</xml>\n"));
}

void tst_UlTaskListXml::roundTrip()
{
    taskObj a = task(0x7FF, 3, 10);
    a.Interval = 250;
    a.IdIncrease = 1;
    a.DataIncrease = 8;
    a.frames[0][0].DataLen = 2;
    a.frames[0][0].SendType = 1;
    taskObj b = task(0x1FFFFFFF, 100, UlTaskListXml::MaxTimes);
    b.frames[0][0].ExternFlag = 1;
    b.frames[0][0].RemoteFlag = 1;
    b.frames[0][0].DataLen = 0;
    b.frames[0][0].SendType = 3;
    b.Interval = -1;
    const QList<taskObj> tasks = {a, b};

    UlTaskListXml codec;
    QVERIFY(read(codec, written(tasks)));
    QCOMPARE(codec.rejected(), QStringList());
    const QList<taskObj> back = codec.tasks();
    QCOMPARE(back.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const taskObj &in = tasks.at(i);
        const taskObj &out = back.at(i);
        QCOMPARE(out.Frames, in.Frames);
        QCOMPARE(out.Interval, in.Interval);
        QCOMPARE(out.Times, in.Times);
        QCOMPARE(out.IdIncrease, in.IdIncrease);
        QCOMPARE(out.DataIncrease, in.DataIncrease);
        // One template, however many frames the task sends.
        QCOMPARE(out.size(), 1);
        QCOMPARE(out.at(0).size(), 1);
        const CanObj &f = out.at(0).at(0);
        const CanObj &g = in.at(0).at(0);
        QCOMPARE(f.ID, g.ID);
        QCOMPARE(f.SendType, g.SendType);
        QCOMPARE(f.RemoteFlag, g.RemoteFlag);
        QCOMPARE(f.ExternFlag, g.ExternFlag);
        QCOMPARE(f.DataLen, g.DataLen);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.Data), 8),
                 QByteArray(reinterpret_cast<const char *>(g.Data), 8));
    }
}

void tst_UlTaskListXml::foreignDocuments_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("reason");

    const QString notOurs = QStringLiteral("The file is not an XBEL version 1.0 file.");
    QTest::newRow("other root") << QByteArray("<?xml version=\"1.0\"?>\n<tasks version=\"1.0\"/>") << notOurs;
    QTest::newRow("other version") << QByteArray("<xml version=\"2.0\"><TaskObj/></xml>") << notOurs;
    QTest::newRow("no version") << QByteArray("<xml/>") << notOurs;
    QTest::newRow("unclosed") << withTask(Good).replace("</xml>", "<xml>") << QString();
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("not XML") << QByteArray("1,,0,0000,0,0,11 22,1,0,0,1,0\n") << QString();

    // Nested entities that would expand to 10^12 characters.
    QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE xml [\n<!ENTITY e0 \"aaaaaaaaaaaaaaaaaaaa\">\n";
    for (int i = 1; i <= 12; ++i) {
        bomb += "<!ENTITY e" + QByteArray::number(i) + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += "&e" + QByteArray::number(i - 1) + ";";
        bomb += "\">\n";
    }
    bomb += "]>\n<xml version=\"1.0\"><TaskObj " + replaced("ID", "&e12;") + "/></xml>\n";
    QTest::newRow("entity bomb") << bomb << QString();
}

void tst_UlTaskListXml::foreignDocuments()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, reason);

    UlTaskListXml codec;
    QVERIFY(!read(codec, text));
    QVERIFY(codec.tasks().isEmpty());
    const QStringList lines = codec.errorString().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QVERIFY(!lines.at(0).isEmpty());
    if (!reason.isEmpty())
        QCOMPARE(lines.at(0), reason);
    QVERIFY(QRegularExpression(QStringLiteral("^Line \\d+, column \\d+$")).match(lines.at(1)).hasMatch());
}

void tst_UlTaskListXml::rejectedTasks_data()
{
    QTest::addColumn<QByteArray>("attributes");
    QTest::addColumn<QString>("named");

    QTest::newRow("Times beyond int") << replaced("Times", "1000000000000") << "Times";
    QTest::newRow("Times above the pages' limit") << replaced("Times", "2147483647") << "Times";
    QTest::newRow("Times 0") << replaced("Times", "0") << "Times";
    QTest::newRow("Frames 0") << replaced("Frames", "0") << "Frames";
    QTest::newRow("Frames 1000") << replaced("Frames", "1000") << "Frames";
    QTest::newRow("Frames not a number") << replaced("Frames", "3x") << "Frames";
    QTest::newRow("no Frames") << replaced("Frames", QByteArray()) << "Frames";
    QTest::newRow("no Times") << replaced("Times", QByteArray()) << "Times";
    QTest::newRow("no ID") << replaced("ID", QByteArray()) << "ID";
    QTest::newRow("no Data") << replaced("Data", QByteArray()) << "Data";
    QTest::newRow("ID negative") << replaced("ID", "-5") << "ID";
    QTest::newRow("Data not hexadecimal") << replaced("Data", "01 zz") << "Data";
    QTest::newRow("DataIncrease 9") << replaced("DataIncrease", "9") << "DataIncrease";
    QTest::newRow("ExternFlag 2") << replaced("ExternFlag", "2") << "ExternFlag";
    QTest::newRow("SendType 4") << replaced("SendType", "4") << "SendType";
    QTest::newRow("DataLen not a number") << replaced("DataLen", "eight") << "DataLen";
    QTest::newRow("DataLen above 8") << replaced("DataLen", "12") << "DataLen";
    QTest::newRow("DataLen below 0") << replaced("DataLen", "-3") << "DataLen";
    QTest::newRow("standard ID above 0x7FF") << replaced("ID", "2048") << "ID";
    QTest::newRow("extended ID above 0x1FFFFFFF")
        << replaced("ID", "536870912").replace("ExternFlag=\"0\"", "ExternFlag=\"1\"") << "ID";
    QTest::newRow("nothing") << QByteArray() << "Frames";
}

void tst_UlTaskListXml::rejectedTasks()
{
    QFETCH(QByteArray, attributes);
    QFETCH(QString, named);

    UlTaskListXml codec;
    QVERIFY(read(codec, withTask(attributes)));
    const QList<taskObj> tasks = codec.tasks();
    QCOMPARE(tasks.size(), 2);  // its neighbours load
    QCOMPARE(tasks.at(0).at(0).at(0).ID, 1u);
    QCOMPARE(tasks.at(1).at(0).at(0).ID, 3u);
    QCOMPARE(codec.rejected().size(), 1);
    const QString message = codec.rejected().first();
    QVERIFY2(message.contains(QStringLiteral("line 5")), qPrintable(message));
    QVERIFY2(message.contains(QLatin1Char('"') + named + QLatin1Char('"')), qPrintable(message));
}

void tst_UlTaskListXml::dataAndLength_data()
{
    QTest::addColumn<QByteArray>("attributes");
    QTest::addColumn<int>("dataLen");
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("as saved") << Good << 8 << QByteArray::fromHex("0102030405060708");
    QTest::newRow("short frame keeps its length") << replaced("DataLen", "2") << 2
                                                  << QByteArray::fromHex("0102030405060708");
    QTest::newRow("no length: bytes given") << replaced("DataLen", QByteArray()).replace("01 02 03 04 05 06 07 08", "a1  b2 c3")
                                            << 3 << QByteArray::fromHex("a1b2c30000000000");
    QTest::newRow("more than 8 bytes") << replaced("Data", "1 2 3 4 5 6 7 8 9 10") << 8
                                       << QByteArray::fromHex("0102030405060708");
    QTest::newRow("last two digits count") << replaced("Data", "0x1f 123") << 8 << QByteArray::fromHex("1f23000000000000");
}

void tst_UlTaskListXml::dataAndLength()
{
    QFETCH(QByteArray, attributes);
    QFETCH(int, dataLen);
    QFETCH(QByteArray, data);

    UlTaskListXml codec;
    QVERIFY(read(codec, withTask(attributes)));
    QCOMPARE(codec.rejected(), QStringList());
    QCOMPARE(codec.tasks().size(), 3);
    const CanObj f = codec.tasks().at(1).at(0).at(0);
    QCOMPARE(int(f.DataLen), dataLen);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.Data), 8), data);
}

void tst_UlTaskListXml::writeFailure()
{
    UlTaskListXml codec;
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    QVERIFY(!codec.writeFile(&readOnly, {task(1, 1, 1)}));
    QVERIFY(!codec.errorString().isEmpty());

    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly))
        QSKIP("no /dev/full");
    QVERIFY(!codec.writeFile(&full, {task(1, 1, 1)}));
    QVERIFY(!codec.errorString().isEmpty());
}

void tst_UlTaskListXml::bounds_data()
{
    QTest::addColumn<int>("tasks");
    QTest::addColumn<int>("padding");  // bytes of comment
    QTest::addColumn<QString>("error");  // empty: read
    QTest::newRow("100000 tasks") << 100000 << 0 << QString();
    QTest::newRow("100001 tasks") << 100001 << 0 << "The file holds more than 100000 tasks.";
    QTest::newRow("above 16 MB") << 1 << 16 * 1024 * 1024 << "The file is larger than 16 MB.";
}

void tst_UlTaskListXml::bounds()
{
    QFETCH(int, tasks);
    QFETCH(int, padding);
    QFETCH(QString, error);
    QByteArray text = "<?xml version=\"1.0\"?>\n<xml version=\"1.0\">\n<!-- " + QByteArray(padding, 'x') + " -->\n";
    text.reserve(text.size() + tasks * 12 + 16);
    for (int i = 0; i < tasks; ++i)
        text += "<TaskObj/>\n";
    text += "</xml>\n";
    UlTaskListXml codec;
    QCOMPARE(read(codec, text), error.isEmpty());
    if (error.isEmpty()) {
        QCOMPARE(codec.rejected().size(), tasks);
    } else {
        QCOMPARE(codec.errorString().section(QLatin1Char('\n'), 0, 0), error);
        QVERIFY(codec.tasks().isEmpty());
        QVERIFY(codec.rejected().isEmpty());
    }
}

QTEST_GUILESS_MAIN(tst_UlTaskListXml)
#include "tst_ultasklistxml.moc"
