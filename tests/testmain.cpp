// Runs every test class registered in this test program, one after another.
#include "testsupport.h"

#include "platform/fonts.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <memory>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QStandardPaths::setTestModeEnabled(true);  // the user's own settings stay untouched
    QApplication app(argc, argv);
    zol::installFonts();
    int failed = 0;
    for (const auto& make : zoltest::registry()) {
        std::unique_ptr<QObject> test(make());
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
