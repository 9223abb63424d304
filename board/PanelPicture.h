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

} // namespace PanelPicture
