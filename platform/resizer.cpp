#include "platform/resizer.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QWidget>
#include <QtMath>

namespace zol {

namespace {
// Frames hold controls of their own; other widgets manage their inner parts.
bool holdsControls(const QWidget* w)
{
    return qobject_cast<const QGroupBox*>(w) || w->metaObject() == &QWidget::staticMetaObject
           || w->metaObject() == &QFrame::staticMetaObject;
}
} // namespace

ReSize::ReSize(QWidget* container) : QObject(container), container_(container)
{
    container_->installEventFilter(this);
    capture();
}

void ReSize::capture()
{
    design_ = container_->size();
    controls_.clear();
    record(container_);
}

void ReSize::record(QWidget* parent)
{
    const QObjectList children = parent->children();
    for (QObject* o : children) {
        if (!o->isWidgetType())
            continue;
        auto* w = static_cast<QWidget*>(o);
        if (w->isWindow())
            continue;
        controls_.append({w, w->geometry()});
        if (holdsControls(w))
            record(w);
    }
}

void ReSize::apply()
{
    if (design_.width() <= 0 || design_.height() <= 0)
        return;
    const double sx = container_->width() / double(design_.width());
    const double sy = container_->height() / double(design_.height());
    for (const Placed& p : controls_) {
        if (!p.widget)
            continue;
        const QRect& r = p.design;
        // Scale both edges, so that controls that touch at design size still touch.
        const int left = qRound(r.left() * sx);
        const int top = qRound(r.top() * sy);
        const int right = qRound((r.left() + r.width()) * sx);
        const int bottom = qRound((r.top() + r.height()) * sy);
        p.widget->setGeometry(left, top, right - left, bottom - top);
    }
}

bool ReSize::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == container_ && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}

} // namespace zol
