#include "candata.h"
#include "canfile.h"
#include "canobj.h"
#include "testhelpers.h"
#include "ulcanfileformat.h"

#include <QtTest>

class tst_CANFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headerAndSize_data();
    void headerAndSize();
    void recordFields();
    void lengthAboveEightIsRejected();
    void flagsAndIds_data();
    void flagsAndIds();
    void missingFile();

private:
    QString write(const QByteArray &bytes) { return m_dir.write(bytes, QStringLiteral(".can")); }
    TestFiles m_dir;
};

static QByteArray record(uint32_t id, uint32_t stamp, uint8_t len, uint8_t fill)
{
    QByteArray r(24, '\0');
    qToLittleEndian<quint32>(id, r.data());
    qToLittleEndian<quint32>(stamp, r.data() + 4);
    r[9] = char(0xFF);
    r[12] = char(len);
    for (int i = 0; i < 8; ++i)
        r[13 + i] = char(fill + i);
    return r;
}

void tst_CANFile::headerAndSize_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("prepared");
    QTest::addColumn<int>("frames");
    QTest::addColumn<bool>("error");  // after the last frame
    const QByteArray head = UlCanFileFormat::header();
    const QByteArray three = record(1, 10, 8, 0) + record(2, 20, 8, 8) + record(3, 30, 8, 16);
    QTest::newRow("three records") << head + three << true << 3 << false;
    QTest::newRow("header only") << head << true << 0 << false;
    QTest::newRow("trailing part of a record") << head + record(1, 10, 8, 0) + QByteArray(6, '\1') << true << 1 << true;
    QTest::newRow("truncated first record") << head + QByteArray(23, '\1') << true << 0 << true;
    QTest::newRow("zero, then junk after the text") << QByteArray("Reririr CAN Data\0\1\2\3", 20) + three << true << 3 << false;
    QTest::newRow("junk in bytes 16 to 19") << QByteArray("Reririr CAN Data\1\0\0\0", 20) + three << false << 0 << true;
    QTest::newRow("other text") << QByteArray("Reririr CAN Date\0\0\0\0", 20) + three << false << 0 << true;
    QTest::newRow("short header") << head.left(12) << false << 0 << true;
    QTest::newRow("one byte of the header") << head.left(1) << false << 0 << true;
    QTest::newRow("empty: no frames") << QByteArray() << true << 0 << false;
}

void tst_CANFile::headerAndSize()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, prepared);
    QFETCH(int, frames);
    QFETCH(bool, error);
    CANFile file;
    QVERIFY(file.open(write(bytes)));
    QCOMPARE(file.prepare(), prepared);
    int n = 0;
    CanObj f;
    while (prepared && file.getFrame(f)) {
        ++n;
        QCOMPARE(f.ID, uint32_t(n));
    }
    QCOMPARE(n, frames);
    QCOMPARE(file.hasError(), error);
    if (error)
        QVERIFY(!file.errorString().isEmpty());
}

// The stored stamp is in 0.1 ms; the frame gets milliseconds. Fields the
// record does not carry keep the caller's values.
void tst_CANFile::recordFields()
{
    QByteArray r = record(0x18EBFF00, 0x64, 3, 0xA0);
    r[10] = 1;
    r[11] = 1;
    CANFile file;
    QVERIFY(file.open(write(UlCanFileFormat::header() + r + record(0x7FF, 0xFFFFFFFF, 0, 0))));
    QVERIFY(file.prepare());
    CanObj f;
    f.SendType = 2;
    f.HasDeviceTime = 1;
    f.userValue = 77;
    QVERIFY(file.getFrame(f));
    QCOMPARE(f.ID, 0x18EBFF00u);
    QCOMPARE(f.DeviceTime, 10u);
    QCOMPARE(f.RemoteFlag, uint8_t(1));
    QCOMPARE(f.ExternFlag, uint8_t(1));
    QCOMPARE(f.DataLen, uint8_t(3));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.Data), 8), QByteArray("\xA0\xA1\xA2\xA3\xA4\xA5\xA6\xA7"));
    QCOMPARE(f.SendType, uint8_t(2));
    QCOMPARE(f.HasDeviceTime, uint8_t(1));
    QCOMPARE(f.userValue, 77);
    QVERIFY(file.getFrame(f));
    QCOMPARE(f.DeviceTime, 429496729u);
    QCOMPARE(f.RemoteFlag, uint8_t(0));
    QVERIFY(!file.getFrame(f));
    QVERIFY(!file.hasError());

    CanData chunk;
    QVERIFY(!file.getFrames(chunk, 4));
}

