// Helpers of the tests that drive the windows of a test as a user would.
#pragma once

#include "platform/dialogs.h"
#include "platform/form.h"
#include "testing/frmzol2.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace zoltest {

inline void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The item file as shipped, copied into the current program folder.
inline bool installShippedItems(const QString& folder)
{
    const QString target = folder + QStringLiteral("/zolitems.txt");
    QFile::remove(target);
    return QFile::copy(QStringLiteral(ZOL_SHIPPED_DATA "/zolitems.txt"), target);
}

// Chooses a list item as the user does, by its text.
inline void choose(QComboBox* list, const QString& text)
{
    const int i = list->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    list->setCurrentIndex(i);
}

// Replaces a box's text by typing; Chinese text arrives as an input
// method's commit, as it does from the keyboard.
inline void typeInto(QLineEdit* box, const QString& text)
{
    box->clear();
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 128;
    if (ascii) {
        QTest::keyClicks(box, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(box, &commit);
}

struct Subject {
    QString name = QStringLiteral("李四");
    QString age = QStringLiteral("25");
    QString sex = QStringLiteral("男");   // "男", "女" or empty for neither
    QString education = QStringLiteral("本科");
    QString ethnicity = QStringLiteral("回族");
    QString occupation = QStringLiteral("教师");
    QString number;                        // empty: keep the proposal
    QString source = QStringLiteral("门诊");
};

// Fills the subject window as the counsellor does; it must be loaded.
inline void enterSubject(const Subject& s)
{
    zol::Frmzol2Form& w = zol::frmzol2();
    typeInto(w.Text1, s.name);
    if (s.sex == QStringLiteral("男"))
        QTest::mouseClick(w.Option1, Qt::LeftButton);
    else if (s.sex == QStringLiteral("女"))
        QTest::mouseClick(w.Option2, Qt::LeftButton);
    typeInto(w.Text3, s.age);
    choose(w.Combo3, s.education);
    choose(w.Combo2, s.ethnicity);
    choose(w.Combo4, s.occupation);
    if (!s.number.isNull())
        typeInto(w.Text7, s.number);
    choose(w.Combo1, s.source);
}

// The window shown modally at the moment, if any. A window that has just
// hidden itself is no longer on show, although its modal showing ends only
// when control returns to the event loop.
inline zol::Form* modalWindow()
{
    for (zol::Form* f : zol::Form::loadedForms())
        if (f->isShownModally() && f->isVisible())
            return f;
    return nullptr;
}

// Runs trigger, which shows a window modally, and body as soon as that
// window is on screen. Body must end the modal showing (finish, quit, OK);
// if it does not, the window is hidden and the test fails, so that a failed
// check never leaves the test waiting.
inline void whileModal(const std::function<void()>& trigger, const std::function<void()>& body)
{
    bool ran = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ran = true;
        body();
        if (zol::Form* f = modalWindow()) {
            f->Hide();
            QFAIL(qPrintable(QStringLiteral("%1 is still shown modally").arg(f->formName())));
        }
    });
    timer.start(0);
    trigger();
    timer.stop();
    QVERIFY2(ran, "no window was shown modally");
}

} // namespace zoltest
