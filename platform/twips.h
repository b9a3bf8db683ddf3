// Positions and sizes of the window layouts are given in twips
// (1440 to the inch; 15 twips to a pixel at 96 dpi), colours as RGB.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;
class QLabel;
class QPushButton;
class QLineEdit;
class QRadioButton;
class QCheckBox;
class QGroupBox;
class QComboBox;

namespace zol {

constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded.
int tw(int twips);
// Pixels to twips.
int toTwips(int pixels);
QRect twRect(int left, int top, int width, int height);

// Moves and sizes a control; a width or height of 0 keeps the control's own.
void place(QWidget* w, int left, int top, int width = 0, int height = 0);

// Caption colour of labels, options, buttons and frames.
void setForeColor(QWidget* w, const QColor& color);
// Back colour of a window or control.
void setBackColor(QWidget* w, const QColor& color);

// Controls built from a layout table. Each is created as a child of parent
// at the given place (twips, relative to the parent: a frame's children are
// placed inside the frame).
QLabel* makeLabel(QWidget* parent, const QString& caption, int left, int top, int width = 0,
                  int height = 0);
QPushButton* makeButton(QWidget* parent, const QString& caption, int left, int top, int width,
                        int height);
QLineEdit* makeTextBox(QWidget* parent, int left, int top, int width, int height);
QRadioButton* makeOption(QWidget* parent, const QString& caption, int left, int top, int width,
                         int height);
QCheckBox* makeCheck(QWidget* parent, const QString& caption, int left, int top, int width,
                     int height);
QGroupBox* makeFrame(QWidget* parent, const QString& caption, int left, int top, int width,
                     int height);
// A drop-down list with fixed items and nothing chosen; it opens a bounded
// number of rows and scrolls the rest.
QComboBox* makeList(QWidget* parent, const QStringList& items, int left, int top, int width,
                    int height);

} // namespace zol
