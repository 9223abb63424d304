// The stop-name scroll worked out with plain numbers: pauses, steps of
// Speed / 200 pixels, the wrap, speed changes in the middle of a run, and
// the delay until the position next needs looking at.
#include "board/chimei/ChimeiScroll.h"

#include <QTest>

#include <climits>
#include <cmath>

namespace {

using Phase = ChimeiScroll::Phase;

// A name of seven cells (224 pixels) in the three-dimensional frame (196).
ChimeiScroll sevenCells(qint16 speed, qint32 wait) {
    ChimeiScroll s;
    s.setSpeed(speed);
    s.setStartWait(wait);
    s.setSurfaceHeight(224);
    s.setFrameHeight(196);
    return s;
}

int topAt(ChimeiScroll& s, qint64 now) {
    s.advanceTo(now);
    return s.top();
}

} // namespace

class tst_ChimeiScroll : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pauseThenSteps() {
        ChimeiScroll s = sevenCells(5, 1500);
        QCOMPARE(s.phase(), Phase::Idle);
        s.start(1000);
        QCOMPARE(s.phase(), Phase::Pausing);
        QCOMPARE(topAt(s, 2499), 0);
        QCOMPARE(s.phase(), Phase::Pausing);
        QCOMPARE(topAt(s, 2500), 0);
        QCOMPARE(s.phase(), Phase::Moving);
        // 5/200 = 0.025 pixel a step, rounded to the nearest pixel (half
        // away from zero): 19 steps are -0.475, 20 steps -0.5.
        QCOMPARE(topAt(s, 2519), 0);
        QCOMPARE(topAt(s, 2520), -1);
        QCOMPARE(topAt(s, 3500), -25);
        s.stop();
        QCOMPARE(s.phase(), Phase::Idle);
        QCOMPARE(topAt(s, 9000), 0);
    }

    void wrapsOneFrameAboveTheTopAndPausesAgain() {
        ChimeiScroll s = sevenCells(200, 1500); // one pixel a step
        s.start(0);
        QCOMPARE(topAt(s, 1500 + 419), -419);
        // 224 + 196 = 420 pixels travelled: back at the top, pausing.
        QCOMPARE(topAt(s, 1500 + 420), 0);
        QCOMPARE(s.phase(), Phase::Pausing);
        QCOMPARE(s.wrapStep(0), 420);
        QCOMPARE(topAt(s, 1920 + 1500), 0);
        QCOMPARE(topAt(s, 1920 + 1510), -10);

        // A flat frame (185) wraps 11 pixels earlier; a taller name later.
        s.setFrameHeight(185);
        QCOMPARE(s.wrapStep(0), 409);
        s.setSurfaceHeight(512);
        QCOMPARE(s.wrapStep(0), 697);
        // Fractional steps: the first step whose rounded top reaches -420.
        s = sevenCells(37, 0);
        const qint64 k = s.wrapStep(0);
        QVERIFY(std::lround(-double(k) * 0.185) <= -420);
        QVERIFY(std::lround(-double(k - 1) * 0.185) > -420);
    }

    void newSettingsApplyFromTheNextStep() {
        ChimeiScroll s = sevenCells(5, 0);
        s.start(0);
        QCOMPARE(topAt(s, 1000), -25);
        s.rebase(1000);
        s.setSpeed(40);
        QCOMPARE(topAt(s, 1100), -45);
        // Without a rebase the new speed would count from the stretch's start.
        ChimeiScroll t = sevenCells(5, 0);
        t.start(0);
        t.advanceTo(1000);
        t.setSpeed(40);
        QCOMPARE(topAt(t, 1100), -220);

        // A shorter frame in the middle of a run brings the wrap forward.
        ChimeiScroll f = sevenCells(200, 0);
        f.start(0);
        QCOMPARE(topAt(f, 300), -300);
        f.rebase(300);
        f.setFrameHeight(185);
        QCOMPARE(topAt(f, 408), -408);
        QCOMPARE(topAt(f, 409), 0);
        QCOMPARE(f.phase(), Phase::Moving); // no pause: the wait is 0
    }

    void speedZeroBecomesOneWhenTheStartPauseEnds() {
        ChimeiScroll s = sevenCells(0, 1500);
        s.start(0);
        QVERIFY(!s.advanceTo(1499));
        QCOMPARE(s.speed(), qint16(0));
        QVERIFY(s.advanceTo(1500));
        QCOMPARE(s.speed(), qint16(1));
        QVERIFY(!s.advanceTo(1600)); // raised once only
        QCOMPARE(topAt(s, 1900), -2);

        // Set to 0 later, the name stands where it is, and no wrap pause
        // raises it again.
        s.rebase(1900);
        s.setSpeed(0);
        QCOMPARE(topAt(s, 100000), -2);
        QCOMPARE(s.speed(), qint16(0));

        // A rebase that crosses the end of the start pause reports it too.
        ChimeiScroll r = sevenCells(0, 100);
        r.start(0);
        QVERIFY(r.rebase(200));
        QCOMPARE(r.speed(), qint16(1));
    }

    void negativeSpeedMovesDownAndComesBack() {
        ChimeiScroll s = sevenCells(-200, 50);
        s.start(0);
        QCOMPARE(topAt(s, 150), 100);
        QCOMPARE(topAt(s, 50 + 419), 419);
        QCOMPARE(topAt(s, 50 + 420), 0);
        QCOMPARE(s.phase(), Phase::Pausing);
        QCOMPARE(topAt(s, 470 + 50 + 7), 7);
    }

    void negativeStartWaitIsNoPause() {
        ChimeiScroll s = sevenCells(200, -1);
        QCOMPARE(s.startWait(), -1); // stored as given
        s.start(500);
        QCOMPARE(topAt(s, 500), 0);
        QCOMPARE(s.phase(), Phase::Moving);
        QCOMPARE(topAt(s, 510), -10);
        QCOMPARE(topAt(s, 920), 0);
        QCOMPARE(topAt(s, 930), -10);
        QCOMPARE(s.nextWakeIn(500, 16), 16);
        s.setStartWait(INT_MIN);
        s.start(0);
        QCOMPARE(s.phase(), Phase::Pausing);
        QCOMPARE(s.nextWakeIn(0, 16), 0);
    }

    // However rarely the position is asked for, it is where asking every
    // millisecond puts it: across pauses, wraps and skipped whole rounds.
    void longGapsLandWhereSteadyStepsDo_data() {
        QTest::addColumn<qint16>("speed");
        QTest::addColumn<qint32>("wait");
        QTest::newRow("slow") << qint16(5) << 1500;
        QTest::newRow("fractional") << qint16(37) << 700;
        QTest::newRow("one pixel") << qint16(200) << 1500;
        QTest::newRow("fast") << qint16(3001) << 10;
        QTest::newRow("down") << qint16(-150) << 300;
        QTest::newRow("no pause") << qint16(200) << 0;
        QTest::newRow("speed 0") << qint16(0) << 20;
    }
    void longGapsLandWhereSteadyStepsDo() {
        QFETCH(qint16, speed);
        QFETCH(qint32, wait);
        ChimeiScroll steady = sevenCells(speed, wait);
        steady.start(0);
        QList<int> tops;
        for (qint64 t = 0; t <= 30000; ++t)
            tops << topAt(steady, t);
        for (qint64 gap : {1, 7, 333, 1920, 4999, 30000}) {
            ChimeiScroll jumping = sevenCells(speed, wait);
            jumping.start(0);
            for (qint64 t = gap; t <= 30000; t += gap)
                QVERIFY2(
                    topAt(jumping, t) == tops[t],
                    qPrintable(
                        QStringLiteral("gap %1: %2 at %3, steady %4").arg(gap).arg(jumping.top()).arg(t).arg(tops[t])));
        }
    }

    void nextWake() {
        ChimeiScroll s = sevenCells(5, 1500);
        QCOMPARE(s.nextWakeIn(0, 16), -1);
        s.start(0);
        QCOMPARE(s.nextWakeIn(200, 16), 1300);
        s.advanceTo(1500);
        // 0.025 pixel a step: one pixel every 40 ms.
        QCOMPARE(s.nextWakeIn(1500, 16), 40);
        // Fast: no more often than the frame interval.
        s.rebase(1500);
        s.setSpeed(1000);
        QCOMPARE(s.nextWakeIn(1500, 16), 16);
        // The slowest speed: one pixel every 200 ms.
        s.rebase(1500);
        s.setSpeed(1);
        QCOMPARE(s.nextWakeIn(1500, 16), 200);
        // Close to the wrap: in time for it.
        s.rebase(1500);
        s.setSpeed(200);
        s.advanceTo(1500 + 415);
        QCOMPARE(s.nextWakeIn(1500 + 415, 16), 5);
        // Standing still at Speed 0: nothing to wait for.
        s.rebase(1915);
        s.setSpeed(0);
        QCOMPARE(s.nextWakeIn(1915, 16), -1);
    }
};

QTEST_GUILESS_MAIN(tst_ChimeiScroll)
#include "tst_ChimeiScroll.moc"
