// The module's entry points, found by name by the program (platform/media.cpp).
#include "fluidmidi.h"
#include "qtengine.h"

extern "C" {

Q_DECL_EXPORT zol::MediaEngine* zolmedia_new_engine(QWidget* videoParent)
{
    // Qt's other backend crashed here without a sound device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    return new zol::QtMediaEngine(videoParent);
}

Q_DECL_EXPORT zol::MidiSynth* zolmedia_new_synth(const char* driver)
{
    auto* synth = new zol::FluidMidi(QString::fromLatin1(driver));
    if (!synth->ok()) {
        qWarning("zolmiv: no MIDI synthesizer (%s)", qPrintable(synth->errors().join(QLatin1String("; "))));
        delete synth;
        return nullptr;
    }
    return synth;
}
}
