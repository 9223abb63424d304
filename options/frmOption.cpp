#include "options/frmOption.h"

#include "board/Form1.h"
#include "board/chimei/ChimeiCtl_A.h"
#include "board/degit/M_Degit.h"
#include "board/mdlK27_000.h"
#include "control/frmCtl.h"
#include "core/RuntimeError.h"
#include "options/OptionWidgets.h"
#include "platform/Clock.h"
#include "platform/ColorRef.h"
#include "platform/Platform.h"
#include "platform/VXB4Res.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>

namespace {

[[noreturn]] void rejectValue() {
    throw core::RuntimeError(core::errors::kInvalidPropertyValue, QStringLiteral("プロパティの値が不正です。"));
}

// Check boxes hold 0, 1 or 2 (greyed); anything else is refused.
qint16 checkValue(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void setCheckValue(QCheckBox* box, qint16 value) {
    switch (value) {
    case 0: box->setCheckState(Qt::Unchecked); break;
    case 1: box->setCheckState(Qt::Checked); break;
    case 2: box->setCheckState(Qt::PartiallyChecked); break;
    default: rejectValue();
    }
}

// Option buttons hold -1 (selected) or 0.
qint16 optionValue(const QAbstractButton* button) {
    return button->isChecked() ? -1 : 0;
}

void setOptionValue(QAbstractButton* button, qint16 value) {
    if (value != 0) {
        button->setChecked(true);
    } else if (button->isChecked()) {
        // Deselecting leaves the group without a selection, which an
        // exclusive group would refuse.
        QButtonGroup* group = button->group();
        if (group)
            group->setExclusive(false);
        button->setChecked(false);
        if (group)
            group->setExclusive(true);
    }
}

void setListIndex(QComboBox* list, qint16 position) {
    if (position < -1 || position >= list->count())
        rejectValue();
    list->setCurrentIndex(position);
}

} // namespace

frmOption::frmOption(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("オプション"));
    buildWindow();
    loadWindow();
    syncEnabledStates();
}

frmOption::~frmOption() = default;

void frmOption::setWindows(Form1* board, frmCtl* panel) {
    board_ = board;
    panel_ = panel;
}

void frmOption::loadWindow() {
    M_Degit1->setDegitSize(0);
    // The sample keeps the size its class gives it inside the page layout.
    M_Degit1->setFixedSize(M_Degit1->size());
    // Each list filled at once: one insertion for the list, not one per
    // number.
    QStringList numbers;
    for (int n = 1; n <= 150; ++n)
        numbers << QString::number(n);
    for (int k = 0; k < 4; ++k) {
        Combo4[size_t(k)]->addItems(numbers.mid(0, 50));
        Combo4[size_t(k)]->setCurrentIndex(0);
    }
    Combo1->addItems(numbers);
    Combo4[4]->addItems(numbers);
    Combo1->setCurrentIndex(0);
    Combo4[4]->setCurrentIndex(0);
    AddComboItem();
    Label10->setText(platform::clock().now().date().toString(QStringLiteral("yyyy/MM/dd")));
    // The window's own colour for ON2; the model presets (applyModelPresets)
    // set all three number colours at start-up.
    Command5[2]->setBackColor(0x00C0FFC0);
    refreshSample();
}

void frmOption::AddComboItem() {
    static const char* const prefixes[12] = {"1,2,3...",           "0,1,2...",           "「なし」、1,2...",
                                             "「なし」、2,3...",   "「無券」、1,2...",   "「無券」、2,3...",
                                             "「券なし」、1,2...", "「券なし」、2,3...", "「券無し」、1,2...",
                                             "「券無し」、2,3...", "(無地)、1,2...",     "(無地)、2,3..."};
    static const int last[12] = {50, 49, 49, 50, 49, 50, 49, 50, 49, 50, 49, 50};
    for (int i = 0; i < 12; ++i) {
        QString entry = QString::fromUtf8(prefixes[i]) + QString::number(last[i]);
        if (i == 0)
            entry += QStringLiteral(" （既定の表示）");
        Combo2->addItem(entry);
    }
    Combo2->setCurrentIndex(0);
}

