// Sound and pictures: the MIDI synthesizer of the background music and the
// players of the MP3 panel and the video window.
//
// The engines that make the sound live in a module of their own
// (libzolmedia.so in the program folder), built on FluidSynth and Qt
// Multimedia. The program loads it on first use, not at start-up: linking
// those libraries into the program made every start some 8 ms slower,
// before the splash window could appear. Only abstract classes cross the
// module's border, so this header is all the module knows of the program.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace zol {

// One MIDI synthesizer playing at most one piece at a time. Not thread-safe:
// the background music calls it from its own thread only.
class MidiSynth {
public:
    virtual ~MidiSynth() = default;
    // Starts the piece (the bytes of a standard MIDI file) from its start;
    // the piece playing before is closed. False when the synthesizer cannot
    // play it.
    virtual bool start(const QString& file, const QByteArray& smf) = 0;
    // Pauses the piece, when file names it.
    virtual void pause(const QString& file) = 0;
    // Closes the piece, when file names it.
    virtual void close(const QString& file) = 0;
    // The piece that is open (empty when none), and whether it sounds now.
    virtual QString current() const = 0;
    virtual bool sounding() const = 0;
    // The audio driver in use ("pulseaudio", "alsa", or "file" writing to
    // /dev/null when the machine has no sound device).
    virtual QString driver() const = 0;
    // Error lines the synthesizer logged; none reach the user.
    virtual QStringList errors() const = 0;
};

// One player of a sound or video file or stream address.
class MediaEngine {
public:
    virtual ~MediaEngine() = default;
    // A file path or a web address; an ".asx" playlist plays its first stream.
    // The empty text stops and forgets what played.
    virtual void setSource(const QString& fileOrAddress) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void setPosition(qint64 ms) = 0;
    // 0 silent to 1 loudest.
    virtual void setVolume(float linear) = 0;
    // Where the pictures show; nullptr for an engine made for sound alone.
    virtual QWidget* videoWidget() = 0;

    // Reports of the engine, on the user-interface thread.
    std::function<void(qint64 ms)> positionChanged;
    std::function<void()> ended;
    std::function<void(const QString& why)> failed;
};

// Makes the engines. The default makes silent ones that do nothing (tests of
// windows get them unless they install a stand-in); the program installs
// ModuleMedia at start.
class Media {
public:
    virtual ~Media() = default;
    // An engine for sound alone (videoParent nullptr) or for sound and
    // pictures shown in a child widget of videoParent.
    virtual std::unique_ptr<MediaEngine> newEngine(QWidget* videoParent);
    // A synthesizer; nullptr when none can be made. May be called from any
    // thread and may take a while (the sound font is read).
    virtual std::unique_ptr<MidiSynth> newSynth();
};

// The engines of libzolmedia.so; silent engines and no synthesizer when the
// module cannot be loaded (the reason goes to the log).
class ModuleMedia : public Media {
public:
    std::unique_ptr<MediaEngine> newEngine(QWidget* videoParent) override;
    std::unique_ptr<MidiSynth> newSynth() override;
};

Media& media();
// Installs a maker (nullptr: back to the silent default).
void setMedia(Media* maker);

// The module's own entry points, looked up by name after loading it.
extern "C" {
using NewMediaEngineFn = MediaEngine* (*)(QWidget* videoParent);
using NewMidiSynthFn = MidiSynth* (*)(const char* driver);
}

} // namespace zol
