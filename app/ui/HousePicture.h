#pragma once

#include <QImage>
#include <QSize>

// The splash window's picture: a house on a lawn under a blue sky, drawn
// with plain shapes (no text, so no fonts are needed). The build writes it to
// images/screen.bmp; the splash window keeps its own copy for when that file
// is missing.
QImage drawHousePicture(const QSize& size);