void tst_CANFile::lengthAboveEightIsRejected()
{
    CANFile file;
    QVERIFY(file.open(write(UlCanFileFormat::header() + record(1, 0, 8, 0) + record(2, 0, 9, 0) + record(3, 0, 1, 0))));
    QVERIFY(file.prepare());
    CanObj f;
    QVERIFY(file.getFrame(f));
    const CanObj before = f;
    QVERIFY(!file.getFrame(f));
    QVERIFY(file.hasError());
    QVERIFY2(file.errorString().contains(QLatin1String("Record 2")), qPrintable(file.errorString()));
    QCOMPARE(f.ID, before.ID);
    QCOMPARE(f.DataLen, before.DataLen);
}

void tst_CANFile::flagsAndIds_data()
{
    QTest::addColumn<int>("remote");
    QTest::addColumn<int>("extended");
    QTest::addColumn<uint>("id");
    QTest::addColumn<QString>("error");  // empty: read
    const QString flag = QStringLiteral("Record 2 has a remote or extended flag other than 0 or 1.");
    const QString id = QStringLiteral("Record 2: the ID does not fit its frame format");
    QTest::newRow("flags 0") << 0 << 0 << 0x7FFu << QString();
    QTest::newRow("flags 1") << 1 << 1 << 0x1FFFFFFFu << QString();
    QTest::newRow("remote flag 2") << 2 << 0 << 0x100u << flag;
    QTest::newRow("remote flag 255") << 255 << 0 << 0x100u << flag;
    QTest::newRow("extended flag 2") << 0 << 2 << 0x100u << flag;
    QTest::newRow("extended flag 255") << 0 << 255 << 0x100u << flag;
    QTest::newRow("standard ID 0x800") << 0 << 0 << 0x800u << id;
    QTest::newRow("extended ID 0x20000000") << 0 << 1 << 0x20000000u << id;
    QTest::newRow("ID of all bits") << 1 << 1 << 0xFFFFFFFFu << id;
}

// The second record is checked; a refused one leaves the frame as the
// first record made it and names its number.
void tst_CANFile::flagsAndIds()
{
    QFETCH(int, remote);
    QFETCH(int, extended);
    QFETCH(uint, id);
    QFETCH(QString, error);
    QByteArray second = record(id, 20, 1, 0);
    second[10] = char(remote);
    second[11] = char(extended);
    CANFile file;
    QVERIFY(file.open(write(UlCanFileFormat::header() + record(0x55, 10, 2, 0) + second)));
    QVERIFY(file.prepare());
    CanObj f;
    QVERIFY(file.getFrame(f));
    const QString before = TestFrames::describe(f);
    QCOMPARE(file.getFrame(f), error.isEmpty());
    QCOMPARE(file.hasError(), !error.isEmpty());
    if (error.isEmpty()) {
        QCOMPARE(f.ID, id);
        QCOMPARE(int(f.RemoteFlag), remote);
        QCOMPARE(int(f.ExternFlag), extended);
    } else {
        QVERIFY2(file.errorString().startsWith(error), qPrintable(file.errorString()));
        QCOMPARE(TestFrames::describe(f), before);
    }
}

void tst_CANFile::missingFile()
{
    CANFile file;
    QVERIFY(!file.open(m_dir.filePath("none.can")));
    QVERIFY(!file.prepare());
    CanObj f;
    QVERIFY(!file.getFrame(f));
}

QTEST_GUILESS_MAIN(tst_CANFile)
#include "tst_canfile.moc"
