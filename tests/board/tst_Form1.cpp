// The board window: where its hundred cells sit, the ticket-number schemes,
// the digit settings double-click, the clock, the outline and the built-in
// panel picture.
#include "board/Form1.h"
#include "board/PanelPicture.h"
#include "board/degit/M_Degit.h"
#include "board/degit/SegmentFace.h"
#include "board/mdlK27_000.h"
#include "core/Twips.h"
#include "platform/Fonts.h"
#include "tests/board/DegitProbe.h"
#include "tests/support/TestSupport.h"

#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTimer>

namespace {
// Pixel positions written out by hand from the board's twips grid
// (15 twips to the pixel).
constexpr int kDegitX[10] = {54, 110, 167, 223, 280, 336, 392, 449, 506, 563};
constexpr int kLabelX[10] = {54, 110, 165, 222, 280, 336, 392, 449, 506, 563};
constexpr int kDegitY[5] = {47, 86, 124, 163, 202};
constexpr int kLabelY[5] = {30, 67, 106, 145, 184};

int labelX(int n) {
    switch (n) {
    case 2: return 111;
    case 12: return 109;
    case 15: return 279;
    case 16: return 334;
    case 17: return 390;
    case 18: return 447;
    case 19: return 504;
    case 33:
    case 43: return 166;
    default: return kLabelX[(n - 1) % 10];
    }
}

QString captions(Form1& board, int from, int to) {
    QStringList out;
    for (int n = from; n <= to; ++n)
        out << board.lblSeiriNum[size_t(n)]->text();
    return out.join(QLatin1Char(','));
}

// Mouse events as the window system delivers them: to the widget under the
// point (ticket numbers let presses through to the board), the moves to the
// window that holds the mouse. Points are in board coordinates, moves are
// given on the screen.
QWidget* pressAt(Form1& board, QPoint p) {
    QWidget* target = board.childAt(p);
    if (!target)
        target = &board;
    QTest::mousePress(target, Qt::LeftButton, {}, target->mapFrom(&board, p));
    return target;
}
void releaseAt(Form1& board, QPoint p) {
    QWidget* target = board.childAt(p);
    if (!target)
        target = &board;
    QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFrom(&board, p));
}
void moveTo(Form1& board, QPoint screen) {
    QTest::mouseMove(&board, screen - board.pos());
}
void showAt(Form1& board, QPoint where) {
    board.move(where);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
}

QString wide(const char* ascii) {
    return mdlK27_000::fullWidthNumber(QString::fromLatin1(ascii).toInt(), false);
}
} // namespace

class TestForm1 : public testsupport::DoublesFixture {
    Q_OBJECT

private Q_SLOTS:
    void windowAndCellsSitOnTheGrid() {
        Form1 board;
        QCOMPARE(board.size(), QSize(635, 245));
        QVERIFY(board.windowFlags() & Qt::FramelessWindowHint);
        for (int n = 1; n <= 50; ++n) {
            const int r = (n - 1) / 10, c = (n - 1) % 10;
            auto* d = board.findChild<M_Degit*>(QStringLiteral("Degit(%1)").arg(n));
            auto* l = board.findChild<QLabel*>(QStringLiteral("lblSeiriNum(%1)").arg(n));
            QVERIFY(d && l);
            QCOMPARE(d, board.Degit[size_t(n)]);
            QCOMPARE(d->geometry(), QRect(kDegitX[c], kDegitY[r], 52, 20));
            QCOMPARE(l->geometry(), QRect(labelX(n), kLabelY[r], 52, 16));
        }
        QVERIFY(board.findChild<M_Degit*>(QStringLiteral("Degit(0)"))->isHidden());
        QVERIFY(board.findChild<QLabel*>(QStringLiteral("lblSeiriNum(0)"))->isHidden());
        auto* hour = board.findChild<M_Degit*>(QStringLiteral("TimeDegit(0)"));
        auto* minute = board.findChild<M_Degit*>(QStringLiteral("TimeDegit(1)"));
        QCOMPARE(hour->geometry(), QRect(363, 2, 26, 20));
        QCOMPARE(minute->geometry(), QRect(390, 2, 26, 20));
        QCOMPARE(hour->Keta(), qint16(2));
        QVERIFY(hour->isHidden() && minute->isHidden());
        QVERIFY(board.findChild<QWidget*>(QStringLiteral("ChimeiCtl"))->isHidden());
        QCOMPARE(board.Timer1->interval(), 1000);
    }

