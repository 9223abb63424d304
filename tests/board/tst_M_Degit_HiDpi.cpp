// The digit control on a screen with two device pixels to the logical
// pixel: the picture is drawn at full resolution and the bars keep hard,
// whole-pixel edges instead of being scaled up from a small image.
#include "board/degit/M_Degit.h"
#include "tests/board/DegitProbe.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QTest>

class TestM_Degit_HiDpi : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void drawsAtTheScreensResolution() {
        PlatformDoubles doubles;
        M_Degit d;
        d.setBackColor(0x000000);
        d.setBaseForeColor(0xFF0000);
        d.setDegitForeColor(0x0000FF);
        d.setValue(1188);
        QCOMPARE(d.devicePixelRatioF(), 2.0);
        QCOMPARE(d.size(), QSize(52, 20));
        QCOMPARE(d.surface().size(), QSize(104, 40));
        QCOMPARE(degitprobe::litText(d), QStringLiteral("1188"));

        // Count pure and blended pixels: bars are whole pixels, so blending
        // is confined to the bevelled ends.
        const QImage& img = d.surface();
        int pure = 0, blended = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c == QColor(255, 0, 0) || c == QColor(0, 0, 255))
                    ++pure;
                else if (c != QColor(0, 0, 0))
                    ++blended;
            }
        QVERIFY2(pure > 4 * blended,
                 qPrintable(QStringLiteral("%1 pure and %2 blended pixels").arg(pure).arg(blended)));
    }
};

int main(int argc, char* argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestM_Degit_HiDpi test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_M_Degit_HiDpi.moc"
