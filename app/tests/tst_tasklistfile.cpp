// Task-list files: written and read back, line ends and code pages of
// files from other systems, lines skipped and refused, failures, a
// cancelled read.
#include "tasklistfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

using Refusals = QList<TaskListFile::Refusal>;
Q_DECLARE_METATYPE(TaskRow)
Q_DECLARE_METATYPE(Refusals)

namespace {

const QByteArray NewRowLine = "1,,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0";

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TaskRow named(const QString &name, const QString &id = QStringLiteral("0000"))
{
    TaskRow row;
    row.name = name;
    row.id = id;
    return row;
}

} // namespace

class tst_TaskListFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void writeThenRead();
    void read_data();
    void read();
    void refusalsFollowIdFormat();
    void unreadableFile();
    void tooLargeFiles_data();
    void tooLargeFiles();
    void unwritableFile();
    void failedReadForgetsLastFile();
    void cancelledRead();

private:
    QString write(const QByteArray &bytes);

    QTemporaryDir dir;
    int files = 0;
};

void tst_TaskListFile::init()
{
    QVERIFY(dir.isValid());
}

QString tst_TaskListFile::write(const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("%1.txt").arg(++files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_TaskListFile::writeThenRead()
{
    TaskRow second;
    second.checked = false;
    second.name = QStringLiteral("电机 1");
    second.sendMode = 3;
    second.id = QStringLiteral("1fffffff");
    second.format = 1;
    second.type = 1;
    second.data = QString();
    second.frames = QStringLiteral("3");
    second.idRule = 1;
    second.dataRule = 8;
    second.times = QStringLiteral("999999999");
    second.interval = QStringLiteral("99999999");
    const QList<TaskRow> rows{TaskRow(), second, named(QStringLiteral("a,b"))};

    const QString path = write(QByteArray(4096, 'x'));  // an older, longer file is replaced
    TaskListFile file;
    QVERIFY2(file.write(path, rows), qPrintable(file.errorString()));
    QCOMPARE(fileBytes(path), NewRowLine + "\n" + QStringLiteral("0,电机 1,3,1fffffff,1,1,,3,1,8,999999999,99999999\n").toUtf8()
                                      + "1,a b,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n");

    QVERIFY(file.read(path, 0));
    QCOMPARE(file.rows(), (QList<TaskRow>{TaskRow(), second, named(QStringLiteral("a b"))}));
    QCOMPARE(file.skippedLines(), 0);
    QCOMPARE(file.refusals(), Refusals());

    TaskListFile empty;
    QVERIFY(empty.write(path, {}));
    QCOMPARE(fileBytes(path), QByteArray());
}

void tst_TaskListFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<TaskRow>>("rows");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<Refusals>("refused");

    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    QVERIFY(gbk);
    const QString motor = QStringLiteral("电机");

    QTest::newRow("CR LF") << QByteArray("1,a,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\r\n"
                                         "1,b,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\r\n")
                           << QList<TaskRow>{named("a"), named("b")} << 0 << Refusals();
    QTest::newRow("CR LF, no end on last line")
            << QByteArray("1,a,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\r\n"
                          "1,b,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0")
            << QList<TaskRow>{named("a"), named("b")} << 0 << Refusals();
    QTest::newRow("GBK names, CR LF")
            << gbk->fromUnicode(QStringLiteral("1,%1,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\r\n"
                                               "1,%1 2,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\r\n")
                                        .arg(motor))
            << QList<TaskRow>{named(motor), named(motor + QStringLiteral(" 2"))} << 0 << Refusals();
    QTest::newRow("UTF-8 with byte-order mark")
            << "\xEF\xBB\xBF" + QStringLiteral("1,%1,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n").arg(motor).toUtf8()
            << QList<TaskRow>{named(motor)} << 0 << Refusals();
    QTest::newRow("13, 11 fields and blank lines")
            << QByteArray("1,a,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n"
                          "1,x,y,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n"
                          "\n"
                          "   \r\n"
                          "1,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n"
                          "1,b,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n")
            << QList<TaskRow>{named("a"), named("b")} << 2 << Refusals();
    QTest::newRow("bad Frames and ID refused, line numbers count every line")
            << QByteArray("1,a,0,0000,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n"
                          "\n"
                          "1,b,0,0000,0,0,11 22 33 44 55 66 77 88,5,0,0,1,0\n"
                          "1,c,0,800,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n"
                          "1,d,0,7ff,0,0,11 22 33 44 55 66 77 88,1,0,0,1,0\n")
            << QList<TaskRow>{named("a"), named("d", "7ff")} << 0
            << Refusals{{3, TaskRow::Frames}, {4, TaskRow::Id}};
    QTest::newRow("no acceptable line") << QByteArray("a,b,c\n\n1,2\n") << QList<TaskRow>() << 2 << Refusals();
    QTest::newRow("empty file") << QByteArray() << QList<TaskRow>() << 0 << Refusals();
}

void tst_TaskListFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<TaskRow>, rows);
    QFETCH(int, skipped);
    QFETCH(Refusals, refused);
    TaskListFile file;
    QVERIFY(file.read(write(bytes), 0));
    QCOMPARE(file.rows(), rows);
    QCOMPARE(file.skippedLines(), skipped);
    QCOMPARE(file.refusals(), refused);
}

