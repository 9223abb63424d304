#include "control/frmCtl.h"


#include "board/Form1.h"
#include "options/frmOption.h"

frmCtl::frmCtl(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmCtl"));
    setWindowTitle(QStringLiteral("集中操作盤"));
    buildTapeFrame();
}

frmCtl::~frmCtl() = default;

void frmCtl::setWindows(Form1* board, frmOption* options) {
    board_ = board;
    options_ = options;
}
