// The lists a subject is described by, in list order: the subject window
// offers all four, the record query window education and occupation.
#pragma once

#include <QStringList>

namespace zol {

QStringList educationItems();
QStringList ethnicityItems();
QStringList occupationItems();
QStringList sourceItems();

} // namespace zol
