#include "ulfile.h"

// A line longer than this is not a record line; reading a stray binary file
// must not grow one line to the size of the file.
static constexpr int MaxLineLength = 1 << 20;

UlFile::UlFile(QObject *parent)
    : QFile(parent)
{
}

bool UlFile::open(const QString &)
{
    return false;
}

bool UlFile::prepare()
{
    return false;
}

bool UlFile::getFrames(CanData &, int)
{
    return false;
}

bool UlFile::getFrame(CanObj &)
{
    return false;
}

QString UlFile::badLineText(qint64 line)
{
    return tr("Line %1 is not a valid frame.").arg(line);
}

QString UlFile::badIdText(qint64 line)
{
    return tr("Line %1: the ID does not fit its frame format (standard up to 0x7FF, extended up to 0x1FFFFFFF).")
        .arg(line);
}

void UlFile::setReadError(const QString &what)
{
    m_error = true;
    setErrorString(what);
}

bool UlFile::readTextLine(QByteArray &line)
{
    line.resize(0);
    if (!isOpen())
        return false;
    // Looks ahead for the line end and takes the line up to it: QIODevice
    // lines end at LF only, and text mode drops every CR.
    char ahead[256];
    bool any = false;
    for (;;) {
        const qint64 n = peek(ahead, sizeof ahead);
        if (n < 0 || (n == 0 && error() == QFileDevice::ReadError)) {
            setReadError(errorString());
            return false;
        }
        if (n == 0) {
            if (!any)
                return false;
            break;
        }
        any = true;
        const char *b = ahead;
        const char *e = ahead + n;
        const char *stop = b;
        while (stop != e && *stop != '\n' && *stop != '\r')
            ++stop;
        if (line.size() + (stop - b) > MaxLineLength) {
            setReadError(tr("Line %1 is too long.").arg(m_lineNumber + 1));
            return false;
        }
        line.append(b, int(stop - b));
        if (stop == e) {
            skip(n);
            continue;
        }
        skip(stop - b + 1);
        if (*stop == '\r') {
            char next = 0;
            if (peek(&next, 1) == 1 && next == '\n')
                skip(1);
        }
        break;
    }
    ++m_lineNumber;
    return true;
}
