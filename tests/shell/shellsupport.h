// Stand-ins for the music and link services, and a recorder for the end of
// the program, shared by the tests of the start-up and main windows.
#pragma once

#include "testsupport.h"

#include "platform/form.h"
#include "platform/links.h"
#include "platform/music.h"
#include "shell/frmzolmaincs.h"
#include "shell/programend.h"

#include <QStringList>
#include <memory>
#include <stdexcept>

namespace shelltest {

// Records every command; playRandom "starts" the file given.
class CountingMusic : public zol::Music {
public:
    CountingMusic() { zol::setMusic(this); }
    ~CountingMusic() override { zol::setMusic(nullptr); }

    QString tune = QStringLiteral("/prog/a.mid");
    bool failToPlay = false;
    QStringList folders;
    int plays = 0;
    QStringList closed;
    std::function<void()> onPlay;

    void listFolder(const QString& folder) override { folders << folder; }
    QString playRandom() override
    {
        ++plays;
        if (onPlay)
            onPlay();
        if (failToPlay)
            throw std::runtime_error("no MIDI device");
        return tune;
    }
    void closeMidi(const QString& file) override { closed << file; }
};

// Records every call as one line of text, in order.
class RecordingLinks : public zol::Links {
public:
    RecordingLinks() { zol::setLinks(this); }
    ~RecordingLinks() override { zol::setLinks(nullptr); }

    QStringList calls;
    bool failOnHelpFile = false;

    void setHelpFile(const QString& path) override
    {
        if (failOnHelpFile)
            throw std::runtime_error("help file");
        calls << QStringLiteral("help file ") + path;
    }
    void setBannerMovie(QWidget*, const QString& path) override
    {
        calls << QStringLiteral("banner ") + path;
    }
    void helpKey(QWidget*) override { calls << QStringLiteral("help key"); }
    void openWebPage(const QString& address) override { calls << QStringLiteral("web ") + address; }
    void openMail(const QString& address) override { calls << QStringLiteral("mail ") + address; }
};

// Counts the calls of End instead of ending the test program.
class EndRecorder {
public:
    EndRecorder() { zol::setEndHandler([this] { ++ends; }); }
    ~EndRecorder() { zol::setEndHandler({}); }
    int ends = 0;
};

// The services every start-up and main-window test replaces: besides the
// window tests' folder and dialogs, music and links.
class ShellTestBase : public zoltest::WindowFixture {
protected:
    std::unique_ptr<CountingMusic> music;
    std::unique_ptr<RecordingLinks> links;

    void startServices()
    {
        startWindows();
        music = std::make_unique<CountingMusic>();
        links = std::make_unique<RecordingLinks>();
    }
    void stopServices()
    {
        stopWindows();   // the windows unload while music and links still answer
        links.reset();
        music.reset();
    }
};

inline bool mainLoaded() { return zol::DefaultForm<FrmzolmaincsForm>::loaded(); }

} // namespace shelltest
