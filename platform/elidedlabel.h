// A one-line label of fixed width for a value (a name, a list's choice).
// A value wider than the label is cut at the label's edge and ends in "…",
// so that it is never read as running on into the caption beside it; the
// label keeps its place and size, and text() stays the whole value.
#pragma once

#include <QLabel>

namespace zol {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The value as drawn.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace zol
