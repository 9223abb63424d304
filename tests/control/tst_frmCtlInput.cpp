// The control panel under real pointer and key input: the two scroll bars,
// whose larger value lies at the left end, and the preview fold-out on a
// small screen that does not start at (0, 0).
#include "control/SeirikenPreview.h"
#include "core/Twips.h"
#include "options/frmOption.h"
#include "platform/QtVXB4Res.h"
#include "tests/control/PanelFixture.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QWheelEvent>

namespace {

// The one screen of this test: 900 x 420 pixels at (200, 100).
const QRect kScreen(200, 100, 900, 420);

// Where the style draws a part of a bar as it stands now.
QRect part(QScrollBar* bar, QStyle::SubControl sc) {
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.state |= QStyle::State_Horizontal;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, bar);
}

int thumbX(QScrollBar* bar) {
    return part(bar, QStyle::SC_ScrollBarSlider).center().x();
}

void click(QScrollBar* bar, const QPoint& at) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, at);
}

// The full sample plug-in: its ticket makes the folded-out panel 412
// pixels tall.
QString fullPlugin() {
    return testsupport::sourcePath(QStringLiteral("data/demo/plugins/full.4SP"));
}

} // namespace

class tst_frmCtlInput : public QObject {
    Q_OBJECT

    struct Shown {
        PanelFixture f;
        frmCtl& p = f.panel();
        std::array<QScrollBar*, 2> bars = p.HScroll1;
        Shown() {
            p.show();
            if (!QTest::qWaitForWindowExposed(&p))
                qWarning("the panel was not shown");
        }
    };

private Q_SLOTS:
    void init() { mdlM_Tape::reset(); }