    void startUpBlanksTheDigitsAndShowsThePanel() {
        Form1 board;
        board.Degit[7]->setValue(230);
        board.Form_Load();
        for (int n = 1; n <= 50; ++n)
            QCOMPARE(degitprobe::litText(*board.Degit[size_t(n)]), QStringLiteral("    "));
        QVERIFY(!board.Picture().isNull());
        QCOMPARE(board.Picture().size(), QSize(635, 244));
        QCOMPARE(board.imgRes[1]->pixmap().toImage(), board.Picture().toImage());
        QCOMPARE(board.imgRes[2]->pixmap().toImage(), board.Picture().toImage());
        QCOMPARE(board.lblSeiriNum[1]->text(), QStringLiteral("１"));
        QCOMPARE(board.lblSeiriNum[50]->text(), QStringLiteral("５０"));
        QCOMPARE(board.lblSeiriNum[1]->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    }

    void numberingSchemes_data() {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<bool>("twoDigit");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("face");
        const QString num = platform::kFaceTicketNumber, goth = platform::kFacePGothic;
        QTest::newRow("0") << 0 << false << wide("1") << wide("2") << wide("50") << num;
        QTest::newRow("0 zero") << 0 << true << "０１"
                                << "０２" << wide("50") << num;
        QTest::newRow("1") << 1 << false << wide("0") << wide("1") << wide("49") << num;
        QTest::newRow("1 zero") << 1 << true << "００"
                                << "０１" << wide("49") << num;
        const char* words[] = {"な し", "無 券", "券なし", "券無し", ""};
        for (int k = 0; k < 5; ++k) {
            const QString w = QString::fromUtf8(words[k]);
            const int even = 2 + 2 * k, odd = 3 + 2 * k;
            QTest::newRow(qPrintable(QString::number(even))) << even << false << w << wide("1") << wide("49") << goth;
            QTest::newRow(qPrintable(QStringLiteral("%1 zero").arg(even)))
                << even << true << w << "０１" << wide("49") << goth;
            QTest::newRow(qPrintable(QString::number(odd))) << odd << false << w << wide("2") << wide("50") << goth;
            QTest::newRow(qPrintable(QStringLiteral("%1 zero").arg(odd)))
                << odd << true << w << "０２" << wide("50") << goth;
        }
    }
    void numberingSchemes() {
        QFETCH(int, scheme);
        QFETCH(bool, twoDigit);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, last);
        QFETCH(QString, face);
        Form1 board;
        mdlK27_000::SeirikenNumSet(board, qint16(scheme), twoDigit ? -1 : 0);
        QCOMPARE(board.lblSeiriNum[1]->text(), first);
        QCOMPARE(board.lblSeiriNum[2]->text(), second);
        QCOMPARE(board.lblSeiriNum[50]->text(), last);
        QCOMPARE(platform::faceName(*board.lblSeiriNum[1]), face);
        // Cells in between follow the same count.
        const int offset = second == wide("1") || second == QStringLiteral("０１") ? 1 : 0;
        QCOMPARE(board.lblSeiriNum[25]->text(), mdlK27_000::fullWidthNumber(25 - offset, twoDigit));
        QCOMPARE(board.lblSeiriNum[9]->text(), mdlK27_000::fullWidthNumber(9 - offset, twoDigit));
        QVERIFY(d_->messages.shown.isEmpty());
    }

