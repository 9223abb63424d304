#pragma once
// The three windows wired as at start-up (board load with the model presets
// included), for tests that drive them together. Create the platform
// doubles first: the windows read the clock and the helper while loading.
#include "app/K27App.h"
#include "board/Form1.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"

struct K27Windows {
    Form1 board;
    frmOption options;
    frmCtl panel;

    K27Windows() {
        K27App::connectWindows(board, options, panel);
        K27App::loadBoard(board, options);
    }
};
