// The splash window: the program's start-up window.
//
// Its load step loads the main window without showing it; its timer then
// fills the progress bar in steps of 2 every 10 ms, and when the bar is full
// the splash window unloads itself and the main window appears.
#pragma once

#include "platform/form.h"

#include <QPixmap>

class QProgressBar;
class QTimer;

class FrmzolsplashForm : public zol::Form {
    Q_OBJECT
public:
    FrmzolsplashForm();

    QProgressBar* ProgressBar1 = nullptr;
    QTimer* Timer1 = nullptr;

    void Timer1_Timer();

    // The picture, drawn to fill the window with a rim where the bar lies.
    // The build draws it into the program folder (savePicture), and the
    // window shows that file when it is there: drawing it at start-up would
    // load a font before the window could appear. The file holds the bare
    // pixels, which need no image decoder either.
    static QPixmap drawPicture();
    [[nodiscard]] static bool savePicture(const QString& path);
    static QString pictureFile();

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap picture_;
    bool drawn_ = false;
};

inline FrmzolsplashForm& frmzolsplash() { return zol::DefaultForm<FrmzolsplashForm>::get(); }
