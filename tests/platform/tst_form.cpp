#include "testsupport.h"

#include "tests/support/scripteddialogs.h"
#include "platform/form.h"
#include "platform/twips.h"

#include <QCloseEvent>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zol;
using zoltest::flushDeletes;

namespace {

int gLoads = 0;
int gUnloads = 0;
bool gKeepOnClose = false;

class SampleForm : public Form {
public:
    SampleForm() : Form(QStringLiteral("sample"))
    {
        setClientSize(3000, 2000);
        Command1 = makeButton(this, QStringLiteral("确定"), 120, 120, 1000, 375);
    }
    QPushButton* Command1 = nullptr;
    int loadsSeen = 0;

protected:
    void Form_Load() override
    {
        ++gLoads;
        loadsSeen = gLoads;
    }
    void Form_Unload() override { ++gUnloads; }
    void Form_QueryUnload(bool& cancel) override { cancel = gKeepOnClose; }
};

SampleForm& sample() { return DefaultForm<SampleForm>::get(); }

} // namespace

class FormModelTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        unloadAllWindows();
        gLoads = gUnloads = 0;
        gKeepOnClose = false;
    }
    void cleanup() { unloadAllWindows(); }

    void firstReferenceLoadsOnce()
    {
        QVERIFY(!DefaultForm<SampleForm>::loaded());
        sample().Command1->setText(QStringLiteral("x"));  // a control reference loads it
        QCOMPARE(gLoads, 1);
        QVERIFY(DefaultForm<SampleForm>::loaded());
        sample().Show();
        sample().Hide();
        sample().Show();
        QCOMPARE(gLoads, 1);
        QCOMPARE(loadedFormNames(), QStringList{QStringLiteral("sample")});
    }

    void unloadThenReferenceLoadsAfresh()
    {
        SampleForm* first = &sample();
        first->Command1->setText(QStringLiteral("changed"));
        first->Unload();
        QVERIFY(!DefaultForm<SampleForm>::loaded());
        QCOMPARE(gUnloads, 1);
        QVERIFY(Form::loadedForms().isEmpty());
        flushDeletes();
        SampleForm* second = &sample();
        QCOMPARE(gLoads, 2);
        QCOMPARE(second->loadsSeen, 2);
        QCOMPARE(second->Command1->text(), QStringLiteral("确定"));  // design value again
        // Unloading something that is not loaded does nothing and loads nothing.
        second->Unload();
        DefaultForm<SampleForm>::unload();
        QCOMPARE(gLoads, 2);
        QCOMPARE(gUnloads, 2);
    }

    void modalShowingEndsWhenHidden()
    {
        QTimer::singleShot(0, [] {
            QVERIFY(sample().isShownModally());
            QVERIFY(sample().isVisible());
            sample().Hide();
        });
        sample().Show(vbModal);   // comes back once the timer hides the window
        QVERIFY(!sample().isShownModally());
        QVERIFY(DefaultForm<SampleForm>::loaded());  // hidden, still loaded
        QCOMPARE(sample().windowModality(), Qt::NonModal);
    }

    void modalShowingEndsWhenUnloaded()
    {
        QTimer::singleShot(0, [] { sample().Unload(); });
        sample().Show(vbModal);
        QVERIFY(!DefaultForm<SampleForm>::loaded());
        flushDeletes();
        QCOMPARE(gUnloads, 1);
    }

    void modalShowingSurvivesDestruction()
    {
        // The window may be destroyed while its modal showing is still on the stack.
        QTimer::singleShot(0, [] {
            sample().Unload();
            flushDeletes();
        });
        sample().Show(vbModal);
        QVERIFY(Form::loadedForms().isEmpty());
    }

    void closeBoxAsksTheWindow()
    {
        sample().Show();
        gKeepOnClose = true;
        QVERIFY(!sample().close());
        QVERIFY(DefaultForm<SampleForm>::loaded());
        QVERIFY(sample().isVisible());
        gKeepOnClose = false;
        QVERIFY(sample().close());
        QVERIFY(!DefaultForm<SampleForm>::loaded());
        QCOMPARE(gUnloads, 1);
    }

    void surfaceKeepsWhatWasDrawn()
    {
        sample().surface().addStaticLine(0, 900, 3000, 900, QColor(0, 0, 255));
        sample().surface().Line(300, 300, 2700, 300, QColor(255, 0, 0));
        sample().surface().Circle(1500, 1500, 300, QColor(255, 0, 0));
        QCOMPARE(sample().surface().drawn().size(), 2);
        const QImage img = sample().grab().toImage();
        QCOMPARE(img.pixelColor(tw(1500), tw(300)), QColor(255, 0, 0));
        QCOMPARE(img.pixelColor(tw(1500), tw(900)), QColor(0, 0, 255));
        QCOMPARE(img.pixelColor(tw(1500), tw(1800)), QColor(255, 0, 0));  // bottom of the circle
        // A second grab (a repaint) shows the same figures.
        QCOMPARE(sample().grab().toImage(), img);
        sample().surface().Cls();
        QCOMPARE(sample().surface().staticFigures().size(), 1);
        QVERIFY(sample().grab().toImage().pixelColor(tw(1500), tw(300)) != QColor(255, 0, 0));
    }

    void twipsConvertAtFifteenToAPixel()
    {
        QCOMPARE(tw(15), 1);
        QCOMPARE(tw(7890), 526);
        QCOMPARE(tw(22), 1);
        QCOMPARE(tw(23), 2);
        QCOMPARE(sample().width(), 200);
        QCOMPARE(sample().Command1->geometry(), QRect(8, 8, 67, 25));
    }

    void scriptedDialogsAnswerAndRecord()
    {
        ScriptedDialogs d;
        setProgramTitle(QStringLiteral("程序"));
        d.messageAnswers << vbCancel;
        QCOMPARE(MsgBox(QStringLiteral("问"), vbOKCancel | vbInformation, QStringLiteral("提示")),
                 int(vbCancel));
        QCOMPARE(MsgBox(QStringLiteral("无标题")), int(vbOK));
        QCOMPARE(d.count(), 2);
        QCOMPARE(d.calls[0].title, QStringLiteral("提示"));
        QCOMPARE(d.calls[0].style, vbOKCancel | vbInformation);
        QCOMPARE(d.calls[1].title, QStringLiteral("程序"));
        QString answer;
        QVERIFY(!InputBox(QStringLiteral("p"), QString(), QString(), &answer));
        d.inputAnswers << QStringLiteral("abc");
        QVERIFY(InputBox(QStringLiteral("p"), QString(), QString(), &answer));
        QCOMPARE(answer, QStringLiteral("abc"));
        QVERIFY(OpenFileDialog(QStringLiteral("打开"), QStringLiteral("*.mp3")).isEmpty());
    }
};

ZOL_TEST(FormModelTest)
#include "tst_form.moc"
