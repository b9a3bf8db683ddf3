// Times the windows of stored tests on a large database: fills a temporary
// zol.mdb with 100,000 tests (or --rows N) and times each step once, as a
// counsellor with years of tests would meet it. Not a test: run it with
// `make bench` (`make bench ROWS=1000000`).
//
// Each step has its limit; the program ends with status 1 when one is over.
// Where the engine itself can do the same work, the limit is a multiple of
// that baseline, timed here on the same file, so that the bench passes or
// fails alike on a slow and on a fast machine; a window that reads every row
// key gets a fixed allowance for its own building and painting on top.
// Elsewhere the limit is fixed.
#include "platform/database.h"
#include "tests/support/loadedwindows.h"
#include "tests/support/scripteddialogs.h"
#include "platform/fonts.h"
#include "platform/paths.h"
#include "records/frmzol13.h"
#include "records/frmzol14.h"
#include "records/frmzol6.h"
#include "records/recordgrid.h"
#include "records/sqlitefunctions.h"
#include "records/statistics.h"
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
#include <QFile>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

using namespace zol;

namespace {

constexpr int kDefaultRows = 100000;
// Rows written one by one; the rest are copies of them with other names,
// numbers and dates, made by the engine in one statement.
constexpr int kSeedRows = 5000;

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
    const int seed = qMin(rows, kSeedRows);
    for (int i = 0; i < seed; ++i) {
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
    // Round k copies the seed rows k times over, each copy with a number,
    // a name and a date of its own.
    if (rows > seed) {
        QStringList copied = columns;
        copied[0] = QStringLiteral("'受试者' || ((ID + k * %1) % 5000)").arg(seed);
        copied[6] = QStringLiteral("ID + k * %1").arg(seed);
        copied[20] = QStringLiteral("date('2010-01-01', '+' || ((ID + k * %1) % 6000) || ' days')").arg(seed);
        const QString sql =
            QStringLiteral("WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < %1) "
                           "INSERT INTO 用户信息 (%2) SELECT %3 FROM n, 用户信息 "
                           "WHERE ID <= %4 AND ID + k * %4 <= %5 ORDER BY k, ID")
                .arg((rows - 1) / seed)
                .arg(columns.join(QLatin1Char(',')), copied.join(QLatin1Char(',')))
                .arg(seed)
                .arg(rows);
        if (!db->Execute(sql))
            return false;
    }
    return db->CommitTrans();
}

// The engine's own online backup of the whole file from to the file to
// (new or existing), in one step.
double engineCopySeconds(const QString& from, const QString& to)
{
    sqlite3* source = nullptr;
    sqlite3* dest = nullptr;
    QElapsedTimer t;
    t.start();
    sqlite3_open_v2(QFile::encodeName(from).constData(), &source, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open_v2(QFile::encodeName(to).constData(), &dest,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(dest, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", source, "main");
    const bool done = b && sqlite3_backup_step(b, -1) == SQLITE_DONE;
    sqlite3_backup_finish(b);
    sqlite3_close(dest);
    sqlite3_close(source);
    const double seconds = t.nsecsElapsed() / 1e9;
    if (!done)
        std::fprintf(stderr, "zolbench: the engine's backup failed\n");
    return seconds;
}

// The statements of one statistics window, straight through the engine.
double engineStatisticsSeconds(StatsGroup group)
{
    const QString name = QStringLiteral("zolbench.engine");
    double seconds = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath());
        db.open();
        registerStdev(db);
        sqlite3* h = sqliteHandle(db);
        QElapsedTimer t;
        t.start();
        for (const StatStatement& s : statisticsStatements(group)) {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(h, s.sql.toUtf8().constData(), -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
            }
            sqlite3_finalize(stmt);
        }
        seconds = t.nsecsElapsed() / 1e9;
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return seconds;
}

// What a window of single rows reads first, straight through the engine:
// the row count and every row key (of the rows whose 姓名 is name, when
// given), in key order.
double engineKeysSeconds(const QString& name = QString())
{
    sqlite3* h = nullptr;
    QElapsedTimer t;
    t.start();
    sqlite3_open_v2(QFile::encodeName(databasePath()).constData(), &h, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray where = name.isEmpty() ? QByteArray() : QByteArray(" WHERE 姓名 = ?1");
    for (const QByteArray& sql : {"SELECT count(*) FROM 用户信息" + where,
                                  "SELECT rowid FROM 用户信息" + where + " ORDER BY rowid"}) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(h, sql.constData(), -1, &stmt, nullptr);
        const QByteArray bound = name.toUtf8();
        if (!name.isEmpty())
            sqlite3_bind_text(stmt, 1, bound.constData(), -1, SQLITE_TRANSIENT);
        // Each key is read out, as a window reads it.
        while (sqlite3_step(stmt) == SQLITE_ROW)
            static_cast<void>(sqlite3_column_int64(stmt, 0));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(h);
    return t.nsecsElapsed() / 1e9;
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
    double limit;   // seconds; or a multiple of the baseline when there is one
    std::function<void()> run;
    std::function<double()> baseline = {};   // timed just before the step
    // Added to the multiple: what a window costs besides the engine's work
    // (building, painting), which does not grow with the rows.
    double allowance = 0;
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
    const QStringList args = app.arguments();
    const int rowsAt = args.indexOf(QStringLiteral("--rows"));
    const int rows = rowsAt > 0 ? args.value(rowsAt + 1).toInt() : kDefaultRows;
    if (rows < 1) {
        std::fprintf(stderr, "usage: zolbench [--rows N]\n");
        return 2;
    }
    installFonts();
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    ScriptedDialogs dialogs;   // answers the file dialogs and the restore question

    QElapsedTimer t;
    t.start();
    if (!fill(rows)) {
        std::fprintf(stderr, "zolbench: the test database could not be filled\n");
        return 2;
    }
    out() << QStringLiteral("%1 条测试记录写入 %2 s，数据库文件 %3 MB（不计时限）\n")
                 .arg(rows)
                 .arg(t.elapsed() / 1000.0, 0, 'f', 3)
                 .arg(QFileInfo(databasePath()).size() / 1e6, 0, 'f', 1);

    const QString backupFile = dir.filePath(QStringLiteral("backup.mdb"));
    const QString engineNew = dir.filePath(QStringLiteral("engine-new.mdb"));
    const QString engineOnto = dir.filePath(QStringLiteral("engine-onto.mdb"));
    auto keys = [] { return engineKeysSeconds(); };
    auto statistics = [](StatsGroup group) { return [group] { return engineStatisticsSeconds(group); }; };
    const QList<Step> steps = {
        {QStringLiteral("frmzol10 打开（全部统计）"), 2.0, [] { showAndPaint(frmzol10()); },
         statistics(StatsGroup::All)},
        {QStringLiteral("frmzol16 打开（男性统计）"), 2.0, [] { showAndPaint(frmzol16()); },
         statistics(StatsGroup::Men)},
        {QStringLiteral("frmzol15 打开（女性统计）"), 2.0, [] { showAndPaint(frmzol15()); },
         statistics(StatsGroup::Women)},
        {QStringLiteral("frmzol13 打开（全部记录）"), 2.0, [] { showAndPaint(frmzol13()); }, keys, 0.25},
        {QStringLiteral("frmzol13 滚动到最后一行"), 0.25,
         [] {
             frmzol13().DBGrid1->scrollToBottom();
             frmzol13().repaint();
         }},
        {QStringLiteral("frmzol13 姓名查询"), 2.0,
         [] {
             frmzol13().Text1->setText(QStringLiteral("受试者42"));
             frmzol13().Command1->click();
             frmzol13().repaint();
         },
         [] { return engineKeysSeconds(QStringLiteral("受试者42")); }, 0.25},
        {QStringLiteral("frmzol6 打开（第一条）"), 2.0, [] { showAndPaint(frmzol6()); }, keys, 0.25},
        {QStringLiteral("frmzol6 末条"), 0.25, [] { clickAndPaint(frmzol6(), frmzol6().Command9); }},
        {QStringLiteral("frmzol6 首条"), 0.25, [] { clickAndPaint(frmzol6(), frmzol6().Command6); }},
        {QStringLiteral("frmzol6 >>>"), 0.25, [] { clickAndPaint(frmzol6(), frmzol6().Command8); }},
        {QStringLiteral("frmzol6 <<<"), 0.25, [] { clickAndPaint(frmzol6(), frmzol6().Command7); }},
        // The delete, the count before it and the keys read again after it.
        {QStringLiteral("frmzol6 删除（含重读）"), 2.0,
         [&] {
             dialogs.messageAnswers = {vbOK};
             clickAndPaint(frmzol6(), frmzol6().Command1);
         },
         [] { return engineKeysSeconds() + engineKeysSeconds(); }, 0.25},
        // The windows of stored tests are closed first: a restore makes them
        // read their rows again, which is theirs to time, not the restore's.
        {QStringLiteral("数据备份"), 1.5,
         [&] {
             unloadOf<Frmzol6Form>();
             unloadOf<Frmzol13Form>();
             dialogs.fileAnswers = {backupFile};
             frmzol14().DataBackup1->Backup();
         },
         [&] { return engineCopySeconds(databasePath(), engineNew); }},
        {QStringLiteral("数据恢复"), 2.5,
         [&] {
             dialogs.fileAnswers = {backupFile};
             dialogs.messageAnswers = {vbOK};
             frmzol14().DataBackup1->Restore();
         },
         // Onto a file of the database's size, as the restore writes onto zol.mdb.
         [&] {
             engineCopySeconds(databasePath(), engineOnto);
             return engineCopySeconds(backupFile, engineOnto);
         }},
    };
    int over = 0;
    for (const Step& s : steps) {
        double limit = s.limit;
        QString limitText = QStringLiteral("限 %1 s").arg(limit, 0, 'f', 2);
        if (s.baseline) {
            const double base = s.baseline();
            limit = s.limit * base + s.allowance;
            limitText = s.allowance > 0
                ? QStringLiteral("限 %1 s + %2 × 引擎 %3 s = %4 s")
                      .arg(s.allowance, 0, 'f', 2)
                      .arg(s.limit, 0, 'f', 1)
                      .arg(base, 0, 'f', 3)
                      .arg(limit, 0, 'f', 3)
                : QStringLiteral("限 %1 × 引擎 %2 s = %3 s")
                      .arg(s.limit, 0, 'f', 1)
                      .arg(base, 0, 'f', 3)
                      .arg(limit, 0, 'f', 3);
        }
        const int shownBefore = dialogs.count();
        t.restart();
        s.run();
        const double seconds = t.nsecsElapsed() / 1e9;
        const bool ok = seconds < limit;
        over += ok ? 0 : 1;
        out() << QStringLiteral("%1  %2 s  (%3) %4\n")
                     .arg(padded(s.name, 28))
                     .arg(seconds, 0, 'f', 3)
                     .arg(limitText)
                     .arg(ok ? QStringLiteral("OK") : QStringLiteral("超时"));
        out().flush();
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
