// The main window's record commands open their windows: browsing and
// report printing the browser, backup and restore one shared window.
#include "shellsupport.h"

#include "shell/frmzolmaincs.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

using namespace zol;
using namespace shelltest;

class RecordCommandsTest : public ShellTestBase {
    Q_OBJECT
private slots:
    void init() { startServices(); }
    void cleanup() { stopServices(); }

    void commandsOpenTheirWindow_data()
    {
        QTest::addColumn<QStringList>("commands");   // triggered one after another
        QTest::addColumn<QString>("window");
        QTest::newRow("query and edit") << QStringList{"mnuseek", "mnuseek"} << "frmzol13";
        QTest::newRow("backup, then restore") << QStringList{"backup", "restore"} << "frmzol14";
        QTest::newRow("browsing, from menu and buttons")
            << QStringList{"mnufind", "Command19", "Command3"} << "frmzol6";
        QTest::newRow("report printing, from menu and button")
            << QStringList{"mnuprint", "Command4"} << "frmzol6";
    }
    void commandsOpenTheirWindow()
    {
        QFETCH(QStringList, commands);
        QFETCH(QString, window);
        FrmzolmaincsForm& m = frmzolmaincs();
        Form* first = nullptr;
        for (const QString& name : commands) {
            if (QAction* a = m.findChild<QAction*>(name)) {
                QVERIFY(a->isEnabled());
                a->trigger();
            } else {
                auto* b = m.findChild<QPushButton*>(name);
                QVERIFY(b && b->isEnabled());
                QTest::mouseClick(b, Qt::LeftButton);
            }
            Form* shown = findLoaded(window);
            QVERIFY(shown && shown->isVisible());
            // A second command shows the same window again, not a new one,
            // also after it was hidden.
            QCOMPARE(first ? first : shown, shown);
            first = shown;
            shown->Hide();
        }
        QCOMPARE(loadedFormNames(), (QStringList{QStringLiteral("frmzolmaincs"), window}));
        QCOMPARE(dialogs->count(), 0);
    }
};

ZOL_TEST(RecordCommandsTest)
#include "tst_recordcommands.moc"