    void schemesOutsideTheListTouchOnlyCellOne() {
        Form1 board;
        mdlK27_000::SeirikenNumSet(board, 1, 0);
        mdlK27_000::SeirikenNumSet(board, 12, 0);
        QCOMPARE(board.lblSeiriNum[1]->text(), QString());
        QCOMPARE(platform::faceName(*board.lblSeiriNum[1]), platform::kFacePGothic);
        QCOMPARE(board.lblSeiriNum[2]->text(), wide("1"));
        mdlK27_000::SeirikenNumSet(board, -1, 0);
        QCOMPARE(platform::faceName(*board.lblSeiriNum[1]), platform::kFaceTicketNumber);
        QCOMPARE(board.lblSeiriNum[1]->text(), QString());
        QCOMPARE(board.lblSeiriNum[50]->text(), wide("49"));
    }

    void captionErrorShowsItsBoxAndKeepsWhatWasSet() {
        Form1 board;
        QLabel* missing = board.lblSeiriNum[30];
        board.lblSeiriNum[30] = nullptr;
        mdlK27_000::SeirikenNumSet(board, 1, 0);
        board.lblSeiriNum[30] = missing;
        QCOMPARE(d_->messages.shown.size(), 1);
        const auto& box = d_->messages.shown.first();
        QCOMPARE(box.title, QStringLiteral("エラー！"));
        QCOMPARE(box.icon, platform::MsgIcon::Critical);
        QVERIFY(box.prompt.startsWith(QStringLiteral("エラーです！\n\nコード：91\n\n内容：")));
        QVERIFY(box.prompt.endsWith(QStringLiteral("\n\nモジュール：IniIO-SeirikenNumSet( )")));
        QCOMPARE(captions(board, 1, 3), QStringLiteral("０,１,２"));
        QCOMPARE(board.lblSeiriNum[29]->text(), wide("28"));
        QCOMPARE(board.lblSeiriNum[31]->text(), wide("31")); // not reached
    }

    void doubleClickAppliesTheDialogToAllFiftyDigits() {
        Form1 board;
        QWidget panel;
        board.setControlPanel(&panel);
        board.Form_Load();
        for (int n = 1; n <= 50; ++n)
            board.Degit[size_t(n)]->setValue(n * 10);
        bool panelDisabledDuringDialog = false;
        d_->helper.duringDlg100 = [&] { panelDisabledDuringDialog = !panel.isEnabled(); };
        d_->helper.dlg100Result = 1;
        d_->helper.dlg100ZeroMode = 1;
        d_->helper.dlg100Shift = 1;
        d_->helper.dlg100FillZero = 3;

        QTest::mouseDClick(board.Degit[7], Qt::LeftButton);

        QVERIFY(panelDisabledDuringDialog);
        QVERIFY(panel.isEnabled());
        QCOMPARE(d_->helper.count(QStringLiteral("Call_dlg100")), 1);
        for (int n = 1; n <= 50; ++n) {
            M_Degit* d = board.Degit[size_t(n)];
            QCOMPARE(d->ZeroMode(), qint16(1));
            QCOMPARE(d->Shift(), qint16(1));
            QCOMPARE(d->FillZero(), qint16(3));
            QCOMPARE(d->Value().toInt(), n * 10);
        }
        QCOMPARE(degitprobe::litText(*board.Degit[1]), QStringLiteral("010 "));
        QCOMPARE(degitprobe::litText(*board.Degit[50]), QStringLiteral("500 "));
        // The clock and the spare keep their own settings.
        QCOMPARE(board.TimeDegit[0]->Shift(), qint16(0));
        QCOMPARE(board.Degit[0]->FillZero(), qint16(0));
    }

