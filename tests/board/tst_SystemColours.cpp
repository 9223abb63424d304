// Colour values with the top bit set name system colours, which follow the
// application's palette. Both display controls keep a finished picture, so a
// new palette must reach the pixels, not only the next drawing.
#include "board/chimei/ChimeiCtl_A.h"
#include "board/degit/M_Degit.h"
#include "tests/board/DegitProbe.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

namespace {

constexpr quint32 kSysWindowText = 0x80000008; // QPalette::Text
constexpr quint32 kSysButtonFace = 0x8000000F; // QPalette::Button

QPalette paletteWith(const QColor& text, const QColor& button) {
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    return p;
}

} // namespace

class tst_SystemColours : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        original_ = QApplication::palette();
        QApplication::setPalette(paletteWith(Qt::red, Qt::black));
    }
    void cleanup() { QApplication::setPalette(original_); }

    void degitRedrawsOnPaletteChange() {
        PlatformDoubles doubles;
        QWidget board; // as on the board: a control inside a window
        M_Degit d(&board);
        d.setBackColor(kSysButtonFace);
        d.setBaseForeColor(platform::rgbRef(0, 0, 255));
        d.setDegitForeColor(kSysWindowText);
        d.setValue(QStringLiteral("8"));
        QCOMPARE(degitprobe::litText(d), QStringLiteral("   8"));
        QCOMPARE(QColor(d.surface().pixel(0, 0)), QColor(Qt::black));

        // The palette reaches child widgets through posted events.
        QApplication::setPalette(paletteWith(Qt::green, Qt::white));
        QCoreApplication::processEvents();
        // The lit segments are read in the new colour, the background too.
        QCOMPARE(degitprobe::litText(d), QStringLiteral("   8"));
        QVERIFY(degitprobe::unlitEverywhereElse(d));
        QCOMPARE(QColor(d.surface().pixel(0, 0)), QColor(Qt::white));
        const QImage shot = d.grab().toImage();
        QCOMPARE(testsupport::pixel(shot, 0, 0), QColor(Qt::white));
    }

    void chimeiRedrawsOnPaletteChange() {
        PlatformDoubles doubles;
        QWidget board;
        ChimeiCtl_A c(&board);
        c.setBackColor(kSysButtonFace);
        c.setForeColor(kSysWindowText);
        c.DrawDot16(2, 0, QStringLiteral("田"));
        c.setForeColor(platform::rgbRef(0, 0, 255)); // a plain colour keeps its value
        c.DrawDot16(2, 32, QStringLiteral("田"));
        const QPoint sysDot(2 + 2 * 2, 2 * 2), plainDot(sysDot.x(), sysDot.y() + 32);
        QCOMPARE(c.dotImage().pixelColor(sysDot), QColor(Qt::red));
        const QPoint inner = c.frameInnerRect().topLeft();
        QCOMPARE(testsupport::pixel(c.grab().toImage(), inner.x() + sysDot.x(), inner.y() + sysDot.y()),
                 QColor(Qt::red));

        QApplication::setPalette(paletteWith(Qt::green, Qt::white));
        QCoreApplication::processEvents();
        const QImage dots = c.dotImage();
        QCOMPARE(dots.pixelColor(sysDot), QColor(Qt::green));
        QCOMPARE(dots.pixelColor(plainDot), QColor(Qt::blue));
        QCOMPARE(dots.pixelColor(0, 0), QColor(Qt::white));
        // What is painted follows as well, not only the dot surface.
        const QImage shot = c.grab().toImage();
        QCOMPARE(testsupport::pixel(shot, inner.x() + sysDot.x(), inner.y() + sysDot.y()), QColor(Qt::green));
        QCOMPARE(testsupport::pixel(shot, inner.x() + plainDot.x(), inner.y() + plainDot.y()), QColor(Qt::blue));
        QCOMPARE(testsupport::pixel(shot, inner.x(), inner.y()), QColor(Qt::white));
    }

private:
    QPalette original_;
};

QTEST_MAIN(tst_SystemColours)
#include "tst_SystemColours.moc"
