// Runs the test classes registered in this test program: the one named by
// the first argument (the rest goes to QTest, so test functions and output
// options can be chosen), or every class one after another when the first
// argument names none.
#include "testsupport.h"

#include "platform/fonts.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <cstring>
#include <memory>
#include <vector>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QStandardPaths::setTestModeEnabled(true);  // the user's own settings stay untouched
    const zoltest::Registered* only = nullptr;
    if (argc > 1)
        for (const auto& r : zoltest::registry())
            if (std::strcmp(argv[1], r.name) == 0)
                only = &r;
    std::vector<char*> args(argv, argv + argc);
    if (only)
        args.erase(args.begin() + 1);
    int count = int(args.size());

    QApplication app(count, args.data());
    zol::installFonts();
    int failed = 0;
    for (const auto& r : zoltest::registry()) {
        if (only && only != &r)
            continue;
        std::unique_ptr<QObject> test(r.make());
        failed += QTest::qExec(test.get(), count, args.data());
    }
    return failed == 0 ? 0 : 1;
}
