#include "shell/frmzolmaincs.h"

#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/links.h"
#include "platform/movingtext.h"
#include "platform/mp3play.h"
#include "platform/music.h"
#include "platform/paths.h"
#include "platform/resizer.h"
#include "platform/twips.h"
#include "records/frmzol13.h"
#include "records/frmzol14.h"
#include "records/frmzol6.h"
#include "platform/buildinfo.h"
#include "shell/artwork.h"
#include "shell/formtv1.h"
#include "shell/frmabout.h"
#include "shell/programend.h"
#include "shell/statsgate.h"
#include "testing/starttest.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <climits>
#include <cmath>
#include <exception>
#include <initializer_list>

using namespace zol;

namespace {

const QColor kBackColor(192, 255, 255);
const QColor kOrange(255, 128, 0);

// Each paragraph opens with four blanks.
QString introductionText()
{
    return QStringLiteral(
        "    ZOL人格测验是国际上使用最广的人格测验之一，问世以来经过数十年的反复修订与"
        "标准化，积累了大量研究资料，已广泛用于心理门诊、医院临床、教育、人事选拔、职业"
        "指导和交通安全等领域。\n"
        "    本问卷是标准化的成人版测验，由精神质(P)、情绪稳定性(N)、内外向(E)和效度量表"
        "(L)四个分量表组成，只有88个项目，计分简便，信度和效度良好，在临床上比题量更大的"
        "人格问卷应用得更为普遍。");
}

QString movingSentence()
{
    return QStringLiteral(
        "Pemdrow心理咨询培训中心常年开设心理咨询师职业培训、心理测验应用与个案督导课程，"
        "名师授课，小班教学，理论与实操并重，欢迎各地心理咨询工作者和心理学爱好者报名参加，"
        "详情请访问本站主页或来信咨询！");
}

// A failure in one step of the load step must not keep the main window from
// appearing: the step is given up, what failed goes to the log, and the next
// step runs.
template <class Step>
void runStep(const char* name, Step step)
{
    try {
        step();
    } catch (const std::exception& e) {
        qWarning("zolmiv: start-up step \"%s\" failed: %s", name, e.what());
    } catch (...) {
        qWarning("zolmiv: start-up step \"%s\" failed", name);
    }
}

int scrollValue(qint64 frames) { return int(qBound<qint64>(0, frames, qint64(INT_MAX))); }

const QString kPlayCaption = QStringLiteral("播  放");
const QString kPauseCaption = QStringLiteral("暂  停");

} // namespace

QString FrmzolmaincsForm::caption()
{
    // Six blanks before the brand, two after it.
    return QStringLiteral("Hollisk之Vormel人格问卷成人版 VER 4.0      Brevand  ") + build::webPage();
}

FrmzolmaincsForm::FrmzolmaincsForm() : Form(QStringLiteral("frmzolmaincs"))
{
    setWindowTitle(caption());
    setBackColor(this, kBackColor);

    MenuBar = new QMenuBar(this);
    buildMenus();

    Client = new QWidget(this);
    Client->resize(tw(11880), tw(8190));
    setBackColor(Client, kBackColor);
    // Frames carry their caption on the border line.
    Client->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid rgb(110, 150, 150); margin-top: 7px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 7px; padding: 0 2px; background-color: rgb(192, 255, 255); }"));
    buildClient();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MenuBar);
    layout->addWidget(Client);

    Timer1 = new QTimer(this);
    ReSize1 = new ReSize(Client);
    Mp3Play1 = new Mp3Play(this);

    connectCommands();
    setCommandStates();
}

