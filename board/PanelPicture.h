#pragma once
// The built-in panel picture of the board (635 x 244): a light-grey rounded
// frame around a white face, the captions 整理券, 運 and 賃 at the left, and
// fifty dark digit blocks with unlit segments exactly where the fare digits
// lie. It is drawn by code so that it can be made again at any time.
#include <QImage>

namespace PanelPicture {

inline constexpr int kWidth = 635;
inline constexpr int kHeight = 244;

QImage draw();

// One dark digit block of the picture for digits of the given size, with
// its one-pixel rim around them: four cells of unlit segments.
QImage digitBlock(const QSize& digits);

} // namespace PanelPicture
