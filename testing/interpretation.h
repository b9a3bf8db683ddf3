// The interpretation sentences of the result windows: each standard score
// falls in one of four bands, and each scale has a fixed sentence per band.
#pragma once

#include "testing/zolmodule1.h"

#include <QString>

class QLineEdit;

namespace zol {

// The band of a standard score T, the same for every scale:
// 1: T < 38.5; 2: 38.5 <= T < 50; 3: 50 <= T < 61.5; 4: T >= 61.5. The
// record browser reads stored scores, which need not be whole numbers.
int interpretationBand(double score);

// The sentence for the scale and standard score. It begins with the number
// of the box it belongs in ("1：" P, "2：" E, "3：" N, "4：" L).
QString interpretationSentence(Scale scale, int score);

// Replaces the text of the four boxes by the sentences for the module's
// current standard scores: P -> text1, E -> text2, N -> text3, L -> text4.
void InterpretationText(QLineEdit* text1, QLineEdit* text2, QLineEdit* text3, QLineEdit* text4);

} // namespace zol
