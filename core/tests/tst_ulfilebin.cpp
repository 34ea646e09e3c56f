#include "candata.h"
#include "canobj.h"
#include "ulfilebin.h"

#include <QtTest>

class tst_UlFileBin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chunks();
    void singleFrames();
    void readErrorIsNotTheEnd();
    void baseReaderDoesNothing();

private:
    QString write(const QByteArray &bytes);
    QTemporaryDir m_dir;
};

static QByteArray counting(int n)
{
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes += char(i + 1);
    return bytes;
}

static QByteArray data(const CanObj &f)
{
    return QByteArray(reinterpret_cast<const char *>(f.Data), 8);
}

QString tst_UlFileBin::write(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QString::number(bytes.size()) + ".bin");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

// The chunk list is passed back in as the next template, as the firmware
// sender does: the marks of the previous chunk must not carry over.
void tst_UlFileBin::chunks()
{
    UlFileBin file;
    QVERIFY(file.open(write(counting(25))));
    QVERIFY(file.prepare());
    CanObj templ;
    templ.ID = 0x111;
    templ.ExternFlag = 1;
    templ.Data[7] = 0xEE;
    CanData frames;
    frames.push(templ);

    QVERIFY(file.getFrames(frames, 3));
    QCOMPARE(frames.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const CanObj &f = frames.at(i);
        QCOMPARE(f.ID, 0x111u);
        QCOMPARE(f.ExternFlag, uint8_t(1));
        QCOMPARE(f.DataLen, uint8_t(8));
        QCOMPARE(data(f), counting(25).mid(8 * i, 8));
        QCOMPARE(f.firstMark, uint8_t(i == 0));
        QCOMPARE(f.lastMark, uint8_t(i == 2));
        QCOMPARE(f.tailMark, uint8_t(0));
    }

    QVERIFY(file.getFrames(frames, 3));
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.at(0).DataLen, uint8_t(1));
    QCOMPARE(data(frames.at(0)), QByteArray("\x19\0\0\0\0\0\0\0", 8));
    QCOMPARE(frames.at(0).firstMark, uint8_t(1));
    QCOMPARE(frames.at(0).lastMark, uint8_t(0));

    QVERIFY(file.getFrames(frames, 3));
    QVERIFY(frames.isEmpty());
    QVERIFY(!file.hasError());
}

void tst_UlFileBin::singleFrames()
{
    UlFileBin file;
    QVERIFY(file.open(write(counting(20))));
    QVERIFY(file.prepare());
    CanObj f;
    f.ID = 0x7E0;
    f.Data[7] = 0xEE;
    QList<int> lengths;
    while (file.getFrame(f)) {
        lengths << f.DataLen;
        QCOMPARE(f.ID, 0x7E0u);
    }
    QCOMPARE(lengths, QList<int>({8, 8, 4}));
    QCOMPARE(data(f), QByteArray("\x11\x12\x13\x14\0\0\0\0", 8));
    QVERIFY(!file.hasError());

    UlFileBin empty;
    QVERIFY(empty.open(write(QByteArray())));
    QVERIFY(!empty.getFrame(f));
    QVERIFY(!empty.hasError());
    QVERIFY(!UlFileBin().open(m_dir.filePath("none.bin")));
}

// A read that fails must be told from the end of the file, so that an upload
// stops with an error instead of sending a short image.
void tst_UlFileBin::readErrorIsNotTheEnd()
{
    UlFileBin file;
    if (!file.open(QStringLiteral("/proc/self/mem")))
        QSKIP("no file whose reads fail here");
    CanData frames;
    QVERIFY(!file.getFrames(frames, 4));
    QVERIFY(frames.isEmpty());
    QVERIFY(file.hasError());
    CanObj f;
    QVERIFY(!file.getFrame(f));
    QVERIFY(file.hasError());
}

void tst_UlFileBin::baseReaderDoesNothing()
{
    UlFile file;
    CanObj f;
    CanData frames;
    QVERIFY(!file.open(write(counting(8))));
    QVERIFY(!file.isOpen());
    QVERIFY(!file.prepare());
    QVERIFY(!file.getFrame(f));
    QVERIFY(!file.getFrames(frames, 1));
}

QTEST_GUILESS_MAIN(tst_UlFileBin)
#include "tst_ulfilebin.moc"
