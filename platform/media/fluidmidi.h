// The MIDI synthesizer on FluidSynth with the General MIDI sound font.
#pragma once

#include "platform/media.h"

#include <fluidsynth.h>

namespace zol {

class FluidMidi : public MidiSynth {
public:
    // driver: an audio driver of FluidSynth, or empty for the machine's own:
    // the desktop's sound server, else the first sound card, else the file
    // driver writing to /dev/null (a machine without sound stays silent).
    explicit FluidMidi(const QString& driver = QString());
    ~FluidMidi() override;

    // False when no sound font was found or no audio driver would start.
    bool ok() const { return audioWorks_ && fontId_ >= 0; }

    bool start(const QString& file, const QByteArray& smf) override;
    void pause(const QString& file) override;
    void close(const QString& file) override;
    QString current() const override { return file_; }
    bool sounding() const override;
    QString driver() const override { return driver_; }
    QStringList errors() const override;

    // Where the program looks for the sound font, first found first.
    static QStringList soundFonts();
    // The audio driver for this machine (see the constructor).
    static QString machineDriver();

private:
    // The audio driver runs only while a piece sounds: its thread renders
    // (silence too) as long as it exists, and it is the only thread that
    // reaches the player, so stopping it first makes the player safe to
    // stop and delete.
    bool openAudio();
    void closeAudio();
    void closePlayer();

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* audio_ = nullptr;
    fluid_player_t* player_ = nullptr;
    int fontId_ = -1;
    bool audioWorks_ = false;
    QString file_;
    QString driver_;
    qsizetype firstError_ = 0;
};

} // namespace zol