void FrmzolmaincsForm::buildMenus()
{
    mnufile = MenuBar->addMenu(QStringLiteral("系统文件"));
    mnutest = mnufile->addAction(QStringLiteral("开始测试"));
    Pltest = mnufile->addAction(QStringLiteral("批量测试"));
    backup = mnufile->addAction(QStringLiteral("数据备份"));
    restore = mnufile->addAction(QStringLiteral("数据恢复"));
    mnuexit = mnufile->addAction(QStringLiteral("退    出"));

    manag = MenuBar->addMenu(QStringLiteral("数据管理"));
    mnufind = manag->addAction(QStringLiteral("普通查询"));
    mnuseek = manag->addAction(QStringLiteral("查询编辑"));
    mnuprint = manag->addAction(QStringLiteral("报告打印"));

    static_ = MenuBar->addMenu(QStringLiteral("统计分析"));
    exampl = static_->addAction(QStringLiteral("总体统计"));
    adverg = static_->addAction(QStringLiteral("男    性"));
    sd = static_->addAction(QStringLiteral("女    性"));

    rest = MenuBar->addMenu(QStringLiteral("娱乐休闲"));
    bgsoung = rest->addMenu(QStringLiteral("背景音乐"));
    bgplay = bgsoung->addAction(QStringLiteral("播   放"));
    pause = bgsoung->addAction(QStringLiteral("暂   停"));
    MP3 = rest->addMenu(QStringLiteral("MP3欣赏"));
    mp3play = MP3->addAction(QStringLiteral("播   放"));
    vcdplay = rest->addAction(QStringLiteral("VCD播放"));

    mnuhelp = MenuBar->addMenu(QStringLiteral("系统帮助"));
    mnuexplan = mnuhelp->addAction(QStringLiteral("说    明"));
    mnurenew = mnuhelp->addAction(QStringLiteral("常见问题"));
    mnuwww = mnuhelp->addAction(QStringLiteral("主    页"));
    mnuemail = mnuhelp->addAction(QStringLiteral("邮    件"));
    mnuabout = mnuhelp->addAction(QStringLiteral("关    于"));

    const struct {
        QObject* item;
        const char* name;
    } names[] = {
        {mnufile, "mnufile"},   {mnutest, "mnutest"},     {Pltest, "Pltest"},
        {backup, "backup"},     {restore, "restore"},     {mnuexit, "mnuexit"},
        {manag, "manag"},       {mnufind, "mnufind"},     {mnuseek, "mnuseek"},
        {mnuprint, "mnuprint"}, {static_, "static"},      {exampl, "exampl"},
        {adverg, "adverg"},     {sd, "sd"},               {rest, "rest"},
        {bgsoung, "bgsoung"},   {bgplay, "bgplay"},       {pause, "pause"},
        {MP3, "MP3"},           {mp3play, "mp3play"},     {vcdplay, "vcdplay"},
        {mnuhelp, "mnuhelp"},   {mnuexplan, "mnuexplan"}, {mnurenew, "mnurenew"},
        {mnuwww, "mnuwww"},     {mnuemail, "mnuemail"},   {mnuabout, "mnuabout"},
    };
    for (const auto& n : names)
        n.item->setObjectName(QString::fromLatin1(n.name));
}

