// Values of this build: the program's title and the maker's addresses.
#pragma once

#include <QString>
#include <QStringList>

namespace zol::build {

// Title of message boxes that have none of their own, and of the About box.
inline QString programTitle() { return QStringLiteral("Vormel人格问卷成人版"); }

// The maker's web page: window caption, MP3 status line, web commands.
inline QString webPage() { return QStringLiteral("https://www.example.com/"); }

// The maker's second web site (the display hint of the main window).
inline QString secondSite() { return QStringLiteral("https://www.example.org/"); }

// The maker's e-mail address, opened as "mailto:" followed by it.
inline QString mailAddress() { return QStringLiteral("counsel@example.com"); }

// The maker's rights notice in the About box.
inline QString rightsNotice() { return QStringLiteral("版权所有 翻版必究"); }

// The stream playlists of the video window's channels, one for each channel
// that plays, in menu order (中央台一套 first, 网络电影台 last). Addresses
// of the reserved example domain, until an installation supplies its own.
inline QStringList channelPlaylists()
{
    QStringList list;
    for (int i = 1; i <= 18; ++i)
        list << QStringLiteral("http://tv.example.net/live/channel%1.asx").arg(i, 2, 10, QLatin1Char('0'));
    return list;
}

} // namespace zol::build
