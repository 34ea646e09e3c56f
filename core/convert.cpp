#include "convert.h"

#include "canobj.h"

#include <QDateTime>
#include <QTime>

#include <chrono>
#include <thread>

char MSB(short value)
{
    return static_cast<char>((value >> 8) & 0xFF);
}

char LSB(short value)
{
    return static_cast<char>(value & 0xFF);
}

int chartoint(char c, unsigned char *out)
{
    if (c >= '0' && c <= '9')
        *out = static_cast<unsigned char>(c - '0');
    else if (c >= 'A' && c <= 'F')
        *out = static_cast<unsigned char>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f')
        *out = static_cast<unsigned char>(c - 'a' + 10);
    else
        return 1;
    return 0;
}

int strtodata(const char *src, int srcLen, unsigned char *dst, int count, int separated)
{
    const int step = separated == 1 ? 3 : 2;
    int p = 0;
    for (int i = 0; i < count; ++i, p += step) {
        unsigned char high = 0;
        unsigned char low = 0;
        if (p >= srcLen || chartoint(src[p], &high) != 0)
            return 1;
        dst[i] = high;
        if (p + 1 >= srcLen || chartoint(src[p + 1], &low) != 0)
            return 1;
        dst[i] = static_cast<unsigned char>(high * 16 + low);
    }
    return 0;
}

QBitArray chartoBitArray(unsigned char value)
{
    QBitArray bits(8);
    for (int i = 0; i < 8; ++i)
        bits.setBit(i, (value >> i) & 1);
    return bits;
}

static QString hex8(quint32 value)
{
    return QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')).toUpper();
}

QString getCanIdFromLL(int format, long long code)
{
    const auto raw = static_cast<unsigned long long>(code);
    return hex8(static_cast<quint32>(format == 1 ? raw >> 3 : raw >> 21));
}

QString toCanIdFromLL(int format, long long id)
{
    const auto raw = static_cast<unsigned long long>(id);
    return hex8(static_cast<quint32>(format == 1 ? raw << 3 : raw << 21));
}

QString getCanCodeFromLL(long long value)
{
    return hex8(static_cast<quint32>(value));
}

QString toCanCodeFromLL(long long value)
{
    return getCanCodeFromLL(value);
}

QString gSettleTime(const QString &direction, const QString &stamp, int base)
{
    if (direction != QLatin1String("Rx"))
        return stamp;
    bool ok = false;
    const qulonglong t = stamp.toULongLong(&ok, 16);
    // Short stamps (under 1 ms) still have three millisecond digits.
    const QString d = QString::number(t).rightJustified(4, QLatin1Char('0'));
    const qlonglong seconds = qlonglong(t / 10000) - qlonglong(base / 10000);
    const qlonglong wrapped = ((seconds % 86400) + 86400) % 86400;
    QString text = QTime(0, 0).addSecs(int(wrapped)).toString(QStringLiteral("hh:mm:ss"));
    text += QLatin1Char('.');
    if (t == qulonglong(qlonglong(base)))
        text += QLatin1String("000.0");
    else
        text += d.mid(d.size() - 4, 3) + QLatin1Char('.') + d.right(1);
    return text;
}

void incData(CanObj &frame, int position, bool &carry)
{
    if (!carry || position < 0 || position > 7)
        return;
    int k = position;
    while (frame.Data[k] == 0xFF) {
        if (k + 1 >= frame.DataLen || k + 1 > 7) {
            for (auto &byte : frame.Data)
                byte = 0;
            carry = false;
            return;
        }
        ++k;
    }
    ++frame.Data[k];
    carry = false;
}

int ulGetTimeOfDay(struct timeval *tv, void *)
{
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    tv->tv_sec = static_cast<time_t>(ms / 1000);
    tv->tv_usec = static_cast<suseconds_t>((ms % 1000) * 1000);
    return 0;
}

void gUsleep(int us)
{
    if (us <= 0)
        return;
    const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(us);
    std::this_thread::sleep_until(end);
}
