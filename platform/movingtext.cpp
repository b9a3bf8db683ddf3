#include "platform/movingtext.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace zol {

MovingText::MovingText(QWidget* parent) : QWidget(parent)
{
    // Painted opaque, in the colour of what lies under it, a step can move
    // the band's pixels (scroll) and draw only the strip that comes in. Each
    // step still wakes the program: 4 pixels every 60 ms keep the speed of
    // 2 every 30 ms at half the wake-ups, so the idle program stays quiet.
    setAttribute(Qt::WA_OpaquePaintEvent);
    timer_.setInterval(60);
    connect(&timer_, &QTimer::timeout, this, [this] { advance(); });
}

void MovingText::setText(const QString& text)
{
    text_ = text;
    offset_ = 0;
    forgetPicture();
    update();
}

int MovingText::textWidth() const
{
    if (width_ < 0)
        width_ = QFontMetrics(font()).horizontalAdvance(text_);
    return width_;
}

int MovingText::textX() const { return width() - offset_; }

void MovingText::advance()
{
    offset_ += step_;
    if (textX() + textWidth() <= 0) {
        offset_ = 0;
        update();
    } else {
        scroll(-step_, 0);
    }
}

void MovingText::forgetPicture()
{
    width_ = -1;
    picture_ = QPixmap();
}

const QPixmap& MovingText::picture()
{
    const qreal ratio = devicePixelRatioF();
    if (picture_.isNull() || picture_.height() != qRound(height() * ratio)
        || picture_.devicePixelRatio() != ratio) {
        const int w = textWidth() + 1;
        picture_ = QPixmap(QSize(qRound(w * ratio), qRound(height() * ratio)));
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(Qt::transparent);
        QPainter p(&picture_);
        p.setPen(palette().color(QPalette::WindowText));
        p.setFont(font());
        p.drawText(QRect(0, 0, w, height()), Qt::AlignLeft | Qt::AlignVCenter, text_);
    }
    return picture_;
}

void MovingText::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    // The parent's own background: a style sheet above the band may give the
    // band a palette of its own.
    const QWidget* under = parentWidget() ? parentWidget() : this;
    p.fillRect(e->rect(), under->palette().brush(under->backgroundRole()));
    if (!text_.isEmpty() && height() > 0)
        p.drawPixmap(textX(), 0, picture());
}

void MovingText::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::PaletteChange)
        forgetPicture();
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
