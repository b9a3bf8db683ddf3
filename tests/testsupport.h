// Shared pieces of the test programs: registration of test classes, a
// program folder of the test's own and the fixture of the window tests.
#pragma once

#include "tests/support/loadedwindows.h"
#include "tests/support/scripteddialogs.h"
#include "platform/media.h"
#include "platform/printing.h"

#include <QObject>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

namespace zoltest {

using Factory = std::function<QObject*()>;
struct Registered {
    const char* name;
    Factory make;
};
std::vector<Registered>& registry();

struct Registrar {
    Registrar(const char* name, Factory f) { registry().push_back({name, std::move(f)}); }
};

// Points the program folder at a fresh temporary folder for its lifetime,
// so that no test ever touches the program's own zol.mdb.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const;
    bool ok() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
};

// Deletes the windows that unloaded themselves with deleteLater.
void flushDeletes();

// Replaces the file's content; false when it cannot be written.
bool writeFile(const QString& path, const QByteArray& bytes);

// Exactly one message box was shown, with this text, title and style.
void verifyOneMessage(const zol::ScriptedDialogs& dialogs, const QString& prompt,
                      const QString& title, int style);

// A list written as one text, its items separated by '|'.
QStringList items(QStringView text);

// Answers every print with a PDF file instead of asking a person: the file
// named in pdfPath, or a cancel when it is empty. Counts the prints asked.
// Installs itself for its lifetime.
class PdfPrint : public zol::PrintService {
public:
    PdfPrint();
    ~PdfPrint() override;
    QString pdfPath;
    int asked = 0;
    zol::PdfOffer offered;  // what the last print offered
    bool choose(QPrinter& printer, QWidget* parent, const zol::PdfOffer& pdf) override;
};

// Makes media engines that play nothing and write what they are told into
// one log ("source X", "play", "pause", "stop", "position N", "volume V"),
// and keeps the last one made so that a test can make it report. Installs
// itself for its lifetime.
class RecordingMedia : public zol::Media {
public:
    RecordingMedia();
    ~RecordingMedia() override;
    QStringList log;
    zol::MediaEngine* last = nullptr;
    std::unique_ptr<zol::MediaEngine> newEngine(QWidget* videoParent) override;
};

// What every test that opens windows or the database needs: a program folder
// of its own and scripted dialogs, with no window loaded before or after.
// Test classes call startWindows() from init() and stopWindows() from
// cleanup().
class WindowFixture : public QObject {
protected:
    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<zol::ScriptedDialogs> dialogs;

    void startWindows();
    void stopWindows();
};

} // namespace zoltest

#define ZOL_TEST(Class) \
    static zoltest::Registrar zolRegistrar_##Class(#Class, [] { return static_cast<QObject*>(new Class); });
