#pragma once
// Draws a numbered ticket described by a plug-in (platform/TicketPlugin.h)
// with QPainter, and makes its bar codes with zxing-cpp. Everything is
// placed on whole device pixels, so the ticket stays sharp at any device
// pixel ratio and the bars have clean edges a scanner can read.
#include "platform/TicketPlugin.h"

#include <QString>
#include <QStringList>

#include <vector>

class QImage;
class QPainter;

namespace ticket {

// A bar code symbol as modules (no quiet zone), row by row; a linear code
// has one row.
struct Modules {
    int width = 0;
    int height = 0;
    std::vector<bool> dark;

    bool isEmpty() const { return width == 0; }
    bool at(int x, int y) const { return dark[size_t(y) * size_t(width) + size_t(x)]; }
};

// The symbol for the text; empty when the symbology cannot carry it.
Modules barcodeModules(Symbology symbology, const QString& text);

// The light margin kept on each side of a symbol, in modules.
int quietZone(Symbology symbology);

// Draws the ticket into the preview area that starts at the painter's origin
// and has the plug-in's preview size: scaled to fit it, proportions kept,
// centred. Nothing outside the ticket is touched.
void drawTicket(QPainter& painter, const TicketPlugin& plugin, const TicketValues& values);

// Why one of the plug-in's bar codes could not be drawn readably in its
// item at the preview's size (one pixel per module at the least, quiet
// zones included), or empty when they all can.
QString barcodeFitProblem(const TicketPlugin& plugin);

// The texts of the bar codes zxing-cpp finds in an image; transparent
// pixels count as white paper. For the rendering tool and the tests, which
// prove with it that what is drawn can be scanned.
QStringList scanBarcodes(const QImage& image);

} // namespace ticket
