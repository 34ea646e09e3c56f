#include "dbccsvexport.h"

#include <QFile>

QString DBCCsvExport::field(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString DBCCsvExport::headerLine(const QStringList &titles)
{
    QStringList fields;
    for (const QString &title : titles)
        fields << field(title);
    return fields.join(QLatin1Char(','));
}

QString DBCCsvExport::rowLine(const Row &row)
{
    QString line = row.child ? QStringLiteral(" ,") : QString();
    for (const QString &text : row.texts)
        line += field(text) + QLatin1Char(',');
    return line;
}

bool DBCCsvExport::append(const QString &path, const QStringList &titles, const QVector<Row> &rows,
                          QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // Like the record files: the local 8-bit encoding.
    QByteArray text;
    if (file.size() == 0)
        text += headerLine(titles).toLocal8Bit() + '\n';
    for (const Row &row : rows)
        text += rowLine(row).toLocal8Bit() + '\n';
    if (file.write(text) != text.size() || !file.flush()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
