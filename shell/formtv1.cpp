#include "shell/formtv1.h"

#include "platform/buildinfo.h"
#include "platform/dialogs.h"
#include "platform/links.h"
#include "platform/mediaplayercontrol.h"
#include "platform/paths.h"
#include "platform/surface.h"
#include "platform/twips.h"
#include "shell/artwork.h"
#include "shell/programend.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

using namespace zol;

namespace {

// The channels in menu order; the two without a playlist have no handler.
struct Channel {
    QAction* Formtv1Form::*item;
    const char* name;
    const char* caption;
    bool plays;
};
const Channel kChannels[] = {
    {&Formtv1Form::mnuiteamcctv1, "mnuiteamcctv1", "中央台一套", true},
    {&Formtv1Form::mnuiteamcctv2, "mnuiteamcctv2", "中央台二套", true},
    {&Formtv1Form::mnuiteam4, "mnuiteam4", "中央台四套", true},
    {&Formtv1Form::mnuiteam5, "mnuiteam5", "中央台五套", true},
    {&Formtv1Form::mnuiteam6, "mnuiteam6", "中央台六套", true},
    {&Formtv1Form::mnuiteam9, "mnuiteam9", "中央台九套", true},
    {&Formtv1Form::mnuiteamjiangxi, "mnuiteamjiangxi", "江西台", true},
    {&Formtv1Form::mnuiteamjiangsu, "mnuiteamjiangsu", "江苏台", true},
    {&Formtv1Form::mnuiteamshandong, "mnuiteamshandong", "山东台", true},
    {&Formtv1Form::mnuiteamshanxi, "mnuiteamshanxi", "陕西台", true},
    {&Formtv1Form::mnuiteamzhejiang3, "mnuiteamzhejiang3", "浙江三套", true},
    {&Formtv1Form::mnuiteamchongqing, "mnuiteamchongqing", "重庆台", true},
    {&Formtv1Form::mnuiteamjiangsushengshi, "mnuiteamjiangsushengshi", "江苏城市台", true},
    {&Formtv1Form::MnuIteambeijing, "MnuIteambeijing", "北京台", false},
    {&Formtv1Form::mnuiteamhebei, "mnuiteamhebei", "河北台", true},
    {&Formtv1Form::mnuiteammingzhu, "mnuiteammingzhu", "东方明珠台", true},
    {&Formtv1Form::mnuiteamjiangxidianbo, "mnuiteamjiangxidianbo", "江西点播", true},
    {&Formtv1Form::mnuiteamnanjingyingshi, "mnuiteamnanjingyingshi", "南京影视台", true},
    {&Formtv1Form::mnuiteamnanjingxinwen, "mnuiteamnanjingxinwen", "南京新闻台", false},
    {&Formtv1Form::mnuiteammovie, "mnuiteammovie", "网络电影台", true},
};

const QColor kBackColor(224, 224, 224);

// Volume steps and their limits, in the player's unit (0 the loudest).
constexpr int kVolumeUp = 200;
constexpr int kVolumeDown = 300;
constexpr int kQuietest = -2800;

} // namespace

Formtv1Form::Formtv1Form() : Form(QStringLiteral("Formtv1"))
{
    setWindowTitle(QStringLiteral("数字影蝶机"));
    // A fixed single border with a minimise button and no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setBackColor(this, kBackColor);

    MenuBar = new QMenuBar(this);
    buildMenus();

    Client = new SurfaceWidget(this);
    Client->setFixedSize(tw(6930), tw(5535));
    setBackColor(Client, kBackColor);
    MediaPlayer = new MediaPlayerControl(Client);
    MediaPlayer->setObjectName(QStringLiteral("MediaPlayer"));
    place(MediaPlayer, 600, 240, 5730, 5295);
    // Line1: a rule along the bottom edge.
    Client->surface().addStaticLine(0, 5520, 6960, 5520, Qt::black);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MenuBar);
    layout->addWidget(Client);
    const int menuHeight = MenuBar->sizeHint().height();
    // The client area at its stored place on the screen, whatever frame the
    // window manager draws around the window: a geometry, unlike a move,
    // places the window without its frame.
    setGeometry(QRect(QPoint(tw(2790), qMax(0, tw(1305) - menuHeight)),
                      QSize(tw(6930), tw(5535) + menuHeight)));
    setFixedSize(size());
}

