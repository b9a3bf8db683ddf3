// The face names the windows ask for (楷体_GB2312, 宋体, 黑体) do not exist on
// Linux; they are mapped onto installed CJK faces.
#pragma once

#include <QFont>
#include <QString>

namespace zol {

// Installs the face substitutions and sets the application font. Call once
// after the application object exists.
void installFonts();

// A font as the window layouts name it: face, size in points, bold.
QFont vbFont(const QString& face, double points, bool bold = false);

} // namespace zol
