#include "platform/links.h"

namespace zol {

void Links::setHelpFile(const QString&) {}

void Links::setBannerMovie(QWidget*, const QString&) {}

void Links::helpKey(QWidget*) {}

void Links::openWebPage(const QString&) {}

void Links::openMail(const QString&) {}

namespace {
Links*& current()
{
    static Links* l = nullptr;
    return l;
}
} // namespace

Links& links()
{
    static Links none;
    return current() ? *current() : none;
}

void setLinks(Links* service) { current() = service; }

} // namespace zol
