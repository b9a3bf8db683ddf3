// Background MIDI music.
//
// The main window lists the MIDI files of the program folder at load, starts
// a piece at random and names the piece it started in every later pause and
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
    // Starts a piece drawn at random from the list and returns its file
    // (empty when nothing could be drawn). The piece playing before is left.
    virtual QString playRandom();
    virtual void pause(const QString& file);
    // Closes the piece; a file that is not open is no error.
    virtual void closeMidi(const QString& file);
};

// The player in use.
Music& music();
// Installs a player (nullptr: back to the default one).
void setMusic(Music* player);

} // namespace zol
