// The help file, the banner movie and the maker's web pages and mail.
//
// The main window names the help file and the banner movie at load and sends
// its help, web and mail commands here. The default does nothing yet; tests
// install a stand-in that records the calls.
#pragma once

#include <QString>

class QWidget;

namespace zol {

class Links {
public:
    virtual ~Links() = default;

    virtual void setHelpFile(const QString& path);
    virtual void setBannerMovie(QWidget* banner, const QString& path);
    // The help key pressed in window: opens the help file.
    virtual void helpKey(QWidget* window);
    virtual void openWebPage(const QString& address);
    // A new mail to address (without "mailto:").
    virtual void openMail(const QString& address);
};

// The service in use.
Links& links();
// Installs a service (nullptr: back to the default one).
void setLinks(Links* service);

} // namespace zol
