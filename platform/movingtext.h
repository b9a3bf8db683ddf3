// A band of text that scrolls from right to left without end.
#pragma once

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
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    QString text_;
    int offset_ = 0;  // pixels travelled since the text entered on the right
    int step_ = 2;
    QTimer timer_;
};

} // namespace zol
