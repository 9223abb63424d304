// Twips to the settings file and back to pixels.
#include "core/Twips.h"

#include <QTest>

#include <limits>

class tst_Twips : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundsHalvesToEven_data() {
        QTest::addColumn<double>("twips");
        QTest::addColumn<qint32>("stored");
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("3.5") << 3.5 << 4;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("-3.5") << -3.5 << -4;
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("2.5001") << 2.5001 << 3;
        QTest::newRow("pixels x 15") << 1234.0 * 15 << 18510;
        QTest::newRow("largest") << 2147483647.4 << std::numeric_limits<qint32>::max();
        QTest::newRow("smallest") << -2147483648.5 << std::numeric_limits<qint32>::min();
    }

    void roundsHalvesToEven() {
        QFETCH(double, twips);
        QFETCH(qint32, stored);
        QCOMPARE(core::roundTwips(twips), stored);
    }

    void beyond32BitsIsAnOverflow_data() {
        QTest::addColumn<double>("twips");
        QTest::newRow("2^31 - 0.5") << 2147483647.5; // rounds to the even 2^31
        QTest::newRow("-2^31 - 0.6") << -2147483648.6;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    }

    void beyond32BitsIsAnOverflow() {
        QFETCH(double, twips);
        try {
            (void)core::roundTwips(twips);
            QFAIL("no overflow reported");
        } catch (const core::RuntimeError& e) {
            QCOMPARE(e.number(), core::errors::kOverflow);
        }
    }

    void anyStoredPositionMapsToAPixel() {
        // Whatever a file holds: no overflow on the way to pixels.
        QCOMPARE(core::twipsToPixels(std::numeric_limits<qint32>::max()), 143165576);
        QCOMPARE(core::twipsToPixels(std::numeric_limits<qint32>::min()), -143165577);
        QCOMPARE(core::twipsToPixels(-8), -1);
        QCOMPARE(core::twipsToPixels(-7), 0);
    }
};

QTEST_GUILESS_MAIN(tst_Twips)
#include "tst_Twips.moc"
