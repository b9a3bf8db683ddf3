// Times the windows of stored tests on a large database: fills a temporary
// zol.mdb with 100,000 tests and times each step once, as a counsellor with
// years of tests would meet it. Not a test: run it with `make bench`.
//
// Each step has its limit; the program ends with status 1 when one is over.
#include "platform/database.h"
#include "tests/support/loadedwindows.h"
#include "tests/support/scripteddialogs.h"
#include "platform/fonts.h"
#include "platform/paths.h"
#include "records/frmzol13.h"
#include "records/frmzol14.h"
#include "records/frmzol6.h"
#include "records/recordgrid.h"
#include "records/statswindows.h"
#include "testing/interpretation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <functional>

using namespace zol;

namespace {

constexpr int kRows = 100000;

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

// Tests of made-up people with plausible scores and the texts they get.
bool fill(int rows)
{
    auto db = Database::OpenDatabase();
    if (!db)
        return false;
    const QStringList fields = testRecordFields();
    QStringList columns, marks;
    for (const QString& f : fields) {
        columns << QLatin1Char('"') + f + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    QSqlQuery q(db->connection());
    if (!db->Execute(QStringLiteral("BEGIN IMMEDIATE"))
        || !q.prepare(QStringLiteral("INSERT INTO 用户信息 (%1) VALUES (%2)")
                          .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))))
        return false;
    const QStringList education = QStringLiteral("小学 初中 高中 中专 大专 本科 硕士").split(' ');
    const QStringList jobs = QStringLiteral("学生 工人 干部 教师 医生 管理 技术").split(' ');
    const Scale scales[4] = {Scale::P, Scale::E, Scale::N, Scale::L};
    for (int i = 0; i < rows; ++i) {
        const int s[4] = {30 + i % 41, 35 + (i * 7) % 36, 30 + (i * 13) % 41, 25 + (i * 3) % 46};
        QVariantList v = {QStringLiteral("受试者%1").arg(i % 5000), i % 2 ? "女" : "男",
                          16 + i % 80, education[i % 7], QStringLiteral("汉族"), jobs[i % 7],
                          i + 1, QStringLiteral("门诊"), 5 + i % 15, 6 + i % 16, 4 + i % 18,
                          3 + i % 17, s[0], s[1], s[2], s[3]};
        for (int k = 0; k < 4; ++k)
            v << interpretationSentence(scales[k], s[k]);
        v << QDate(2010, 1, 1).addDays(i % 6000).toString(QStringLiteral("yyyy-MM-dd"));
        for (const QVariant& x : v)
            q.addBindValue(x);
        if (!q.exec())
            return false;
    }
    return db->CommitTrans();
}

// A name padded to a column of the given width; a Chinese character takes
// the room of two ASCII ones on a terminal.
QString padded(const QString& name, int width)
{
    int used = 0;
    for (QChar c : name)
        used += c.unicode() < 0x1100 ? 1 : 2;
    return name + QString(qMax(0, width - used), QLatin1Char(' '));
}

struct Step {
    QString name;
    double limit;   // seconds
    std::function<void()> run;
};

// Shows a window and lets it paint once.
void showAndPaint(Form& w)
{
    w.Show();
    w.repaint();
    QCoreApplication::processEvents();
}

// Clicks a button of a shown window and lets the window paint once.
void clickAndPaint(Form& w, QPushButton* button)
{
    button->click();
    w.repaint();
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFonts();
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    ScriptedDialogs dialogs;   // answers the file dialogs and the restore question

    QElapsedTimer t;
    t.start();
    if (!fill(kRows)) {
        std::fprintf(stderr, "zolbench: the test database could not be filled\n");
        return 2;
    }
    out() << QStringLiteral("%1 条测试记录写入 %2 s，数据库文件 %3 MB（不计时限）\n")
                 .arg(kRows)
                 .arg(t.elapsed() / 1000.0, 0, 'f', 3)
                 .arg(QFileInfo(databasePath()).size() / 1e6, 0, 'f', 1);

    const QString backupFile = dir.filePath(QStringLiteral("backup.mdb"));
    const QList<Step> steps = {
        {QStringLiteral("frmzol10 打开（全部统计）"), 0.25, [] { showAndPaint(frmzol10()); }},
        {QStringLiteral("frmzol16 打开（男性统计）"), 0.25, [] { showAndPaint(frmzol16()); }},
        {QStringLiteral("frmzol15 打开（女性统计）"), 0.25, [] { showAndPaint(frmzol15()); }},
        {QStringLiteral("frmzol13 打开（全部记录）"), 0.25, [] { showAndPaint(frmzol13()); }},
        {QStringLiteral("frmzol13 滚动到最后一行"), 0.25,
         [] {
             frmzol13().DBGrid1->scrollToBottom();
             frmzol13().repaint();
         }},
        {QStringLiteral("frmzol13 姓名查询"), 0.25,
         [] {
             frmzol13().Text1->setText(QStringLiteral("受试者42"));
             frmzol13().Command1->click();
             frmzol13().repaint();
         }},
        {QStringLiteral("frmzol6 打开（第一条）"), 0.25, [] { showAndPaint(frmzol6()); }},
        {QStringLiteral("frmzol6 末条"), 0.25, [] { clickAndPaint(frmzol6(), frmzol6().Command9); }},
        {QStringLiteral("frmzol6 首条"), 0.25, [] { clickAndPaint(frmzol6(), frmzol6().Command6); }},
        {QStringLiteral("frmzol6 >>>"), 0.25, [] { clickAndPaint(frmzol6(), frmzol6().Command8); }},
        {QStringLiteral("frmzol6 <<<"), 0.25, [] { clickAndPaint(frmzol6(), frmzol6().Command7); }},
        {QStringLiteral("frmzol6 删除（含重读）"), 0.25,
         [&] {
             dialogs.messageAnswers = {vbOK};
             clickAndPaint(frmzol6(), frmzol6().Command1);
         }},
        {QStringLiteral("数据备份"), 1.0,
         [&] {
             dialogs.fileAnswers = {backupFile};
             frmzol14().DataBackup1->Backup();
         }},
        {QStringLiteral("数据恢复"), 1.0,
         [&] {
             dialogs.fileAnswers = {backupFile};
             dialogs.messageAnswers = {vbOK};
             frmzol14().DataBackup1->Restore();
         }},
    };
    int over = 0;
    for (const Step& s : steps) {
        const int shownBefore = dialogs.count();
        t.restart();
        s.run();
        const double seconds = t.nsecsElapsed() / 1e9;
        const bool ok = seconds < s.limit;
        over += ok ? 0 : 1;
        out() << QStringLiteral("%1  %2 s  (限 %3 s) %4\n")
                     .arg(padded(s.name, 28))
                     .arg(seconds, 0, 'f', 3)
                     .arg(s.limit, 0, 'f', 2)
                     .arg(ok ? QStringLiteral("OK") : QStringLiteral("超时"));
        // An error box would mean the step did not do its work.
        for (int i = shownBefore; i < dialogs.count(); ++i)
            if (dialogs.calls[i].title == QStringLiteral("出错信息")) {
                out() << QStringLiteral("    出错：%1\n").arg(dialogs.calls[i].prompt);
                ++over;
            }
    }
    out().flush();
    unloadAllWindows();
    return over ? 1 : 0;
}
