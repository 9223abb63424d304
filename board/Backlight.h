#pragma once
// The board's backlight: puts the panel picture of a backlight state (OFF,
// ON1, ON2) behind the board and colours the fifty ticket numbers. The
// pictures are the built-in ones or files chosen in the options window.
#include <QImage>
#include <QString>
#include <QtGlobal>

class Form1;
class QWidget;

namespace Backlight {

// What one backlight state shows, as the options window has it set.
struct Choice {
    quint32 numberColor = 0;  // 0x00BBGGRR, the ticket numbers' colour
    bool userPicture = false; // the user's file instead of the built-in picture
    QString userFile;
};

// Switches the board to backlight state index (0 OFF, 1 ON1, 2 ON2). A
// picture that cannot be shown is reported in a message box owned by owner
// and leaves the previous picture; the numbers change colour in every case.
// Other indices do nothing.
void apply(Form1& board, const Choice& choice, qint16 index, QWidget* owner);

// Gives the fifty ticket numbers the colour (0x00BBGGRR).
void colourNumbers(Form1& board, quint32 colour);

// Reads a user picture; throws core::RuntimeError with the number of the
// failure kind (53 missing, 75 not readable, 481 not a picture, ...).
QImage loadPicture(const QString& path);

// The text of the error box for a failure number.
QString errorMessage(int code);

} // namespace Backlight