void tst_TaskListFile::refusalsFollowIdFormat()
{
    const QString path = write("1,,0,ffe0,0,0,,1,0,0,1,0\n1,,0,7ff,0,0,,1,0,0,1,0\n");
    TaskListFile file;
    QVERIFY(file.read(path, 0));
    QCOMPARE(file.rows().size(), 1);
    QCOMPARE(file.rows().at(0).id, QStringLiteral("7ff"));
    QCOMPARE(file.refusals(), (Refusals{{1, TaskRow::Id}}));
    QVERIFY(file.read(path, 1));
    QCOMPARE(file.rows().size(), 2);
    QCOMPARE(file.refusals(), Refusals());
}

void tst_TaskListFile::unreadableFile()
{
    TaskListFile file;
    QVERIFY(!file.read(dir.filePath(QStringLiteral("missing.txt")), 0));
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY(!file.read(dir.path(), 0));  // a folder
    QVERIFY(!file.errorString().isEmpty());
}

void tst_TaskListFile::tooLargeFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");
    const QByteArray line = NewRowLine + '\n';
    QTest::newRow("100,000 tasks and blank lines") << line.repeated(100000) + "\n\n" << true;
    QTest::newRow("100,001 tasks") << line.repeated(100001) << false;
    QTest::newRow("past 16 MB") << QByteArray(16 * 1024 * 1024 + 1, ' ') << false;
}

void tst_TaskListFile::tooLargeFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    TaskListFile file;
    QCOMPARE(file.read(write(bytes), 0), accepted);
    QCOMPARE(file.tooLargeRefused(), !accepted);
    QCOMPARE(file.rows().size(), accepted ? 100000 : 0);
    QCOMPARE(file.errorString().isEmpty(), accepted);
}

void tst_TaskListFile::unwritableFile()
{
    TaskListFile file;
    QVERIFY(!file.write(dir.filePath(QStringLiteral("no/such/folder/tasks.txt")), {TaskRow()}));
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY(!file.write(dir.path(), {TaskRow()}));
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY(QFileInfo(dir.path()).isDir());
}

void tst_TaskListFile::failedReadForgetsLastFile()
{
    TaskListFile file;
    QVERIFY(file.read(write(NewRowLine + "\n1,2\n"), 0));
    QCOMPARE(file.rows().size(), 1);
    QVERIFY(!file.read(dir.filePath(QStringLiteral("missing.txt")), 0));
    QCOMPARE(file.rows().size(), 0);
    QCOMPARE(file.skippedLines(), 0);
}

// A cancel from another thread ends the read in progress or the next one
// with nothing read; a whole read reports all its lines done.
void tst_TaskListFile::cancelledRead()
{
    const QString path = write((NewRowLine + '\n').repeated(3000));
    TaskListFile file;
    QVERIFY(file.read(path, 0));
    QCOMPARE(file.progress(), 100);
    QCOMPARE(file.takeRows().size(), 3000);
    QVERIFY(file.rows().isEmpty());
    file.cancel();
    QVERIFY(!file.read(path, 0));
    QVERIFY(file.cancelled());
    QVERIFY(!file.tooLargeRefused());
    QVERIFY(file.rows().isEmpty());
    QCOMPARE(file.skippedLines(), 0);
}

QTEST_APPLESS_MAIN(tst_TaskListFile)
#include "tst_tasklistfile.moc"