void frmOption::syncEnabledStates() {
    Frame3->setEnabled(checkValue(Check1) != 0);

    const bool stop = checkValue(Check3[0]) != 0;
    Combo4[0]->setEnabled(stop);
    Check3[4]->setEnabled(stop);
    Combo4[1]->setEnabled(checkValue(Check3[1]) != 0);
    Combo4[2]->setEnabled(checkValue(Check3[2]) != 0);
    const bool column = checkValue(Check3[3]) != 0;
    Combo4[3]->setEnabled(column);
    Combo4[4]->setEnabled(column);

    const bool preview = checkValue(chkUseSeiriPrev) != 0;
    Frame10->setEnabled(preview);
    Frame10->setVisible(preview);
    Frame7->setEnabled(preview);
    Frame7->setVisible(preview);

    const bool manual = !Option3[0]->isChecked();
    for (QGroupBox* f : Frame6)
        f->setEnabled(manual);
    for (QGroupBox* f : Frame6)
        f->setVisible(manual);
    fitPagesToTheirText();
}

void frmOption::setVisible(bool visible) {
    // Fitted before the window takes its size for the screen, not after.
    if (visible && pagesNeedFitting_)
        measurePages();
    QWidget::setVisible(visible);
}

void frmOption::fitPagesToTheirText() {
    if (isVisible())
        measurePages();
    else
        pagesNeedFitting_ = true;
}

void frmOption::measurePages() {
    pagesNeedFitting_ = false;
    // A window's smallest size comes from its layout's minimum, which does
    // not ask wrapped text how tall it gets at that width.
    const int width = qMax(pages_->minimumWidth(), pages_->minimumSizeHint().width());
    int height = 0;
    for (QGroupBox* page : Frame1) {
        const int needed = page->hasHeightForWidth() ? page->heightForWidth(width) : page->minimumSizeHint().height();
        height = qMax(height, needed);
    }
    pages_->setMinimumHeight(height);
}

void frmOption::refreshSample() {
    M_Degit1->setBackColor(Command8[0]->BackColor());
    M_Degit1->setBaseForeColor(Command8[1]->BackColor());
    M_Degit1->setDegitForeColor(Command8[2]->BackColor());
}

void frmOption::Option1_Click(int index) {
    if (index < 0 || index >= int(Frame1.size()))
        return;
    Option1[size_t(index)]->setChecked(true);
    pages_->setCurrentWidget(Frame1[size_t(index)]);
}

void frmOption::Option5_Click(int index) {
    if (index < 0 || index >= int(Frame2.size()))
        return;
    Option5[size_t(index)]->setChecked(true);
    soundPages_->setCurrentWidget(Frame2[size_t(index)]);
}

void frmOption::GetBtnColor(ColorButton* objBtn) {
    if (!objBtn)
        return;
    quint32 c = objBtn->BackColor();
    if (platform::helper().Vx3ChooseColor(this, c, CustColors) != 0)
        objBtn->setBackColor(c);
}

void frmOption::Command5_Click(int index) {
    GetBtnColor(Command5.at(size_t(index)));
}

void frmOption::Command8_Click(int index) {
    GetBtnColor(Command8.at(size_t(index)));
    refreshSample();
}

void frmOption::Command9_Click(int index) {
    GetBtnColor(Command9.at(size_t(index)));
}

Form1* frmOption::board() const {
    return board_;
}
frmCtl* frmOption::panel() const {
    return panel_;
}

QString frmOption::soundFile(int slot) const {
    if (slot < 0 || slot >= int(txtSelectSound.size()) || !txtSelectSound[size_t(slot)])
        return {};
    return txtSelectSound[size_t(slot)]->text();
}

bool frmOption::tapeAlways() const {
    return Option2[2] && Option2[2]->isChecked();
}

bool frmOption::tapeSync() const {
    return Option7[0] && Option7[0]->isChecked();
}

qint16 frmOption::backlightIndex() const {
    return panel_ ? panel_->backlightIndex() : 0;
}

Backlight::Choice frmOption::backlightChoice(qint16 index) const {
    Backlight::Choice c;
    if (index < 0 || index > 2)
        return c;
    // The "ユーザーパネル" button of each state.
    static constexpr int kUserButton[3] = {6, 2, 5};
    c.numberColor = Command5[size_t(index)]->BackColor();
    c.userPicture = Option3[1]->isChecked() && Option3[size_t(kUserButton[index])]->isChecked();
    c.userFile = txtSelectPanel[size_t(index)]->text();
    return c;
}

