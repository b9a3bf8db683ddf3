// The real dialogs in Chinese, where file dialogs start and what they
// propose, and help and notes files that the desktop cannot open.
#include "testsupport.h"

#include "platform/links.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace zol;

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    // Buttons, labels and the question before a file is replaced.
    void qtDialogsInChinese_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("open") << "open";
        QTest::newRow("save") << "save";
        QTest::newRow("replace") << "replace";  // the file dialog, its question, itself again
        QTest::newRow("input") << "input";
    }
    void qtDialogsInChinese()
    {
        QFETCH(QString, kind);
        QVERIFY(installQtChinese());
        QTemporaryDir dir;
        rememberFileDialogFolder(dir.filePath(QStringLiteral("old.pdf")));
        QVERIFY(zoltest::writeFile(dir.filePath(QStringLiteral("old.pdf")), "%PDF"));
        QStringList texts;
        bool acceptOnce = kind == QLatin1String("replace");
        QObject context;  // no step runs after the test
        std::function<void()> step = [&] {
            QTimer::singleShot(20, &context, step);
            auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!w)
                return;
            for (auto* b : w->findChildren<QWidget*>())
                if (b->isVisible() && (qobject_cast<QPushButton*>(b) || qobject_cast<QLabel*>(b)))
                    texts << b->property("text").toString();
            if (qobject_cast<QFileDialog*>(w) && std::exchange(acceptOnce, false))
                w->accept();
            else
                w->reject();
        };
        step();
        QString answer;
        if (kind == QLatin1String("open"))
            OpenFileDialog(QStringLiteral("打开"), QStringLiteral("所有文件(*.*) (*.*)"));
        else if (kind == QLatin1String("input"))
            InputBox(QStringLiteral("输入文件地址"), QStringLiteral("地址框"), QString(), &answer);
        else
            SaveFileDialog(QStringLiteral("保存"), QStringLiteral("PDF文件 (*.pdf)"), QStringLiteral("old.pdf"));
        texts.removeAll(QString());
        QVERIFY(texts.size() >= (kind == QLatin1String("replace") ? 12 : 3));
        for (const QString& text : texts)
            QVERIFY2(std::any_of(text.begin(), text.end(),
                                 [](QChar c) { return c.script() == QChar::Script_Han; }),
                     qPrintable(text));
    }

    // A PDF print proposes the subject's name, the kind and the date, fit for
    // a file name, in the folder chosen last, or else the documents folder.
    void proposedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lastChosen");  // a folder under the temporary one; empty: none
        QTest::addColumn<QString>("proposed");
        QTest::newRow("first time") << QStringLiteral("张三") << ""
                                    << QStringLiteral("张三-人格测试报告-2026-12-08.pdf");
        QTest::newRow("folder chosen last") << QStringLiteral(" ..王/五:\"六\" ") << "reports"
                                            << QStringLiteral("王_五__六_-人格测试报告-2026-12-08.pdf");
        QTest::newRow("folder since removed") << "" << "gone"
                                              << QStringLiteral("人格测试报告-2026-12-08.pdf");
    }
    void proposedFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, lastChosen);
        QFETCH(QString, proposed);
        QTemporaryDir dir;
        QSettings(QStringLiteral("zolmiv"), QStringLiteral("zolmiv")).remove(QStringLiteral("dialogs"));
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QFileInfo(folder).isDir())
            folder = QDir::homePath();
        if (!lastChosen.isEmpty()) {
            QDir(dir.path()).mkpath(lastChosen);
            rememberFileDialogFolder(dir.filePath(lastChosen + QStringLiteral("/a.pdf")));
            if (lastChosen == QLatin1String("gone"))
                QDir(dir.filePath(lastChosen)).removeRecursively();
            else
                folder = dir.filePath(lastChosen);
        }
        ScriptedDialogs scripted;
        scripted.fileAnswers << dir.filePath(QStringLiteral("chosen"));
        QPrinter printer;
        const PdfOffer offer{QStringLiteral("请选择"),
                             pdfFileName({name, QStringLiteral("人格测试报告")}, QDate(2026, 12, 8))};
        QVERIFY(choosePdfFile(printer, offer));
        QCOMPARE(scripted.last().title, offer.title);
        QCOMPARE(scripted.last().proposed, proposed);
        QCOMPARE(fileDialogStart(proposed), QDir(folder).filePath(proposed));
        QCOMPARE(printer.outputFileName(), dir.filePath(QStringLiteral("chosen.pdf")));
    }

    // A help or notes file the desktop's opener cannot open (it exits
    // non-zero or is missing) is said once, naming the file.
    void openerFailures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("opener");
        QTest::addColumn<QString>("says");  // empty: nothing
        QTest::newRow("help opened") << "help" << QStringList{"true"} << "";
        QTest::newRow("help, no browser") << "help" << QStringList{"sh", "-c", "exit 3", "sh"}
                                          << "无法打开帮助文件";
        QTest::newRow("notes, no editor") << "notes" << QStringList{"false"} << "无法打开说明文件";
        QTest::newRow("no opener") << "help" << QStringList{"/nonexistent/open"} << "无法打开帮助文件";
        QTest::newRow("help missing") << "x.html" << QStringList{"true"} << "找不到帮助文件";
    }
    void openerFailures()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, opener);
        QFETCH(QString, says);
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        const QString target = file == QLatin1String("help")    ? helpFilePath(folder.path())
                               : file == QLatin1String("notes") ? notesFilePath(folder.path())
                                                                : folder.file(file);
        if (file != QLatin1String("x.html"))
            QVERIFY(zoltest::writeFile(target, "text"));
        DesktopLinks links;
        links.setOpener(opener);
        links.setHelpFile(target);
        if (file == QLatin1String("notes"))
            links.openTextFile(target);
        else
            links.helpKey(nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(dialogs.count(), says.isEmpty() ? 0 : 1, says.isEmpty() ? 300 : 5000);
        QTest::qWait(says.isEmpty() ? 300 : 50);
        QCOMPARE(dialogs.count(), says.isEmpty() ? 0 : 1);
        if (!says.isEmpty())
            QVERIFY(dialogs.last().prompt.startsWith(says)
                    && dialogs.last().prompt.endsWith(QDir::toNativeSeparators(target)));
    }
};

ZOL_TEST(DialogsTest)
#include "tst_dialogs.moc"
