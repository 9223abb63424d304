#pragma once
// The board's backlight: puts the panel picture of a backlight state (OFF,
// ON1, ON2) behind the board and colours the fifty ticket numbers. The
// pictures are the built-in ones or files chosen in the options window.
#include <QImage>
#include <QString>
#include <QtGlobal>

class Form1;
class frmOption;
class QWidget;

namespace Backlight {

// Switches the board to backlight state index (0 OFF, 1 ON1, 2 ON2) with the
// settings of the options window. A picture that cannot be shown is
// reported in a message box owned by owner and leaves the previous picture;
// the numbers change colour in every case. Other indices do nothing.
void apply(Form1& board, const frmOption& options, qint16 index, QWidget* owner);

// Reads a user picture; throws platform::RuntimeError with the number of the
// failure kind (53 missing, 75 not readable, 481 not a picture, ...).
QImage loadPicture(const QString& path);

// The text of the error box for a failure number.
QString errorMessage(int code);

} // namespace Backlight
