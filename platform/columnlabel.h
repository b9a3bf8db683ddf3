// A narrow label whose caption stands one word a line, the lines spread
// evenly over the label's height (the number columns beside a chart, a
// caption written downwards). The caption stays the label's text.
#pragma once

#include <QLabel>

namespace zol {

class ColumnLabel : public QLabel {
    Q_OBJECT
public:
    explicit ColumnLabel(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace zol
