#pragma once
// What is particular to the K27 board model: the initial state of the fare
// digits, the numbering schemes of the ticket labels and the model presets.
#include <QString>
#include <QtGlobal>

#include <array>

class Form1;

namespace mdlK27_000 {

// Blanks the fifty fare digits.
void InitBoardDegits(Form1& board);

// Writes the fifty ticket-number captions for a numbering scheme (0..11);
// a non-zero twoDigit writes one-digit numbers with a leading zero.
void SeirikenNumSet(Form1& board, qint16 scheme, qint16 twoDigit);

// What this model presets in the options window: automatic ticket numbers,
// whether the stop-name page can be reached, and the ticket-number colours
// (0x00BBGGRR) of the backlight states OFF, ON1, ON2.
struct ModelPresets {
    bool autoSeiriNum = true;
    bool chimeiPageEnabled = false;
    std::array<quint32, 3> seiriColors{};
};
ModelPresets modelPresets();

// The board's model presets: its background picture and the image holders
// all start with the built-in panel picture. The options window takes its
// part from modelPresets().
void SetModelDefaults(Form1& board);

// A number as full-width digits ("１２"), optionally at least two digits.
QString fullWidthNumber(int k, bool twoDigit);

} // namespace mdlK27_000
