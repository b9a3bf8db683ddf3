// Draws the splash picture into a file at build time:
//     zolartwork <program folder>/zolsplash.rgb
#include "platform/fonts.h"
#include "shell/frmzolsplash.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    zol::installFonts();
    return FrmzolsplashForm::savePicture(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
