// The pictures of the start-up and main windows, drawn by the program.
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QRectF>

class QMenuBar;

namespace zol {

// The splash window's picture, 384 x 240 pixels, with a rim around band,
// where the progress bar shows once the picture is scaled to the window
// (in the picture's own pixels).
QPixmap splashPicture(const QRectF& band);
inline QSize splashPictureSize() { return QSize(384, 240); }

// The main window's link picture (Image2), 260 x 133 pixels.
QPixmap webPicture();

// The menu images (ImageList1), 16 x 16 each, one for every menu entry in
// menu order. Each is drawn when a menu first shows it.
QList<QIcon> menuImages();

// The video window's menu images, one for every entry in menu order.
QList<QIcon> videoMenuImages();

// The About box's icon, 32 x 32 pixels.
QPixmap aboutIcon();

// Hands the images to the menu bar: the entries of every menu, submenus
// included, take the images in order. With show false the entries lose
// their images.
void attachMenuImages(QMenuBar* bar, bool show, const QList<QIcon>& images);

} // namespace zol
