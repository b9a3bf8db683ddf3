// Background MIDI music.
//
// The main window lists the MIDI files of the program folder at load, starts
// a piece at random and names the piece it started in every later pause and
// close command. The default player does nothing at all; the program installs
// BackgroundMusic, tests a stand-in that records the commands.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace zol {

class Music {
public:
    virtual ~Music() = default;

    // Starts the piece from its start; the piece playing before stops. False
    // when the file cannot be played (missing, not MIDI, the empty name).
    virtual bool play(const QString& file);
    // Pauses the piece, when file names the one that plays.
    virtual void pause(const QString& file);
    // Closes the piece; a file that is not open is no error.
    virtual void closeMidi(const QString& file);
    // Lets a player that was told to wait load its engine now. The program
    // calls it once its first window has been drawn.
    virtual void loadNow() {}
};

// The player in use.
Music& music();
// Installs a player (nullptr: back to the default one).
void setMusic(Music* player);

// At most this many pieces are listed.
constexpr int kMaxMidiFiles = 200;

// The MIDI files of folder, in the order the file system lists them: its
// ordinary files (no folders, no hidden files) whose names end in "MID",
// "mid", "RMI" or "rmi" (exactly so; no dot needed), each as the folder, a
// "/" when the folder does not end in one, and the name. At most
// kMaxMidiFiles.
QStringList midiFilesIn(const QString& folder);

// The standard MIDI file in bytes: the bytes themselves for a ".mid" file,
// the "data" chunk of a RIFF "RMID" file. Empty when they are neither.
QByteArray midiData(const QByteArray& bytes);

// The player of the program: FluidSynth through the media module, on a
// thread of its own, so that no command waits for the synthesizer or its
// sound font to be loaded. Without a sound device it plays to nowhere and
// says nothing.
class BackgroundMusic : public Music {
public:
    // When the synthesizer is loaded: as soon as the event loop runs, or
    // only once loadNow() is called (commands wait until then).
    enum Loading { LoadWhenIdle, LoadWhenAsked };
    explicit BackgroundMusic(Loading loading = LoadWhenIdle);
    ~BackgroundMusic() override;

    bool play(const QString& file) override;
    void pause(const QString& file) override;
    void closeMidi(const QString& file) override;
    void loadNow() override;

    // Waits until every command sent so far has been carried out; true when
    // the synthesizer then sounds. For tests and measurements.
    bool settle();

private:
    struct Worker;
    std::unique_ptr<Worker> worker_;
};

} // namespace zol
