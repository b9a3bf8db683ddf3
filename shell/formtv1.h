// The video window 数字影蝶机: a media player with a menu bar to open a file
// or an address, pick a channel, set the picture size and the volume, read
// the notes file, or end the program.
#pragma once

#include "platform/form.h"

#include <QIcon>
#include <QList>
#include <QPixmap>

class QAction;
class QMenu;
class QMenuBar;

namespace zol {
class MediaPlayerControl;
class SurfaceWidget;
} // namespace zol

class Formtv1Form : public zol::Form {
    Q_OBJECT
public:
    Formtv1Form();

    QMenuBar* MenuBar = nullptr;
    QMenu* Mnufile = nullptr;
    QAction* MnuIteamopen = nullptr;
    QAction* MnuIteamhttp = nullptr;
    QAction* MnuIteamclose = nullptr;
    QMenu* Mnusetup = nullptr;
    QMenu* MnuIteamvideo = nullptr;
    QAction* MnuIteamxiao = nullptr;
    QAction* mnuiteammo = nullptr;
    QAction* MnuIteamda = nullptr;
    QMenu* MnuIteamaudio = nullptr;
    QAction* MnuIteamup = nullptr;
    QAction* MnuIteamdown = nullptr;
    QMenu* MnuIteamprogmes = nullptr;
    QAction* mnuiteamcctv1 = nullptr;
    QAction* mnuiteamcctv2 = nullptr;
    QAction* mnuiteam4 = nullptr;
    QAction* mnuiteam5 = nullptr;
    QAction* mnuiteam6 = nullptr;
    QAction* mnuiteam9 = nullptr;
    QAction* mnuiteamjiangxi = nullptr;
    QAction* mnuiteamjiangsu = nullptr;
    QAction* mnuiteamshandong = nullptr;
    QAction* mnuiteamshanxi = nullptr;
    QAction* mnuiteamzhejiang3 = nullptr;
    QAction* mnuiteamchongqing = nullptr;
    QAction* mnuiteamjiangsushengshi = nullptr;
    QAction* MnuIteambeijing = nullptr;
    QAction* mnuiteamhebei = nullptr;
    QAction* mnuiteammingzhu = nullptr;
    QAction* mnuiteamjiangxidianbo = nullptr;
    QAction* mnuiteamnanjingyingshi = nullptr;
    QAction* mnuiteamnanjingxinwen = nullptr;
    QAction* mnuiteammovie = nullptr;
    QMenu* MnuIteamhelp = nullptr;
    QAction* examp = nullptr;
    QAction* MnuIteamabout = nullptr;

    // The client area below the menu bar: 6930 x 5535 twips.
    zol::SurfaceWidget* Client = nullptr;
    zol::MediaPlayerControl* MediaPlayer = nullptr;
    QList<QIcon> ImageList1;

    // The channel items in menu order.
    QList<QAction*> channelItems() const;

    // Plays address; name is not used.
    void Main(const QString& address, const QString& name);

    void MnuIteamopen_Click();
    void MnuIteamhttp_Click();
    void MnuIteamclose_Click();
    void MnuIteamup_Click();
    void MnuIteamdown_Click();
    void examp_Click();
    // A channel item: plays its playlist; the two without an address do
    // nothing.
    void channel_Click(QAction* item);

protected:
    void Form_Load() override;

private:
    void buildMenus();
    // Plays a name the user chose; one the player refuses leaves what played.
    void playChosen(const QString& fileOrAddress);

    qint64 position_ = 0;  // where what plays has got to, in ms
};

inline Formtv1Form& formtv1() { return zol::DefaultForm<Formtv1Form>::get(); }
