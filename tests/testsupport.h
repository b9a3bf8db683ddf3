// Shared pieces of the test programs: registration of test classes and a
// program folder of the test's own.
#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <functional>
#include <vector>

namespace zoltest {

using Factory = std::function<QObject*()>;
std::vector<Factory>& registry();

struct Registrar {
    explicit Registrar(Factory f) { registry().push_back(std::move(f)); }
};

// Points the program folder at a fresh temporary folder for its lifetime,
// so that no test ever touches the program's own zol.mdb.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const;
    bool ok() const { return dir_.isValid(); }

private:
    QTemporaryDir dir_;
};

} // namespace zoltest

#define ZOL_TEST(Class) \
    static zoltest::Registrar zolRegistrar_##Class([] { return static_cast<QObject*>(new Class); });
