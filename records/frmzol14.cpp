#include "records/frmzol14.h"

#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/twips.h"
#include "platform/paths.h"
#include "records/dbbackup.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <memory>

namespace zol {

namespace {

const QString kFilter = QStringLiteral("数据库文件 (*.mdb);;所有文件 (*)");

// A dialog that appears only when the step lasts, and keeps the program
// from starting anything else meanwhile.
class DialogProgress : public ProgressDisplay {
public:
    void begin(QWidget* window, const QString& text) override
    {
        dialog_ = std::make_unique<QProgressDialog>(text, QString(), 0, 100, window);
        dialog_->setWindowTitle(QStringLiteral("数据备份"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(500);
        dialog_->setAutoClose(false);
        dialog_->setValue(0);
    }
    void show(int percent) override
    {
        // Often called: the window is painted when the figure changes, and
        // at least a few times a second.
        percent = qBound(0, percent, 99);
        if (!dialog_ || (percent == dialog_->value() && painted_.isValid() && painted_.elapsed() < 200))
            return;
        dialog_->setValue(percent);
        // Until the dialog shows and shuts out the other windows, nothing the
        // user does is taken up.
        QCoreApplication::processEvents(dialog_->isVisible() ? QEventLoop::AllEvents
                                                             : QEventLoop::ExcludeUserInputEvents);
        painted_.start();
    }
    void end() override { dialog_.reset(); }

private:
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer painted_;
};

ProgressDisplay* installedDisplay = nullptr;

ProgressDisplay& progressDisplay()
{
    static DialogProgress dialog;
    return installedDisplay ? *installedDisplay : dialog;
}

} // namespace

void setProgressDisplay(ProgressDisplay* display) { installedDisplay = display; }

DataBackup::DataBackup(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);

