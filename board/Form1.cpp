#include "board/Form1.h"

#include "board/PanelPicture.h"
#include "board/chimei/ChimeiCtl_A.h"
#include "board/degit/M_Degit.h"
#include "board/mdlK27_000.h"
#include "core/ControlNames.h"
#include "core/Twips.h"
#include "platform/Clock.h"
#include "platform/ColorRef.h"
#include "platform/FirstPaintProbe.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/WindowShape.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {
constexpr std::array<int, 10> kDegitLeft = {810, 1650, 2505, 3345, 4200, 5040, 5880, 6735, 7590, 8445};
constexpr std::array<int, 10> kLabelLeft = {810, 1650, 2475, 3330, 4200, 5040, 5880, 6735, 7590, 8445};
constexpr std::array<int, 5> kDegitTop = {705, 1290, 1860, 2445, 3030};
constexpr std::array<int, 5> kLabelTop = {450, 1005, 1590, 2175, 2760};

// Ticket labels that sit a little off their column.
int labelLeftException(int n) {
    switch (n) {
    case 2: return 1665;
    case 12: return 1635;
    case 15: return 4185;
    case 16: return 5010;
    case 17: return 5850;
    case 18: return 6705;
    case 19: return 7560;
    case 33:
    case 43: return 2490;
    default: return -1;
    }
}

QLabel* makeTicketLabel(QWidget* parent, int index, const QRect& twips) {
    auto* l = new QLabel(parent);
    l->setObjectName(core::indexedName("lblSeiriNum", index));
    l->setGeometry(core::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    l->setAlignment(Qt::AlignCenter);
    l->setAttribute(Qt::WA_TranslucentBackground);
    // A press on a label drags the board like a press on the panel itself.
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    platform::useFaceFont(*l, platform::kFaceTicketNumber, 12.75, true);
    // The numbers start in the model's colour for the backlight's first
    // state, OFF.
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, platform::toQColor(mdlK27_000::modelPresets().seiriColors[0]));
    l->setPalette(pal);
    return l;
}
} // namespace

QRect Form1::degitRectTwips(int n) {
    const int r = (n - 1) / 10, c = (n - 1) % 10;
    return {kDegitLeft[size_t(c)], kDegitTop[size_t(r)], 780, 300};
}

QRect Form1::labelRectTwips(int n) {
    const int r = (n - 1) / 10, c = (n - 1) % 10;
    const int exception = labelLeftException(n);
    return {exception >= 0 ? exception : kLabelLeft[size_t(c)], kLabelTop[size_t(r)], 780, 240};
}

