#include "shell/frmzolsplash.h"

#include "platform/music.h"
#include "platform/paths.h"
#include "platform/twips.h"
#include "shell/artwork.h"
#include "shell/frmzolmaincs.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

using namespace zol;

namespace {
// Client area and progress bar, in twips.
const QSize kClient(5655, 3390);
const QRect kBar(840, 1680, 4185, 135);
} // namespace

FrmzolsplashForm::FrmzolsplashForm() : Form(QStringLiteral("frmzolsplash"))
{
    // 23 blanks, then 进, three blanks, 度.
    setWindowTitle(QString(23, QLatin1Char(' ')) + QStringLiteral("进   度"));
    setClientSize(kClient.width(), kClient.height());

    ProgressBar1 = new QProgressBar(this);
    place(ProgressBar1, kBar.x(), kBar.y(), kBar.width(), kBar.height());
    ProgressBar1->setRange(0, 200);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    QFile file(programFile(pictureFile()));
    const QSize size = splashPictureSize();
    const QByteArray pixels = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (pixels.size() == size.width() * size.height() * 4)
        // The image only borrows the bytes; the copy owns them.
        picture_ = QPixmap::fromImage(QImage(reinterpret_cast<const uchar*>(pixels.constData()),
                                             size.width(), size.height(), QImage::Format_RGB32)
                                          .copy());
    else
        picture_ = drawPicture();

    Timer1 = new QTimer(this);
    Timer1->setInterval(10);
    connect(Timer1, &QTimer::timeout, this, &FrmzolsplashForm::Timer1_Timer);

    // The client area centred: a geometry, unlike a move, places the window
    // without the frame the window manager adds.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), this->size());
        r.moveCenter(screen->availableGeometry().center());
        setGeometry(r);
    }
}

QPixmap FrmzolsplashForm::drawPicture()
{
    // The picture is scaled to the window; the bar's place in its pixels.
    const QSize picture = splashPictureSize();
    const double sx = double(picture.width()) / kClient.width();
    const double sy = double(picture.height()) / kClient.height();
    return splashPicture(
        QRectF(kBar.x() * sx, kBar.y() * sy, kBar.width() * sx, kBar.height() * sy));
}

QString FrmzolsplashForm::pictureFile() { return QStringLiteral("zolsplash.rgb"); }

bool FrmzolsplashForm::savePicture(const QString& path)
{
    const QImage image = drawPicture().toImage().convertToFormat(QImage::Format_RGB32);
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes())
                  == image.sizeInBytes();
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
    music().loadNow();  // in case the window was never drawn
    if (Timer1->isActive()) {
        Timer1->stop();
        frmzolmaincs().Show();
    }
}

void FrmzolsplashForm::paintEvent(QPaintEvent* e)
{
    {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), picture_);
    }
    Form::paintEvent(e);
    // The background music's synthesizer is loaded beside the window's
    // first picture, not before it: its libraries kept the window blank.
    if (!drawn_) {
        drawn_ = true;
        QTimer::singleShot(0, this, [] { music().loadNow(); });
    }
}