void frmOption::applyModelPresets(const mdlK27_000::ModelPresets& presets) {
    Check1->setChecked(presets.autoSeiriNum);
    Option1[3]->setEnabled(presets.chimeiPageEnabled);
    for (size_t i = 0; i < 3; ++i)
        Command5[i]->setBackColor(presets.seiriColors[i]);
}

void frmOption::SetProp() {
    if (!board_)
        return;
    Form1& board = *board_;
    const bool showNumbers = checkValue(Check1) != 0;
    for (int i = 1; i <= 50; ++i)
        board.lblSeiriNum[size_t(i)]->setVisible(showNumbers);
    mdlK27_000::SeirikenNumSet(board, qint16(Combo2->currentIndex()), checkValue(Check2));

    Backlight::colourNumbers(board, Command5[size_t(backlightIndex())]->BackColor());

    auto paintDigit = [this](M_Degit* d) {
        d->setBackColor(Command8[0]->BackColor());
        d->setBaseForeColor(Command8[1]->BackColor());
        d->setDegitForeColor(Command8[2]->BackColor());
    };
    for (int i = 1; i <= 50; ++i)
        paintDigit(board.Degit[size_t(i)]);
    paintDigit(board.TimeDegit[0]);
    paintDigit(board.TimeDegit[1]);

    board.ChimeiCtl->setBackColor(Command9[0]->BackColor());
    board.ChimeiCtl->setForeColor(Command9[1]->BackColor());
    board.ChimeiCtl->setFontMode(qint16(Combo3->currentIndex()));
    board.ChimeiCtl->setFontBold(checkValue(Check4) == 1);

    if (panel_)
        panel_->Option4_Click(backlightIndex());
}

void frmOption::Command4_Click() {
    SetProp();
    hide();
}

void frmOption::GetOptionInfo(OptionRecords& rec) const {
    FolderRec& f = rec.Folder;
    f.FareDataDir = Text2[0]->text();
    f.TapeDataDir = Text2[1]->text();

    PanelRec& p = rec.Panel;
    p.AutoSeiriNum = checkValue(Check1);
    p.SeiriColorOff = Command5[0]->BackColor();
    p.SeiriColorOn1 = Command5[1]->BackColor();
    p.SeiriColorOn2 = Command5[2]->BackColor();
    p.SeiriNumStyle = qint16(Combo2->currentIndex());
    p.SeiriZeroPad = checkValue(Check2);
    p.PanelAuto = optionValue(Option3[0]);
    p.PanelManual = optionValue(Option3[1]);
    p.OffBuiltIn = optionValue(Option3[7]);
    p.OffUser = optionValue(Option3[6]);
    p.On1BuiltIn = optionValue(Option3[3]);
    p.On1User = optionValue(Option3[2]);
    p.On2BuiltIn = optionValue(Option3[4]);
    p.On2User = optionValue(Option3[5]);
    p.OffPanelFile = txtSelectPanel[0]->text();
    p.On1PanelFile = txtSelectPanel[1]->text();
    p.On2PanelFile = txtSelectPanel[2]->text();

    DegitRec& d = rec.Degit;
    d.DegitBackColor = Command8[0]->BackColor();
    d.DegitBaseColor = Command8[1]->BackColor();
    d.DegitLitColor = Command8[2]->BackColor();
    d.InfoStopOn = checkValue(Check3[0]);
    d.InfoStopKoma = qint16(Combo4[0]->currentIndex());
    d.InfoStopFromZero = checkValue(Check3[4]);
    d.InfoSeiriOn = checkValue(Check3[1]);
    d.InfoSeiriKoma = qint16(Combo4[1]->currentIndex());
    d.InfoKeitouOn = checkValue(Check3[2]);
    d.InfoKeitouKoma = qint16(Combo4[2]->currentIndex());
    d.InfoColOn = checkValue(Check3[3]);
    d.InfoCol = qint16(Combo4[4]->currentIndex());
    d.InfoColKoma = qint16(Combo4[3]->currentIndex());

    ChimeiRec& c = rec.Chimei;
    c.ChimeiBackColor = Command9[0]->BackColor();
    c.ChimeiForeColor = Command9[1]->BackColor();
    c.ChimeiFontMode = qint16(Combo3->currentIndex());
    c.ChimeiBold = checkValue(Check4);

    SoundRec& s = rec.Sound;
    s.KeitouSound = txtSelectSound[0]->text();
    s.ResetSound = txtSelectSound[1]->text();
    s.StepSync = optionValue(Option6[0]);
    s.StepAsync = optionValue(Option6[1]);
    s.StepAlways = optionValue(Option2[0]);
    s.StepByCol = optionValue(Option2[1]);
    s.StepSound = txtSelectSound[7]->text();
    s.StepCol = qint16(Combo1->currentIndex());
    s.StepSound1 = txtSelectSound[8]->text();
    s.StepSound2 = txtSelectSound[9]->text();
    s.StepSound3 = txtSelectSound[10]->text();
    s.TapeSync = optionValue(Option7[0]);
    s.TapeAsync = optionValue(Option7[1]);
    s.TapeAlways = optionValue(Option2[2]);
    s.TapeByFlag = optionValue(Option2[3]);
    s.TapeSound = txtSelectSound[3]->text();
    s.TapeSound1 = txtSelectSound[4]->text();
    s.TapeSound2 = txtSelectSound[5]->text();
    s.TapeSound3 = txtSelectSound[6]->text();

    PreviewRec& v = rec.Preview;
    v.UsePreview = checkValue(chkUseSeiriPrev);
    v.PluginFile = txtSeiriPlgDir->text();
    v.DateEachPrint = optionValue(Option4[0]);
    v.DateAtReset = optionValue(Option4[1]);
    v.DateFixed = optionValue(Option4[2]);
    v.FixedDate = Label10->text();
}

