#pragma once
// Where the cells of a stop name go in the 192-pixel column: short names are
// spread over it, six or more cells stand 32 pixels apart, and from seven
// cells on the dot surface grows to hold them all (and scrolls).
#include <QtGlobal>

struct ChimeiLayout {
    int first = 0;    // top of the first cell
    int pitch = 0;    // distance between cell tops
    int height = 192; // height of the dot surface

    static constexpr int kColumnHeight = 192;
    static constexpr int kCellPitch = 32;

    // cells is the name's byte count div 2 (0 for a lone half-width
    // character); mode 2 draws a two-cell name closer together.
    static constexpr ChimeiLayout forCells(int cells, qint16 mode) {
        switch (cells) {
        case 0: return {0, 0, kColumnHeight};
        case 1: return {80, 0, kColumnHeight};
        case 2: return mode == 2 ? ChimeiLayout{48, 64, kColumnHeight} : ChimeiLayout{32, 96, kColumnHeight};
        case 3: return {16, 64, kColumnHeight};
        case 4: return {8, 48, kColumnHeight};
        case 5: return {4, 38, kColumnHeight};
        default: return {0, kCellPitch, cells >= 7 ? kCellPitch * cells : kColumnHeight};
        }
    }
};
