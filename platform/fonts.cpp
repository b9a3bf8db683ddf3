#include "platform/fonts.h"

#include <QApplication>
#include <QFontDatabase>

namespace zol {

void installFonts()
{
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"),
                               {QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("楷体"),
                               {QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")});
    QFont::insertSubstitutions(QStringLiteral("宋体"),
                               {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")});
    QFont::insertSubstitutions(QStringLiteral("黑体"),
                               {QStringLiteral("Noto Sans CJK SC")});
    // The default face of the windows. Without an explicit choice fontconfig
    // may pick the Kai face for menus and buttons.
    QFont app(QStringLiteral("Noto Sans CJK SC"));
    app.setPointSizeF(9);
    QApplication::setFont(app);
}

QFont vbFont(const QString& face, double points, bool bold)
{
    QFont f(face);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace zol
