// Records what a widget paints, in widget coordinates: each shape with the
// pen, brush and font it was drawn with, each text run with its box. Tests
// check geometry and colours this way without comparing text pixels.
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>
#include <QWidget>

#include <cmath>
#include <functional>

struct PaintedShape {
    enum Kind { Rect, Ellipse, Polygon, Path, Line, Text, Pixmap };
    Kind kind;
    QRectF rect;          // as given: rectangle, ellipse, pixmap target, text box
    QPolygonF points;     // as given: polygon points, line ends, path outline
    QTransform transform; // the painter's transformation then
    QPen pen;
    QBrush brush;
    QFont font;
    QString text;

    // The shape's outline in widget coordinates, pen not included.
    QPolygonF outline() const { return transform.map(kind == Polygon || kind == Path || kind == Line ? points : QPolygonF(rect)); }
    QRectF bounds() const { return outline().boundingRect(); }
    QColor color() const { return brush.color(); }
    // Inside a widget of that size, with the pen's half width around the
    // outline (a fraction of a pixel is allowed for antialiasing).
    bool inside(const QSizeF &widget) const
    {
        const QRectF b = bounds();
        const qreal margin = (pen.style() == Qt::NoPen ? 0.0 : pen.widthF() / 2) - 0.5;
        return finite() && b.left() - margin >= 0 && b.top() - margin >= 0 && b.right() + margin <= widget.width()
                && b.bottom() + margin <= widget.height();
    }
    bool finite() const
    {
        for (const QPointF &p : outline())
            if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
                return false;
        return true;
    }
};

class PaintRecorder : public QPaintDevice
{
public:
    // Paints widget once, at its size, without background or children.
    static QVector<PaintedShape> record(QWidget &widget)
    {
        PaintRecorder device(widget.size());
        widget.render(&device, QPoint(), QRegion(), QWidget::RenderFlags());
        return device.engine.shapes;
    }

    // What paint draws on a painter over a device of that size.
    static QVector<PaintedShape> record(const QSize &size, const std::function<void(QPainter &)> &paint)
    {
        PaintRecorder device(size);
        QPainter painter(&device);
        paint(painter);
        painter.end();
        return device.engine.shapes;
    }

    QPaintEngine *paintEngine() const override { return &engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return size.width();
        case PdmHeight: return size.height();
        case PdmWidthMM: return size.width() * 254 / 960;
        case PdmHeightMM: return size.height() * 254 / 960;
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Engine : public QPaintEngine
    {
    public:
        Engine() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        Type type() const override { return User; }

        void drawRects(const QRectF *rects, int count) override
        {
            for (int i = 0; i < count; ++i)
                add(PaintedShape::Rect).rect = rects[i];
        }
        void drawEllipse(const QRectF &rect) override { add(PaintedShape::Ellipse).rect = rect; }
        void drawPolygon(const QPointF *points, int count, PolygonDrawMode) override
        {
            add(PaintedShape::Polygon).points = QPolygonF(QVector<QPointF>(points, points + count));
        }
        void drawPath(const QPainterPath &path) override { add(PaintedShape::Path).points = path.toFillPolygon(); }
        void drawLines(const QLineF *lines, int count) override
        {
            for (int i = 0; i < count; ++i)
                add(PaintedShape::Line).points = QPolygonF(QVector<QPointF>{lines[i].p1(), lines[i].p2()});
        }
        void drawPixmap(const QRectF &rect, const QPixmap &, const QRectF &) override
        {
            add(PaintedShape::Pixmap).rect = rect;
        }
        void drawTextItem(const QPointF &at, const QTextItem &item) override
        {
            PaintedShape &shape = add(PaintedShape::Text);
            shape.text = item.text();
            shape.font = item.font();
            shape.rect = QRectF(at.x(), at.y() - item.ascent(), item.width(), item.ascent() + item.descent());
        }

        PaintedShape &add(PaintedShape::Kind kind)
        {
            shapes.append({kind, {}, {}, state->transform(), state->pen(), state->brush(), state->font(), {}});
            return shapes.last();
        }

        QVector<PaintedShape> shapes;
    };

    explicit PaintRecorder(const QSize &size) : size(size) {}

    QSize size;
    mutable Engine engine;
};

inline QVector<PaintedShape> shapesOf(const QVector<PaintedShape> &shapes, PaintedShape::Kind kind)
{
    QVector<PaintedShape> found;
    for (const PaintedShape &shape : shapes)
        if (shape.kind == kind)
            found << shape;
    return found;
}

// The text runs in drawing order.
inline QStringList textsOf(const QVector<PaintedShape> &shapes)
{
    QStringList texts;
    for (const PaintedShape &shape : shapes)
        if (shape.kind == PaintedShape::Text)
            texts << shape.text;
    return texts;
}

// Messages Qt prints while painting (pixel sizes, gradients, arguments)
// point at a geometry that went wrong.
class WarningCatcher
{
public:
    WarningCatcher() : previous(qInstallMessageHandler(&WarningCatcher::handle)) { messages().clear(); }
    ~WarningCatcher() { qInstallMessageHandler(previous); }
    QStringList caught() const { return messages(); }

private:
    static QStringList &messages()
    {
        static QStringList list;
        return list;
    }
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            messages() << message;
    }
    QtMessageHandler previous;
};
