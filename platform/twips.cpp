#include "platform/twips.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QtMath>

namespace zol {

int tw(int twips) { return qRound(twips / double(kTwipsPerPixel)); }

int toTwips(int pixels) { return pixels * kTwipsPerPixel; }

QRect twRect(int left, int top, int width, int height)
{
    return QRect(tw(left), tw(top), tw(width), tw(height));
}

void place(QWidget* w, int left, int top, int width, int height)
{
    if (width <= 0 || height <= 0) {
        w->adjustSize();
        const QSize s = w->size();
        w->setGeometry(tw(left), tw(top), width > 0 ? tw(width) : s.width(),
                       height > 0 ? tw(height) : s.height());
    } else {
        w->setGeometry(twRect(left, top, width, height));
    }
}

void setForeColor(QWidget* w, const QColor& color)
{
    if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setStyleSheet(QStringLiteral("QGroupBox::title { color: %1; }").arg(color.name()));
        return;
    }
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::Text, color);
    w->setPalette(p);
}

void setBackColor(QWidget* w, const QColor& color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, color);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QLabel* makeLabel(QWidget* parent, const QString& caption, int left, int top, int width,
                  int height)
{
    auto* l = new QLabel(caption, parent);
    place(l, left, top, width, height);
    return l;
}

QPushButton* makeButton(QWidget* parent, const QString& caption, int left, int top, int width,
                        int height)
{
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    place(b, left, top, width, height);
    return b;
}

QLineEdit* makeTextBox(QWidget* parent, int left, int top, int width, int height)
{
    auto* t = new QLineEdit(parent);
    place(t, left, top, width, height);
    return t;
}

QRadioButton* makeOption(QWidget* parent, const QString& caption, int left, int top, int width,
                         int height)
{
    auto* o = new QRadioButton(caption, parent);
    place(o, left, top, width, height);
    return o;
}

QCheckBox* makeCheck(QWidget* parent, const QString& caption, int left, int top, int width,
                     int height)
{
    auto* c = new QCheckBox(caption, parent);
    place(c, left, top, width, height);
    return c;
}

QGroupBox* makeFrame(QWidget* parent, const QString& caption, int left, int top, int width,
                     int height)
{
    auto* g = new QGroupBox(caption, parent);
    place(g, left, top, width, height);
    return g;
}

QComboBox* makeList(QWidget* parent, const QStringList& items, int left, int top, int width,
                    int height)
{
    auto* c = new QComboBox(parent);
    c->setEditable(false);
    // Open as a list of at most maxVisibleItems() rows with a scroll bar.
    // The platform's default style would instead open one menu as tall as
    // all the items, taller than the screen for the long lists.
    c->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    c->ensurePolished();   // before the list below is made, so that it opens as a list
    c->addItems(items);
    c->setCurrentIndex(-1);
    // The open list is wide enough for its longest item beside the scroll bar.
    QAbstractItemView* list = c->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth()
                          + c->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list));
    place(c, left, top, width, height);
    return c;
}

} // namespace zol
