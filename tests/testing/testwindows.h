// Helpers of the tests that drive the windows of a test as a user would.
#pragma once

#include "testsupport.h"

#include "tests/support/scripteddialogs.h"
#include "platform/form.h"
#include "testing/frmzol1.h"
#include "testing/frmzol2.h"
#include "testing/frmzol20.h"
#include "testing/resultwindow.h"
#include "testing/zolmodule1.h"

#include <QAbstractButton>
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

inline void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

// The item file as shipped, copied into the current program folder.
inline bool installShippedItems(const QString& folder)
{
    const QString target = folder + QStringLiteral("/zolitems.txt");
    QFile::remove(target);
    return QFile::copy(QStringLiteral(ZOL_SHIPPED_DATA "/zolitems.txt"), target);
}

// The window tests' fixture with the item file as shipped in the program
// folder, for the tests that run the questionnaire.
class ItemsFixture : public WindowFixture {
protected:
    void startWithItems()
    {
        startWindows();
        QVERIFY(installShippedItems(folder->path()));
    }
};

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
        click(w.Option1);
    else if (s.sex == QStringLiteral("女"))
        click(w.Option2);
    typeInto(w.Text3, s.age);
    choose(w.Combo3, s.education);
    choose(w.Combo2, s.ethnicity);
    choose(w.Combo4, s.occupation);
    if (!s.number.isNull())
        typeInto(w.Text7, s.number);
    choose(w.Combo1, s.source);
}

// From the notice on show to the mode window on show: the notice ticked
// and confirmed, the subject entered and confirmed.
inline void passNoticeAndSubject(const Subject& s = {})
{
    QVERIFY(zol::frmzol1().isVisible());
    click(zol::frmzol1().Option1);
    click(zol::frmzol1().Command1);
    QVERIFY(zol::frmzol2().isVisible());
    enterSubject(s);
    click(zol::frmzol2().Command1);
    QVERIFY(zol::frmzol20().isVisible());
}

// The windows before a questionnaire or raw-score window, loaded and hidden
// with the subject entered, as they are while a test runs.
inline void loadSetupWindows(const Subject& s = {})
{
    zol::frmzol1();
    zol::frmzol2();
    enterSubject(s);
    zol::frmzol20();
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

// A result window by its name, through its typed accessor.
inline zol::ResultForm& resultWindow(const QString& name)
{
    if (name == QLatin1String("frmzol401"))
        return zol::frmzol401();
    if (name == QLatin1String("frmzol21"))
        return zol::frmzol21();
    if (name == QLatin1String("frmzol211"))
        return zol::frmzol211();
    return zol::frmzol4();
}

inline void setRaw(int p, int e, int n, int l)
{
    zol::gPRaw = qint16(p);
    zol::gERaw = qint16(e);
    zol::gNRaw = qint16(n);
    zol::gLRaw = qint16(l);
}

inline void setScores(int p, int e, int n, int l)
{
    zol::gPScore = qint16(p);
    zol::gEScore = qint16(e);
    zol::gNScore = qint16(n);
    zol::gLScore = qint16(l);
}

inline QList<int> rawScores() { return {zol::gPRaw, zol::gERaw, zol::gNRaw, zol::gLRaw}; }
inline QList<int> standardScores() { return {zol::gPScore, zol::gEScore, zol::gNScore, zol::gLScore}; }

inline QStringList numbers(const QList<int>& values)
{
    QStringList texts;
    for (int v : values)
        texts << QString::number(v);
    return texts;
}

// A result window's raw scores P, E, N, L, then its standard scores.
inline QStringList scoreTexts(const zol::ResultForm& r)
{
    return {r.Label7->text(),  r.Label8->text(),  r.Label9->text(),  r.Label10->text(),
            r.Label12->text(), r.Label13->text(), r.Label14->text(), r.Label15->text()};
}

// A result window's subject: name, sex, age, education, ethnicity,
// occupation, number, source.
inline QStringList subjectTexts(const zol::ResultForm& r)
{
    return {r.Label18->text(), r.Label20->text(), r.Label22->text(), r.Label24->text(),
            r.Label26->text(), r.Label28->text(), r.Label33->text(), r.Label35->text()};
}

// The profile drawn on a result window: three red segments through the
// points of P, E, N and L at the heights given.
inline void verifyProfile(zol::ResultForm& r, const QList<int>& ys)
{
    const QList<zol::Figure>& drawn = r.surface().drawn();
    QCOMPARE(drawn.size(), 3);
    const QPoint points[4] = {{1440, ys[0]}, {2760, ys[1]}, {4080, ys[2]}, {5520, ys[3]}};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(drawn[i].kind, zol::Figure::Line);
        QCOMPARE(drawn[i].a, points[i]);
        QCOMPARE(drawn[i].b, points[i + 1]);
        QCOMPARE(drawn[i].color, QColor(255, 0, 0));
    }
}

// The E-N chart drawn on a result window: one red point of radius 100.
inline void verifyEnPoint(zol::ResultForm& r, const QPoint& centre)
{
    const QList<zol::Figure>& drawn = r.surface().drawn();
    QCOMPARE(drawn.size(), 1);
    QCOMPARE(drawn[0].kind, zol::Figure::Circle);
    QCOMPARE(drawn[0].a, centre);
    QCOMPARE(drawn[0].radius, 100);
    QCOMPARE(drawn[0].color, QColor(255, 0, 0));
}

} // namespace zoltest
