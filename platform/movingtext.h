// A band of text that scrolls from right to left without end.
#pragma once

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace zol {

class MovingText : public QWidget {
public:
    explicit MovingText(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }

    // Pixels moved per step and milliseconds between steps.
    void setStep(int pixels) { step_ = pixels; }
    void setInterval(int ms) { timer_.setInterval(ms); }

    // Where the text starts, in pixels from the band's left edge.
    int textX() const;
    int textWidth() const;
    // Moves the text one step; once it has left on the left it comes in again
    // from the right.
    void advance();

protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    // The text drawn once, as tall as the band: a step only moves pixels.
    const QPixmap& picture();
    void forgetPicture();

    QString text_;
    mutable int width_ = -1;  // of the text, -1 until measured
    QPixmap picture_;
    int offset_ = 0;  // pixels travelled since the text entered on the right
    int step_ = 4;
    QTimer timer_;
};

} // namespace zol
