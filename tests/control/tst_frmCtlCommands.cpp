// The control panel's commands besides the reset: stepping and its sounds,
// announcements that step the board, blanking, scroll settings, the panel
// swap, the options and version dialogs, the ticket preview and the
// settings record.
#include "control/SeirikenPreview.h"
#include "core/RuntimeError.h"
#include "core/Twips.h"
#include "tests/control/PanelFixture.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

class tst_frmCtlCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { mdlM_Tape::reset(); }

    void steppingStopsSilentlyAtBothEnds() {
        PanelFixture f;
        f.giveAllSounds();
        f.write("1.hy3", hy3::plainRoute(3));
        f.keypadReset("1", "1");
        f.clearLogs();
        f.stepBack();
        QCOMPARE(f.fare().CurStop, qint16(0));
        QCOMPARE(f.played(), QStringList());
        f.stepForward();
        f.stepForward();
        f.stepForward();
        QCOMPARE(f.fare().CurStop, qint16(2));
        QCOMPARE(f.fare(1), 301);
        QCOMPARE(f.played(), QStringList(2, QStringLiteral("slot7@S2")));
    }

    void steppingSoundByColumn() {
        PanelFixture f;
        f.giveAllSounds();
        frmOption& o = f.w.options;
        o.Option2[1]->setChecked(true);
        o.Option6[0]->setChecked(true); // fares change after the sound
        o.Combo1->setCurrentIndex(50);  // column 51
        QList<int> four(50, 0), two(50, 0);
        four << 4;
        two << 2;
        f.write("2.hy3", hy3::file(3, {hy3::plainStop(1), hy3::record("四", 2, four), hy3::record("二", 3, two)}));
        f.keypadReset("2", "1");
        f.clearLogs();
        f.stepForward(); // column value 4: no sound, the board still steps
        QCOMPARE(f.stopName(), QStringLiteral("四"));
        f.stepForward();
        f.stepBack(); // back on the stop holding 4 again
        QCOMPARE(f.played(), QStringList{QStringLiteral("slot9@S2 wait")});
    }

    void announcementStepsTheBoard() {
        PanelFixture f;
        mdlM_Tape::InitSpeech();
        f.write("3.hy3", hy3::plainRoute(4));
        f.write("3tp.csv", core::sjis::encode(QStringLiteral("次は一番,1,0\r\n次は二番,0,0\r\n")));
        f.keypadReset("3", "1");
        QVERIFY(f.panel().cmdTapeNext->isEnabled());
        // The stepping command runs even with its buttons disabled.
        f.panel().Command2[0]->setEnabled(false);
        f.panel().Command2[1]->setEnabled(false);
        QTest::mouseClick(f.panel().cmdTapeNext, Qt::LeftButton); // row 1, flag 1
        QCOMPARE(f.fare().CurStop, qint16(1));
        QTest::mouseClick(f.panel().cmdTapeNext, Qt::LeftButton); // row 2, flag 0
        QTest::mouseClick(f.panel().cmdTapeNext, Qt::LeftButton); // stays on row 2
        QCOMPARE(f.fare().CurStop, qint16(1));
        QTest::mouseClick(f.panel().cmdTapeBack, Qt::LeftButton); // row 1, flag 1
        QCOMPARE(f.fare().CurStop, qint16(0));
        QCOMPARE(f.stopName(), QStringLiteral("停留所1"));
    }

    void noStepWithoutARoute() {
        PanelFixture f;
        mdlM_Tape::InitSpeech();
        f.write("4tp.csv", "go,1,0\r\n");
        f.keypadReset("4", "1"); // announcements load, the fare file is missing
        QTest::mouseClick(f.panel().cmdTapeNext, Qt::LeftButton);
        QCOMPARE(f.fare().CurStop, qint16(0));
        QCOMPARE(f.fare().DataCount, qint16(0));
    }

    void blankingAndShowingAgain() {
        PanelFixture f;
        mdlM_Tape::InitSpeech();
        f.write("5.hy3", hy3::plainRoute(3));
        f.keypadReset("5", "1");
        Form1& board = f.w.board;
        QVERIFY(board.TimeDegit[0]->isHidden());
        QVERIFY(board.Timer1->isActive());

        f.panel().Check1->click();
        QCOMPARE(f.value(1), QVariant(QString()));
        QCOMPARE(board.TimeDegit[1]->Value(), QVariant(QString()));
        QVERIFY(!board.Timer1->isActive());
        for (QWidget* w :
             std::initializer_list<QWidget*>{f.panel().Frame1[0], f.panel().Frame1[1], f.panel().Command2[0],
                                             f.panel().Command2[1], f.panel().grpM_Tape, f.panel().fraLateNight})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(f.panel().Command4->isEnabled() && f.panel().Check4->isEnabled());

        // Shown again with the clock hidden: its timer stays stopped.
        f.panel().Check1->click();
        QCOMPARE(f.fare(1), 101);
        QVERIFY(!board.Timer1->isActive());
        QVERIFY(f.panel().grpM_Tape->isEnabled() && f.panel().Frame1[1]->isEnabled());
        board.TimeDegit[0]->show();
        f.panel().Check1->click();
        f.panel().Check1->click();
        QVERIFY(board.Timer1->isActive());

        // Without speech the announcement frame stays disabled.
        mdlM_Tape::reset();
        f.panel().Check1->click();
        f.panel().Check1->click();
        QVERIFY(!f.panel().grpM_Tape->isEnabled());
    }

    void scrollBarsSendBothValues() {
        PanelFixture f;
        std::array<QScrollBar*, 2> bars = f.panel().HScroll1;
        bars[0]->setValue(40);
        bars[1]->setValue(800);
        QCOMPARE(f.panel().Label1[1]->text(), QStringLiteral("800"));
        f.w.board.ChimeiCtl->setSpeed(5);
        bars[1]->setValue(900); // also re-sends the speed
        QCOMPARE(f.w.board.ChimeiCtl->Speed(), qint16(40));
        QCOMPARE(f.w.board.ChimeiCtl->ScrollStartWait(), 900);
    }

    void panelSwapByDoubleClick() {
        PanelFixture f;
        QFrame* lists = f.panel().Frame1[0];
        QFrame* keypad = f.panel().Frame1[1];
        QVERIFY(keypad->isVisibleTo(&f.panel()) && !lists->isVisibleTo(&f.panel()));
        QCOMPARE(lists->geometry(), keypad->geometry());
        QTest::mouseDClick(keypad, Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(f.panel().PanelIndex, qint16(1));
        QVERIFY(lists->isVisibleTo(&f.panel()) && !keypad->isVisibleTo(&f.panel()));
    }

    void optionsWindowIsModal() {
        PanelFixture f;
        f.write("6.hy3", hy3::plainRoute(3));
        f.keypadReset("6", "1");
        f.w.board.ChimeiCtl->SetChimei(QStringLiteral("別の名前"));
        QStringList seen;
        QTimer::singleShot(0, [&] {
            seen << (f.w.options.isVisible() ? "shown" : "hidden") << (f.w.options.isModal() ? "modal" : "modeless")
                 << (f.w.board.isEnabled() || f.panel().isEnabled() ? "enabled" : "disabled");
            f.w.options.Command4->click(); // OK
        });
        f.panel().Command4->click();
        QCOMPARE(seen, (QStringList{"shown", "modal", "disabled"}));
        QVERIFY(f.w.board.isEnabled() && f.panel().isEnabled() && !f.w.options.isVisible());
        QCOMPARE(f.stopName(), QStringLiteral("停留所1"));
    }

    void versionDialog() {
        const QString text = frmCtl::versionText("K27", 1, 2, 3);
        QVERIFY(text.startsWith(QStringLiteral("型番：K27\r\nバージョン：1.2.3\r\n\r\n")));
        QVERIFY(text.size() > 40);

        PanelFixture f;
        bool boardEnabled = true;
        f.d.helper.duringDlg110 = [&] { boardEnabled = f.w.board.isEnabled(); };
        f.panel().Command8->click();
        QCOMPARE(f.d.helper.calls.filter("Call_dlg110").size(), 1);
        QVERIFY(f.d.helper.calls.last().startsWith(QStringLiteral("Call_dlg110(1, 型番：control_tst_frmCtlCommands\r\n"
                                                                  "バージョン：")));
        QVERIFY(!boardEnabled);
        QVERIFY(f.w.board.isEnabled());
    }

    void foldOutPreviewMenuAndCopy() {
        PanelFixture f;
        frmCtl& p = f.panel();
        QVERIFY(p.picSeirikenPrev->geometry().left() >= p.width());
        p.Check4->click();
        QCOMPARE(p.width(), core::twipsToPixels(9000));
        QCOMPARE(p.Check4->text(), QStringLiteral("<<"));
        QVERIFY(p.rect().contains(p.picSeirikenPrev->geometry()));

        f.w.options.chkUseSeiriPrev->setChecked(true);
        f.write("7.hy3", hy3::plainRoute(2));
        f.keypadReset("7", "1");
        // Folded out at the screen's right edge, the panel moves left so
        // that the preview can be seen.
        p.Check4->click();
        const QRect area = p.screen()->availableGeometry();
        p.move(area.right() + 1 - p.frameGeometry().width(), 0);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        p.Check4->click();
        QVERIFY(p.frameGeometry().right() <= area.right());
        QTest::mousePress(p.picSeirikenPrev, Qt::RightButton, {}, QPoint(10, 10));
        QTRY_VERIFY(p.MnuHide->isVisible());
        p.MnuHide->hide();
        p.MnuHideCopy->trigger();
        QCOMPARE(f.d.clipboard.clears, 1);
        QCOMPARE(f.d.clipboard.image, p.picSeirikenPrev->image());
        QVERIFY(!f.d.clipboard.image.isNull());

        p.Check4->click();
        QCOMPARE(p.width(), core::twipsToPixels(5400));
    }

    void plugInSizesThePreviewAndFillsTheCompanies() {
        PanelFixture f;
        f.d.helper.plgInfoResult = 1;
        f.d.helper.plgInfo.PrevWidth = 2400;
        f.d.helper.plgInfo.PrevHeight = 3000;
        f.d.helper.plgInfo.CorpCount = 2;
        f.d.helper.plgCompanies = {"北バス", "南バス"};
        f.d.helper.fileDlgAnswer = "/p/t.4SP";
        f.panel().Combo1->addItem("古い社名");
        f.w.options.chkUseSeiriPrev->setChecked(true);
        f.w.options.Command1->click();
        QCOMPARE(f.panel().picSeirikenPrev->size(), QSize(160, 200));
        QCOMPARE(f.panel().Combo1->count(), 2);
        QCOMPARE(f.panel().Combo1->itemText(0), QStringLiteral("北バス"));
    }

    void settingsRecord() {
        PanelFixture f;
        CtlPanelRec rec;
        rec.PanelIndex = 1;
        rec.ScrollSpeed = 120;
        rec.ScrollWait = 2500;
        rec.LateNight = 1;
        rec.PreviewOpen = 1;
        rec.CtlLeft = 1500;
        rec.CtlTop = 3000;
        f.panel().SetCtrlDataInfo(rec);
        CtlPanelRec back;
        f.panel().GetCtrlDataInfo(back);
        QCOMPARE(back, rec);
        QVERIFY(f.panel().Frame1[0]->isVisibleTo(&f.panel()));
        QCOMPARE(f.panel().width(), core::twipsToPixels(9000));
        QCOMPARE(f.w.board.ChimeiCtl->ScrollStartWait(), 2500);

        // Rejected values: what came before them stays set.
        auto failure = [&](CtlPanelRec r) {
            try {
                f.panel().SetCtrlDataInfo(r);
            } catch (const core::RuntimeError& e) {
                return e.number();
            }
            return 0;
        };
        rec.CtlLeft = 0;
        rec.ScrollSpeed = 0;
        QCOMPARE(failure(rec), 380);
        QCOMPARE(f.panel().x(), 0);
        rec.ScrollSpeed = 70000;
        QCOMPARE(failure(rec), 6);
        rec.ScrollSpeed = 1;
        rec.PanelIndex = 2;
        QCOMPARE(failure(rec), 340);
        QCOMPARE(f.panel().HScroll1[0]->value(), 1);
    }
};

QTEST_MAIN(tst_frmCtlCommands)
#include "tst_frmCtlCommands.moc"
