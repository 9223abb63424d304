#include "options/frmOption.h"

#include "board/Form1.h"
#include "control/frmCtl.h"

frmOption::frmOption(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("オプション"));
}

frmOption::~frmOption() = default;

void frmOption::setWindows(Form1* board, frmCtl* panel) {
    board_ = board;
    panel_ = panel;
}
