#include "platform/columnlabel.h"

#include <QPainter>
#include <QRegularExpression>

namespace zol {

ColumnLabel::ColumnLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}

void ColumnLabel::paintEvent(QPaintEvent*)
{
    // Leading blanks make an empty first line, as a wrapped caption would.
    QStringList words = text().split(QRegularExpression(QStringLiteral("\\s+")),
                                     Qt::SkipEmptyParts);
    if (text().startsWith(QLatin1Char(' ')))
        words.prepend(QString());
    if (words.isEmpty())
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    const double step = double(height()) / words.size();
    for (int i = 0; i < words.size(); ++i) {
        const QRectF line(0, i * step, width(), step);
        p.drawText(line, Qt::AlignHCenter | Qt::AlignVCenter, words[i]);
    }
}

} // namespace zol
