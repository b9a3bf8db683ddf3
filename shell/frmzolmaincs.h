// The main window: menu bar, command buttons, control centre, introduction,
// banner area and scrolling text band. Every other window is opened from
// here, without modality.
#pragma once

#include "platform/form.h"

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollBar;
class QTimer;

namespace zol {
class MovingText;
class Mp3Play;
class ReSize;
} // namespace zol

class FrmzolmaincsForm : public zol::Form {
    Q_OBJECT
public:
    FrmzolmaincsForm();

    // The caption: the program's name and brand, then the maker's web page.
    static QString caption();

    // Menu bar.
    QMenuBar* MenuBar = nullptr;
    QMenu* mnufile = nullptr;
    QAction* mnutest = nullptr;
    QAction* Pltest = nullptr;
    QAction* backup = nullptr;
    QAction* restore = nullptr;
    QAction* mnuexit = nullptr;
    QMenu* manag = nullptr;
    QAction* mnufind = nullptr;
    QAction* mnuseek = nullptr;
    QAction* mnuprint = nullptr;
    QMenu* static_ = nullptr;  // the menu 统计分析 ("static" is taken by the language)
    QAction* exampl = nullptr;
    QAction* adverg = nullptr;
    QAction* sd = nullptr;
    QMenu* rest = nullptr;
    QMenu* bgsoung = nullptr;
    QAction* bgplay = nullptr;
    QAction* pause = nullptr;
    QMenu* MP3 = nullptr;
    QAction* mp3play = nullptr;
    QAction* vcdplay = nullptr;
    QMenu* mnuhelp = nullptr;
    QAction* mnuexplan = nullptr;
    QAction* mnurenew = nullptr;
    QAction* mnuwww = nullptr;
    QAction* mnuemail = nullptr;
    QAction* mnuabout = nullptr;

    // The client area below the menu bar: 11880 x 8190 twips at design size.
    QWidget* Client = nullptr;

    // Top button row.
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command6 = nullptr;

    QGroupBox* Frame2 = nullptr;
    QLabel* Label3 = nullptr;
    QFrame* ShockwaveFlash1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Label2 = nullptr;

    // Control centre.
    QGroupBox* Frame1 = nullptr;
    QPushButton* Command18 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command19 = nullptr;
    QPushButton* Command20 = nullptr;
    QPushButton* Command24 = nullptr;
    QPushButton* Command21 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command26 = nullptr;
    QPushButton* Command23 = nullptr;
    QPushButton* Command28 = nullptr;
    QPushButton* Command29 = nullptr;

    // MP3 player panel inside the control centre.
    QGroupBox* Frame3 = nullptr;
    QPushButton* Command15 = nullptr;
    QPushButton* Command16 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command14 = nullptr;
    QLineEdit* Text1 = nullptr;
    QGroupBox* Frame9 = nullptr;
    QLineEdit* Text3 = nullptr;
    QGroupBox* Frame6 = nullptr;
    QLineEdit* Text2 = nullptr;
    QScrollBar* HScroll1 = nullptr;

    zol::Mp3Play* Mp3Play1 = nullptr;

    zol::MovingText* MovingText1 = nullptr;
    QTimer* Timer1 = nullptr;
    QList<QIcon> ImageList1;
    zol::ReSize* ReSize1 = nullptr;

    // The MIDI files of the program folder, listed at load, and the piece
    // last started; pause and close commands name it.
    QStringList MidiList;
    int MidiCount = 0;
    QString CurrentMidi;

    // Enables the commands whose windows are part of the program and
    // disables the others. Every such state is set here and nowhere else.
    void setCommandStates();

    // Starts a piece of the MIDI list drawn at random, after closing the one
    // before.
    void PlayRandomMidi();

    // Handlers.
    void Command1_Click();
    void pause_Click();
    void Command15_Click();
    void Command16_Click();
    void Command13_Click();
    void Command14_Click();
    void HScroll1_Change();
    void Mp3Play1_Progress(qint64 frame);
    void Mp3Play1_PlayEnded();
    void Command6_Click();
    void mnuexit_Click();
    void mnufind_Click();
    void mnuprint_Click();
    void mnuseek_Click();
    void backup_Click();
    void restore_Click();
    void exampl_Click();
    void adverg_Click();
    void sd_Click();
    void Command24_Click();
    void HelpKey();
    void OpenWebPage();
    void OpenSecondSite();
    void OpenMail();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildClient();
    void connectCommands();
};

inline FrmzolmaincsForm& frmzolmaincs() { return zol::DefaultForm<FrmzolmaincsForm>::get(); }
