// The control panel window: its controls, their places, the panel swap, the
// fold-out, the options and version commands and the settings record. The
// route work (reset, refresh, stepping, blanking) is in frmCtlRoute.cpp.
#include "control/frmCtl.h"

#include "board/Backlight.h"
#include "board/Form1.h"
#include "board/chimei/ChimeiCtl_A.h"
#include "control/ReversedScrollBar.h"
#include "control/SeirikenPreview.h"
#include "core/ControlNames.h"
#include "core/RuntimeError.h"
#include "core/Twips.h"
#include "options/frmOption.h"
#include "platform/Clipboard.h"
#include "platform/Platform.h"
#include "platform/VXB4Res.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

#if !defined(K27_VERSION_MAJOR) || !defined(K27_VERSION_MINOR) || !defined(K27_VERSION_PATCH)
#error "the build passes the project version as K27_VERSION_MAJOR, _MINOR and _PATCH"
#endif

namespace {

// Height of the panel in twips; the fold-out grows it only for a ticket
// taller than the panel.
constexpr int kHeightTwips = 5010;
// Default size of the ticket preview until a plug-in states its own.
constexpr int kPreviewWidthTwips = 3360;
constexpr int kPreviewHeightTwips = 4230;
constexpr int kPreviewLeftTwips = 5520;
constexpr int kPreviewTopTwips = 660;
// A plug-in's preview never gets larger than this (twips), whatever the
// plug-in asks for: the box has to fit a screen.
constexpr int kPreviewMaxTwips = 15000;

using core::errors::kInvalidPropertyValue;
using core::errors::kNoSuchControl;
using core::errors::kOverflow;

QString indexed(const char* name, int i) {
    return core::indexedName(name, i);
}

template <class W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(core::twipsRect(left, top, width, height));
}

QFont pixelFont(const QFont& base, int pixels, bool bold = false) {
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// Orange digits on black, as on the keypad's display.
void paintDisplay(QLabel* l) {
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, QColor(255, 150, 0));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 70, 0));
    l->setPalette(pal);
    QFont f(QStringLiteral("monospace"));
    f.setStyleHint(QFont::Monospace);
    l->setFont(pixelFont(f, 22, true));
}

[[noreturn]] void rejectValue() {
    throw core::RuntimeError(kInvalidPropertyValue, QStringLiteral("プロパティの値が不正です。"));
}

} // namespace

frmCtl::frmCtl(QWidget* parent) : QWidget(parent, Qt::Window), fare_(std::make_unique<FareData>()) {
    setObjectName(QStringLiteral("frmCtl"));
    setWindowTitle(QStringLiteral("集中操作盤"));
    buildEntryPanels();
    buildCommandColumn();
    buildBacklightFrame();
    buildLateNightFrame();
    buildTapeFrame();
    buildPreview();
    // Without saved settings the keypad is in front: panel 0 is at the back.
    Frame1_DblClick(PanelIndex);
    fitWindow();
}

frmCtl::~frmCtl() {
    // The announcement module must not report to a panel that is gone.
    mdlM_Tape::setFrameListener({});
}

void frmCtl::setWindows(Form1* board, frmOption* options) {
    board_ = board;
    options_ = options;
}

Form1* frmCtl::board() const {
    return board_;
}
frmOption* frmCtl::options() const {
    return options_;
}

void frmCtl::Form_Load() {
    if (board_)
        board_->setWindowTitle(QStringLiteral("コルネ - 型番:") + exeBaseName());
    mdlM_Tape::InitSpeech();
}

QString frmCtl::exeBaseName() {
    QString base;
    if (QCoreApplication::instance())
        base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return base.isEmpty() ? QStringLiteral("K27") : base;
}

// ---- Route entry panels ----------------------------------------------------

void frmCtl::buildEntryPanels() {
    for (int k = 0; k < 2; ++k) {
        auto* frame = named(new QFrame(this), indexed("Frame1", k));
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
        frame->setAutoFillBackground(true);
        frame->setToolTip(QStringLiteral("ダブルクリックで入力パネルを切り替えます"));
        place(frame, 120, 120, 3120, 3000);
        frame->installEventFilter(this);
        Frame1[size_t(k)] = frame;

        auto* reset = named(new QPushButton(QStringLiteral("リセット"), frame), indexed("Command1", k));
        place(reset, 90, 2520, 2940, 390);
        reset->setFont(pixelFont(font(), 13, true));
        connect(reset, &QPushButton::clicked, this, [this, k] { ResetRoute(k); });
        Command1[size_t(k)] = reset;
    }
    buildListPanel(Frame1[0]);
    buildKeypadPanel(Frame1[1]);
}

