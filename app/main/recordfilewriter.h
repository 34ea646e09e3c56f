// Writes frame-buffer rows into one record file in the format its name
// asks for: .can byte records, ASC trace text or CSV table, in the layouts
// of the core (UlCanFileFormat, UlAscFormat, UlCsvFormat). Text goes out in
// the local 8-bit encoding without byte-order mark. Used by the save
// threads; one writer per file, one thread at a time.
#pragma once

#include "ulascformat.h"

#include <QFile>
#include <QString>

class CanObjStr;

class RecordFileWriter
{
public:
    enum Format { NoFormat, CanFormat, CsvFormat, AscFormat };

    // By the suffix of the file name, in any case; NoFormat for any other.
    static Format formatOf(const QString &fileName);
    // The name to save under: as given when its suffix names a format; with
    // the lower-case suffix of the chosen filter (such as "CSV File(*.CSV)")
    // appended when it has no suffix; empty when its suffix is unknown.
    static QString nameToSave(const QString &fileName, const QString &selectedFilter);

    // timeMode (the channel's time display) and idFormat (0 right-aligned,
    // 1 left-aligned) shape CSV rows; they stay fixed for the writer's life.
    RecordFileWriter(Format format, int timeMode, int idFormat);
    ~RecordFileWriter();
    RecordFileWriter(const RecordFileWriter &) = delete;
    RecordFileWriter &operator=(const RecordFileWriter &) = delete;

    Format format() const { return fileFormat; }
    // Replace empties an existing file; otherwise CSV and ASC files are
    // appended to and .can files replaced. False for NoFormat.
    bool open(const QString &fileName, bool replace);
    // The CSV title line, the three ASC header lines or the 20-byte .can
    // header.
    bool writeHeader();
    bool write(const CanObjStr &row);
    // ASC only: "End Triggerblock".
    bool writeFooter();
    // Hands what is buffered to the system.
    bool flush();
    // Flushes and closes; false when the last bytes could not be written.
    bool close();
    bool isOpen() const { return file.isOpen(); }
    QString fileName() const { return file.fileName(); }
    // The system's reason for the last failure (such as "No space left on
    // device"). A write, flush or close that fails closes the file and cuts
    // it back to its last whole record, so that it reads back to its end.
    QString errorString() const { return failure.isNull() ? file.errorString() : failure; }

private:
    bool put(const QByteArray &bytes);
    bool retryFlush();
    bool fail();
    qint64 wholeRecordsEnd(QFile &written) const;

    Format fileFormat;
    int timeMode;
    int idFormat;
    QFile file;
    UlAscFormat asc;
    qint64 openedSize = 0;  // what an appended file held before this writer
    QString failure;
};
