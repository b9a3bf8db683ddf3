#include "platform/surface.h"

#include "platform/twips.h"

#include <QPainter>
#include <QPen>

namespace zol {

static Figure lineFigure(int x1, int y1, int x2, int y2, const QColor& color, int width,
                         Qt::PenStyle style)
{
    Figure f;
    f.kind = Figure::Line;
    f.a = QPoint(x1, y1);
    f.b = QPoint(x2, y2);
    f.color = color;
    f.width = width;
    f.style = style;
    return f;
}

void Surface::addStaticLine(int x1, int y1, int x2, int y2, const QColor& color, int width,
                            Qt::PenStyle style)
{
    static_.append(lineFigure(x1, y1, x2, y2, color, width, style));
    changed();
}

void Surface::Line(int x1, int y1, int x2, int y2, const QColor& color, int width,
                   Qt::PenStyle style)
{
    drawn_.append(lineFigure(x1, y1, x2, y2, color, width, style));
    changed();
}

void Surface::Circle(int cx, int cy, int radius, const QColor& color, int width)
{
    Figure f;
    f.kind = Figure::Circle;
    f.a = QPoint(cx, cy);
    f.radius = radius;
    f.color = color;
    f.width = width;
    drawn_.append(f);
    changed();
}

void Surface::Cls()
{
    drawn_.clear();
    changed();
}

void Surface::changed()
{
    if (owner_)
        owner_->update();
}

void Surface::paint(QPainter& painter) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    auto draw = [&painter](const Figure& f) {
        QPen pen(f.color);
        pen.setCosmetic(true);
        pen.setWidth(f.width);
        pen.setStyle(f.style);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (f.kind == Figure::Line)
            painter.drawLine(f.a, f.b);
        else
            painter.drawEllipse(f.a, f.radius, f.radius);
    };
    for (const Figure& f : static_)
        draw(f);
    for (const Figure& f : drawn_)
        draw(f);
    painter.restore();
}

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent)
{
    surface_.setOwner(this);
}

void SurfaceWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    surface_.paint(p);
}

} // namespace zol