void frmCtl::buildListPanel(QFrame* frame) {
    auto* title = named(new QLabel(QStringLiteral("系統設定"), frame), QStringLiteral("lblListTitle"));
    title->setFont(pixelFont(font(), 12, true));
    place(title, 90, 45, 2000, 255);

    // Digits 0..9 all in sight, like a drum: five route lists, a gap, three
    // section lists.
    constexpr int kListWidth = 330, kListStep = 360, kListTop = 540, kListHeight = 1890;
    constexpr int kRouteLeft = 60, kSectionLeft = 60 + 5 * kListStep + 120;
    auto* routeCaption = named(new QLabel(QStringLiteral("系　統"), frame), QStringLiteral("lblKeitou"));
    routeCaption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    place(routeCaption, kRouteLeft, 300, 5 * kListStep - 30, 225);
    auto* sectionCaption = named(new QLabel(QStringLiteral("区間"), frame), QStringLiteral("lblKukan"));
    sectionCaption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    place(sectionCaption, kSectionLeft, 300, 3 * kListStep - 30, 225);

    auto makeList = [&](const char* name, int i, int left) {
        auto* list = named(new QListWidget(frame), indexed(name, i));
        list->setFont(pixelFont(font(), 12, true));
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setUniformItemSizes(true);
        for (int d = 0; d <= 9; ++d) {
            auto* item = new QListWidgetItem(QString::number(d), list);
            item->setTextAlignment(Qt::AlignCenter);
            item->setSizeHint(QSize(core::twipsToPixels(kListWidth) - 4, 12));
        }
        place(list, left, kListTop, kListWidth, kListHeight);
        return list;
    };
    for (int i = 0; i < 5; ++i) {
        List2[size_t(i)] = makeList("List2", i, kRouteLeft + i * kListStep);
        connect(List2[size_t(i)], &QListWidget::currentRowChanged, this, [this, i] { List2_Click(i); });
    }
    for (int i = 0; i < 3; ++i) {
        List3[size_t(i)] = makeList("List3", i, kSectionLeft + i * kListStep);
        connect(List3[size_t(i)], &QListWidget::currentRowChanged, this, [this, i] { List3_Click(i); });
    }
}

void frmCtl::buildKeypadPanel(QFrame* frame) {
    // The display: route digits, a fixed "-", section digits.
    Label2[0] = named(new QLabel(frame), indexed("Label2", 0));
    Label2[1] = named(new QLabel(QStringLiteral("-"), frame), indexed("Label2", 1));
    Label2[2] = named(new QLabel(frame), indexed("Label2", 2));
    for (QLabel* l : Label2)
        paintDisplay(l);
    Label2[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2[1]->setAlignment(Qt::AlignCenter);
    Label2[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(Label2[0], 120, 120, 1650, 480);
    place(Label2[1], 1770, 120, 300, 480);
    place(Label2[2], 2070, 120, 930, 480);
    Label2[0]->setContentsMargins(0, 0, 2, 0);
    Label2[2]->setContentsMargins(0, 0, 6, 0);

    // Twelve keys of 30 x 27 pixels in three rows of four; each key is
    // rounded to the outline (2, 2)-(28, 25) with 2 x 2 corners.
    static constexpr int kLayout[3][4] = {{1, 2, 3, 10}, {4, 5, 6, 11}, {7, 8, 9, 0}};
    constexpr int kKeyLeft = 480, kKeyTop = 750, kKeyStepX = 570, kKeyStepY = 495;
    // The face is drawn inside the outline, so the rounded edge shows.
    static const QString kKeyStyle =
        QStringLiteral("QPushButton { margin: 2px 2px 2px 2px; border: 1px solid #6b6b6b; border-radius: 2px;"
                       " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfbfb, stop:1 #d8d8d8); }"
                       "QPushButton:pressed { background: #c4c4c4; }"
                       "QPushButton:disabled { color: #9a9a9a; border-color: #aaaaaa; }");
    QPainterPath outline;
    outline.addRoundedRect(QRectF(2, 2, 26, 23), 1.0, 1.0);
    const QRegion keyShape(outline.toFillPolygon().toPolygon());
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            const int k = kLayout[row][col];
            const QString caption = k == 10   ? QStringLiteral("系統")
                                    : k == 11 ? QStringLiteral("区間")
                                              : QString::number(k);
            auto* key = named(new QPushButton(caption, frame), indexed("CommandButton1", k));
            key->setFont(pixelFont(font(), k >= 10 ? 10 : 14, true));
            key->setStyleSheet(kKeyStyle);
            key->setGeometry(core::twipsToPixels(kKeyLeft + col * kKeyStepX),
                             core::twipsToPixels(kKeyTop + row * kKeyStepY), 30, 27);
            KeyRgn[size_t(k)] = keyShape;
            key->setMask(keyShape);
            connect(key, &QPushButton::clicked, this, [this, k] { CommandButton1_Click(k); });
            CommandButton1[size_t(k)] = key;
        }
    }
}