void FrmzolmaincsForm::buildClient()
{
    QWidget* c = Client;

    // Top button row: y 0, height 375.
    Command2 = makeButton(c, QStringLiteral("开  始"), -120, 0, 1095, 375);
    Command3 = makeButton(c, QStringLiteral("查  询"), 960, 0, 975, 375);
    Command4 = makeButton(c, QStringLiteral("打  印"), 1920, 0, 975, 375);
    Command1 = makeButton(c, QStringLiteral("播  放"), 3840, 0, 975, 375);
    Command7 = makeButton(c, QStringLiteral("帮  助"), 4800, 0, 975, 375);
    Command9 = makeButton(c, QStringLiteral("培   训"), 5760, 0, 975, 375);
    Command6 = makeButton(c, QStringLiteral("退  出"), 6720, 0, 855, 375);

    Frame2 = makeFrame(c, QStringLiteral("ZOL人格测试简介"), 1080, 480, 6255, 3015);
    Label3 = makeLabel(Frame2, introductionText(), 480, 360, 5295, 2415);
    Label3->setTextFormat(Qt::PlainText);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setCursor(Qt::PointingHandCursor);

    ShockwaveFlash1 = new QFrame(c);
    place(ShockwaveFlash1, 0, 3720, 7935, 1095);

    // The picture is drawn when the window is first shown (showEvent).
    Image2 = makeLabel(c, QString(), 2160, 5040, 3900, 1995);
    Image2->setScaledContents(true);
    Image2->setCursor(Qt::PointingHandCursor);

    Label2 = makeLabel(c, QStringLiteral("最佳显示效果：800 * 600"), 3240, 7200, 1815, 255);
    setForeColor(Label2, kOrange);
    Label2->setFont(vbFont(QStringLiteral("宋体"), 7.5));
    Label2->setCursor(Qt::PointingHandCursor);

    Frame1 = makeFrame(c, QStringLiteral("控制中心"), 7920, 120, 3975, 7335);
    QWidget* f = Frame1;
    Command18 = makeButton(f, QStringLiteral("开始测试"), 840, 360, 1095, 495);
    Command11 = makeButton(f, QStringLiteral("本站简介"), 2160, 360, 1095, 495);
    Command19 = makeButton(f, QStringLiteral("记录查询"), 840, 840, 1095, 495);
    Command20 = makeButton(f, QStringLiteral("背景音乐"), 2160, 840, 1095, 495);
    Command24 = makeButton(f, QStringLiteral("软件升级"), 840, 1320, 1095, 495);
    Command21 = makeButton(f, QStringLiteral("MP3欣赏"), 2160, 1320, 1095, 495);
    Command8 = makeButton(f, QStringLiteral("心理培训"), 2160, 1800, 1095, 495);
    Command26 = makeButton(f, QStringLiteral("常见问题"), 840, 2280, 1095, 495);
    Command23 = makeButton(f, QStringLiteral("本站主页"), 2160, 2280, 1095, 495);
    Command28 = makeButton(f, QStringLiteral("使用许可"), 840, 2760, 1095, 495);
    Command29 = makeButton(f, QStringLiteral("联系我们"), 2160, 2760, 1095, 495);

    Frame3 = makeFrame(f, QStringLiteral("MP3播放器"), 120, 3960, 3615, 1515);
    Command15 = makeButton(Frame3, QStringLiteral("曲目"), 240, 360, 750, 400);
    Command16 = makeButton(Frame3, QStringLiteral("播放"), 1080, 360, 750, 400);
    Command13 = makeButton(Frame3, QStringLiteral("暂停"), 1920, 360, 750, 400);
    Command14 = makeButton(Frame3, QStringLiteral("结束"), 2760, 360, 750, 400);
    Text1 = makeTextBox(Frame3, 360, 960, 3000, 300);
    Frame9 = makeFrame(f, QStringLiteral("时间"), 2400, 5760, 1395, 705);
    Text3 = makeTextBox(Frame9, 120, 240, 1095, 300);
    Text3->setText(QStringLiteral("0"));
    Frame6 = makeFrame(f, QStringLiteral("进程"), 240, 5760, 2085, 675);
    Text2 = makeTextBox(Frame6, 120, 240, 1785, 345);
    Text2->setText(QStringLiteral("0"));
    HScroll1 = new QScrollBar(Qt::Horizontal, f);
    place(HScroll1, 240, 6600, 3375, 255);
    HScroll1->setMinimum(0);

    MovingText1 = new MovingText(c);
    place(MovingText1, 0, 7440, 11895, 735);
    MovingText1->setFont(vbFont(QStringLiteral("宋体"), 14, true));
    setForeColor(MovingText1, QColor(0, 0, 160));
    MovingText1->setText(movingSentence());

    for (QWidget* clickable : {static_cast<QWidget*>(Label3), static_cast<QWidget*>(Image2),
                               static_cast<QWidget*>(Label2)})
        clickable->installEventFilter(this);

    const struct {
        QWidget* control;
        const char* name;
    } names[] = {
        {Command2, "Command2"},   {Command3, "Command3"},   {Command4, "Command4"},
        {Command1, "Command1"},   {Command7, "Command7"},   {Command9, "Command9"},
        {Command6, "Command6"},   {Frame2, "Frame2"},       {Label3, "Label3"},
        {ShockwaveFlash1, "ShockwaveFlash1"},               {Image2, "Image2"},
        {Label2, "Label2"},       {Frame1, "Frame1"},       {Command18, "Command18"},
        {Command11, "Command11"}, {Command19, "Command19"}, {Command20, "Command20"},
        {Command24, "Command24"}, {Command21, "Command21"}, {Command8, "Command8"},
        {Command26, "Command26"}, {Command23, "Command23"}, {Command28, "Command28"},
        {Command29, "Command29"}, {Frame3, "Frame3"},       {Command15, "Command15"},
        {Command16, "Command16"}, {Command13, "Command13"}, {Command14, "Command14"},
        {Text1, "Text1"},         {Frame9, "Frame9"},       {Text3, "Text3"},
        {Frame6, "Frame6"},       {Text2, "Text2"},         {HScroll1, "HScroll1"},
        {MovingText1, "MovingText1"},
    };
    for (const auto& n : names)
        n.control->setObjectName(QString::fromLatin1(n.name));
}