    void cancelledDialogTouchesOnlyTheClickedDigit() {
        Form1 board;
        QWidget panel;
        board.setControlPanel(&panel);
        board.Degit[3]->setValue(5);
        d_->helper.dlg100Result = 0;
        d_->helper.dlg100FillZero = 2;
        board.Degit_DblClick(7);
        QCOMPARE(board.Degit[7]->FillZero(), qint16(2));
        QCOMPARE(board.Degit[3]->FillZero(), qint16(0));
        QCOMPARE(degitprobe::litText(*board.Degit[3]), QStringLiteral("   5"));
        QVERIFY(panel.isEnabled());

        // Any answer but 1 counts as not accepted.
        d_->helper.dlg100Result = 2;
        board.Degit_DblClick(8);
        QCOMPARE(board.Degit[3]->FillZero(), qint16(0));
    }

    void doubleClickWithoutUserSetDoesNothing() {
        Form1 board;
        QWidget panel;
        board.setControlPanel(&panel);
        board.Degit[7]->setUserSet(false);
        QTest::mouseDClick(board.Degit[7], Qt::LeftButton);
        QCOMPARE(d_->helper.count(QStringLiteral("Call_dlg100")), 0);
        QVERIFY(panel.isEnabled());
    }

    void clockShowsHourAndMinuteAsNumbers() {
        d_->clock.current = QDateTime(QDate(2026, 12, 7), QTime(9, 5, 42));
        Form1 board;
        board.Timer1_Timer();
        QCOMPARE(board.TimeDegit[0]->Value(), QVariant(9.0));
        QCOMPARE(board.TimeDegit[1]->Value(), QVariant(5.0));
        QCOMPARE(degitprobe::litText(*board.TimeDegit[0]), QStringLiteral(" 9"));
        d_->clock.current = QDateTime(QDate(2026, 12, 7), QTime(23, 0, 0));
        board.Timer1_Timer();
        QCOMPARE(board.TimeDegit[0]->Value(), QVariant(23.0));
        // Zero minutes show blank under the default zero mode.
        QCOMPARE(degitprobe::litText(*board.TimeDegit[1]), QStringLiteral("  "));
    }

    void outlineIsRounded() {
        Form1 board;
        board.Form_Load();
        board.placeAndShape();
        QCOMPARE(board.pos(), QPoint(0, 0));
        const QRegion mask = board.mask();
        QVERIFY(!mask.contains(QPoint(0, 0)));
        QVERIFY(!mask.contains(QPoint(634, 244)));
        QVERIFY(mask.contains(QPoint(6, 0)));
        QVERIFY(mask.contains(QPoint(317, 122)));
        QVERIFY(mask.contains(QPoint(0, 122)));
        // Moving keeps the shape.
        board.move(40, 30);
        QCOMPARE(board.mask(), mask);
    }

    void positionInTwipsForTheSettingsFile() {
        PlatformDoubles doubles;
        Form1 board;
        BoardPosRec rec;
        board.move(40, -7); // left of or above the primary screen is a position too
        board.GetFormInfo(rec);
        QCOMPARE(rec, (BoardPosRec{600, -105}));

        // A saved position comes back to the pixel.
        Form1 restarted;
        restarted.SetFormInfo(rec);
        QCOMPARE(restarted.pos(), QPoint(40, -7));

        // Twips between pixels settle on the nearest pixel, and from then
        // on save and restore agree.
        restarted.SetFormInfo({100, 7});
        QCOMPARE(restarted.pos(), QPoint(7, 0));
        restarted.GetFormInfo(rec);
        QCOMPARE(rec, (BoardPosRec{105, 0}));
    }

    void pressesOnTheFareDigitsNeverMoveTheBoard() {
        PlatformDoubles doubles;
        Form1 board;
        board.Form_Load();
        showAt(board, QPoint(100, 80));
        for (int n : {1, 7, 12, 50}) {
            const QPoint centre = board.Degit[size_t(n)]->geometry().center();
            QCOMPARE(pressAt(board, centre), static_cast<QWidget*>(board.Degit[size_t(n)]));
            // Even a mouse that moves with the button held leaves it in place.
            moveTo(board, board.mapToGlobal(centre) + QPoint(40, 30));
            releaseAt(board, centre);
        }
        QVERIFY(doubles.windowMover.requests.isEmpty());
        QCOMPARE(board.pos(), QPoint(100, 80));
    }