bool frmCtl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int k = 0; k < 2; ++k) {
            if (watched == Frame1[size_t(k)]) {
                Frame1_DblClick(k);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmCtl::Frame1_DblClick(int index) {
    if (index < 0 || index > 1)
        return;
    PanelIndex = qint16(index);
    // Frame index goes to the back; the other one is the only one shown.
    QFrame* back = Frame1[size_t(index)];
    QFrame* front = Frame1[size_t(1 - index)];
    back->lower();
    back->hide();
    front->show();
    front->raise();
}

// ---- Stepping, blanking, options, version, fold-out -----------------------

void frmCtl::buildCommandColumn() {
    Command2[1] = named(new QPushButton(QStringLiteral("データ送り"), this), indexed("Command2", 1));
    place(Command2[1], 3360, 150, 1920, 660);
    Command2[1]->setFont(pixelFont(font(), 15, true));
    Command2[0] = named(new QPushButton(QStringLiteral("データ戻し"), this), indexed("Command2", 0));
    place(Command2[0], 3360, 870, 1920, 480);
    Command2[0]->setFont(pixelFont(font(), 13, true));
    for (int k = 0; k < 2; ++k) {
        Command2[size_t(k)]->setEnabled(false);
        connect(Command2[size_t(k)], &QPushButton::clicked, this, [this, k] { Command2_Click(k); });
    }

    Check1 = named(new QCheckBox(QStringLiteral("表示消去"), this), QStringLiteral("Check1"));
    place(Check1, 3420, 1410, 1860, 300);
    Check1->setEnabled(false);
    connect(Check1, &QCheckBox::toggled, this, &frmCtl::Check1_Click);

    Command4 = named(new QPushButton(QStringLiteral("設定..."), this), QStringLiteral("Command4"));
    place(Command4, 120, 4500, 1440, 390);
    connect(Command4, &QPushButton::clicked, this, &frmCtl::Command4_Click);
    Command8 = named(new QPushButton(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), this), QStringLiteral("Command8"));
    place(Command8, 1620, 4500, 1440, 390);
    connect(Command8, &QPushButton::clicked, this, &frmCtl::Command8_Click);

    Check4 = named(new QPushButton(QStringLiteral(">>"), this), QStringLiteral("Check4"));
    Check4->setCheckable(true);
    Check4->setToolTip(QStringLiteral("整理券プレビューを開きます"));
    place(Check4, 4380, 4500, 900, 390);
    connect(Check4, &QPushButton::toggled, this, &frmCtl::Check4_Click);
}

void frmCtl::buildLateNightFrame() {
    fraLateNight = named(new QGroupBox(this), QStringLiteral("fraLateNight"));
    place(fraLateNight, 120, 3240, 3120, 1140);

    Check2 = named(new QCheckBox(QStringLiteral("深夜料金"), fraLateNight), QStringLiteral("Check2"));
    place(Check2, 120, 90, 2000, 300);

    // Both bars run from the larger value at the left end to the smaller at
    // the right, and start at the right end.
    struct BarDef {
        const char* caption;
        int maximum, minimum, initial, left;
    };
    const BarDef bars[2] = {{"ｽｸﾛｰﾙ速度", 2000, 1, 1, 120}, {"ｽｸﾛｰﾙ間隔", 3000, 0, 0, 1620}};
    for (int k = 0; k < 2; ++k) {
        const BarDef& b = bars[k];
        auto* caption = named(new QLabel(QString::fromUtf8(b.caption), fraLateNight), indexed("lblScroll", k));
        place(caption, b.left, 450, 900, 240);
        auto* value = named(new QLabel(fraLateNight), indexed("Label1", k));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        place(value, b.left + 900, 450, 480, 240);
        auto* bar = named(new ReversedScrollBar(fraLateNight), indexed("HScroll1", k));
        bar->setRange(b.minimum, b.maximum);
        bar->setSingleStep(1);
        bar->setPageStep(k == 0 ? 100 : 250);
        bar->setValue(b.initial);
        place(bar, b.left, 720, 1380, 255);
        value->setText(QString::number(bar->value()));
        HScroll1[size_t(k)] = bar;
        Label1[size_t(k)] = value;
        connect(bar, &QScrollBar::valueChanged, this, [this, k] { HScroll1_Change(k); });
    }
}

void frmCtl::HScroll1_Change(int index) {
    if (index < 0 || index > 1)
        return;
    Label1[size_t(index)]->setText(QString::number(HScroll1[size_t(index)]->value()));
    // Both values go to the stop-name display, whichever bar moved.
    if (board_) {
        board_->ChimeiCtl->setSpeed(qint16(HScroll1[0]->value()));
        board_->ChimeiCtl->setScrollStartWait(HScroll1[1]->value());
    }
}

void frmCtl::Command4_Click() {
    if (!options_)
        return;
    QPointer<Form1> board = board_;
    if (board)
        board->setEnabled(false);
    setEnabled(false);
    {
        // Modal: the options window runs until it is hidden again (OK or
        // its close button).
        QEventLoop loop;
        struct HideWatch : QObject {
            QEventLoop* loop;
            explicit HideWatch(QEventLoop* l) : loop(l) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Hide)
                    loop->quit();
                return false;
            }
        } watch(&loop);
        options_->installEventFilter(&watch);
        options_->setWindowModality(Qt::ApplicationModal);
        options_->show();
        options_->raise();
        options_->activateWindow();
        if (options_->isVisible())
            loop.exec();
        if (options_) {
            options_->removeEventFilter(&watch);
            options_->setWindowModality(Qt::NonModal);
        }
    }
    if (board)
        board->setEnabled(true);
    setEnabled(true);
    if (board) {
        setStopName(QString());
        showStopName(fare_->row(fare_->CurStop + 1).Chimei);
    }
}

