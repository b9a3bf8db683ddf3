// The test under way: the subject's age and sex as entered, the four raw
// scale scores, their standard scores and the chart coordinates, and the
// norm routines that turn raw scores into standard scores.
//
// There is one set of these variables for the whole program; a new test
// overwrites the previous one. All access is from the user-interface thread.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace zol {

// Subject, as typed in the subject window: the age text unparsed, the sex
// as "男" or "女".
extern QString gAge;
extern QString gSex;

// Raw scores: the number of items answered as keyed, or the numbers typed in.
extern qint16 gPRaw;
extern qint16 gERaw;
extern qint16 gNRaw;
extern qint16 gLRaw;

// Standard scores, written by the norm routines.
extern qint16 gPScore;
extern qint16 gEScore;
extern qint16 gNScore;
extern qint16 gLScore;

// Sets the four standard scores to 0, before the norms of a new set of raw
// scores: a scale that no table row covers then shows 0, not an old score.
void clearStandardScores();
// Sets the four raw scores and the four standard scores to 0.
void clearScores();

// Chart coordinates (twips) of the chart drawn last.
extern qint16 gPlotP;
extern qint16 gPlotE;
extern qint16 gPlotN;
extern qint16 gPlotL;

enum class Scale { P, E, N, L };

// One norm table per sex and age band; the number is the band's lowest age.
enum class NormGroup {
    Male16, Male20, Male30, Male40, Male50, Male60,
    Female16, Female20, Female30, Female40, Female50, Female60,
};

// The standard score the group's table gives for a raw score of the scale,
// or no value when no row of the table covers that raw score.
[[nodiscard]] std::optional<int> normScore(NormGroup group, Scale scale, int raw);

// Each routine reads the four raw scores and writes the four standard scores
// by its table. A raw score that no row covers leaves its standard score as
// it was.
void NormMale16();
void NormMale20();
void NormMale30();
void NormMale40();
void NormMale50();
void NormMale60();
void NormFemale16();
void NormFemale20();
void NormFemale30();
void NormFemale40();
void NormFemale50();
void NormFemale60();

// The norm table for a sex text and an age text: the sex must be exactly
// "男" or "女", the age is the numeric value of the text (see Val) and picks
// the band 16-19, 20-29, 30-39, 40-49, 50-59 or 60 and over. No table for an
// age under 16 or any other sex text.
[[nodiscard]] std::optional<NormGroup> normGroupOf(const QString& sex, const QString& age);

// Runs the norm routine of normGroupOf(gSex, gAge); with no table it runs
// none and leaves the standard scores as they were.
void ApplyNorms();

} // namespace zol