Form1::Form1(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(core::twipsSize(kWidthTwips, kHeightTwips));
    setAutoFillBackground(false);

    for (int i = 0; i < 3; ++i) {
        imgRes[size_t(i)] = new QLabel(this);
        imgRes[size_t(i)]->setObjectName(core::indexedName("imgRes", i));
        imgRes[size_t(i)]->hide();
    }
    imgRes[0]->setPixmap(QPixmap::fromImage(PanelPicture::draw()));
    imgRes[1]->setGeometry(core::twipsRect(2985, 4200, 8940, 3660));
    imgRes[2]->setGeometry(core::twipsRect(6270, 4650, 2760, 1485));

    // Ticket numbers first, so the fare digits stack above them.
    lblSeiriNum[0] = makeTicketLabel(this, 0, QRect(1185, 45, 780, 240));
    lblSeiriNum[0]->setText(QStringLiteral("１"));
    lblSeiriNum[0]->hide();
    for (int n = 1; n <= 50; ++n) {
        lblSeiriNum[size_t(n)] = makeTicketLabel(this, n, labelRectTwips(n));
        lblSeiriNum[size_t(n)]->setText(mdlK27_000::fullWidthNumber(n, false));
    }

    auto makeDegit = [this](const QString& name, const QRect& twips) {
        auto* d = new M_Degit(this);
        d->setObjectName(name);
        d->setGeometry(core::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
        return d;
    };
    Degit[0] = makeDegit(core::indexedName("Degit", 0), QRect(2100, 30, 780, 300));
    Degit[0]->hide();
    for (int n = 1; n <= 50; ++n) {
        Degit[size_t(n)] = makeDegit(core::indexedName("Degit", n), degitRectTwips(n));
        connect(Degit[size_t(n)], &M_Degit::DblClick, this, [this, n] { Degit_DblClick(n); });
    }
    TimeDegit[0] = makeDegit(core::indexedName("TimeDegit", 0), QRect(5445, 30, 390, 300));
    TimeDegit[1] = makeDegit(core::indexedName("TimeDegit", 1), QRect(5850, 30, 390, 300));
    for (M_Degit* t : TimeDegit) {
        // Designed as two-digit displays; restored without resizing, so the
        // geometry above keeps the two-cell size.
        t->setKeta(2);
        t->setGeometry(t->geometry().x(), t->geometry().y(), core::twipsToPixels(390), core::twipsToPixels(300));
        t->hide();
    }

    ChimeiCtl = new ChimeiCtl_A(this);
    ChimeiCtl->setObjectName(QStringLiteral("ChimeiCtl"));
    ChimeiCtl->setGeometry(core::twipsRect(195, 3405, 555, 2940));
    ChimeiCtl->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    Timer1->start();

    dragger_ = new platform::WindowDragger(this);
    platform::watchFirstPaint(this);
}

Form1::~Form1() = default;

void Form1::Form_Load() {
    mdlK27_000::InitBoardDegits(*this);
    mdlK27_000::SetModelDefaults(*this);
}

void Form1::placeAndShape() {
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    move(where ? where->availableGeometry().topLeft() : QPoint(0, 0));
    platform::applyRoundRegion(this, 12, 12);
    update();
}

void Form1::DeleteRgn() {
    // The region belongs to the window since it was applied; nothing to free.
}

void Form1::GetFormInfo(BoardPosRec& rec) const {
    rec.BoardLeft = core::roundTwips(double(x()) * core::kTwipsPerPixel);
    rec.BoardTop = core::roundTwips(double(y()) * core::kTwipsPerPixel);
}

void Form1::SetFormInfo(const BoardPosRec& rec) {
    // To the nearest pixel: a position saved by this program comes back
    // exactly, and any other settles on the pixel the next save writes.
    move(core::twipsToPixels(rec.BoardLeft), core::twipsToPixels(rec.BoardTop));
}

void Form1::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void Form1::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void Form1::Timer1_Timer() {
    const QString now = platform::clock().now().toString(QStringLiteral("HH:mm:ss"));
    TimeDegit[0]->setValue(now.mid(0, 2).toDouble());
    TimeDegit[1]->setValue(now.mid(3, 2).toDouble());
}

void Form1::Degit_DblClick(int index) {
    if (index < 1 || index > 50)
        return;
    M_Degit* clicked = Degit[size_t(index)];
    if (!clicked->UserSet())
        return;
    if (controlPanel_)
        controlPanel_->setEnabled(false);
    if (clicked->ShowSetDlg() == 1) {
        const qint16 zero = clicked->ZeroMode();
        const qint16 shift = clicked->Shift();
        const qint16 fill = clicked->FillZero();
        for (int n = 1; n <= 50; ++n) {
            M_Degit* d = Degit[size_t(n)];
            const QVariant value = d->Value();
            d->setShift(shift);
            d->setFillZero(fill);
            d->setZeroMode(zero);
            d->setValue(value);
        }
    }
    if (controlPanel_)
        controlPanel_->setEnabled(true);
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xC0, 0xC0, 0xC0));
    if (!picture_.isNull())
        p.drawPixmap(0, 0, picture_);
}

void Form1::mousePressEvent(QMouseEvent* event) {
    // Only presses on the board's own surface arrive here: the ticket
    // numbers let presses through, the fare digits keep theirs.
    if (event->button() == Qt::LeftButton) {
        dragger_->press(event);
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}
