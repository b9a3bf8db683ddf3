// The real dialogs in Chinese, where file dialogs start and what they
// propose, and help and notes files that the desktop cannot open.
#include "testsupport.h"

#include "platform/links.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace zol;

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    // Whatever the system's language, the buttons of Qt's own dialogs.
    void qtDialogsInChinese()
    {
        QVERIFY(installQtChinese());
        QStringList texts;
        const auto readAndCancel = [&texts] {
            if (auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                for (auto* b : w->findChildren<QPushButton*>())
                    texts << b->text();
                w->reject();
            }
        };
        QTimer::singleShot(50, readAndCancel);
        SaveFileDialog(QStringLiteral("保存"), QStringLiteral("PDF文件 (*.pdf)"), QStringLiteral("a.pdf"));
        QString answer;
        QTimer::singleShot(50, readAndCancel);
        InputBox(QStringLiteral("输入文件地址"), QStringLiteral("地址框"), QString(), &answer);
        QCOMPARE(texts.size(), 4);
        QCOMPARE(texts.filter(QRegularExpression(QStringLiteral("^\\p{Han}"))), texts);
    }

    // The subject's name, the kind and the date, fit for a file name, in the
    // folder chosen last, or else the documents folder.
    void proposedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lastChosen");  // a folder in the temporary one; empty: none
        QTest::addColumn<QString>("proposed");
        QTest::newRow("first time") << "张三" << "" << "张三-人格测试报告-2026-12-08.pdf";
        QTest::newRow("folder chosen last")
            << " ..王/五:\"六\" " << "reports" << "王_五__六_-人格测试报告-2026-12-08.pdf";
        QTest::newRow("folder since removed") << "" << "gone" << "人格测试报告-2026-12-08.pdf";
    }
    void proposedFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, lastChosen);
        QFETCH(QString, proposed);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("reports"));
        QSettings(QStringLiteral("zolmiv"), QStringLiteral("zolmiv")).clear();
        if (!lastChosen.isEmpty())
            rememberFileDialogFolder(dir.filePath(lastChosen + QStringLiteral("/a.pdf")));
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString folder = lastChosen == QLatin1String("reports") ? dir.filePath(lastChosen)
                               : QFileInfo(documents).isDir()         ? documents
                                                                      : QDir::homePath();
        ScriptedDialogs scripted;
        scripted.fileAnswers << dir.filePath(QStringLiteral("chosen"));
        QPrinter printer;
        const QString kind = QStringLiteral("人格测试报告");
        QVERIFY(choosePdfFile(printer, {QString(), pdfFileName({name, kind}, QDate(2026, 12, 8))}));
        QCOMPARE(scripted.last().proposed, proposed);
        QCOMPARE(fileDialogStart(proposed), QDir(folder).filePath(proposed));
        QCOMPARE(printer.outputFileName(), dir.filePath(QStringLiteral("chosen.pdf")));
    }

    // A file the desktop's opener cannot open is said once, naming the file.
    void openerFailures_data()
    {
        QTest::addColumn<bool>("help");
        QTest::addColumn<QStringList>("opener");
        QTest::addColumn<QString>("says");  // empty: nothing
        QTest::newRow("help opened") << true << QStringList{"true"} << "";
        QTest::newRow("help, no browser") << true << QStringList{"sh", "-c", "exit 3", "x"} << "无法打开帮助文件";
        QTest::newRow("notes, no opener") << false << QStringList{"/nonexistent/open"} << "无法打开说明文件";
    }
    void openerFailures()
    {
        QFETCH(bool, help);
        QFETCH(QStringList, opener);
        QFETCH(QString, says);
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        const QString file = (help ? helpFilePath : notesFilePath)(folder.path());
        QVERIFY(zoltest::writeFile(file, "text"));
        DesktopLinks links;
        links.setOpener(opener);
        links.setHelpFile(file);
        help ? links.openHelp(nullptr) : links.openTextFile(file);
        QTest::qWait(300);
        QTRY_COMPARE(dialogs.count(), says.isEmpty() ? 0 : 1);
        QVERIFY(says.isEmpty() || (dialogs.last().prompt.startsWith(says)
                                   && dialogs.last().prompt.endsWith(QDir::toNativeSeparators(file))));
    }
};

ZOL_TEST(DialogsTest)
#include "tst_dialogs.moc"