void Formtv1Form::buildMenus()
{
    Mnufile = MenuBar->addMenu(QStringLiteral("文件"));
    MnuIteamopen = Mnufile->addAction(QStringLiteral("打开"));
    MnuIteamopen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    MnuIteamhttp = Mnufile->addAction(QStringLiteral("位置"));
    MnuIteamclose = Mnufile->addAction(QStringLiteral("关闭"));

    Mnusetup = MenuBar->addMenu(QStringLiteral("设置"));
    MnuIteamvideo = Mnusetup->addMenu(QStringLiteral("画面大小"));
    MnuIteamxiao = MnuIteamvideo->addAction(QStringLiteral("缩小"));
    mnuiteammo = MnuIteamvideo->addAction(QStringLiteral("默认"));
    mnuiteammo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    MnuIteamda = MnuIteamvideo->addAction(QStringLiteral("放大"));
    MnuIteamaudio = Mnusetup->addMenu(QStringLiteral("声音大小"));
    MnuIteamup = MnuIteamaudio->addAction(QStringLiteral("增大"));
    MnuIteamup->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    MnuIteamdown = MnuIteamaudio->addAction(QStringLiteral("减小"));
    MnuIteamdown->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));

    // The channels are built but switched off: their playlists are
    // placeholders until an installation supplies its own addresses.
    MnuIteamprogmes = MenuBar->addMenu(QStringLiteral("选台"));
    const QStringList playlists = build::channelPlaylists();
    int next = 0;
    for (const Channel& c : kChannels) {
        QAction* a = MnuIteamprogmes->addAction(QString::fromUtf8(c.caption));
        a->setObjectName(QString::fromLatin1(c.name));
        if (c.plays && next < playlists.size())
            a->setData(playlists.at(next++));
        a->setEnabled(false);
        this->*(c.item) = a;
        connect(a, &QAction::triggered, this, [this, a] { channel_Click(a); });
    }

    MnuIteamhelp = MenuBar->addMenu(QStringLiteral("说明"));
    examp = MnuIteamhelp->addAction(QStringLiteral("说明"));

    // A top-level item without a submenu, neither shown nor enabled.
    MnuIteamabout = MenuBar->addAction(QStringLiteral("关于(&Y)"));
    MnuIteamabout->setVisible(false);
    MnuIteamabout->setEnabled(false);

    const struct {
        QObject* item;
        const char* name;
    } names[] = {
        {Mnufile, "Mnufile"},           {MnuIteamopen, "MnuIteamopen"},
        {MnuIteamhttp, "MnuIteamhttp"}, {MnuIteamclose, "MnuIteamclose"},
        {Mnusetup, "Mnusetup"},         {MnuIteamvideo, "MnuIteamvideo"},
        {MnuIteamxiao, "MnuIteamxiao"}, {mnuiteammo, "mnuiteammo"},
        {MnuIteamda, "MnuIteamda"},     {MnuIteamaudio, "MnuIteamaudio"},
        {MnuIteamup, "MnuIteamup"},     {MnuIteamdown, "MnuIteamdown"},
        {MnuIteamprogmes, "MnuIteamprogmes"}, {MnuIteamhelp, "MnuIteamhelp"},
        {examp, "examp"},               {MnuIteamabout, "MnuIteamabout"},
    };
    for (const auto& n : names)
        n.item->setObjectName(QString::fromLatin1(n.name));

    connect(MnuIteamopen, &QAction::triggered, this, &Formtv1Form::MnuIteamopen_Click);
    connect(MnuIteamhttp, &QAction::triggered, this, &Formtv1Form::MnuIteamhttp_Click);
    connect(MnuIteamclose, &QAction::triggered, this, &Formtv1Form::MnuIteamclose_Click);
    connect(MnuIteamxiao, &QAction::triggered, this,
            [this] { MediaPlayer->setDisplaySize(MediaPlayerControl::mpHalfSize); });
    connect(mnuiteammo, &QAction::triggered, this,
            [this] { MediaPlayer->setDisplaySize(MediaPlayerControl::mpFitToSize); });
    connect(MnuIteamda, &QAction::triggered, this,
            [this] { MediaPlayer->setDisplaySize(MediaPlayerControl::mpFullScreen); });
    connect(MnuIteamup, &QAction::triggered, this, &Formtv1Form::MnuIteamup_Click);
    connect(MnuIteamdown, &QAction::triggered, this, &Formtv1Form::MnuIteamdown_Click);
    connect(examp, &QAction::triggered, this, &Formtv1Form::examp_Click);
}