    void pressesOnThePanelAndTheTicketNumbersStartAMove() {
        PlatformDoubles doubles;
        doubles.windowMover.accept = true; // the window manager moves it
        Form1 board;
        board.Form_Load();
        showAt(board, QPoint(100, 80));
        // The free panel, and ticket numbers, which let presses through.
        const QPoint points[] = {QPoint(20, 120), QPoint(600, 10), board.lblSeiriNum[1]->geometry().center(),
                                 board.lblSeiriNum[12]->geometry().center()};
        for (const QPoint& p : points) {
            QCOMPARE(pressAt(board, p), static_cast<QWidget*>(&board));
            releaseAt(board, p);
        }
        QCOMPARE(doubles.windowMover.requests.size(), 4);
        QCOMPARE(doubles.windowMover.requests.first().data(), static_cast<QWidget*>(&board));
        // The right button does not drag.
        QTest::mousePress(&board, Qt::RightButton, {}, QPoint(20, 120));
        QTest::mouseRelease(&board, Qt::RightButton, {}, QPoint(20, 120));
        QCOMPARE(doubles.windowMover.requests.size(), 4);
        // The window system's move leaves the window alone meanwhile.
        pressAt(board, QPoint(20, 120));
        moveTo(board, QPoint(300, 300));
        releaseAt(board, QPoint(20, 120));
        QCOMPARE(board.pos(), QPoint(100, 80));
    }

    void doubleClickOnAFareDigitOpensTheDialogWithoutAMove() {
        PlatformDoubles doubles;
        Form1 board;
        QWidget panel;
        board.setControlPanel(&panel);
        board.Form_Load();
        showAt(board, QPoint(100, 80));
        doubles.helper.dlg100Result = 0;
        // What the window system delivers for a double-click: press,
        // release, double-click, release.
        const QPoint centre = board.Degit[7]->geometry().center();
        pressAt(board, centre);
        releaseAt(board, centre);
        QTest::mouseDClick(board.Degit[7], Qt::LeftButton);
        releaseAt(board, centre);
        QCOMPARE(doubles.helper.count(QStringLiteral("Call_dlg100")), 1);
        QVERIFY(doubles.windowMover.requests.isEmpty());
        QVERIFY(panel.isEnabled());
    }

    void withoutASystemMoveTheBoardFollowsTheMouse() {
        PlatformDoubles doubles;
        // The real request: the offscreen platform refuses it, as window
        // managers without _NET_WM_MOVERESIZE do.
        platform::SystemWindowMover real;
        platform::ScopedInstall<platform::WindowMover> realMover(real);
        Form1 board;
        board.Form_Load();
        board.placeAndShape();
        showAt(board, QPoint(100, 80));
        const QRegion shape = board.mask();

        pressAt(board, QPoint(20, 120)); // at (120, 200) on the screen
        moveTo(board, QPoint(160, 230));
        QCOMPARE(board.pos(), QPoint(140, 110));
        moveTo(board, QPoint(90, 150));
        QCOMPARE(board.pos(), QPoint(70, 30));
        releaseAt(board, QPoint(20, 120));
        // After the release the board stays where it was left.
        moveTo(board, QPoint(400, 400));
        QCOMPARE(board.pos(), QPoint(70, 30));
        QCOMPARE(board.mask(), shape);

        // A press on a fare digit does not start following.
        const QPoint digit = board.Degit[7]->geometry().center();
        pressAt(board, digit);
        moveTo(board, QPoint(10, 10));
        releaseAt(board, digit);
        QCOMPARE(board.pos(), QPoint(70, 30));
    }

