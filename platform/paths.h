// Where the program finds its files: everything lies in the program folder,
// the folder of the executable. Tests point it at a folder of their own.
#pragma once

#include <QString>

namespace zol {

QString programFolder();
void setProgramFolder(const QString& folder);   // empty: back to the executable's folder

// A file of the program folder, e.g. programFile("zol.mdb").
QString programFile(const QString& name);

// A path as a message shows it: absolute, with the system's separators
// ("zol.mdb" when empty).
QString shownPath(const QString& path);

} // namespace zol