void frmOption::SetOptionInfo(const OptionRecords& rec) {
    // 1. Folders and the panel page.
    const PanelRec& p = rec.Panel;
    Text2[0]->setText(rec.Folder.FareDataDir);
    Text2[1]->setText(rec.Folder.TapeDataDir);
    setCheckValue(Check1, p.AutoSeiriNum);
    Command5[0]->setBackColor(p.SeiriColorOff);
    Command5[1]->setBackColor(p.SeiriColorOn1);
    Command5[2]->setBackColor(p.SeiriColorOn2);
    setListIndex(Combo2, p.SeiriNumStyle);
    setCheckValue(Check2, p.SeiriZeroPad);
    setOptionValue(Option3[0], p.PanelAuto);
    setOptionValue(Option3[1], p.PanelManual);
    setOptionValue(Option3[7], p.OffBuiltIn);
    setOptionValue(Option3[6], p.OffUser);
    setOptionValue(Option3[3], p.On1BuiltIn);
    setOptionValue(Option3[2], p.On1User);
    setOptionValue(Option3[4], p.On2BuiltIn);
    setOptionValue(Option3[5], p.On2User);
    txtSelectPanel[0]->setText(p.OffPanelFile);
    txtSelectPanel[1]->setText(p.On1PanelFile);
    txtSelectPanel[2]->setText(p.On2PanelFile);

    // 2. A changed panel picture shows at once.
    if (panel_)
        panel_->Option4_Click(panel_->backlightIndex());

    // 3. Digit colours and the sample digit.
    const DegitRec& d = rec.Degit;
    Command8[0]->setBackColor(d.DegitBackColor);
    Command8[1]->setBackColor(d.DegitBaseColor);
    Command8[2]->setBackColor(d.DegitLitColor);
    refreshSample();

    // 4. Information digits.
    setCheckValue(Check3[0], d.InfoStopOn);
    setListIndex(Combo4[0], d.InfoStopKoma);
    setCheckValue(Check3[4], d.InfoStopFromZero);
    setCheckValue(Check3[1], d.InfoSeiriOn);
    setListIndex(Combo4[1], d.InfoSeiriKoma);
    setCheckValue(Check3[2], d.InfoKeitouOn);
    setListIndex(Combo4[2], d.InfoKeitouKoma);
    setCheckValue(Check3[3], d.InfoColOn);
    setListIndex(Combo4[4], d.InfoCol);
    setListIndex(Combo4[3], d.InfoColKoma);

    // 5. Stop-name display.
    const ChimeiRec& c = rec.Chimei;
    Command9[0]->setBackColor(c.ChimeiBackColor);
    Command9[1]->setBackColor(c.ChimeiForeColor);
    setListIndex(Combo3, c.ChimeiFontMode);
    setCheckValue(Check4, c.ChimeiBold);

    // 6. Sounds.
    const SoundRec& s = rec.Sound;
    txtSelectSound[0]->setText(s.KeitouSound);
    txtSelectSound[1]->setText(s.ResetSound);
    setOptionValue(Option6[0], s.StepSync);
    setOptionValue(Option6[1], s.StepAsync);
    setOptionValue(Option2[0], s.StepAlways);
    setOptionValue(Option2[1], s.StepByCol);
    txtSelectSound[7]->setText(s.StepSound);
    setListIndex(Combo1, s.StepCol);
    txtSelectSound[8]->setText(s.StepSound1);
    txtSelectSound[9]->setText(s.StepSound2);
    txtSelectSound[10]->setText(s.StepSound3);
    setOptionValue(Option7[0], s.TapeSync);
    setOptionValue(Option7[1], s.TapeAsync);
    setOptionValue(Option2[2], s.TapeAlways);
    setOptionValue(Option2[3], s.TapeByFlag);
    txtSelectSound[3]->setText(s.TapeSound);
    txtSelectSound[4]->setText(s.TapeSound1);
    txtSelectSound[5]->setText(s.TapeSound2);
    txtSelectSound[6]->setText(s.TapeSound3);

    // 7. Ticket preview and its date.
    const PreviewRec& v = rec.Preview;
    setCheckValue(chkUseSeiriPrev, v.UsePreview);
    txtSeiriPlgDir->setText(v.PluginFile);
    setOptionValue(Option4[0], v.DateEachPrint);
    setOptionValue(Option4[1], v.DateAtReset);
    setOptionValue(Option4[2], v.DateFixed);
    Label10->setText(v.FixedDate);

    // 8. The plug-in named in the box describes itself on the page.
    SetPlgin(txtSeiriPlgDir->text());
}

