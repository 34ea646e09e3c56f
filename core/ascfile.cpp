#include "ascfile.h"

#include "ulascformat.h"

ASCFile::ASCFile(QObject *parent)
    : UlFile(parent)
{
}

bool ASCFile::open(const QString &fileName)
{
    setFileName(fileName);
    m_ended = false;
    return QFile::open(QIODevice::ReadOnly | QIODevice::Text);
}

bool ASCFile::prepare()
{
    clearReadError();
    // Header lines ("date", "base", "//version", ...) are not frame lines and
    // getFrame skips them, so a file whose header is shorter than ours keeps
    // its first frame.
    return isOpen();
}

bool ASCFile::getFrame(CanObj &frame)
{
    clearReadError();
    while (!m_ended && readTextLine(m_line)) {
        switch (UlAscFormat::readLine(m_line.constData(), m_line.size(), frame)) {
        case UlAscFormat::Frame:
            return true;
        case UlAscFormat::NotAFrame:
            break;
        case UlAscFormat::BadFrame:
            setReadError(QStringLiteral("Line %1 is not a valid frame.").arg(lineNumber()));
            return false;
        case UlAscFormat::EndOfData:
            m_ended = true;
            break;
        }
    }
    return false;
}
