#include "shell/frmzolsplash.h"

#include "platform/twips.h"
#include "shell/artwork.h"
#include "shell/frmzolmaincs.h"

#include <QPainter>
#include <QProgressBar>
#include <QTimer>

using namespace zol;

FrmzolsplashForm::FrmzolsplashForm() : Form(QStringLiteral("frmzolsplash"))
{
    // 23 blanks, then 进, three blanks, 度.
    setWindowTitle(QString(23, QLatin1Char(' ')) + QStringLiteral("进   度"));
    setClientSize(5655, 3390);
    picture_ = splashPicture();

    ProgressBar1 = new QProgressBar(this);
    place(ProgressBar1, 840, 1680, 4185, 135);
    ProgressBar1->setRange(0, 200);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &FrmzolsplashForm::Timer1_Timer);

    centerOnScreen();
}

void FrmzolsplashForm::Form_Load()
{
    // The main window's own load step runs to its end here, before the
    // splash window is seen and before the first tick.
    frmzolmaincs();
    Timer1->start();
}

void FrmzolsplashForm::Timer1_Timer()
{
    if (ProgressBar1->value() >= 200) {
        Timer1->stop();
        Unload();
        frmzolmaincs().Show();
        return;
    }
    ProgressBar1->setValue(ProgressBar1->value() + 2);
}

// Closing the splash window before the bar is full does not wait for it:
// the main window appears at once.
void FrmzolsplashForm::Form_QueryUnload(bool&)
{
    if (Timer1->isActive()) {
        Timer1->stop();
        frmzolmaincs().Show();
    }
}

void FrmzolsplashForm::paintEvent(QPaintEvent* e)
{
    {
        QPainter p(this);
        p.drawPixmap(0, 0, picture_);
    }
    Form::paintEvent(e);
}
