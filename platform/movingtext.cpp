#include "platform/movingtext.h"

#include <QFontMetrics>
#include <QPainter>

namespace zol {

MovingText::MovingText(QWidget* parent) : QWidget(parent)
{
    timer_.setInterval(30);
    connect(&timer_, &QTimer::timeout, this, [this] { advance(); });
}

void MovingText::setText(const QString& text)
{
    text_ = text;
    offset_ = 0;
    update();
}

int MovingText::textWidth() const { return QFontMetrics(font()).horizontalAdvance(text_); }

int MovingText::textX() const { return width() - offset_; }

void MovingText::advance()
{
    offset_ += step_;
    if (textX() + textWidth() <= 0)
        offset_ = 0;
    update();
}

void MovingText::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    p.drawText(QRect(textX(), 0, textWidth() + 1, height()), Qt::AlignLeft | Qt::AlignVCenter,
               text_);
}

// The band moves only while it can be seen.
void MovingText::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    timer_.start();
}

void MovingText::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    timer_.stop();
}

} // namespace zol
