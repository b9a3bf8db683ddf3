// The pictures of the start-up and main windows, drawn by the program.
#pragma once

#include <QList>
#include <QPixmap>

class QMenuBar;

namespace zol {

// The splash window's picture, 384 x 240 pixels. The band where the
// progress bar lies (56, 112, 279 x 9) is left plain.
QPixmap splashPicture();

// The main window's link picture (Image2), 260 x 133 pixels.
QPixmap webPicture();

// The menu images (ImageList1), 16 x 16 each, one for every menu entry in
// menu order.
QList<QPixmap> menuImages();

// Hands the images to the menu bar: the entries of every menu, submenus
// included, take the images in order. With show false the entries lose
// their images.
void attachMenuImages(QMenuBar* bar, bool show, const QList<QPixmap>& images);

} // namespace zol