    void screenIsTheSmallVirtualOne() {
        // Offscreen (as CTest runs it), the test has its own small screen.
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            QSKIP("The test's own screen exists on the offscreen platform only.");
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), kScreen);
    }

    void arrowsMoveTheThumbTheWayTheyPoint_data() {
        QTest::addColumn<int>("k");
        QTest::newRow("speed") << 0;
        QTest::newRow("interval") << 1;
    }
    void arrowsMoveTheThumbTheWayTheyPoint() {
        QFETCH(int, k);
        Shown s;
        QScrollBar* bar = s.bars[size_t(k)];
        const int rightEnd = bar->minimum();
        QCOMPARE(bar->value(), rightEnd);
        const QRect left = part(bar, QStyle::SC_ScrollBarSubLine);
        const QRect right = part(bar, QStyle::SC_ScrollBarAddLine);
        QVERIFY2(left.right() < right.left(), "The style draws the arrows the other way round.");
        const int startX = thumbX(bar);
        QVERIFY2(startX > bar->width() / 2, "The thumb does not start at the right end.");

        // At the right end the right arrow has nowhere to go.
        click(bar, right.center());
        QCOMPARE(bar->value(), rightEnd);
        // The left arrow raises the value a step at a time, the right arrow
        // takes it back; the value label follows each step.
        for (int i = 1; i <= 3; ++i) {
            click(bar, left.center());
            QCOMPARE(bar->value(), rightEnd + i);
        }
        QCOMPARE(s.p.Label1[size_t(k)]->text(), QString::number(rightEnd + 3));
        click(bar, right.center());
        QCOMPARE(bar->value(), rightEnd + 2);

        // Held down, the left arrow keeps going left; the thumb follows.
        QTest::mousePress(bar, Qt::LeftButton, {}, left.center());
        QTRY_VERIFY_WITH_TIMEOUT(bar->value() > rightEnd + 40, 5000);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, left.center());
        const int held = bar->value();
        QTest::qWait(150);
        QCOMPARE(bar->value(), held); // the repeat ended with the release
        bar->setValue(bar->maximum() / 2);
        const int midX = thumbX(bar);
        QVERIFY(midX < startX);
    }

    void troughClicksPageTowardsThePointer() {
        Shown s;
        QScrollBar* bar = s.bars[0];
        bar->setValue(1000);
        const QRect thumb = part(bar, QStyle::SC_ScrollBarSlider);
        // Left of the thumb: a page towards the left end, the larger values.
        click(bar, QPoint(thumb.left() - 3, thumb.center().y()));
        QCOMPARE(bar->value(), 1000 + bar->pageStep());
        QVERIFY(thumbX(bar) < thumb.center().x());
        click(bar, QPoint(part(bar, QStyle::SC_ScrollBarSlider).right() + 3, thumb.center().y()));
        QCOMPARE(bar->value(), 1000);
        click(bar, QPoint(thumb.right() + 3, thumb.center().y()));
        QCOMPARE(bar->value(), 1000 - bar->pageStep());
        QVERIFY(thumbX(bar) > thumb.center().x());

        // Held on the trough near the right end, the thumb pages right until
        // it lies under the pointer, and stops there.
        bar->setValue(bar->maximum());
        const QRect addLine = part(bar, QStyle::SC_ScrollBarAddLine);
        const QPoint target(addLine.left() - 4, addLine.center().y());
        QTest::mousePress(bar, Qt::LeftButton, {}, target);
        QTRY_VERIFY_WITH_TIMEOUT(part(bar, QStyle::SC_ScrollBarSlider).contains(target), 5000);
        QTest::qWait(200);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, target);
        QVERIFY(part(bar, QStyle::SC_ScrollBarSlider).contains(target));
        QVERIFY(bar->value() < bar->maximum());
    }

    void keysAndWheelMoveTheThumbTheWayTheyPoint() {
        Shown s;
        QScrollBar* bar = s.bars[1];
        bar->setFocus();
        bar->setValue(1500);
        const int page = bar->pageStep();
        // Left, Up, Page Up and Home go towards the left end, the larger
        // values; a single step is too small to move the thumb a pixel.
        const struct {
            Qt::Key key;
            int value;
            int thumbMoves; // -1 left, +1 right, 0 not checked
        } steps[] = {{Qt::Key_Left, 1501, 0},
                     {Qt::Key_Right, 1500, 0},
                     {Qt::Key_Up, 1501, 0},
                     {Qt::Key_Down, 1500, 0},
                     {Qt::Key_PageUp, 1500 + page, -1},
                     {Qt::Key_PageDown, 1500, +1},
                     {Qt::Key_Home, bar->maximum(), -1},
                     {Qt::Key_End, bar->minimum(), +1}};
        for (const auto& step : steps) {
            const int before = thumbX(bar);
            QTest::keyClick(bar, step.key);
            QCOMPARE(bar->value(), step.value);
            if (step.thumbMoves != 0)
                QCOMPARE(thumbX(bar) > before ? 1 : thumbX(bar) < before ? -1 : 0, step.thumbMoves);
        }
        QCOMPARE(s.f.w.board.ChimeiCtl->ScrollStartWait(), 0);

        // The wheel turned down moves the thumb right, as on any horizontal
        // bar: the value falls.
        bar->setValue(1500);
        const QPointF at = part(bar, QStyle::SC_ScrollBarSlider).center();
        QWheelEvent down(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &down);
        QVERIFY2(bar->value() < 1500, qPrintable(QString::number(bar->value())));
    }

    void draggingFollowsThePointer() {
        Shown s;
        QScrollBar* bar = s.bars[0];
        bar->setValue(1000);
        const QPoint grip = part(bar, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QTest::mouseMove(bar, grip - QPoint(10, 0));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip - QPoint(10, 0));
        QVERIFY2(bar->value() > 1000, "Dragging left must raise the value.");
        QCOMPARE(thumbX(bar), grip.x() - 10);
        // What the bar shows goes to its label and the stop-name display.
        QCOMPARE(s.p.Label1[0]->text(), QString::number(bar->value()));
        QCOMPARE(int(s.f.w.board.ChimeiCtl->Speed()), bar->value());
    }

    void foldOutKeepsThePanelOnTheScreen() {
        Shown s;
        frmCtl& p = s.p;
        platform::QtVXB4Res lib;
        platform::ScopedInstall<platform::VXB4Res> helper{lib};
        QCOMPARE(s.f.w.options.SetPlgin(fullPlugin()), 2);
        const QRect area = p.screen()->availableGeometry();

        // In the bottom-right corner, as at start-up.
        const QSize folded = p.frameGeometry().size();
        p.move(area.right() + 1 - folded.width(), area.bottom() + 1 - folded.height());
        QTRY_COMPARE(p.frameGeometry().bottomRight(), area.bottomRight());
        QTest::mouseClick(p.Check4, Qt::LeftButton);
        QVERIFY(p.Check4->isChecked());
        const QRect open = p.frameGeometry();
        QCOMPARE(p.height(), 412);
        QVERIFY2(open.height() > folded.height(), "The tall ticket must make the panel taller.");
        QVERIFY2(
            area.contains(open),
            qPrintable(QStringLiteral("%1,%2 %3x%4").arg(open.x()).arg(open.y()).arg(open.width()).arg(open.height())));
        // Moved no further than it had to: still in the corner.
        QCOMPARE(open.bottomRight(), area.bottomRight());
        QVERIFY(p.rect().contains(p.picSeirikenPrev->geometry()));

        // Folding in leaves the panel where it is; folding out where the
        // panel fits does not move it.
        QTest::mouseClick(p.Check4, Qt::LeftButton);
        QCOMPARE(p.frameGeometry().topLeft(), open.topLeft());
        const QPoint fits = area.topLeft() + QPoint(30, 2);
        p.move(fits);
        QTest::mouseClick(p.Check4, Qt::LeftButton);
        QCOMPARE(p.frameGeometry().topLeft(), fits);
    }

    void panelLargerThanTheScreenKeepsItsTopLeftInSight() {
        Shown s;
        frmCtl& p = s.p;
        const QRect area = p.screen()->availableGeometry();
        if (area.height() >= 700)
            QSKIP("The tallest ticket fits this screen; the test's own screen is smaller.");
        p.move(area.center());
        QTest::mouseClick(p.Check4, Qt::LeftButton);
        // A plug-in's ticket taller than this screen, while folded out: the
        // panel goes to the top of the screen, not above it.
        p.setPreviewSizeTwips(3450, 9000);
        QVERIFY(p.frameGeometry().height() > area.height());
        QCOMPARE(p.frameGeometry().top(), area.top());
        QVERIFY(p.frameGeometry().right() <= area.right());
        QVERIFY(p.frameGeometry().left() >= area.left());
        // Far off to the top-left, folding out brings it back to the corner.
        QTest::mouseClick(p.Check4, Qt::LeftButton);
        p.move(area.topLeft() - QPoint(300, 200));
        QTest::mouseClick(p.Check4, Qt::LeftButton);
        QCOMPARE(p.frameGeometry().topLeft(), area.topLeft());
    }
};

// The test runs on a screen of its own: small, and away from (0, 0), so that
// a panel moved against the screen's edges shows which edges were used.
int main(int argc, char* argv[]) {
    QTemporaryDir config;
    const QString platformName = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
    if (platformName == QLatin1String("offscreen") && config.isValid()) {
        QFile file(config.filePath(QStringLiteral("screens.json")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(
                QStringLiteral(R"({"screens": [{"name": "small", "x": %1, "y": %2, "width": %3, "height": %4}]})")
                    .arg(kScreen.x())
                    .arg(kScreen.y())
                    .arg(kScreen.width())
                    .arg(kScreen.height())
                    .toUtf8());
            file.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + file.fileName().toLocal8Bit());
        }
    }
    QApplication app(argc, argv);
    tst_frmCtlInput tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_frmCtlInput.moc"
