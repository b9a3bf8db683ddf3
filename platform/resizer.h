// Keeps the controls of a window in proportion to its size.
//
// The resizer records the place of every control of a container (and of the
// controls inside its frames) at the container's design size. Whenever the
// container is resized, each control is placed at its design place scaled by
// the container's width and height ratios. Fonts keep their size.
//
//     ReSize1 = new zol::ReSize(client);   // after the layout is built
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

namespace zol {

class ReSize : public QObject {
public:
    // Records the controls of container at its present size.
    explicit ReSize(QWidget* container);

    // Records again, taking the present size as the design size.
    void capture();
    QSize designSize() const { return design_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect design;
    };
    void record(QWidget* parent);
    void apply();

    QWidget* container_;
    QSize design_;
    QList<Placed> controls_;
};

} // namespace zol
