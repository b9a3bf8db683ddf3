// Background MIDI music.
//
// The main window lists the MIDI files of the program folder at load, starts
// a tune at random and names the tune it started in every later pause and
// close command. Until a synthesizer is attached the default player does
// nothing at all; tests install a stand-in that records the commands.
#pragma once

#include <QString>

namespace zol {

class Music {
public:
    virtual ~Music() = default;

    // Lists the MIDI files of folder; the list serves every later playRandom.
    virtual void listFolder(const QString& folder);
    // Starts a tune drawn at random from the list and returns its file
    // (empty when nothing could be drawn). The tune playing before is left.
    virtual QString playRandom();
    virtual void pause(const QString& file);
    // Closes the tune; a file that is not open is no error.
    virtual void closeMidi(const QString& file);
};

// The player in use.
Music& music();
// Installs a player (nullptr: back to the default one).
void setMusic(Music* player);

} // namespace zol
