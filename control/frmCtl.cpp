#include "control/frmCtl.h"

#include "board/Backlight.h"
#include "board/Form1.h"
#include "core/ControlNames.h"
#include "core/Twips.h"
#include "options/frmOption.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

frmCtl::frmCtl(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmCtl"));
    setWindowTitle(QStringLiteral("集中操作盤"));
    // Folded-in width of the panel; the frames below sit inside it.
    resize(core::twipsSize(5400, 1800));
    buildBacklightFrame();
    buildTapeFrame();
}

frmCtl::~frmCtl() {
    // The announcement module must not report to a panel that is gone.
    mdlM_Tape::setFrameListener({});
}

void frmCtl::setWindows(Form1* board, frmOption* options) {
    board_ = board;
    options_ = options;
}

// ---- Backlight ------------------------------------------------------------

void frmCtl::buildBacklightFrame() {
    fraBacklight = new QGroupBox(QStringLiteral("バックライト"), this);
    fraBacklight->setObjectName(QStringLiteral("fraBacklight"));
    auto* row = new QHBoxLayout(fraBacklight);
    row->setContentsMargins(6, 2, 6, 4);
    const std::array<QString, 3> captions = {QStringLiteral("OFF"), QStringLiteral("ON1"), QStringLiteral("ON2")};
    // An explicit group, so that option buttons the panel has elsewhere
    // never take part in this choice.
    auto* group = new QButtonGroup(fraBacklight);
    for (int i = 0; i < 3; ++i) {
        auto* b = new QRadioButton(captions[size_t(i)], fraBacklight);
        b->setObjectName(core::indexedName("Option4", i));
        group->addButton(b, i);
        row->addWidget(b);
        Option4[size_t(i)] = b;
        connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option4_Click(i);
        });
    }
    Option4[0]->setChecked(true);
    fraBacklight->setGeometry(core::twipsRect(120, 120, 2700, 600));
}

void frmCtl::Option4_Click(int Index) {
    if (board_ && options_)
        Backlight::apply(*board_, options_->backlightChoice(qint16(Index)), qint16(Index), this);
}

qint16 frmCtl::backlightIndex() const {
    if (Option4[0]->isChecked())
        return 0;
    return Option4[1]->isChecked() ? 1 : 2;
}