QString frmCtl::versionText(const QString& exeBaseName, int major, int minor, int revision) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("型番：") + exeBaseName + crlf +
           QStringLiteral("バージョン：%1.%2.%3").arg(major).arg(minor).arg(revision) + crlf + crlf +
           QStringLiteral("路線バス運賃表示器シミュレーター") + crlf +
           QStringLiteral("Qt %1 を使って作られています。").arg(QLatin1String(qVersion())) + crlf +
           QStringLiteral("音声合成：Open JTalk");
}

void frmCtl::Command8_Click() {
    const QString text = versionText(exeBaseName(), K27_VERSION_MAJOR, K27_VERSION_MINOR, K27_VERSION_PATCH);
    QPointer<Form1> board = board_;
    if (board)
        board->setEnabled(false);
    platform::helper().Call_dlg110(this, 1, text);
    if (board)
        board->setEnabled(true);
}

void frmCtl::Check4_Click() {
    const bool open = Check4->isChecked();
    Check4->setText(open ? QStringLiteral("<<") : QStringLiteral(">>"));
    Check4->setToolTip(open ? QStringLiteral("整理券プレビューを隠します")
                            : QStringLiteral("整理券プレビューを開きます"));
    fitWindow();
    if (open)
        keepOnScreen();
}

void frmCtl::keepOnScreen() {
    // The panel starts at the screen's bottom-right corner, and a tall
    // ticket makes the folded-out panel taller than the screen's lower part:
    // a preview that opened past an edge could not be seen. The panel moves
    // as far as it has to; a panel larger than the screen keeps its top-left
    // corner (title bar and keypad) in sight.
    if (!isVisible() || !screen())
        return;
    const QRect area = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    QPoint to = frame.topLeft();
    if (frame.right() > area.right())
        to.rx() -= frame.right() - area.right();
    if (frame.bottom() > area.bottom())
        to.ry() -= frame.bottom() - area.bottom();
    to.setX(std::max(to.x(), area.left()));
    to.setY(std::max(to.y(), area.top()));
    if (to != frame.topLeft())
        move(to);
}

void frmCtl::fitWindow() {
    const bool open = Check4 && Check4->isChecked();
    int height = core::twipsToPixels(kHeightTwips);
    // A ticket taller than the panel still shows whole when folded out.
    if (open && picSeirikenPrev)
        height = std::max(height, picSeirikenPrev->geometry().bottom() + 1 + core::twipsToPixels(120));
    setFixedSize(core::twipsToPixels(open ? kFoldedOutTwips : kFoldedInTwips), height);
}

// ---- Ticket preview ----------------------------------------------------------

