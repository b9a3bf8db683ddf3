#include "shell/programend.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace zol {

namespace {
std::function<void()>& endHandler()
{
    static std::function<void()> h;
    return h;
}
} // namespace

void End()
{
    if (endHandler()) {
        endHandler()();
        return;
    }
    // Hiding does not run any unload step.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        w->hide();
    QCoreApplication::exit(0);
}

void setEndHandler(std::function<void()> handler) { endHandler() = std::move(handler); }

LastWindowWatcher::LastWindowWatcher(std::function<void()> quit) : quit_(std::move(quit))
{
    qApp->installEventFilter(this);
}

LastWindowWatcher::~LastWindowWatcher()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool LastWindowWatcher::anyWindowVisible()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* w : windows) {
        if (!w->isVisible())
            continue;
        switch (w->windowType()) {
        case Qt::Popup:
        case Qt::ToolTip:
        case Qt::Desktop:
            continue;
        default:
            return true;
        }
    }
    return false;
}

bool LastWindowWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->isWindow() && !pending_) {
        pending_ = true;
        QTimer::singleShot(0, this, [this] { check(); });
    }
    return QObject::eventFilter(watched, event);
}

void LastWindowWatcher::check()
{
    pending_ = false;
    if (!anyWindowVisible() && quit_)
        quit_();
}

} // namespace zol