qint32 frmOption::SetPlgin(const QString& strFileName) {
    if (strFileName.isEmpty())
        return 0;
    platform::PlgInfo info;
    if (platform::helper().VX4_GetPlgInfo(strFileName, info) == 0)
        return 0;
    platform::helper().VX4_SetPlgComment(strFileName, txtPlginComment);
    const QString yes = QStringLiteral("---> 可能");
    const QString no = QStringLiteral("---> 不可");
    auto can = [&](qint32 flag) { return flag == 1 ? yes : no; };
    List1->clear();
    List1->addItem(QStringLiteral("日付の印字 ") + can(info.CanDate));
    List1->addItem(QStringLiteral("時刻の印字 ") + can(info.CanTime));
    List1->addItem(QStringLiteral("系統番号の印字 ") + can(info.CanKeitou));
    List1->addItem(QStringLiteral("停名の印字 ") + can(info.CanChimei));
    List1->addItem(QStringLiteral("バーコード印字 ") + can(info.CanBarcode));
    if (info.CanBarcode == 1) {
        List1->addItem(QStringLiteral("バーコード本数 ---> %1").arg(info.BarcodeCount));
        List1->addItem(QStringLiteral("バーコード系統方式 ") + (info.BarcodeMode == 1
                                                                    ? QStringLiteral("---> 連番式")
                                                                    : QStringLiteral("---> 系統番号＋往復フラグ")));
        List1->addItem(QStringLiteral("設定可能な系統範囲 ---> 1 ～ %1").arg(info.KeitouMax));
        List1->addItem(QStringLiteral("停留所認識範囲 ---> %1 ～ %2").arg(info.StopFrom).arg(info.StopTo));
    }
    List1->addItem(QStringLiteral("社名切り替え:") + (info.CorpCount > 0 ? yes : no));
    // The control panel's preview takes the ticket's size, and its company
    // list the plug-in's companies.
    if (panel_) {
        panel_->setPreviewSizeTwips(info.PrevWidth, info.PrevHeight);
        if (info.CorpCount > 0)
            platform::helper().VX4_SetCorpAddList(strFileName, panel_->Combo1);
    }
    return 2;
}
