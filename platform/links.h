// The help file, the banner movie, the maker's web pages and mail, and the
// outside programs the windows start.
//
// The main window names the help file and the banner movie at load and sends
// its help, web and mail commands here. The default does nothing; the program
// installs DesktopLinks, tests a stand-in that records the calls.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace zol {

class Links {
public:
    virtual ~Links() = default;

    virtual void setHelpFile(const QString& path);
    virtual void setBannerMovie(QWidget* banner, const QString& path);
    // The help key pressed in window: opens the help file.
    virtual void openHelp(QWidget* window);
    virtual void openWebPage(const QString& address);
    // A new mail to address (without "mailto:").
    virtual void openMail(const QString& address);
    // A text file in the desktop's editor.
    virtual void openTextFile(const QString& path);
    // Starts a program with a window of its own, without waiting for it;
    // false when it could not be started.
    virtual bool startProgram(const QString& path);
};

// The service in use.
Links& links();
// Installs a service (nullptr: back to the default one).
void setLinks(Links* service);

// The desktop's own programs: the help file (an HTML page) in the browser
// and text files in the editor through the desktop's opener (xdg-open), web
// pages and mail through QDesktopServices. A help or notes file that is
// missing or that the opener cannot open is said in a message that names
// the file; web pages and mail fail quietly. The banner movie is only named:
// there is no player for it on Linux.
class DesktopLinks : public Links {
public:
    // The opener's command; the file's path is its last argument.
    void setOpener(const QStringList& command) { opener_ = command; }

    void setHelpFile(const QString& path) override;
    void setBannerMovie(QWidget* banner, const QString& path) override;
    void openHelp(QWidget* window) override;
    void openWebPage(const QString& address) override;
    void openMail(const QString& address) override;
    void openTextFile(const QString& path) override;
    bool startProgram(const QString& path) override;

private:
    void openLocalFile(const QString& path, const QString& what, const QString& program);

    QString helpFile_;
    QStringList opener_{QStringLiteral("xdg-open")};
};

// F1 in any window of the program is the help key.
void installHelpKey();

// Files of a program folder: the help file (the folder and the name, with a
// "/" between them unless the folder ends in one), the banner movie and the
// notes file (the folder, "/" and the name, as they always were).
QString helpFilePath(const QString& folder);
QString bannerMoviePath(const QString& folder);
QString notesFilePath(const QString& folder);

} // namespace zol