void Formtv1Form::Form_Load()
{
    attachMenuImages(MenuBar, true, ImageList1 = videoMenuImages());
}

QList<QAction*> Formtv1Form::channelItems() const
{
    QList<QAction*> list;
    for (const Channel& c : kChannels)
        list << this->*(c.item);
    return list;
}

void Formtv1Form::Main(const QString& address, const QString&)
{
    MediaPlayer->setFileName(address);
}

// A cancel ends the command quietly; what played goes on.
void Formtv1Form::MnuIteamopen_Click()
{
    const QString path = OpenFileDialog(
        QStringLiteral("打开"),
        QStringLiteral("视频文件(*.AVI,*.ASF,*.MPEG) (*.AVI *.ASF *.MPEG);;所有文件(*.*) (*.*)"));
    if (!path.isEmpty())
        playChosen(path);
}

// Whatever the box returns is played; its cancel returns the empty text,
// which stops what plays.
void Formtv1Form::MnuIteamhttp_Click()
{
    QString address;
    InputBox(QStringLiteral("输入文件地址"), QStringLiteral("地址框"), QString(), &address);
    playChosen(address);
}

// The player says only afterwards that it refuses a name; what played
// before then plays on from where it was, and nothing is said.
void Formtv1Form::playChosen(const QString& fileOrAddress)
{
    const QString before = MediaPlayer->fileName();
    const qint64 at = position_;
    MediaPlayer->setFileName(fileOrAddress);
    MediaEngine* engine = MediaPlayer->engine();
    if (!engine)
        return;
    engine->positionChanged = [this](qint64 ms) { position_ = ms; };
    engine->failed = [this, before, at, fileOrAddress](const QString&) {
        // Not inside the player's own report.
        QTimer::singleShot(0, this, [this, before, at, fileOrAddress] {
            if (MediaPlayer->fileName() != fileOrAddress || before.isEmpty())
                return;
            MediaPlayer->setFileName(before);
            MediaPlayer->engine()->setPosition(at);
        });
    };
}

void Formtv1Form::MnuIteamclose_Click() { End(); }

void Formtv1Form::MnuIteamup_Click()
{
    const int v = qint16(MediaPlayer->volume()) + kVolumeUp;
    if (v <= 0)
        MediaPlayer->setVolume(v);
}

void Formtv1Form::MnuIteamdown_Click()
{
    const int v = qint16(MediaPlayer->volume()) - kVolumeDown;
    if (v >= kQuietest)
        MediaPlayer->setVolume(v);
}

void Formtv1Form::examp_Click() { links().openTextFile(notesFilePath(programFolder())); }

void Formtv1Form::channel_Click(QAction* item)
{
    const QString address = item->data().toString();
    if (address.isEmpty())
        return;
    if (item == mnuiteam6)
        MediaPlayer->setFileName(QString());
    Main(address, item->text());
}
