// The main window's query and backup commands open their windows; backup
// and restore share one.
#include "shellsupport.h"

#include "shell/frmzolmaincs.h"

#include <QAction>
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
    }
    void commandsOpenTheirWindow()
    {
        QFETCH(QStringList, commands);
        QFETCH(QString, window);
        FrmzolmaincsForm& m = frmzolmaincs();
        Form* first = nullptr;
        for (const QString& name : commands) {
            QAction* a = m.findChild<QAction*>(name);
            QVERIFY(a && a->isEnabled());
            a->trigger();
            Form* shown = Form::findLoaded(window);
            QVERIFY(shown && shown->isVisible());
            // A second command shows the same window, not a new one.
            QCOMPARE(first ? first : shown, shown);
            first = shown;
        }
        QCOMPARE(Form::loadedFormNames(), (QStringList{QStringLiteral("frmzolmaincs"), window}));
        QCOMPARE(dialogs->count(), 0);
    }
};

ZOL_TEST(RecordCommandsTest)
#include "tst_recordcommands.moc"
