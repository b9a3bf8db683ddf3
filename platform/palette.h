// The colours the windows' layouts name, shared so that the result windows,
// the questionnaire and the browser draw their charts alike.
#pragma once

#include <QColor>

namespace zol {

inline const QColor kBlue(0, 0, 255);
inline const QColor kRed(255, 0, 0);
inline const QColor kYellow(255, 255, 0);
inline const QColor kGreen(0, 255, 0);
inline const QColor kPink(255, 128, 128);     // chart titles, number columns, letter column
inline const QColor kLilac(255, 192, 255);    // side lines of the charts
inline const QColor kMagenta(255, 128, 255);  // outer guide lines
inline const QColor kPurple(192, 0, 192);     // score row captions

} // namespace zol
