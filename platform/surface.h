// A drawing surface that keeps what was drawn on it.
//
// Charts are drawn with lines and circles in twips; the surface records each
// figure and paints the whole list whenever the widget is repainted, so a
// chart covered by another window comes back when uncovered. Tests read the
// recorded figures.
#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QWidget>

class QPainter;

namespace zol {

struct Figure {
    enum Kind { Line, Circle } kind = Line;
    QPoint a;        // line start, or circle centre (twips)
    QPoint b;        // line end (twips)
    int radius = 0;  // circle radius (twips)
    QColor color;
    int width = 1;   // pen width in pixels
    Qt::PenStyle style = Qt::SolidLine;

    bool operator==(const Figure& o) const
    {
        return kind == o.kind && a == o.a && b == o.b && radius == o.radius && color == o.color
               && width == o.width && style == o.style;
    }
};

class Surface {
public:
    // The figures that belong to the window's design (line controls). They
    // stay when the drawn figures are cleared.
    void addStaticLine(int x1, int y1, int x2, int y2, const QColor& color, int width = 1,
                       Qt::PenStyle style = Qt::SolidLine);

    // Drawing at run time.
    void Line(int x1, int y1, int x2, int y2, const QColor& color, int width = 1,
              Qt::PenStyle style = Qt::SolidLine);
    void Circle(int cx, int cy, int radius, const QColor& color, int width = 1);
    void Cls();

    const QList<Figure>& staticFigures() const { return static_; }
    const QList<Figure>& drawn() const { return drawn_; }

    // Paints both lists; the painter's coordinates are pixels of the widget.
    void paint(QPainter& painter) const;

    // Asked to repaint after each change.
    void setOwner(QWidget* w) { owner_ = w; }

private:
    void changed();
    QList<Figure> static_;
    QList<Figure> drawn_;
    QWidget* owner_ = nullptr;
};

// A plain widget with a surface of its own (a picture box).
class SurfaceWidget : public QWidget {
    Q_OBJECT
public:
    explicit SurfaceWidget(QWidget* parent = nullptr);
    Surface& surface() { return surface_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Surface surface_;
};

} // namespace zol
