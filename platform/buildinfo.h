// Values of this build: the program's title and the maker's addresses.
#pragma once

#include <QString>

namespace zol::build {

// Title of message boxes that have none of their own, and of the About box.
inline QString programTitle() { return QStringLiteral("Vormel人格问卷成人版"); }

// The maker's web page: window caption, MP3 status line, web commands.
inline QString webPage() { return QStringLiteral("https://www.example.com/"); }

// The maker's second web site (the display hint of the main window).
inline QString secondSite() { return QStringLiteral("https://www.example.org/"); }

// The maker's e-mail address, opened as "mailto:" followed by it.
inline QString mailAddress() { return QStringLiteral("counsel@example.com"); }

} // namespace zol::build