void FrmzolmaincsForm::connectCommands()
{
    connect(mnutest, &QAction::triggered, this, [] { startTest(); });
    for (QPushButton* b : {Command18, Command2})
        connect(b, &QPushButton::clicked, this, [] { startTest(); });
    connect(Command6, &QPushButton::clicked, this, &FrmzolmaincsForm::Command6_Click);
    connect(mnuexit, &QAction::triggered, this, &FrmzolmaincsForm::mnuexit_Click);

    connect(mnufind, &QAction::triggered, this, &FrmzolmaincsForm::mnufind_Click);
    connect(mnuprint, &QAction::triggered, this, &FrmzolmaincsForm::mnuprint_Click);
    for (QPushButton* b : {Command19, Command3})
        connect(b, &QPushButton::clicked, this, &FrmzolmaincsForm::mnufind_Click);
    connect(Command4, &QPushButton::clicked, this, &FrmzolmaincsForm::mnuprint_Click);
    connect(mnuseek, &QAction::triggered, this, &FrmzolmaincsForm::mnuseek_Click);
    connect(backup, &QAction::triggered, this, &FrmzolmaincsForm::backup_Click);
    connect(restore, &QAction::triggered, this, &FrmzolmaincsForm::restore_Click);
    connect(exampl, &QAction::triggered, this, &FrmzolmaincsForm::exampl_Click);
    connect(adverg, &QAction::triggered, this, &FrmzolmaincsForm::adverg_Click);
    connect(sd, &QAction::triggered, this, &FrmzolmaincsForm::sd_Click);

    connect(bgplay, &QAction::triggered, this, &FrmzolmaincsForm::PlayRandomMidi);
    connect(Command20, &QPushButton::clicked, this, &FrmzolmaincsForm::PlayRandomMidi);
    connect(Command1, &QPushButton::clicked, this, &FrmzolmaincsForm::Command1_Click);
    connect(pause, &QAction::triggered, this, &FrmzolmaincsForm::pause_Click);

    connect(mp3play, &QAction::triggered, this, &FrmzolmaincsForm::Command15_Click);
    for (QPushButton* b : {Command21, Command15})
        connect(b, &QPushButton::clicked, this, &FrmzolmaincsForm::Command15_Click);
    connect(Command16, &QPushButton::clicked, this, &FrmzolmaincsForm::Command16_Click);
    connect(Command13, &QPushButton::clicked, this, &FrmzolmaincsForm::Command13_Click);
    connect(Command14, &QPushButton::clicked, this, &FrmzolmaincsForm::Command14_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &FrmzolmaincsForm::HScroll1_Change);
    connect(Mp3Play1, &Mp3Play::progress, this, &FrmzolmaincsForm::Mp3Play1_Progress);
    connect(Mp3Play1, &Mp3Play::playEnded, this, &FrmzolmaincsForm::Mp3Play1_PlayEnded);

    connect(vcdplay, &QAction::triggered, this, [] { formtv1().Show(); });
    connect(mnuabout, &QAction::triggered, this, [] { frmAbout().Show(); });

    for (QAction* a : {mnuexplan, mnurenew})
        connect(a, &QAction::triggered, this, &FrmzolmaincsForm::HelpKey);
    for (QPushButton* b : {Command26, Command28, Command11, Command8, Command7, Command9})
        connect(b, &QPushButton::clicked, this, &FrmzolmaincsForm::HelpKey);
    connect(mnuwww, &QAction::triggered, this, &FrmzolmaincsForm::OpenWebPage);
    connect(Command23, &QPushButton::clicked, this, &FrmzolmaincsForm::OpenWebPage);
    connect(Command24, &QPushButton::clicked, this, &FrmzolmaincsForm::Command24_Click);
    connect(mnuemail, &QAction::triggered, this, &FrmzolmaincsForm::OpenMail);
    connect(Command29, &QPushButton::clicked, this, &FrmzolmaincsForm::OpenMail);
}

