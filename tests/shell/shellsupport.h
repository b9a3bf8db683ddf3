// Stand-ins for the music, link and media services, and a recorder for the
// end of the program, shared by the tests of the start-up and main windows.
#pragma once

#include "testsupport.h"

#include "platform/form.h"
#include "platform/links.h"
#include "platform/music.h"
#include "shell/frmzolmaincs.h"
#include "shell/programend.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>

namespace shelltest {

// Records every command as "play X", "pause X" or "close X"; a play
// succeeds unless refused or the file is the empty name.
class RecordingMusic : public zol::Music {
public:
    RecordingMusic() { zol::setMusic(this); }
    ~RecordingMusic() override { zol::setMusic(nullptr); }

    QStringList commands;
    bool refuse = false;
    bool throwOnPlay = false;
    std::function<void()> onPlay;

    bool play(const QString& file) override
    {
        if (onPlay)
            onPlay();
        if (throwOnPlay)
            throw std::runtime_error("no MIDI device");
        commands << QStringLiteral("play ") + file;
        return !refuse && !file.isEmpty();
    }
    void pause(const QString& file) override { commands << QStringLiteral("pause ") + file; }
    void closeMidi(const QString& file) override { commands << QStringLiteral("close ") + file; }
    int plays() const { return int(commands.filter(QStringLiteral("play ")).size()); }
};

// Records every call as one line of text, in order.
class RecordingLinks : public zol::Links {
public:
    RecordingLinks() { zol::setLinks(this); }
    ~RecordingLinks() override { zol::setLinks(nullptr); }

    QStringList calls;
    bool failOnHelpFile = false;
    bool refuseToStart = false;

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
    void openHelp(QWidget*) override { calls << QStringLiteral("help key"); }
    void openWebPage(const QString& address) override { calls << QStringLiteral("web ") + address; }
    void openMail(const QString& address) override { calls << QStringLiteral("mail ") + address; }
    void openTextFile(const QString& path) override { calls << QStringLiteral("text ") + path; }
    bool startProgram(const QString& path) override
    {
        calls << QStringLiteral("start ") + path;
        return !refuseToStart;
    }
};

// Counts the calls of End instead of ending the test program.
class EndRecorder {
public:
    EndRecorder() { zol::setEndHandler([this] { ++ends; }); }
    ~EndRecorder() { zol::setEndHandler({}); }
    int ends = 0;
};

// The services every start-up and main-window test replaces: besides the
// window tests' folder and dialogs, music, links and media.
class ShellTestBase : public zoltest::WindowFixture {
protected:
    std::unique_ptr<RecordingMusic> music;
    std::unique_ptr<RecordingLinks> links;
    std::unique_ptr<zoltest::RecordingMedia> media;

    void startServices()
    {
        startWindows();
        music = std::make_unique<RecordingMusic>();
        links = std::make_unique<RecordingLinks>();
        media = std::make_unique<zoltest::RecordingMedia>();
    }
    void stopServices()
    {
        stopWindows();   // the windows unload while the services still answer
        media.reset();
        links.reset();
        music.reset();
    }
};

inline bool mainLoaded() { return zol::DefaultForm<FrmzolmaincsForm>::loaded(); }

} // namespace shelltest
