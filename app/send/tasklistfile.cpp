#include "tasklistfile.h"

#include "ullistlimits.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTextCodec>

namespace {

QString decode(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForMib(106)->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    return gbk ? gbk->toUnicode(bytes) : QString::fromLatin1(bytes);
}

} // namespace

bool TaskListFile::read(const QString &fileName, int idFormat)
{
    readRows.clear();
    refused.clear();
    skipped = 0;
    error.clear();
    tooLarge = false;
    done = 0;
    if (stop)
        return refuse(QString(), false);

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    // Bounded so that a wrong file never holds the GUI for long.
    const QByteArray bytes = file.read(UlListLimits::MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    if (bytes.size() > UlListLimits::MaxFileBytes)
        return refuse(QCoreApplication::translate("TaskListFile", "The file is larger than %1 MB.")
                          .arg(UlListLimits::MaxFileBytes >> 20),
                      true);

    QString text = decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    int entries = 0;
    for (int n = 0; n < lines.size(); ++n) {
        if (n % 1024 == 0) {
            if (stop)
                return refuse(QString(), false);
            done = int(qint64(n) * 100 / lines.size());
        }
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (++entries > UlListLimits::MaxEntries)
            return refuse(QCoreApplication::translate("TaskListFile", "The file holds more than %1 tasks.")
                              .arg(UlListLimits::MaxEntries),
                          true);
        TaskRow row;
        if (!TaskRow::fromFields(line.split(QLatin1Char(',')), row)) {
            ++skipped;
            continue;
        }
        const TaskRow::Field fault = row.fault(idFormat);
        if (fault != TaskRow::NoField)
            refused.append({n + 1, fault});
        else
            readRows.append(row);
    }
    done = 100;
    return true;
}

bool TaskListFile::refuse(const QString &why, bool pastBounds)
{
    readRows.clear();
    refused.clear();
    skipped = 0;
    error = why;
    tooLarge = pastBounds;
    return false;
}

bool TaskListFile::write(const QString &fileName, const QList<TaskRow> &rows)
{
    error.clear();
    QSaveFile file(fileName);
    // Where no file can be made beside the target, write it in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = file.errorString();
        return false;
    }
    for (const TaskRow &row : rows) {
        const QByteArray line = row.fields().join(QLatin1Char(',')).toUtf8() + '\n';
        if (file.write(line) != line.size()) {
            error = file.errorString();
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