void FrmzolmaincsForm::setCommandStates()
{
    const auto set = [](bool on, std::initializer_list<QAction*> items,
                        std::initializer_list<QWidget*> buttons) {
        for (QAction* a : items)
            a->setEnabled(on);
        for (QWidget* b : buttons)
            b->setEnabled(on);
    };
    // Start a test: the notice window frmzol1.
    set(true, {mnutest}, {Command18, Command2});
    // Stored-test browser frmzol6 (browsing and report printing).
    set(true, {mnufind, mnuprint}, {Command19, Command3, Command4});
    // Query and grid edit frmzol13; backup and restore frmzol14.
    set(true, {mnuseek, backup, restore}, {});
    // Background music: play a random piece, the play and pause toggle, pause.
    set(true, {bgplay, pause}, {Command20, Command1});
    // MP3 player panel.
    set(true, {mp3play}, {Command21, Command15, Command16, Command13, Command14, HScroll1});
    // Video window Formtv1.
    set(true, {vcdplay}, {});
    // About box frmAbout.
    set(true, {mnuabout}, {});
    // There is no batch test; the entry stays in its menu for the look of it.
    set(false, {Pltest}, {});
    // Statistics, help, web page and mail work now.
    set(true, {exampl, adverg, sd, mnuexplan, mnurenew, mnuwww, mnuemail, mnuexit},
        {Command26, Command28, Command11, Command8, Command7, Command9, Command23, Command24,
         Command29, Command6});
}

void FrmzolmaincsForm::Form_Load()
{
    Text1->setText(build::webPage());
    attachMenuImages(MenuBar, true, ImageList1 = menuImages());
    Timer1->stop();
    Timer1->setInterval(1000);
    runStep("background music", [this] {
        MidiList = midiFilesIn(programFolder());
        MidiCount = int(MidiList.size());
        PlayRandomMidi();
    });
    runStep("help file", [] { links().setHelpFile(helpFilePath(programFolder())); });
    runStep("banner", [this] {
        links().setBannerMovie(ShockwaveFlash1, bannerMoviePath(programFolder()));
    });
}

// The size under the menu bar and the picture both need fonts, which
// start-up does not otherwise load before the splash window appears; they
// are left until the window is first seen.
void FrmzolmaincsForm::showEvent(QShowEvent* e)
{
    if (Image2->pixmap().isNull()) {
        resize(tw(11880), tw(8190) + MenuBar->sizeHint().height());
        Image2->setPixmap(webPicture());
    }
    Form::showEvent(e);
}

void FrmzolmaincsForm::PlayRandomMidi()
{
    // Only one piece ever sounds, so that pause and close reach the one
    // that plays.
    if (!CurrentMidi.isEmpty())
        music().closeMidi(CurrentMidi);
    QRandomGenerator random(quint32(QTime::currentTime().msecsSinceStartOfDay()));
    const int index = int(std::floor(MidiCount * random.generateDouble())) + 1;
    CurrentMidi = index <= MidiCount ? MidiList.at(index - 1) : QString();
    if (music().play(CurrentMidi))
        Timer1->start();
    else
        Timer1->stop();
}

void FrmzolmaincsForm::Command1_Click()
{
    if (Command1->text() == kPlayCaption) {
        Command1->setText(kPauseCaption);
        music().pause(CurrentMidi);
    } else {
        Command1->setText(kPlayCaption);
        PlayRandomMidi();
    }
}

