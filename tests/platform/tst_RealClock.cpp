// The real pause lasts as long as asked and keeps timers (and so painting
// and animations) running while it waits.
#include "platform/RealClock.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

class TestRealClock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sleepWaitsWhileTimersRun() {
        platform::RealClock clock;
        int ticks = 0;
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start();

        QElapsedTimer t;
        t.start();
        const qint64 before = clock.elapsedMs();
        clock.Sleep(120);
        QVERIFY2(t.elapsed() >= 115, qPrintable(QString::number(t.elapsed())));
        QVERIFY(clock.elapsedMs() - before >= 115);
        QVERIFY2(ticks >= 5, qPrintable(QStringLiteral("%1 timer ticks").arg(ticks)));
    }

    void zeroOrNegativeReturnsAtOnce() {
        platform::RealClock clock;
        QElapsedTimer t;
        t.start();
        clock.Sleep(0);
        clock.Sleep(-5);
        // Far below what a wrapped-around length would sleep, and far above
        // what a busy machine may take away from this thread.
        QVERIFY(t.elapsed() < 500);
        QVERIFY(qAbs(clock.now().secsTo(QDateTime::currentDateTime())) <= 1);
    }
};

QTEST_MAIN(TestRealClock)
#include "tst_RealClock.moc"