    void panelPictureLooksLikeABoard() {
        const QImage img = PanelPicture::draw();
        QCOMPARE(img.size(), QSize(635, 244));
        // Light-grey frame, white face.
        const QColor frame = img.pixelColor(3, 120);
        QVERIFY(frame.red() > 170 && frame.red() < 235 && qAbs(frame.red() - frame.blue()) < 8);
        QCOMPARE(img.pixelColor(300, 40), QColor(Qt::white));
        // Every fare digit lies on a dark block showing unlit segments.
        for (int n = 1; n <= 50; ++n) {
            const QRect t = Form1::degitRectTwips(n);
            const QRect r(t.x() / 15, t.y() / 15, 52, 20);
            QVERIFY2(img.pixelColor(r.x() + 1, r.bottom() - 1).lightness() < 100,
                     qPrintable(QStringLiteral("cell %1 has no dark block").arg(n)));
            int segmentPixels = 0;
            for (int x = r.left(); x <= r.right(); ++x)
                for (int y = r.top(); y <= r.bottom(); ++y)
                    segmentPixels += img.pixelColor(x, y) != img.pixelColor(r.x() + 1, r.bottom() - 1);
            QVERIFY2(segmentPixels > 60, "the block shows its unlit segments");
            // Above the block stays white for the ticket number.
            QCOMPARE(img.pixelColor(r.center().x(), r.top() - 8), QColor(Qt::white));
        }
        // 運 and 賃 are dark ink at the left, beside the first and fourth rows.
        auto inkIn = [&](QRect area) {
            int ink = 0;
            for (int x = area.left(); x <= area.right(); ++x)
                for (int y = area.top(); y <= area.bottom(); ++y)
                    ink += img.pixelColor(x, y).lightness() < 128;
            return ink;
        };
        QVERIFY(inkIn(QRect(10, 45, 42, 30)) > 80);
        QVERIFY(inkIn(QRect(10, 150, 42, 35)) > 80);
        QVERIFY(inkIn(QRect(10, 26, 42, 14)) > 20);
        QCOMPARE(inkIn(QRect(10, 100, 42, 30)), 0);
    }

    // The picture copies one drawn digit block to all fifty places: each must
    // be exactly what drawing that block in its place gives, segments and
    // rim, with nothing spilling onto the face around it.
    void copiedDigitBlocksMatchBlocksDrawnInPlace() {
        const QImage picture = PanelPicture::draw();
        QImage drawn = picture;
        QPainter p(&drawn);
        p.setRenderHint(QPainter::Antialiasing, true);
        for (int n = 1; n <= 50; ++n) {
            const QRect t = Form1::degitRectTwips(n);
            const QRect r = core::twipsRect(t.x(), t.y(), t.width(), t.height());
            QCOMPARE(r.size(), QSize(52, 20));
            p.setPen(Qt::NoPen);
            p.fillRect(r.adjusted(-1, -1, 1, 1), QColor(0x2E, 0x2E, 0x2E));
            p.fillRect(r, QColor(0x4A, 0x4A, 0x4A));
            const int cell = r.width() / 4;
            for (int i = 0; i < 4; ++i)
                SegmentFace::drawGlyph(p, QRectF(r.x() + i * cell, r.y() - 1, cell, r.height()), 0x7F,
                                       QColor(0x62, 0x62, 0x62), SegmentFace::Face::A);
        }
        p.end();
        QVERIFY2(drawn == picture, "A copied block differs from the block drawn in its place.");
        // The block alone: rim all round, segments inside it.
        const QImage block = PanelPicture::digitBlock(QSize(52, 20));
        QCOMPARE(block.size(), QSize(54, 22));
        QCOMPARE(block.pixelColor(0, 21), QColor(0x2E, 0x2E, 0x2E));
        QCOMPARE(block.pixelColor(53, 21), QColor(0x2E, 0x2E, 0x2E));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_Form1.moc"