void frmCtl::buildPreview() {
    Combo1 = named(new QComboBox(this), QStringLiteral("Combo1"));
    Combo1->setPlaceholderText(QStringLiteral("（社名なし）"));
    Combo1->setToolTip(QStringLiteral("整理券に印字する社名"));
    place(Combo1, kPreviewLeftTwips, 180, kPreviewWidthTwips, 360);

    picSeirikenPrev = new SeirikenPreview(this);
    picSeirikenPrev->setGeometry(
        core::twipsRect(kPreviewLeftTwips, kPreviewTopTwips, kPreviewWidthTwips, kPreviewHeightTwips));

    MnuHide = named(new QMenu(this), QStringLiteral("MnuHide"));
    MnuHideCopy = MnuHide->addAction(QStringLiteral("コピー(&C)"));
    MnuHideCopy->setObjectName(QStringLiteral("MnuHideCopy"));
    connect(MnuHideCopy, &QAction::triggered, this, &frmCtl::MnuHideCopy_Click);
    connect(picSeirikenPrev, &SeirikenPreview::rightButtonDown, this,
            [this](const QPoint& globalPos) { MnuHide->popup(globalPos); });
}

void frmCtl::setPreviewSizeTwips(qint32 width, qint32 height) {
    const int w = core::twipsToPixels(qBound(0, width, kPreviewMaxTwips));
    const int h = core::twipsToPixels(qBound(0, height, kPreviewMaxTwips));
    picSeirikenPrev->resize(w, h);
    fitWindow();
    if (Check4->isChecked())
        keepOnScreen();
}

void frmCtl::MnuHideCopy_Click() {
    platform::Clipboard& clipboard = platform::clipboard();
    clipboard.clear();
    clipboard.setImage(picSeirikenPrev->image());
}

// ---- Backlight ---------------------------------------------------------------

void frmCtl::buildBacklightFrame() {
    fraBacklight = named(new QGroupBox(QStringLiteral("バックライト"), this), QStringLiteral("fraBacklight"));
    place(fraBacklight, 3360, 1770, 1920, 1350);
    const std::array<QString, 3> captions = {QStringLiteral("OFF"), QStringLiteral("ON1"), QStringLiteral("ON2")};
    // An explicit group, so that option buttons the panel has elsewhere
    // never take part in this choice.
    auto* group = new QButtonGroup(fraBacklight);
    for (int i = 0; i < 3; ++i) {
        auto* b = named(new QRadioButton(captions[size_t(i)], fraBacklight), indexed("Option4", i));
        group->addButton(b, i);
        place(b, 180, 300 + i * 330, 1650, 300);
        Option4[size_t(i)] = b;
        connect(b, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option4_Click(i);
        });
    }
    Option4[0]->setChecked(true);
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

// ---- Settings record ---------------------------------------------------------

void frmCtl::GetCtrlDataInfo(CtlPanelRec& rec) const {
    rec.CtlLeft = core::pixelsToTwips(x());
    rec.CtlTop = core::pixelsToTwips(y());
    rec.ScrollSpeed = HScroll1[0]->value();
    rec.ScrollWait = HScroll1[1]->value();
    rec.PanelIndex = PanelIndex;
    rec.PreviewOpen = Check4->isChecked() ? 1 : 0;
    rec.LateNight = Check2->checkState() == Qt::Checked ? 1 : Check2->checkState() == Qt::PartiallyChecked ? 2 : 0;
}

void frmCtl::SetCtrlDataInfo(const CtlPanelRec& rec) {
    move(core::twipsToPixels(rec.CtlLeft), core::twipsToPixels(rec.CtlTop));

    // The bars hold 16-bit values within their own range.
    for (int k = 0; k < 2; ++k) {
        const qint32 v = k == 0 ? rec.ScrollSpeed : rec.ScrollWait;
        if (v < -32768 || v > 32767)
            throw core::RuntimeError(kOverflow, QStringLiteral("オーバーフローしました。"));
        QScrollBar* bar = HScroll1[size_t(k)];
        if (v < bar->minimum() || v > bar->maximum())
            rejectValue();
        bar->setValue(v);
    }

    if (rec.PanelIndex != 0 && rec.PanelIndex != 1)
        throw core::RuntimeError(kNoSuchControl,
                                 QStringLiteral("コントロール配列の要素 '%1' は存在しません。").arg(rec.PanelIndex));
    PanelIndex = rec.PanelIndex;

    // Check values are 0, 1 or 2 (greyed, which the toggle shows as up).
    auto checkValue = [](qint16 v) {
        if (v < 0 || v > 2)
            rejectValue();
        return v;
    };
    Check4->setChecked(checkValue(rec.PreviewOpen) == 1);
    const qint16 lateNight = checkValue(rec.LateNight);
    Check2->setCheckState(lateNight == 1 ? Qt::Checked : lateNight == 2 ? Qt::PartiallyChecked : Qt::Unchecked);

    Frame1_DblClick(PanelIndex);
}
