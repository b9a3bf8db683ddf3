#include "platform/fonts.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zol::installFonts();
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Vormel人格问卷成人版"));
    w.show();
    return app.exec();
}
