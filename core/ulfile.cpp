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

void UlFile::setReadError(const QString &what)
{
    m_error = true;
    setErrorString(what);
}

bool UlFile::readTextLine(QByteArray &line)
{
    if (!isOpen())
        return false;
    line.resize(qMax(256, line.capacity()));
    int used = 0;
    for (;;) {
        const qint64 n = readLine(line.data() + used, line.size() - used);
        if (n <= 0) {
            if (error() == QFileDevice::ReadError) {
                setReadError(errorString());
                return false;
            }
            if (used == 0) {
                line.resize(0);
                return false;
            }
            break;
        }
        used += int(n);
        if (line.at(used - 1) == '\n' || used < line.size() - 1)
            break;
        if (line.size() >= MaxLineLength) {
            setReadError(QStringLiteral("Line %1 is too long.").arg(m_lineNumber + 1));
            return false;
        }
        line.resize(line.size() * 2);
    }
    while (used > 0 && (line.at(used - 1) == '\n' || line.at(used - 1) == '\r'))
        --used;
    line.resize(used);
    ++m_lineNumber;
    return true;
}
