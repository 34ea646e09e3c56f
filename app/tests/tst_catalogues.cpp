// The Chinese catalogue against the sources: every text that the program
// and the core pass through a catalogue must be in it, finished, with the
// same place markers. After adding texts, update the catalogue with
//   lupdate -locations none app core -ts app/resources/Merovast_zh.ts
// and translate the new entries.
#include "canobjstr.h"
#include "ulcsvformat.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Entry {
    QString translation; // numerus forms joined by '\n'
    QString type;        // "", "unfinished", "vanished", "obsolete"
};

using Catalogue = QMap<QString, Entry>; // key: context, source, comment

QString key(const QString &context, const QString &source, const QString &comment)
{
    return context + QChar(0) + source + QChar(0) + comment;
}

bool readCatalogue(const QString &path, Catalogue *catalogue, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context, source, comment;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("context")) {
                context.clear();
            } else if (name == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                source.clear();
                comment.clear();
                entry = Entry();
            } else if (name == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (name == QLatin1String("comment")) {
                comment = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                entry.type = xml.attributes().value(QLatin1String("type")).toString();
                entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            catalogue->insert(key(context, source, comment), entry);
        }
    }
    if (xml.hasError()) {
        *error = xml.errorString();
        return false;
    }
    return true;
}

// Sources that may hold catalogue texts; tests and tools hold none.
QStringList sourceFiles()
{
    QStringList files;
    for (const char *folder : {"app", "core"}) {
        QDirIterator it(QStringLiteral(SOURCE_ROOT "/") + QLatin1String(folder),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.contains(QLatin1String("/tests/")) && !path.contains(QLatin1String("/resources/")))
                files << path;
        }
    }
    files.sort();
    return files;
}

QStringList markers(const QString &text)
{
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%L?\\d+|%n")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    found.removeDuplicates();
    return found;
}

} // namespace

class tst_Catalogues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void chineseTranslatesSource_data();
    void chineseTranslatesSource();
    void csvHeaderReadsAsTheFrameList();
    void sendPageLabelsReadAsTheFrameList_data();
    void sendPageLabelsReadAsTheFrameList();

private:
    Catalogue sources;
    Catalogue chinese;
};

void tst_Catalogues::initTestCase()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile list(dir.filePath(QStringLiteral("sources.lst")));
    QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Text));
    const QStringList files = sourceFiles();
    QVERIFY(!files.isEmpty());
    list.write(files.join(QLatin1Char('\n')).toUtf8());
    list.close();

    const QString extracted = dir.filePath(QStringLiteral("sources.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(LUPDATE_EXECUTABLE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QLatin1Char('@') + list.fileName(), QStringLiteral("-ts"), extracted});
    QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
             lupdate.readAllStandardError().constData());

    QString error;
    QVERIFY2(readCatalogue(extracted, &sources, &error), qPrintable(error));
    QVERIFY2(readCatalogue(QStringLiteral(SOURCE_ROOT "/app/resources/Merovast_zh.ts"), &chinese, &error),
             qPrintable(error));
    QVERIFY(!sources.isEmpty());
}

void tst_Catalogues::chineseTranslatesSource_data()
{
    QTest::addColumn<QString>("key");
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        QString name = it.key();
        name.replace(QChar(0), QLatin1String(" | "));
        QTest::newRow(qPrintable(name)) << it.key();
    }
}

void tst_Catalogues::chineseTranslatesSource()
{
    QFETCH(QString, key);
    const QString source = key.section(QChar(0), 1, 1);
    QVERIFY2(chinese.contains(key), "missing from Merovast_zh.ts");
    const Entry entry = chinese.value(key);
    QVERIFY2(entry.type.isEmpty(), qPrintable(QStringLiteral("marked %1").arg(entry.type)));
    QVERIFY2(!entry.translation.isEmpty(), "no translation");
    QCOMPARE(markers(entry.translation), markers(source));
}

// A saved CSV file's titles stand over the same texts as the frame list's
// columns do: the frame type over data or remote, the format over standard
// or extended.
void tst_Catalogues::csvHeaderReadsAsTheFrameList()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/translations/Merovast_zh.qm")));
    QCoreApplication::installTranslator(&translator);
    const QStringList titles = UlCsvFormat::header(2, 0).trimmed().split(QLatin1Char(','));
    CanObjStr row;
    row.index = QStringLiteral("0");
    row.direction = QStringLiteral("Rx");
    row.time = QStringLiteral("10:00:00:000");
    row.id = QStringLiteral("00000123 ");
    row.frameType = QStringLiteral("Data Frame");
    row.frameFormat = QStringLiteral("Extend");
    row.dataLen = QStringLiteral("0");
    const QStringList fields = UlCsvFormat::line(row, 2, 0, QString()).trimmed().split(QLatin1Char(','));
    const QStringList list = {QCoreApplication::translate("UiCanObjListWidget", "Format"),
                              QCoreApplication::translate("UiCanObjListWidget", "Type")};
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(titles.size(), 9);
    QCOMPARE(fields.size(), 9);
    QCOMPARE(titles.mid(5, 2), list);
    QCOMPARE(titles.mid(5, 2), QStringList({QString::fromUtf8(u8"帧类型"), QString::fromUtf8(u8"帧格式")}));
    QCOMPARE(fields.mid(5, 2), QStringList({QString::fromUtf8(u8"数据帧"), QString::fromUtf8(u8"扩展帧")}));
}

void tst_Catalogues::sendPageLabelsReadAsTheFrameList_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("column");  // the frame list's column of the same choice
    QTest::addColumn<QString>("chinese");
    // The Base page's "Type:" chooses data or remote frames, which the frame
    // list's "Format" column shows; "Format:" chooses standard or extended,
    // its "Type" column.
    QTest::newRow("Base page, data or remote") << "UiTabSendBasePage" << "Type:" << "Format"
                                               << QString::fromUtf8(u8"帧类型：");
    QTest::newRow("Base page, standard or extended") << "UiTabSendBasePage" << "Format:" << "Type"
                                                     << QString::fromUtf8(u8"帧格式：");
    QTest::newRow("File page, standard or extended") << "UiTabSendFilePage" << "Format:" << "Type"
                                                     << QString::fromUtf8(u8"帧格式：");
}

void tst_Catalogues::sendPageLabelsReadAsTheFrameList()
{
    QFETCH(QString, context);
    QFETCH(QString, label);
    QFETCH(QString, column);
    QFETCH(QString, chinese);
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/translations/Merovast_zh.qm")));
    QCoreApplication::installTranslator(&translator);
    const QString shown = QCoreApplication::translate(qPrintable(context), qPrintable(label));
    const QString list = QCoreApplication::translate("UiCanObjListWidget", qPrintable(column));
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(shown, chinese);
    QCOMPARE(shown, list + QString::fromUtf8(u8"："));
}

QTEST_GUILESS_MAIN(tst_Catalogues)
#include "tst_catalogues.moc"
