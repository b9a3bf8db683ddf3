#include "tests/support/loadedwindows.h"

#include <QCoreApplication>
#include <QEvent>

namespace zol {

QStringList loadedFormNames()
{
    QStringList names;
    for (Form* f : Form::loadedForms())
        names << f->formName();
    return names;
}

Form* findLoaded(const QString& name)
{
    for (Form* f : Form::loadedForms())
        if (f->formName() == name)
            return f;
    return nullptr;
}

void unloadAllWindows()
{
    for (Form* f : Form::loadedForms())
        f->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace zol
