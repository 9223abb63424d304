#pragma once
// The three windows wired and loaded as K27's start-up has them just before
// it reads the settings (the board's load, the model presets), without
// sound or speech: for the tools that draw or list them.
#include "board/Form1.h"
#include "board/mdlK27_000.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"

struct StartedWindows {
    Form1 board;
    frmOption options;
    frmCtl panel;

    StartedWindows() {
        board.setControlPanel(&panel);
        options.setWindows(&board, &panel);
        panel.setWindows(&board, &options);
        board.Form_Load();
        options.applyModelPresets(mdlK27_000::modelPresets());
    }
};
