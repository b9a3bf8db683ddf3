// The real dialogs in Chinese, where file dialogs start and what they
// propose, and the help and notes files that the desktop cannot open.
#include "testsupport.h"

#include "platform/dialogs.h"
#include "platform/links.h"
#include "platform/printing.h"

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
#include <functional>

using namespace zol;

namespace {

bool hasChinese(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

// Answers the real modal dialogs as they come up: keeps the visible texts of
// each one's buttons and labels (a message box's own text too), then cancels
// it, or accepts a file dialog once when told to.
class DialogReader {
public:
    QStringList texts;
    int dialogs = 0;
    bool acceptFileDialogOnce = false;

    void start() { QTimer::singleShot(20, &context_, [this] { step(); }); }

private:
    QObject context_;  // no step runs once the reader is gone

    void step()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) {
            start();
            return;
        }
        ++dialogs;
        for (auto* b : w->findChildren<QPushButton*>())
            if (b->isVisible() && !b->text().isEmpty())
                texts << b->text();
        for (auto* l : w->findChildren<QLabel*>())
            if (l->isVisible() && !l->text().isEmpty() && !l->text().contains(QLatin1Char('/')))
                texts << l->text();
        start();  // the next dialog, or a question this one raises
        auto* file = qobject_cast<QFileDialog*>(w);
        if (file && acceptFileDialogOnce) {
            acceptFileDialogOnce = false;
            static_cast<QDialog*>(file)->accept();  // as its own button does
        } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
            texts << box->text().section(QLatin1Char('\n'), 1);
            box->reject();
        } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
            dialog->reject();
        }
    }
};

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(installQtChinese()); }

    // Qt's own dialogs speak Chinese: buttons, labels, and the question
    // before a file is replaced.
    void qtDialogsInChinese_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("dialogs");
        QTest::newRow("open file") << "open" << 1;
        QTest::newRow("save file") << "save" << 1;
        QTest::newRow("replace file") << "replace" << 3;  // dialog, question, dialog again
        QTest::newRow("input box") << "input" << 1;
    }
    void qtDialogsInChinese()
    {
        QFETCH(QString, kind);
        QFETCH(int, dialogs);
        QTemporaryDir dir;
        rememberFileDialogFolder(dir.filePath(QStringLiteral("x.pdf")));
        QVERIFY(zoltest::writeFile(dir.filePath(QStringLiteral("old.pdf")), "%PDF"));
        setDialogService(nullptr);
        DialogReader reader;
        reader.acceptFileDialogOnce = kind == QLatin1String("replace");
        reader.start();
        QString answer;
        if (kind == QLatin1String("open"))
            QVERIFY(OpenFileDialog(QStringLiteral("打开"), QStringLiteral("所有文件(*.*) (*.*)")).isEmpty());
        else if (kind == QLatin1String("input"))
            QVERIFY(!InputBox(QStringLiteral("输入文件地址"), QStringLiteral("地址框"), QString(), &answer));
        else
            QVERIFY(SaveFileDialog(QStringLiteral("保存"), QStringLiteral("PDF文件 (*.pdf)"),
                                   QStringLiteral("old.pdf")).isEmpty());
        QCOMPARE(reader.dialogs, dialogs);
        QVERIFY(reader.texts.size() >= 2);
        for (const QString& text : reader.texts)
            QVERIFY2(hasChinese(text), qPrintable(text));
    }

    // A PDF print proposes the subject's name, the kind and the date, fit for
    // a file name, in the folder chosen last, or in the documents folder.
    void proposedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lastChosen");  // under the temporary folder; empty: none
        QTest::addColumn<QString>("proposed");    // under the folder the dialog starts in
        QTest::newRow("first time") << QStringLiteral("张三") << ""
                                    << QStringLiteral("张三-人格测试报告-2026-12-08.pdf");
        QTest::newRow("folder chosen last") << QStringLiteral("张三") << "reports/a.pdf"
                                            << QStringLiteral("张三-人格测试报告-2026-12-08.pdf");
        QTest::newRow("folder since removed") << QStringLiteral("李四") << "gone/a.pdf"
                                              << QStringLiteral("李四-人格测试报告-2026-12-08.pdf");
        QTest::newRow("separators and dots") << QStringLiteral(" ..王/五:\"六\" ") << ""
                                             << QStringLiteral("王_五__六_-人格测试报告-2026-12-08.pdf");
        QTest::newRow("no name") << "" << "" << QStringLiteral("人格测试报告-2026-12-08.pdf");
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
            QDir(dir.path()).mkpath(QFileInfo(lastChosen).path());
            rememberFileDialogFolder(dir.filePath(lastChosen));
            if (lastChosen.startsWith(QLatin1String("gone")))
                QDir(dir.filePath(QStringLiteral("gone"))).removeRecursively();
            else
                folder = dir.filePath(QFileInfo(lastChosen).path());
        }
        ScriptedDialogs scripted;
        scripted.fileAnswers << dir.filePath(QStringLiteral("chosen"));
        QPrinter printer;
        const PdfOffer offer{QStringLiteral("请选择保存报告的PDF文件"),
                             pdfFileName({name, QStringLiteral("人格测试报告")}, QDate(2026, 12, 8))};
        QVERIFY(choosePdfFile(printer, offer));
        QCOMPARE(scripted.last().title, offer.title);
        QCOMPARE(scripted.last().proposed, proposed);
        QCOMPARE(fileDialogStart(proposed), QDir(folder).filePath(proposed));
        QCOMPARE(printer.outputFileName(), dir.filePath(QStringLiteral("chosen.pdf")));
    }

    // The help and notes files: a file the desktop's opener cannot open (it
    // exits non-zero, or is not there) is said once, naming the file; an
    // opener that succeeds says nothing.
    void openerFailures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("opener");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QString>("says");
        const QStringList noBrowser{QStringLiteral("sh"), QStringLiteral("-c"),
                                    QStringLiteral("exit 3"), QStringLiteral("sh")};
        QTest::newRow("help opened") << "help" << QStringList{QStringLiteral("true")} << 0 << "";
        QTest::newRow("help, no browser") << "help" << noBrowser << 1 << "无法打开帮助文件";
        QTest::newRow("notes, no editor") << "notes" << QStringList{QStringLiteral("false")} << 1
                                          << "无法打开说明文件";
        QTest::newRow("no opener") << "help" << QStringList{QStringLiteral("/nonexistent/open")}
                                   << 1 << "无法打开帮助文件";
        QTest::newRow("help missing") << "missing" << QStringList{QStringLiteral("true")} << 1
                                      << "找不到帮助文件";
    }
    void openerFailures()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, opener);
        QFETCH(int, messages);
        QFETCH(QString, says);
        zoltest::TempProgramFolder folder;
        ScriptedDialogs dialogs;
        const QString help = helpFilePath(folder.path());
        const QString notes = notesFilePath(folder.path());
        QVERIFY(zoltest::writeFile(help, "<html></html>"));
        QVERIFY(zoltest::writeFile(notes, "notes"));
        DesktopLinks links;
        links.setOpener(opener);
        const QString target = file == QLatin1String("notes")     ? notes
                               : file == QLatin1String("missing") ? folder.file(QStringLiteral("x.html"))
                                                                  : help;
        links.setHelpFile(target);
        QWidget window;
        if (file == QLatin1String("notes"))
            links.openTextFile(notes);
        else
            links.helpKey(&window);
        if (messages == 0)
            QTest::qWait(300);
        QTRY_COMPARE(dialogs.count(), messages);
        QTest::qWait(50);
        QCOMPARE(dialogs.count(), messages);
        if (messages) {
            QVERIFY(dialogs.last().prompt.startsWith(says));
            QVERIFY(dialogs.last().prompt.endsWith(QDir::toNativeSeparators(target)));
        }
    }
};

ZOL_TEST(DialogsTest)
#include "tst_dialogs.moc"
