// Loaded windows by name, for the tests to see which windows a step left
// loaded; the program itself reaches its windows through their types.
#pragma once

#include "platform/form.h"

#include <QStringList>

namespace zol {

// The names of the loaded windows, in the order they were loaded.
QStringList loadedFormNames();
// The loaded window of that name, or nullptr.
Form* findLoaded(const QString& name);
// Unloads every window and destroys them at once: a test starts from nothing.
void unloadAllWindows();

} // namespace zol
