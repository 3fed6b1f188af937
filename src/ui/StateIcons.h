#pragma once
// The five 15 x 15 row state images of both lists, drawn by our own code:
// 0 downloading, 1 stopped, 2 waiting, 3 failed, 4 finished (the program uses
// 0, 1 and 4). UI thread only (needs a QGuiApplication).

#include <QIcon>

namespace ui {

inline constexpr int kStateImageCount = 5;
inline constexpr int kStateImageSize = 15;

// The icon of image 0..4; a null icon for any other number.
QIcon StateIcon(int image);

}  // namespace ui
