#include "platform/music.h"

namespace zol {

void Music::listFolder(const QString&) {}

QString Music::playRandom() { return QString(); }

void Music::pause(const QString&) {}

void Music::closeMidi(const QString&) {}

namespace {
Music*& current()
{
    static Music* m = nullptr;
    return m;
}
} // namespace

Music& music()
{
    static Music silent;
    return current() ? *current() : silent;
}

void setMusic(Music* player) { current() = player; }

} // namespace zol
