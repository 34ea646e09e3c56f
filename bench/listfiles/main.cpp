// Loads the largest list files the program takes (100,000 entries, or
// 16 MB of lines that are no entries) on the GUI thread and times each
// load into its dialog: name import, ID filter file with Ok, send-task
// list. Exits with 1 if one takes a second or more.
// Usage: QT_QPA_PLATFORM=offscreen bench_listfiles

#include "uiidfiltersetting.h"
#include "uimessage.h"
#include "uinamesetting.h"
#include "ulidfiltermannger.h"
#include "ullistlimits.h"
#include "ultasklistxml.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

QString write(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return path;
}

QByteArray names(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(i, 16) + ",Name of ID " + QByteArray::number(i) + '\n';
    return text;
}

// The most lines of the longest kind that stay under the size bound, none
// of them an entry.
QByteArray garbage(int count)
{
    const int length = int(UlListLimits::MaxFileBytes / count) - 1;
    QByteArray line = "zz,\x01\x02\x03 not a name line, with fields";
    line += QByteArray(length - line.size(), 'x') + '\n';
    return line.repeated(count);
}

QByteArray filters(int count)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xml>\n<xml version=\"1.0\">\n"
                      "    <Filter Mode=\"1\"/>\n";
    for (int i = 0; i < count; ++i) {
        const QByteArray id = QByteArray::number(i * 16, 16);
        text += "    <NotReceiveFilter LowID=\"" + id + "\" HighID=\"" + id + "\" Comment=\"rule\"/>\n";
    }
    return text + "</xml>\n";
}

QByteArray tasks(int count)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xml>\n<xml version=\"1.0\">\n";
    for (int i = 0; i < count; ++i)
        text += "<TaskObj Frames=\"1\" Interval=\"10\" Times=\"1\" IdIncrease=\"0\" DataIncrease=\"0\" ID=\""
            + QByteArray::number(i % 0x800)
            + "\" SendType=\"0\" RemoteFlag=\"0\" ExternFlag=\"0\" Data=\"01 02 03 04 05 06 07 08\"/>\n";
    return text + "</xml>\n";
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    UiMessage::setHandler([](const UiMessage::Box &) { return QMessageBox::Ok; });
    QTemporaryDir dir;
    const int n = UlListLimits::MaxEntries;
    const QString nameFile = write(dir, "names.txt", names(n));
    const QString garbageFile = write(dir, "garbage.txt", garbage(n));
    const QString filterFile = write(dir, "rules.filter", filters(n));
    const QString taskFile = write(dir, "tasks.xml", tasks(n));

    struct Case {
        const char *name;
        std::function<bool()> load;
    };
    const Case cases[] = {
        {"name import, 100000 lines", [&] { return UiNameSetting().importFile(nameFile); }},
        {"name import, 100000 bad lines, 16 MB", [&] { return UiNameSetting().importFile(garbageFile); }},
        {"ID filter file, 100000 rules, Ok",
         [&] {
             UiIdFilterSetting dialog(nullptr, 0);
             const bool ok = dialog.loadFile(filterFile);
             dialog.accept();
             return ok && UlIdFilterMannger::instance(0).NotReceiveCount() == n;
         }},
        {"send-task list, 100000 tasks",
         [&] {
             QFile file(taskFile);
             UlTaskListXml codec;
             return file.open(QIODevice::ReadOnly) && codec.readFile(&file) && codec.tasks().size() == n;
         }},
    };
    int result = 0;
    for (const Case &c : cases) {
        QElapsedTimer timer;
        timer.start();
        const bool loaded = c.load();
        const qint64 ms = timer.elapsed();
        const bool ok = loaded && ms < 1000;
        std::printf("%-36s %5lld ms %s\n", c.name, static_cast<long long>(ms), ok ? "ok" : "FAILED");
        if (!ok)
            result = 1;
    }
    return result;
}
