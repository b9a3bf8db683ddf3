// Channel playlists: an ".asx" file names the streams it plays.
#pragma once

#include <QByteArray>
#include <QString>

namespace zol {

// The address of the first stream of an ".asx" playlist (the first
// <ref href="..."> of its first entry); empty when it names none.
QString asxFirstStream(const QByteArray& playlist);

// True for an address or path that names an ".asx" playlist.
bool isAsxAddress(const QString& fileOrAddress);

} // namespace zol
