#include "fluidmidi.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>

namespace zol {

namespace {

// FluidSynth logs through one function for the whole process. Errors are
// kept (nothing is shown to the user); the rest is dropped, so that the
// program's own log is not filled with the sound font's sample names.
QMutex logMutex;
QStringList& loggedErrors()
{
    static QStringList lines;
    return lines;
}

void logFunction(int level, const char* message, void*)
{
    if (level != FLUID_PANIC && level != FLUID_ERR)
        return;
    QMutexLocker lock(&logMutex);
    loggedErrors() << QString::fromLocal8Bit(message);
}

void captureLog()
{
    static const bool once = [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, logFunction, nullptr);
        return true;
    }();
    Q_UNUSED(once);
}

qsizetype errorCount()
{
    QMutexLocker lock(&logMutex);
    return loggedErrors().size();
}

} // namespace

// The small General MIDI font first: background music needs no more, and
// the large one's instrument tables alone cost some 12 MB while a piece
// plays; the system's default font when the small one is not there.
QStringList FluidMidi::soundFonts()
{
    return {QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
            QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
            QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
            QStringLiteral("/usr/share/soundfonts/default.sf2")};
}

QString FluidMidi::machineDriver()
{
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return QStringLiteral("pulseaudio");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/pulse/native")))
        return QStringLiteral("pulseaudio");
    // Only a card that plays is tried: opening ALSA without one prints its
    // complaints to the terminal, past FluidSynth's log.
    if (!QDir(QStringLiteral("/dev/snd"))
             .entryList({QStringLiteral("pcmC*D*p")}, QDir::System)
             .isEmpty())
        return QStringLiteral("alsa");
    return QStringLiteral("file");
}

FluidMidi::FluidMidi(const QString& driver)
{
    captureLog();
    firstError_ = errorCount();
    settings_ = new_fluid_settings();
    // Samples are read when a preset is chosen: the whole General MIDI font
    // would otherwise take some 140 MB.
    fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    // A background piece sounds few notes at once; every voice costs memory.
    fluid_settings_setint(settings_, "synth.polyphony", 64);
    synth_ = new_fluid_synth(settings_);
    for (const QString& font : soundFonts()) {
        if (QFileInfo::exists(font)) {
            // No presets are chosen now: every channel would read the
            // samples of its default instrument, which the piece may never
            // use; the player chooses the instruments of its piece.
            fontId_ = fluid_synth_sfload(synth_, QFile::encodeName(font).constData(), 0);
            if (fontId_ >= 0)
                break;
        }
    }

    // The driver is tried once here, so that ok() tells whether a piece can
    // sound; it runs again only while one does.
    driver_ = driver.isEmpty() ? machineDriver() : driver;
    audioWorks_ = openAudio();
    closeAudio();
}

FluidMidi::~FluidMidi()
{
    closePlayer();
    delete_fluid_synth(synth_);
    delete_fluid_settings(settings_);
}

bool FluidMidi::openAudio()
{
    if (audio_)
        return true;
    if (driver_ != QLatin1String("file")) {
        fluid_settings_setstr(settings_, "audio.driver", driver_.toLatin1().constData());
        audio_ = new_fluid_audio_driver(settings_, synth_);
    }
    if (!audio_) {
        // No sound device: the music plays to nowhere, in real time.
        driver_ = QStringLiteral("file");
        fluid_settings_setstr(settings_, "audio.driver", "file");
        fluid_settings_setstr(settings_, "audio.file.name", "/dev/null");
        fluid_settings_setstr(settings_, "audio.file.type", "raw");
        audio_ = new_fluid_audio_driver(settings_, synth_);
    }
    return audio_ != nullptr;
}

void FluidMidi::closeAudio()
{
    if (audio_) {
        delete_fluid_audio_driver(audio_);
        audio_ = nullptr;
    }
}

bool FluidMidi::start(const QString& file, const QByteArray& smf)
{
    closePlayer();
    if (!ok())
        return false;
    player_ = new_fluid_player(synth_);
    if (!player_)
        return false;
    if (fluid_player_add_mem(player_, smf.constData(), size_t(smf.size())) != FLUID_OK
        || fluid_player_play(player_) != FLUID_OK || !openAudio()) {
        closePlayer();
        return false;
    }
    file_ = file;
    return true;
}

void FluidMidi::pause(const QString& file)
{
    if (!player_ || file != file_)
        return;
    closeAudio();
    fluid_player_stop(player_);
    fluid_synth_all_sounds_off(synth_, -1);
}

void FluidMidi::close(const QString& file)
{
    if (file == file_)
        closePlayer();
}

void FluidMidi::closePlayer()
{
    // The player's clock is the rendering itself: with the driver gone
    // nothing runs it any more, so it needs no joining (joining would wait
    // for an end that no longer comes).
    closeAudio();
    if (player_) {
        fluid_player_stop(player_);
        delete_fluid_player(player_);
        player_ = nullptr;
        fluid_synth_all_sounds_off(synth_, -1);
    }
    file_.clear();
}

bool FluidMidi::sounding() const
{
    return player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

QStringList FluidMidi::errors() const
{
    QMutexLocker lock(&logMutex);
    return loggedErrors().mid(firstError_);
}

} // namespace zol