void FrmzolmaincsForm::pause_Click()
{
    if (Command1->text() != kPlayCaption)
        return;
    Command1->setText(kPauseCaption);
    Timer1->stop();
    music().pause(CurrentMidi);
}

void FrmzolmaincsForm::Command15_Click()
{
    const QString path = OpenFileDialog(QStringLiteral("打开"), QStringLiteral("MP3 Files(*.mp3)"));
    if (path.isEmpty())
        return;
    Text1->setText(QStringLiteral("Open return: ") + QString::number(Mp3Play1->open(path)));
}

void FrmzolmaincsForm::Command16_Click()
{
    Text1->setText(QStringLiteral("Play return: ") + QString::number(Mp3Play1->play()));
    HScroll1->setMaximum(scrollValue(Mp3Play1->frameCount()));
}

void FrmzolmaincsForm::Command13_Click()
{
    Text1->setText(QStringLiteral("Pause return: ") + QString::number(Mp3Play1->pause()));
}

void FrmzolmaincsForm::Command14_Click()
{
    Text1->setText(QStringLiteral("Stop return: ") + QString::number(Mp3Play1->stop()));
}

void FrmzolmaincsForm::HScroll1_Change()
{
    Mp3Play1->seek(HScroll1->value(), HScroll1->value());
}

void FrmzolmaincsForm::Mp3Play1_Progress(qint64 frame)
{
    Text2->setText(mp3FramesText(frame, Mp3Play1->frameCount()));
    Text3->setText(mp3SecondsText(Mp3Play1->msPerFrame(), frame));
    HScroll1->setValue(scrollValue(frame));
}

void FrmzolmaincsForm::Mp3Play1_PlayEnded() { Text1->setText(QStringLiteral("Thread ended")); }

// Closing the window, by its close box or by code, closes the background tune.
void FrmzolmaincsForm::Form_Unload()
{
    music().closeMidi(CurrentMidi);
}

void FrmzolmaincsForm::Command6_Click()
{
    music().closeMidi(CurrentMidi);
    End();
}

void FrmzolmaincsForm::mnuexit_Click()
{
    Timer1->stop();
    music().closeMidi(CurrentMidi);
    Unload();
    End();
}

// Browsing and report printing both show the stored-test browser; a
// browser hidden by its print command comes back as it was.
void FrmzolmaincsForm::mnufind_Click() { frmzol6().Show(); }

void FrmzolmaincsForm::mnuprint_Click() { frmzol6().Show(); }

void FrmzolmaincsForm::mnuseek_Click() { frmzol13().Show(); }

// Backup and restore share one window.
void FrmzolmaincsForm::backup_Click() { frmzol14().Show(); }

void FrmzolmaincsForm::restore_Click() { frmzol14().Show(); }

void FrmzolmaincsForm::exampl_Click() { runStatisticsCommand(StatsGroup::All); }

void FrmzolmaincsForm::adverg_Click() { runStatisticsCommand(StatsGroup::Men); }

void FrmzolmaincsForm::sd_Click() { runStatisticsCommand(StatsGroup::Women); }

void FrmzolmaincsForm::Command24_Click()
{
    MsgBox(QStringLiteral(" 欢迎访问Brevand，了解心理测验软件最新升级信息！"), vbOKOnly,
           QStringLiteral("提示"));
    OpenWebPage();
}

void FrmzolmaincsForm::HelpKey() { links().openHelp(this); }

void FrmzolmaincsForm::OpenWebPage() { links().openWebPage(build::webPage()); }

void FrmzolmaincsForm::OpenSecondSite() { links().openWebPage(build::secondSite()); }

void FrmzolmaincsForm::OpenMail() { links().openMail(build::mailAddress()); }

// The introduction text, the picture and the display hint are links.
bool FrmzolmaincsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        auto* w = static_cast<QWidget*>(watched);
        if (me->button() == Qt::LeftButton && w->rect().contains(me->position().toPoint())) {
            if (watched == Label3 || watched == Image2)
                OpenWebPage();
            else if (watched == Label2)
                OpenSecondSite();
        }
    }
    return Form::eventFilter(watched, event);
}
