#include "ulfilecsv.h"

#include "candata.h"
#include "canobj.h"

#include <QTextCodec>

#include <algorithm>
#include <iterator>

// UTF-8 when the bytes are valid UTF-8, else GBK (text in the local 8-bit
// encoding of a Chinese system).
static QString decodeLine(const QByteArray &bytes)
{
    const char *p = bytes.constData();
    const int n = bytes.size();
    int i = 0;
    while (i < n && uchar(p[i]) < 0x80)
        ++i;
    if (i == n)
        return QString::fromLatin1(p, n);
    QTextCodec::ConverterState state;
    static QTextCodec *const utf8 = QTextCodec::codecForMib(106);
    const QString text = utf8->toUnicode(p, n, &state);
    if (state.invalidChars == 0 && state.remainingChars == 0)
        return text;
    static QTextCodec *const gbk = QTextCodec::codecForName("GBK");
    return gbk ? gbk->toUnicode(bytes) : QString::fromLatin1(bytes);
}

UlFileCsv::UlFileCsv(QObject *parent)
    : UlFile(parent)
{
}

bool UlFileCsv::open(const QString &fileName)
{
    setFileName(fileName);
    return QFile::open(QIODevice::ReadOnly);
}

bool UlFileCsv::readLine(QString &text)
{
    if (!readTextLine(m_line))
        return false;
    text = decodeLine(m_line);
    return true;
}

bool UlFileCsv::prepare()
{
    clearReadError();
    if (!isOpen())
        return false;
    QString header;
    if (readLine(header)) {
        if (header.startsWith(QChar(0xFEFF)))
            header.remove(0, 1);
        m_format.readHeader(header);
    }
    return true;
}

bool UlFileCsv::getFrame(CanObj &frame)
{
    clearReadError();
    QString text;
    while (readLine(text)) {
        switch (m_format.readLine(text, frame)) {
        case UlCsvFormat::Frame:
            return true;
        case UlCsvFormat::Blank:
            break;
        case UlCsvFormat::Title:
            nextRecording();
            break;
        case UlCsvFormat::BadLine:
            setReadError(badLineText(lineNumber()));
            return false;
        case UlCsvFormat::BadId:
            setReadError(badIdText(lineNumber()));
            return false;
        }
    }
    return false;
}

bool UlFileCsv::getFrames(CanData &frames, int count)
{
    clearReadError();
    if (count <= 0 || atEnd())
        return false;
    CanObj blank = frames.isEmpty() ? CanObj() : frames.at(0);
    blank.firstMark = blank.tailMark = blank.lastMark = 0;
    blank.RemoteFlag = blank.ExternFlag = 0;
    std::fill(std::begin(blank.Data), std::end(blank.Data), uint8_t(0));
    CanData chunk;
    QString text;
    while (chunk.size() < count && readLine(text)) {
        CanObj frame = blank;
        const UlCsvFormat::LineKind kind = m_format.readLine(text, frame);
        if (kind == UlCsvFormat::Title)
            nextRecording();
        if (kind != UlCsvFormat::Frame)
            continue;
        frame.firstMark = chunk.isEmpty();
        frame.tailMark = atEnd();
        frame.lastMark = chunk.size() + 1 == count;
        chunk.push(std::move(frame));
    }
    frames = chunk;
    return !hasError();
}
