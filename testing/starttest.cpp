#include "testing/starttest.h"

#include "platform/form.h"
#include "testing/frmzol1.h"

namespace zol {

QStringList testWindowNames()
{
    return {QStringLiteral("frmzol1"),   QStringLiteral("frmzol2"),   QStringLiteral("frmzol20"),
            QStringLiteral("Frmzol3"),   QStringLiteral("Frmzol23"),  QStringLiteral("frmzol19"),
            QStringLiteral("frmzol22"),  QStringLiteral("frmzol4"),   QStringLiteral("frmzol401"),
            QStringLiteral("frmzol21"),  QStringLiteral("frmzol211"), QStringLiteral("frmzol5"),
            QStringLiteral("frmzol501"), QStringLiteral("frmzol25"),  QStringLiteral("frmzol2501")};
}

void startTest()
{
    Form* onShow = nullptr;
    for (const QString& name : testWindowNames()) {
        Form* f = Form::findLoaded(name);
        if (!f || !f->isVisible())
            continue;
        // A window shown modally is the one that takes input; otherwise the
        // latest step of the test.
        if (!onShow || !onShow->isShownModally())
            onShow = f;
    }
    if (!onShow) {
        for (const char* name : {"frmzol1", "frmzol2", "frmzol20"}) {
            if (Form* f = Form::findLoaded(QString::fromLatin1(name))) {
                onShow = f;
                break;
            }
        }
    }
    if (onShow) {
        onShow->Show();
        return;
    }
    frmzol1().Show();
}

} // namespace zol
