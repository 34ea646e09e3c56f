// Draws the program's icons, lamps and logo into a folder:
//   iconpainter <folder>
// The images are kept in the repository; run the "update-icons" build
// target after changing a drawing. Every drawing is on a 48 by 48 grid,
// scaled to the image size.
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <cmath>
#include <functional>
#include <vector>

namespace {

const QColor kBlue(0x2f, 0x6f, 0xb5);
const QColor kGreen(0x2e, 0x9e, 0x57);
const QColor kRed(0xd0, 0x45, 0x3a);
const QColor kOrange(0xe8, 0x91, 0x2d);
const QColor kYellow(0xf2, 0xc1, 0x2e);
const QColor kTeal(0x1f, 0x9a, 0xa6);
const QColor kPurple(0x7a, 0x55, 0xb5);
const QColor kGray(0x8a, 0x93, 0x9c);
const QColor kDark(0x3a, 0x42, 0x4a);
const QColor kPaper(0xfb, 0xfb, 0xf8);

using Drawing = std::function<void(QPainter &)>;

QPen pen(const QColor &color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void line(QPainter &p, QPointF a, QPointF b, const QColor &color, qreal width)
{
    p.setPen(pen(color, width));
    p.drawLine(a, b);
}

// A shaft from a to b with a filled head at b.
void arrow(QPainter &p, QPointF a, QPointF b, const QColor &color, qreal width = 4.5)
{
    const QLineF shaft(a, b);
    const qreal head = width * 2.4;
    QLineF back = QLineF(b, a);
    back.setLength(head);
    line(p, a, back.p2(), color, width);
    QLineF left = back;
    left.setAngle(back.angle() + 32);
    QLineF right = back;
    right.setAngle(back.angle() - 32);
    left.setLength(head * 1.15);
    right.setLength(head * 1.15);
    QPainterPath path(b);
    path.lineTo(left.p2());
    path.lineTo(right.p2());
    path.closeSubpath();
    p.setPen(pen(color, 1));
    p.setBrush(color);
    p.drawPath(path);
}

void roundRect(QPainter &p, const QRectF &r, qreal radius, const QColor &fill, const QColor &edge,
               qreal edgeWidth = 2)
{
    p.setPen(edge.isValid() ? pen(edge, edgeWidth) : QPen(Qt::NoPen));
    p.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    p.drawRoundedRect(r, radius, radius);
}

void disc(QPainter &p, QPointF c, qreal radius, const QColor &fill)
{
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(c, radius, radius);
}

void text(QPainter &p, const QRectF &r, const QString &s, const QColor &color, int pixelSize,
          bool bold = true)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(color);
    p.drawText(r, Qt::AlignCenter, s);
}

// A sheet of paper with a folded corner.
void document(QPainter &p, const QColor &edge)
{
    QPainterPath page(QPointF(10, 4));
    page.lineTo(30, 4);
    page.lineTo(40, 14);
    page.lineTo(40, 44);
    page.lineTo(10, 44);
    page.closeSubpath();
    p.setPen(pen(edge, 2.2));
    p.setBrush(kPaper);
    p.drawPath(page);
    QPainterPath fold(QPointF(30, 4));
    fold.lineTo(30, 14);
    fold.lineTo(40, 14);
    p.setBrush(Qt::NoBrush);
    p.drawPath(fold);
}

// Rows of a table inside a frame.
void listFrame(QPainter &p, const QColor &rows)
{
    roundRect(p, QRectF(5, 6, 32, 36), 3, kPaper, kDark, 2);
    for (int i = 0; i < 5; ++i)
        line(p, QPointF(10, 13 + i * 6.5), QPointF(32, 13 + i * 6.5), rows, 2.4);
}

void floppy(QPainter &p, const QColor &body)
{
    QPainterPath disk(QPointF(6, 6));
    disk.lineTo(36, 6);
    disk.lineTo(42, 12);
    disk.lineTo(42, 42);
    disk.lineTo(6, 42);
    disk.closeSubpath();
    p.setPen(pen(body.darker(130), 2));
    p.setBrush(body);
    p.drawPath(disk);
    roundRect(p, QRectF(13, 6, 20, 12), 1, kPaper, QColor());
    p.fillRect(QRectF(26, 8, 4, 8), body);
    roundRect(p, QRectF(11, 25, 26, 17), 2, kPaper, QColor());
    for (int i = 0; i < 3; ++i)
        line(p, QPointF(15, 30 + i * 4.5), QPointF(33, 30 + i * 4.5), kGray, 1.4);
}

// The adapter: a box with a cable plug on the left.
void adapter(QPainter &p)
{
    roundRect(p, QRectF(4, 10, 9, 14), 2, kGray, kDark, 2);
    line(p, QPointF(8.5, 10), QPointF(8.5, 6), kDark, 2.2);
    roundRect(p, QRectF(13, 6, 28, 24), 4, QColor(0xdd, 0xe3, 0xea), kDark, 2.2);
    disc(p, QPointF(19, 12), 2, kGreen);
    for (int i = 0; i < 3; ++i)
        line(p, QPointF(19 + i * 7, 24), QPointF(19 + i * 7, 30), kDark, 2);
}

void badge(QPainter &p, const QColor &color)
{
    disc(p, QPointF(33, 35), 12, Qt::white);
    disc(p, QPointF(33, 35), 10.5, color);
}

void triangle(QPainter &p, const QPolygonF &points, const QColor &color)
{
    p.setPen(pen(color, 2));
    p.setBrush(color);
    p.drawPolygon(points);
}

void play(QPainter &p, QPointF c, qreal size, const QColor &color)
{
    triangle(p, QPolygonF() << c + QPointF(-size * 0.7, -size) << c + QPointF(size, 0)
                            << c + QPointF(-size * 0.7, size),
             color);
}

void pauseBars(QPainter &p, QPointF c, qreal size, const QColor &color)
{
    roundRect(p, QRectF(c.x() - size, c.y() - size, size * 0.7, size * 2), 1, color, QColor());
    roundRect(p, QRectF(c.x() + size * 0.3, c.y() - size, size * 0.7, size * 2), 1, color, QColor());
}

void tray(QPainter &p)
{
    QPainterPath t(QPointF(6, 28));
    t.lineTo(6, 42);
    t.lineTo(42, 42);
    t.lineTo(42, 28);
    p.setPen(pen(kDark, 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(t);
}

void sineWave(QPainter &p, const QRectF &r, const QColor &color, qreal width)
{
    QPainterPath wave(QPointF(r.left(), r.center().y()));
    const int steps = 40;
    for (int i = 1; i <= steps; ++i) {
        const qreal x = r.left() + r.width() * i / steps;
        const qreal y = r.center().y() - r.height() / 2 * std::sin(2 * M_PI * 1.5 * i / steps);
        wave.lineTo(x, y);
    }
    p.setPen(pen(color, width));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}

// A CAN bit pattern: the logo's trace.
void squareWave(QPainter &p, const QColor &color, qreal width)
{
    QPainterPath wave(QPointF(6, 30));
    const qreal xs[] = {12, 17, 23, 26, 33, 37};
    bool high = true;
    qreal y = 30;
    for (qreal x : xs) {
        wave.lineTo(x, y);
        y = high ? 18 : 30;
        wave.lineTo(x, y);
        high = !high;
    }
    wave.lineTo(42, y);
    p.setPen(pen(color, width));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}

void logo(QPainter &p)
{
    QLinearGradient g(0, 0, 48, 48);
    g.setColorAt(0, QColor(0x2a, 0x5f, 0xa8));
    g.setColorAt(1, QColor(0x1b, 0x95, 0x9f));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
    squareWave(p, Qt::white, 3.4);
    line(p, QPointF(8, 37), QPointF(40, 37), QColor(255, 255, 255, 150), 2);
    disc(p, QPointF(14, 37), 2.6, kYellow);
    disc(p, QPointF(34, 37), 2.6, kYellow);
}

void lamp(QPainter &p, const QColor &color)
{
    QRadialGradient g(QPointF(19, 17), 22);
    g.setColorAt(0, color.lighter(170));
    g.setColorAt(0.5, color);
    g.setColorAt(1, color.darker(160));
    p.setPen(pen(color.darker(200), 2));
    p.setBrush(g);
    p.drawEllipse(QPointF(24, 24), 19, 19);
}

void eraser(QPainter &p)
{
    p.save();
    p.translate(24, 26);
    p.rotate(-40);
    roundRect(p, QRectF(-17, -8, 20, 16), 2, QColor(0xf0, 0x8c, 0x9a), kDark, 2);
    roundRect(p, QRectF(3, -8, 14, 16), 2, kPaper, kDark, 2);
    p.restore();
    line(p, QPointF(8, 43), QPointF(40, 43), kGray, 2);
}

void clock(QPainter &p)
{
    p.setPen(pen(kDark, 2.5));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(24, 24), 19, 19);
    for (int i = 0; i < 12; ++i) {
        QLineF tick(QPointF(24, 24), QPointF(24, 8));
        tick.setAngle(90 - i * 30);
        tick.setLength(17);
        QLineF inner = tick;
        inner.setLength(i % 3 == 0 ? 13 : 15);
        line(p, inner.p2(), tick.p2(), kGray, 1.6);
    }
    line(p, QPointF(24, 24), QPointF(24, 12), kDark, 3);
    line(p, QPointF(24, 24), QPointF(33, 29), kBlue, 2.5);
    disc(p, QPointF(24, 24), 2.2, kRed);
}

void funnel(QPainter &p)
{
    QPainterPath f(QPointF(5, 8));
    f.lineTo(43, 8);
    f.lineTo(28, 25);
    f.lineTo(28, 40);
    f.lineTo(20, 44);
    f.lineTo(20, 25);
    f.closeSubpath();
    p.setPen(pen(kTeal.darker(140), 2));
    p.setBrush(kTeal);
    p.drawPath(f);
    line(p, QPointF(11, 12), QPointF(37, 12), QColor(255, 255, 255, 170), 2);
}

void eye(QPainter &p)
{
    QPainterPath outline(QPointF(3, 24));
    outline.quadTo(24, 2, 45, 24);
    outline.quadTo(24, 46, 3, 24);
    p.setPen(pen(kDark, 2.5));
    p.setBrush(kPaper);
    p.drawPath(outline);
    disc(p, QPointF(24, 24), 9, kBlue);
    disc(p, QPointF(24, 24), 4, kDark);
    disc(p, QPointF(21, 21), 2, Qt::white);
}

void gauge(QPainter &p)
{
    const QRectF arc(5, 9, 38, 38);
    const struct { int start; int span; QColor color; } parts[] = {
        {180 * 16, -80 * 16, kGreen}, {100 * 16, -50 * 16, kYellow}, {50 * 16, -50 * 16, kRed}};
    for (const auto &part : parts) {
        p.setPen(QPen(part.color, 6, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(arc, part.start, part.span);
    }
    line(p, QPointF(24, 28), QPointF(33, 15), kDark, 3);
    disc(p, QPointF(24, 28), 4, kDark);
    line(p, QPointF(6, 40), QPointF(42, 40), kBlue, 2.5);
    line(p, QPointF(6, 44.5), QPointF(42, 44.5), kOrange, 2.5);
}

void tag(QPainter &p)
{
    QPainterPath t(QPointF(4, 14));
    t.lineTo(30, 14);
    t.lineTo(44, 26);
    t.lineTo(30, 38);
    t.lineTo(4, 38);
    t.closeSubpath();
    p.setPen(pen(kOrange.darker(140), 2));
    p.setBrush(kOrange);
    p.drawPath(t);
    disc(p, QPointF(33, 26), 3, kPaper);
    line(p, QPointF(9, 22), QPointF(24, 22), kPaper, 2.5);
    line(p, QPointF(9, 30), QPointF(20, 30), kPaper, 2.5);
}

void chipWithArrow(QPainter &p)
{
    roundRect(p, QRectF(15, 15, 18, 18), 2, kDark, QColor());
    for (int i = 0; i < 3; ++i) {
        const qreal o = 19 + i * 5;
        line(p, QPointF(o, 11), QPointF(o, 15), kDark, 1.8);
        line(p, QPointF(o, 33), QPointF(o, 37), kDark, 1.8);
        line(p, QPointF(11, o), QPointF(15, o), kDark, 1.8);
        line(p, QPointF(33, o), QPointF(37, o), kDark, 1.8);
    }
    p.setPen(pen(kGreen, 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 42, 42), 100 * 16, 250 * 16);
    play(p, QPointF(17, 5), 4.5, kGreen);
}

void plugWithBolt(QPainter &p)
{
    roundRect(p, QRectF(8, 16, 22, 20), 4, kGreen, kGreen.darker(140));
    line(p, QPointF(14, 16), QPointF(14, 7), kDark, 3);
    line(p, QPointF(24, 16), QPointF(24, 7), kDark, 3);
    line(p, QPointF(19, 36), QPointF(19, 44), kDark, 4);
    QPolygonF bolt;
    bolt << QPointF(38, 10) << QPointF(30, 26) << QPointF(37, 26) << QPointF(33, 42) << QPointF(45, 22)
         << QPointF(38, 22) << QPointF(42, 10);
    triangle(p, bolt, kYellow.darker(110));
}

void envelope(QPainter &p)
{
    roundRect(p, QRectF(4, 11, 40, 27), 3, kPaper, kBlue, 2.5);
    QPainterPath flap(QPointF(5, 13));
    flap.lineTo(24, 27);
    flap.lineTo(43, 13);
    p.setPen(pen(kBlue, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
}

void battery(QPainter &p)
{
    roundRect(p, QRectF(6, 14, 32, 20), 3, kPaper, kDark, 2.5);
    roundRect(p, QRectF(38, 20, 5, 8), 1, kDark, QColor());
    roundRect(p, QRectF(9, 17, 18, 14), 1.5, kGreen, QColor());
    text(p, QRectF(6, 14, 32, 20), QStringLiteral("V"), kDark, 15);
}

void dbcDocument(QPainter &p)
{
    document(p, kPurple);
    text(p, QRectF(8, 18, 34, 18), QStringLiteral("DBC"), kPurple, 12);
}

struct Icon {
    const char *file;
    int size;
    Drawing draw;
};

const std::vector<Icon> &icons()
{
    static const std::vector<Icon> list = {
        {"exit.png", 48, [](QPainter &p) {
             roundRect(p, QRectF(8, 5, 20, 38), 2, QColor(0xe8, 0xdc, 0xc8), kDark, 2.5);
             disc(p, QPointF(23, 25), 2, kDark);
             arrow(p, QPointF(22, 25), QPointF(45, 25), kRed);
         }},
        {"import.png", 48, [](QPainter &p) {
             tray(p);
             arrow(p, QPointF(24, 3), QPointF(24, 36), kBlue);
         }},
        {"export.png", 48, [](QPainter &p) {
             tray(p);
             arrow(p, QPointF(24, 36), QPointF(24, 3), kGreen);
         }},
        {"bus_status.png", 48, gauge},
        {"name.png", 48, tag},
        {"update.png", 48, chipWithArrow},
        {"open.png", 48, [](QPainter &p) {
             adapter(p);
             badge(p, kGreen);
             play(p, QPointF(34, 35), 5.5, Qt::white);
         }},
        {"close.png", 48, [](QPainter &p) {
             adapter(p);
             badge(p, kRed);
             roundRect(p, QRectF(28.5, 30.5, 9, 9), 1, Qt::white, QColor());
         }},
        {"buffer.png", 48, [](QPainter &p) {
             listFrame(p, kBlue);
             disc(p, QPointF(36, 36), 9, kOrange);
             for (int i = 0; i < 6; ++i) {
                 QLineF tooth(QPointF(36, 36), QPointF(36, 25));
                 tooth.setAngle(i * 60);
                 tooth.setLength(11);
                 line(p, QPointF(36, 36), tooth.p2(), kOrange, 4);
             }
             disc(p, QPointF(36, 36), 3.5, kPaper);
         }},
        {"id_format.png", 48, [](QPainter &p) {
             roundRect(p, QRectF(3, 8, 42, 32), 5, kPaper, kBlue, 2.5);
             text(p, QRectF(3, 7, 42, 24), QStringLiteral("ID"), kBlue, 19);
             arrow(p, QPointF(30, 34), QPointF(9, 34), kOrange, 2.5);
             line(p, QPointF(39, 29), QPointF(39, 38), kOrange, 2.5);
         }},
        {"about.png", 48, logo},
        {"info.png", 48, [](QPainter &p) {
             disc(p, QPointF(24, 24), 20, kBlue);
             disc(p, QPointF(24, 13.5), 3.2, Qt::white);
             roundRect(p, QRectF(20.5, 20, 7, 17), 1.5, Qt::white, QColor());
         }},
        {"help.png", 48, [](QPainter &p) {
             disc(p, QPointF(24, 24), 20, kGreen);
             text(p, QRectF(4, 3, 40, 42), QStringLiteral("?"), Qt::white, 30);
         }},
        {"manualScroll.png", 48, [](QPainter &p) {
             listFrame(p, kGray);
             badge(p, kOrange);
             pauseBars(p, QPointF(33, 35), 5, Qt::white);
         }},
        {"autoScroll.png", 48, [](QPainter &p) {
             listFrame(p, kGray);
             badge(p, kGreen);
             arrow(p, QPointF(33, 27.5), QPointF(33, 42), Qt::white, 3);
         }},
        {"watch.png", 48, eye},
        {"DBC.png", 48, dbcDocument},
        {"DBC_24.png", 24, dbcDocument},
        {"start.png", 48, [](QPainter &p) { play(p, QPointF(26, 24), 16, kGreen); }},
        {"stop.png", 48, [](QPainter &p) { roundRect(p, QRectF(9, 9, 30, 30), 4, kRed, kRed.darker(130)); }},
        {"goto.png", 48, [](QPainter &p) {
             roundRect(p, QRectF(14, 6, 30, 36), 3, kPaper, kDark, 2);
             p.fillRect(QRectF(16, 21, 26, 7), QColor(0xfb, 0xe3, 0x8c));
             for (int i = 0; i < 5; ++i)
                 line(p, QPointF(19, 12 + i * 6.5), QPointF(39, 12 + i * 6.5), kGray, 2);
             arrow(p, QPointF(2, 24.5), QPointF(18, 24.5), kBlue, 4);
         }},
        {"clear.png", 48, eraser},
        {"save.png", 48, [](QPainter &p) { floppy(p, kBlue); }},
        {"filter.png", 48, funnel},
        {"time_show.png", 48, clock},
        {"show_type.png", 48, [](QPainter &p) {
             roundRect(p, QRectF(3, 8, 42, 32), 5, kPaper, kTeal, 2.5);
             text(p, QRectF(3, 8, 42, 32), QStringLiteral("0x"), kTeal, 20);
         }},
        {"realtime_save_start.png", 48, [](QPainter &p) {
             floppy(p, kBlue);
             badge(p, kRed);
             disc(p, QPointF(33, 35), 4.5, Qt::white);
         }},
        {"realtime_save_stop.png", 48, [](QPainter &p) {
             floppy(p, kBlue);
             badge(p, kDark);
             roundRect(p, QRectF(28.5, 30.5, 9, 9), 1, Qt::white, QColor());
         }},
        {"GBT27930.png", 48, plugWithBolt},
        {"DBC_Clear.png", 48, [](QPainter &p) {
             document(p, kPurple);
             line(p, QPointF(17, 21), QPointF(33, 37), kRed, 4);
             line(p, QPointF(33, 21), QPointF(17, 37), kRed, 4);
         }},
        {"DBC_ID_List.png", 48, [](QPainter &p) {
             document(p, kPurple);
             for (int i = 0; i < 4; ++i) {
                 disc(p, QPointF(16, 18 + i * 6.5), 1.8, kPurple);
                 line(p, QPointF(21, 18 + i * 6.5), QPointF(34, 18 + i * 6.5), kGray, 2.2);
             }
         }},
        {"DBC_export.png", 48, [](QPainter &p) {
             document(p, kPurple);
             arrow(p, QPointF(16, 30), QPointF(46, 30), kGreen, 4);
         }},
        {"DBC_run.png", 48, [](QPainter &p) {
             disc(p, QPointF(24, 24), 20, kGreen);
             play(p, QPointF(26, 24), 10, Qt::white);
         }},
        {"DBC_suspend.png", 48, [](QPainter &p) {
             disc(p, QPointF(24, 24), 20, kOrange);
             pauseBars(p, QPointF(24, 24), 9, Qt::white);
         }},
        {"Signal.png", 48, [](QPainter &p) {
             line(p, QPointF(4, 24), QPointF(44, 24), kGray, 1.5);
             sineWave(p, QRectF(4, 8, 40, 32), kBlue, 3.5);
         }},
        {"SignalHeader.png", 48, [](QPainter &p) {
             roundRect(p, QRectF(3, 5, 42, 38), 3, kPaper, kDark, 2);
             p.fillRect(QRectF(4, 6, 40, 9), kBlue);
             sineWave(p, QRectF(8, 20, 32, 18), kBlue, 3);
         }},
        {"Uploads.png", 48, [](QPainter &p) {
             roundRect(p, QRectF(6, 36, 36, 7), 2, kGray, QColor());
             arrow(p, QPointF(24, 32), QPointF(24, 4), kBlue, 6);
         }},
        {"Voltage.png", 48, battery},
        {"msg.png", 48, envelope},
        {"logo.png", 128, logo},
        {"Merovast.ico", 64, logo},
        // 32 wide: for narrower images Qt's ICO writer leaves the mask rows' padding unset.
        {"null.ico", 32, [](QPainter &) {}},
        {"green.png", 32, [](QPainter &p) { lamp(p, kGreen); }},
        {"red.png", 32, [](QPainter &p) { lamp(p, kRed); }},
        {"gray.png", 32, [](QPainter &p) { lamp(p, kGray); }},
    };
    return list;
}

QImage paint(const Drawing &draw, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 48.0, size / 48.0);
    draw(p);
    return image;
}

bool save(const QImage &image, const QString &path, const char *format)
{
    QImageWriter writer(path, format);
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // fonts only, no display
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: iconpainter <folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const Icon &icon : icons()) {
        const QString name = QString::fromLatin1(icon.file);
        ok &= save(paint(icon.draw, icon.size), out.filePath(name), name.endsWith(QLatin1String(".ico")) ? "ico" : "png");
    }
    return ok ? 0 : 1;
}
