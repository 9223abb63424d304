#pragma once
// What is particular to the K27 board model: the initial state of the fare
// digits, the numbering schemes of the ticket labels and the model presets.
#include <QString>
#include <QtGlobal>

class Form1;
class frmOption;

namespace mdlK27_000 {

// Blanks the fifty fare digits.
void InitBoardDegits(Form1& board);

// Writes the fifty ticket-number captions for a numbering scheme (0..11);
// a non-zero twoDigit writes one-digit numbers with a leading zero.
void SeirikenNumSet(Form1& board, qint16 scheme, qint16 twoDigit);

// The model presets. In the options window (when given): automatic ticket
// numbers on, the stop-name page unreachable, the three ticket-number
// colours of the backlight states. On the board: its background picture and
// the image holders all start with the built-in panel picture.
void SetModelDefaults(Form1& board, frmOption* options = nullptr);

// A number as full-width digits ("１２"), optionally at least two digits.
QString fullWidthNumber(int k, bool twoDigit);

} // namespace mdlK27_000
