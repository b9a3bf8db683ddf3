#include "platform/media.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QWidget>
#include <mutex>

namespace zol {

namespace {

// Plays nothing and reports nothing.
class SilentEngine : public MediaEngine {
public:
    void setSource(const QString&) override {}
    void play() override {}
    void pause() override {}
    void stop() override {}
    void setPosition(qint64) override {}
    void setVolume(float) override {}
    QWidget* videoWidget() override { return nullptr; }
};

Media*& current()
{
    static Media* m = nullptr;
    return m;
}

// The module is loaded once, by whichever thread asks first, and stays.
struct Module {
    NewMediaEngineFn newEngine = nullptr;
    NewMidiSynthFn newSynth = nullptr;
};

const Module& module()
{
    static Module m;
    static std::once_flag once;
    std::call_once(once, [] {
        QLibrary lib(QDir(QCoreApplication::applicationDirPath()).filePath(
            QStringLiteral("libzolmedia.so")));
        if (!lib.load()) {
            qWarning("zolmiv: no sound or video: %s", qPrintable(lib.errorString()));
            return;
        }
        m.newEngine = reinterpret_cast<NewMediaEngineFn>(lib.resolve("zolmedia_new_engine"));
        m.newSynth = reinterpret_cast<NewMidiSynthFn>(lib.resolve("zolmedia_new_synth"));
    });
    return m;
}

} // namespace

std::unique_ptr<MediaEngine> Media::newEngine(QWidget*)
{
    return std::make_unique<SilentEngine>();
}

std::unique_ptr<MidiSynth> Media::newSynth() { return nullptr; }

std::unique_ptr<MediaEngine> ModuleMedia::newEngine(QWidget* videoParent)
{
    if (module().newEngine)
        if (MediaEngine* e = module().newEngine(videoParent))
            return std::unique_ptr<MediaEngine>(e);
    return Media::newEngine(videoParent);
}

std::unique_ptr<MidiSynth> ModuleMedia::newSynth()
{
    if (module().newSynth)
        return std::unique_ptr<MidiSynth>(module().newSynth(""));
    return nullptr;
}

Media& media()
{
    static Media silent;
    return current() ? *current() : silent;
}

void setMedia(Media* maker) { current() = maker; }

} // namespace zol
