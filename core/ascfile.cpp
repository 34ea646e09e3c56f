#include "ascfile.h"

ASCFile::ASCFile(QObject *parent)
    : UlFile(parent)
{
}

bool ASCFile::open(const QString &fileName)
{
    setFileName(fileName);
    m_format = UlAscFormat();
    // Binary: readTextLine ends lines at LF, CR LF and CR alike.
    return QFile::open(QIODevice::ReadOnly);
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
    while (readTextLine(m_line)) {
        switch (m_format.readLine(m_line.constData(), m_line.size(), frame)) {
        case UlAscFormat::Frame:
            return true;
        case UlAscFormat::NotAFrame:
            break;
        case UlAscFormat::BadFrame:
            setReadError(badLineText(lineNumber()));
            return false;
        case UlAscFormat::BadId:
            setReadError(badIdText(lineNumber()));
            return false;
        }
    }
    return false;
}