    makeLabel(this, QStringLiteral("测试记录数据库的备份与恢复"), 240, 180);
    fileLabel = makeLabel(this, QString(), 240, 540, 5500, 615);
    fileLabel->setWordWrap(true);
    fileLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* help = makeLabel(this,
                           QStringLiteral("备份：把全部测试记录保存到您选择的文件中。\n"
                                          "恢复：用您选择的备份文件中的记录替换现有的全部记录；"
                                          "替换前先把现有数据另存一份放在数据库旁边。"),
                           240, 1200, 5500, 855);
    help->setWordWrap(true);
    help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    backupButton = makeButton(this, QStringLiteral("备份数据…"), 1080, 2160, 1455, 375);
    restoreButton = makeButton(this, QStringLiteral("恢复数据…"), 3360, 2160, 1455, 375);
    outcomeLabel = makeLabel(this, QString(), 240, 2700, 5500, 555);
    outcomeLabel->setWordWrap(true);
    outcomeLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(backupButton, &QPushButton::clicked, this, [this] { Backup(); });
    connect(restoreButton, &QPushButton::clicked, this, [this] { Restore(); });
}

void DataBackup::showDatabase()
{
    const QString path = databasePath();
    QString text = QStringLiteral("数据库文件：%1").arg(shownPath(path));
    if (!QFileInfo(path).isFile()) {
        text += QStringLiteral("（还没有这个文件）");
    } else {
        const BackupCheck now = checkBackupFile(path);
        if (now.ok)
            text += QStringLiteral("，现有测试记录 %1 条").arg(now.rows);
    }
    fileLabel->setText(text);
}

void DataBackup::setOutcome(const QString& text)
{
    outcomeLabel->setText(text);
    showDatabase();
}

bool DataBackup::busyWith(const QString& text,
                          const std::function<bool(const std::function<void(int)>&)>& work)
{
    if (busy_)
        return false;
    busy_ = true;
    backupButton->setEnabled(false);
    restoreButton->setEnabled(false);
    ProgressDisplay& display = progressDisplay();
    display.begin(window(), text);
    const bool done = work([&display](int percent) { display.show(percent); });
    display.end();
    backupButton->setEnabled(true);
    restoreButton->setEnabled(true);
    busy_ = false;
    return done;
}

bool DataBackup::Backup()
{
    if (busy_)
        return false;
    const QString proposed =
        QStringLiteral("zol-备份-%1.mdb").arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    QString target = SaveFileDialog(QStringLiteral("数据备份"), kFilter, proposed);
    if (target.isEmpty())
        return false;
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".mdb");
    int rows = 0;
    const bool done = busyWith(QStringLiteral("正在备份数据，请稍候……"), [&](const Progress& progress) {
        return backupDatabase(databasePath(), target, &rows, progress);
    });
    if (!done) {
        setOutcome(QStringLiteral("备份没有完成。"));
        return false;
    }
    const QString text =
        QStringLiteral("备份完成：%1 条测试记录已保存到 %2。").arg(rows).arg(shownPath(target));
    setOutcome(text);
    MsgBox(text, vbOKOnly | vbInformation, QStringLiteral("信息"));
    return true;
}

bool DataBackup::Restore()
{
    if (busy_)
        return false;
    const QString source = OpenFileDialog(QStringLiteral("数据恢复"), kFilter);
    if (source.isEmpty())
        return false;
    const QString current = databasePath();
    if (isSameFile(source, current)) {
        ErrorBox(QStringLiteral("所选文件就是正在使用的数据库文件 %1，请选择一个备份文件。")
                     .arg(shownPath(current)));
        return false;
    }
    const BackupCheck chosen = checkBackupFile(source);
    if (!chosen.ok) {
        ErrorBox(chosen.problem + QStringLiteral("不能用它恢复，现有数据没有改变。"));
        setOutcome(QStringLiteral("没有恢复，现有数据没有改变。"));
        return false;
    }
    // Without a database there is nothing to keep; one that cannot be read
    // is left for the user to look at rather than replaced unseen.
    const bool exists = QFileInfo(current).isFile();
    const BackupCheck now = exists ? checkBackupFile(current) : BackupCheck{true, 0, QString()};
    if (!now.ok) {
        ErrorBox(now.problem + QStringLiteral("无法先另存现有数据，没有恢复。"));
        return false;
    }
    const QString question =
        QStringLiteral("所选备份文件 %1 中有 %2 条测试记录，现有数据库中有 %3 条。\n"
                       "恢复后现有的 %3 条记录将全部被备份中的记录替换"
                       "（现有数据会先另存一份）。确定要恢复吗？")
            .arg(shownPath(source))
            .arg(chosen.rows)
            .arg(now.rows);
    if (MsgBox(question, vbOKCancel | vbInformation, QStringLiteral("询问")) != vbOK)
        return false;

    QString safety;
    int rows = 0;
    const bool done = busyWith(QStringLiteral("正在恢复数据，请稍候……"), [&](const Progress& progress) {
        return restoreDatabase(current, source, &safety, &rows, progress);
    });
    if (!done) {
        setOutcome(QStringLiteral("没有恢复，现有数据没有改变。"));
        return false;
    }
    QString text = QStringLiteral("恢复完成：数据库中现在有 %1 条测试记录。").arg(rows);
    if (!safety.isEmpty())
        text += QStringLiteral("恢复前的数据已另存为 %1。").arg(shownPath(safety));
    setOutcome(text);
    MsgBox(text, vbOKOnly | vbInformation, QStringLiteral("信息"));
    return true;
}

Frmzol14Form::Frmzol14Form() : Form(QStringLiteral("frmzol14"))
{
    setWindowTitle(QStringLiteral("数据备份"));
    setFixedDialogBorder();
    setClientSize(6315, 4230);
    DataBackup1 = new DataBackup(this);
    place(DataBackup1, 120, 120, 5985, 3360);
    DataBackup1->showDatabase();
    Command1 = makeButton(this, QStringLiteral("退   出"), 4152, 3600, 1095, 375);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    centerOnScreen();
}

} // namespace zol
