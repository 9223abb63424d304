// The stop-name column: dot patterns read back from the dot surface, the
// cell layout, and scrolling driven by virtual time.
#include "board/chimei/ChimeiCtl_A.h"
#include "board/chimei/ChimeiGlyph.h"
#include "core/PropertyBag.h"
#include "platform/ColorRef.h"
#include "platform/Fonts.h"
#include "platform/RealPlatform.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

using Glyph = std::array<std::array<bool, 16>, 16>;

// The 16 x 16 dots of the cell whose top-left dot is at (X, Y).
Glyph cellAt(const ChimeiCtl_A& c, int X, int Y) {
    Glyph g{};
    const QImage& s = c.dotSurface();
    for (int gy = 0; gy < 16; ++gy)
        for (int gx = 0; gx < 16; ++gx) {
            const int x = X + 2 * gx, y = Y + 2 * gy;
            g[gy][gx] = x < s.width() && y < s.height() && s.pixelIndex(x, y) != 0;
        }
    return g;
}

int dotCount(const ChimeiCtl_A& c) {
    const QImage& s = c.dotSurface();
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            n += s.pixelIndex(x, y) != 0;
    return n;
}

int inkCount(const Glyph& g) {
    int n = 0;
    for (const auto& row : g)
        for (bool b : row)
            n += b;
    return n;
}

Glyph transposed(const Glyph& g) {
    Glyph t{};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            t[x][y] = g[y][x];
    return t;
}

Glyph gothic(const QString& s, int dx = 0, int dy = 0) {
    return chimei::rasterise(s, platform::kFaceGothic, false, dx, dy);
}
Glyph mincho(const QString& s) {
    return chimei::rasterise(s, platform::kFaceMincho, false, 0, 0);
}

// One piece drawn alone at (2, 0) under a font mode.
Glyph drawn(const QString& piece, qint16 fontMode = 0) {
    ChimeiCtl_A c;
    c.setFontMode(fontMode);
    c.DrawDot16(2, 0, piece);
    return cellAt(c, 2, 0);
}

} // namespace

class tst_ChimeiCtl_A : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verticalForms();
    void fontChosenPerCharacter();
    void cellLayout_data();
    void cellLayout();
    void oddBytesKeepEveryCharacter();
    void longNameScrolls();
    void scrollWithVirtualTime();
    void scrollStopsOnShortNameNotOnEmpty();
    void scrollWrapFollowsFrameAndDirection();
    void queuedNameDuringSetChimei();
    void realTimerScrollsOnlyWhileVisible();
    void columnLooksLikeLedSign();
    void paintedColumnFollowsTheDots();
    void colours();
    void properties();
    void badInput();
};

void tst_ChimeiCtl_A::verticalForms() {
    PlatformDoubles doubles;
    // "ー" stands upright: one column of dots from near the top to near the bottom.
    const Glyph bar = drawn(QStringLiteral("ー"));
    QCOMPARE(bar, gothic(QStringLiteral("丨")));
    QSet<int> columns;
    int rows = 0;
    for (int y = 0; y < 16; ++y) {
        bool any = false;
        for (int x = 0; x < 16; ++x)
            if (bar[y][x]) {
                columns.insert(x);
                any = true;
            }
        rows += any;
    }
    QVERIFY2(columns.size() <= 2 && rows >= 10, "the long-vowel mark is not a vertical bar");

    // Every bracket, arrow and dash is the horizontal glyph mirrored on its diagonal.
    const QString marks = QStringLiteral("（）『』〔〕「」［］＜＞｛｝〈〉《》【】～＝→←⇒⇔－");
    for (const QChar ch : marks)
        QVERIFY2(drawn(QString(ch)) == transposed(gothic(QString(ch))),
                 qPrintable(QStringLiteral("%1 is not transposed").arg(ch)));

    // "（" becomes a cap: its top dots are in the middle, its ends lower down.
    const Glyph paren = drawn(QStringLiteral("（"));
    int top = 16, left = 16, right = -1, leftRow = 0, rightRow = 0, topCol = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (paren[y][x]) {
                if (y < top) {
                    top = y;
                    topCol = x;
                }
                if (x < left) {
                    left = x;
                    leftRow = y;
                }
                if (x > right) {
                    right = x;
                    rightRow = y;
                }
            }
    QVERIFY(right - left >= 10);
    QVERIFY2(leftRow > top && rightRow > top && topCol > left + 2 && topCol < right - 2,
             "the opening bracket does not curve over the top");

    // Small punctuation moves 10 pixels right and 10 up: into the upper right.
    for (const QString& p : {QStringLiteral("。"), QStringLiteral("、")}) {
        const Glyph g = drawn(p);
        QCOMPARE(g, gothic(p, 10, -10));
        const Glyph plain = gothic(p);
        int moved = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                QVERIFY2(!g[y][x] || (x >= 8 && y < 8), "punctuation outside the upper right");
                if (plain[y][x] && x + 10 < 16 && y - 10 >= 0)
                    moved += g[y - 10][x + 10];
            }
        QVERIFY(moved > 0);
    }

    // "申" and "山" sit one pixel further right in font mode 0 only (mode 2
    // draws kanji in the same Gothic face).
    for (const QString& k : {QStringLiteral("申"), QStringLiteral("山")}) {
        QCOMPARE(drawn(k, 0), gothic(k, 1, 0));
        QCOMPARE(drawn(k, 2), gothic(k));
        QVERIFY(drawn(k, 0) != drawn(k, 2));
    }
    QCOMPARE(drawn(QStringLiteral("田"), 0), gothic(QStringLiteral("田")));
}

void tst_ChimeiCtl_A::fontChosenPerCharacter() {
    PlatformDoubles doubles;
    const QString kanji = QStringLiteral("駅"), kana = QStringLiteral("あ"), wideA = QStringLiteral("Ａ"),
                  narrowA = QStringLiteral("A");
    for (const QString& s : {kanji, kana, wideA, narrowA})
        QVERIFY2(gothic(s) != mincho(s), "the two faces draw this character alike");

    QCOMPARE(drawn(kanji, 1), mincho(kanji));
    // Mode 2: kanji Gothic, the rest Mincho; mode 3 the other way round.
    QCOMPARE(drawn(kanji, 2), gothic(kanji));
    QCOMPARE(drawn(kana, 2), mincho(kana));
    QCOMPARE(drawn(kanji, 3), mincho(kanji));
    QCOMPARE(drawn(kana, 3), gothic(kana));
    // Mode 4: full-width Latin letters Gothic; half-width ones and kanji Mincho.
    QCOMPARE(drawn(wideA, 4), gothic(wideA));
    QCOMPARE(drawn(narrowA, 4), mincho(narrowA));
    QCOMPARE(drawn(kanji, 4), mincho(kanji));
    // Modes outside 1..4 are Gothic.
    QCOMPARE(drawn(kana, -1), gothic(kana));
    QCOMPARE(drawn(kana, 7), gothic(kana));

    // The code boundaries: 0x889F is the first kanji, 0x824F..0x829A the
    // full-width digits and letters; single bytes count as kanji.
    const auto face = &chimei::faceForPiece;
    QCOMPARE(face(QStringLiteral("亜"), 2), platform::kFaceGothic); // 0x889F
    QCOMPARE(face(QStringLiteral("ヶ"), 2), platform::kFaceMincho); // 0x8396
    QCOMPARE(face(QStringLiteral("AB"), 2), platform::kFaceGothic);
    QCOMPARE(face(QStringLiteral("ｱ"), 3), platform::kFaceMincho);
    QCOMPARE(face(QStringLiteral("０"), 4), platform::kFaceGothic); // 0x824F
    QCOMPARE(face(QStringLiteral("ｚ"), 4), platform::kFaceGothic); // 0x829A
    QCOMPARE(face(QStringLiteral("ぁ"), 4), platform::kFaceMincho); // 0x829F
    QCOMPARE(face(QStringLiteral("＠"), 4), platform::kFaceMincho); // 0x8197
}

void tst_ChimeiCtl_A::cellLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint16>("mode");
    QTest::addColumn<QList<int>>("tops");
    const QString t = QStringLiteral("田");
    QTest::newRow("1 cell") << t << qint16(0) << QList<int>{80};
    QTest::newRow("2 cells") << t.repeated(2) << qint16(0) << QList<int>{32, 128};
    QTest::newRow("2 cells, Mode 2") << t.repeated(2) << qint16(2) << QList<int>{48, 112};
    QTest::newRow("2 cells, Mode 1") << t.repeated(2) << qint16(1) << QList<int>{32, 128};
    QTest::newRow("3 cells") << t.repeated(3) << qint16(2) << QList<int>{16, 80, 144};
    QTest::newRow("4 cells") << t.repeated(4) << qint16(0) << QList<int>{8, 56, 104, 152};
    QTest::newRow("5 cells") << t.repeated(5) << qint16(0) << QList<int>{4, 42, 80, 118, 156};
    QTest::newRow("6 cells") << t.repeated(6) << qint16(0) << QList<int>{0, 32, 64, 96, 128, 160};
}

void tst_ChimeiCtl_A::cellLayout() {
    QFETCH(QString, name);
    QFETCH(qint16, mode);
    QFETCH(QList<int>, tops);
    PlatformDoubles doubles;
    ChimeiCtl_A c;
    c.setMode(mode);
    c.SetChimei(name);
    QCOMPARE(c.surfaceHeight(), 192);
    QVERIFY(c.StopScroll());
    const Glyph field = gothic(QStringLiteral("田"));
    for (int top : tops)
        QVERIFY2(cellAt(c, 2, top) == field, qPrintable(QStringLiteral("no cell at %1").arg(top)));
    QCOMPARE(dotCount(c), int(tops.size()) * inkCount(field));
}

void tst_ChimeiCtl_A::oddBytesKeepEveryCharacter() {
    PlatformDoubles doubles;
    ChimeiCtl_A c;
    // Two half-width characters share a cell.
    c.SetChimei(QStringLiteral("12"));
    QCOMPARE(cellAt(c, 2, 80), gothic(QStringLiteral("12")));
    // A lone half-width character is drawn at the top.
    c.SetChimei(QStringLiteral("7"));
    QCOMPARE(cellAt(c, 2, 0), gothic(QStringLiteral("7")));
    QCOMPARE(dotCount(c), inkCount(gothic(QStringLiteral("7"))));
    // An odd last byte gets a cell of its own instead of being drawn over
    // the first cell or below the column.
    c.SetChimei(QStringLiteral("ABC"));
    QCOMPARE(cellAt(c, 2, 32), gothic(QStringLiteral("AB")));
    QCOMPARE(cellAt(c, 2, 128), gothic(QStringLiteral("C")));
    c.SetChimei(QStringLiteral("田田田A"));
    QCOMPARE(cellAt(c, 2, 152), gothic(QStringLiteral("A")));
    // A half-width character before a full-width one does not split it.
    c.SetChimei(QStringLiteral("A駅"));
    QCOMPARE(cellAt(c, 2, 32), gothic(QStringLiteral("A")));
    QCOMPARE(cellAt(c, 2, 128), gothic(QStringLiteral("駅")));
    QCOMPARE(chimei::splitPieces(QStringLiteral("JR東口ﾊﾞｽ1"), ChimeiCtl_A::kMaxCells),
             (QStringList{QStringLiteral("JR"), QStringLiteral("東"), QStringLiteral("口"), QStringLiteral("ﾊﾞ"),
                          QStringLiteral("ｽ1")}));
}

void tst_ChimeiCtl_A::longNameScrolls() {
    PlatformDoubles doubles;
    ChimeiCtl_A c;
    c.SetChimei(QStringLiteral("中央病院前東口"));
    QCOMPARE(c.surfaceHeight(), 224);
    QVERIFY(!c.StopScroll());
    QVERIFY(c.isPausing());
    QCOMPARE(cellAt(c, 2, 192), gothic(QStringLiteral("口")));
    // Thirteen bytes: the half-width tail is the seventh cell, inside the surface.
    c.SetChimei(QStringLiteral("田田田田田田X"));
    QCOMPARE(c.surfaceHeight(), 224);
    QCOMPARE(cellAt(c, 2, 192), gothic(QStringLiteral("X")));
    // The call never waited.
    QVERIFY(doubles.clock.sleeps.isEmpty());
}

void tst_ChimeiCtl_A::scrollWithVirtualTime() {
    PlatformDoubles doubles;
    auto& clock = doubles.clock;
    ChimeiCtl_A c;
    QCOMPARE(c.Speed(), qint16(5));
    QCOMPARE(c.ScrollStartWait(), 1500);
    c.SetChimei(QStringLiteral("中央病院前東口"));

    // The start pause.
    clock.advance(1499);
    c.tick();
    QVERIFY(c.isPausing());
    QCOMPARE(c.surfaceTop(), 0);
    clock.advance(1);
    c.tick();
    QVERIFY(!c.isPausing());
    // Speed 5 moves 5/200 pixel per millisecond step.
    clock.advance(40);
    c.tick();
    QCOMPARE(c.surfaceTop(), -1);
    clock.advance(960);
    c.tick();
    QCOMPARE(c.surfaceTop(), -25);
    // A new speed applies from the next step on.
    c.setSpeed(40);
    clock.advance(100);
    c.tick();
    QCOMPARE(c.surfaceTop(), -45);

    // The wrap: the name's bottom one frame height (196) above the frame's top,
    // i.e. 224 + 196 = 420 pixels travelled.
    c.setSpeed(200); // one pixel a step
    clock.advance(374);
    c.tick();
    QCOMPARE(c.surfaceTop(), -419);
    clock.advance(1);
    c.tick();
    QCOMPARE(c.surfaceTop(), 0);
    QVERIFY(c.isPausing());
    // The pause after the wrap, then moving again from the top.
    clock.advance(1500);
    c.tick();
    QCOMPARE(c.surfaceTop(), 0);
    clock.advance(10);
    c.tick();
    QCOMPARE(c.surfaceTop(), -10);
    // A long gap (the column hidden, nobody ticking) lands where steady
    // ticking would: each round is 420 steps plus 1500 ms.
    clock.advance(1920 * 1000);
    c.tick();
    QCOMPARE(c.surfaceTop(), -10);

    // Speed 0 becomes 1 when the start pause ends, not before.
    c.setSpeed(0);
    QSignalSpy changed(&c, &ChimeiCtl_A::PropertyChanged);
    c.SetChimei(QStringLiteral("中央病院前西口"));
    clock.advance(1000);
    c.tick();
    QCOMPARE(c.Speed(), qint16(0));
    clock.advance(500);
    c.tick();
    QCOMPARE(c.Speed(), qint16(1));
    QVERIFY(changed.contains({QStringLiteral("Speed")}));
    clock.advance(400);
    c.tick();
    QCOMPARE(c.surfaceTop(), -2);
    QVERIFY(clock.sleeps.isEmpty());
}

void tst_ChimeiCtl_A::scrollStopsOnShortNameNotOnEmpty() {
    PlatformDoubles doubles;
    auto& clock = doubles.clock;
    ChimeiCtl_A c;
    c.setSpeed(200);
    c.setScrollStartWait(0);
    c.SetChimei(QStringLiteral("中央病院前東口"));
    clock.advance(50);
    c.tick();
    QCOMPARE(c.surfaceTop(), -50);

    // An empty name blanks the column; the scroll goes on over it.
    c.SetChimei(QString());
    QCOMPARE(dotCount(c), 0);
    QVERIFY(!c.StopScroll());
    QCOMPARE(c.text(), QStringLiteral("中央病院前東口"));
    clock.advance(50);
    c.tick();
    QCOMPARE(c.surfaceTop(), -100);

    // A short name stops it and stands at the top.
    c.SetChimei(QStringLiteral("市役所前"));
    QVERIFY(c.StopScroll());
    QCOMPARE(c.surfaceTop(), 0);
    QCOMPARE(c.surfaceHeight(), 192);
    clock.advance(5000);
    c.tick();
    QCOMPARE(c.surfaceTop(), 0);
    QVERIFY(!c.frameTimerActive());

    // A new long name during a scroll starts over with its own pause.
    c.SetChimei(QStringLiteral("中央病院前東口"));
    clock.advance(30);
    c.tick();
    c.setScrollStartWait(100);
    c.SetChimei(QStringLiteral("田田田田田田田田"));
    QCOMPARE(c.surfaceHeight(), 256);
    clock.advance(99);
    c.tick();
    QCOMPARE(c.surfaceTop(), 0);
    clock.advance(21);
    c.tick();
    QCOMPARE(c.surfaceTop(), -20);
}

void tst_ChimeiCtl_A::scrollWrapFollowsFrameAndDirection() {
    PlatformDoubles doubles;
    auto& clock = doubles.clock;
    ChimeiCtl_A c;
    c.setAppearance(0); // flat frame, 185 high
    QCOMPARE(c.frameRect().size(), QSize(35, 185));
    c.setSpeed(200);
    c.setScrollStartWait(0);
    c.SetChimei(QStringLiteral("中央病院前東口"));
    clock.advance(408);
    c.tick();
    QCOMPARE(c.surfaceTop(), -408);
    clock.advance(1);
    c.tick();
    QCOMPARE(c.surfaceTop(), 0);

    // A negative speed moves the name down; it comes back to the top after
    // the same distance instead of drifting away for ever.
    c.setSpeed(-200);
    clock.advance(100);
    c.tick();
    QCOMPARE(c.surfaceTop(), 100);
    clock.advance(309);
    c.tick();
    QCOMPARE(c.surfaceTop(), 0);
}

void tst_ChimeiCtl_A::queuedNameDuringSetChimei() {
    PlatformDoubles doubles;
    ChimeiCtl_A c;
    const QString longName = QStringLiteral("中央病院前東口"), shortName = QStringLiteral("市役所前");
    // SetChimei lets pending events run before it draws. A name set by an
    // event that runs there is the newer one and stays, long or short.
    int ran = 0;
    QTimer::singleShot(0, &c, [&] {
        ++ran;
        c.SetChimei(shortName);
    });
    c.SetChimei(longName);
    QCOMPARE(ran, 1);
    QCOMPARE(c.text(), shortName);
    QVERIFY(c.StopScroll());
    QCOMPARE(c.surfaceHeight(), 192);
    QCOMPARE(cellAt(c, 2, 8), gothic(QStringLiteral("市")));
    QCOMPARE(dotCount(c), [&] {
        int n = 0;
        for (const QChar ch : shortName)
            n += inkCount(gothic(QString(ch)));
        return n;
    }());

    QTimer::singleShot(0, &c, [&] {
        ++ran;
        c.SetChimei(longName);
    });
    c.SetChimei(shortName);
    QCOMPARE(ran, 2);
    QCOMPARE(c.text(), longName);
    QVERIFY(!c.StopScroll());
    QCOMPARE(c.surfaceHeight(), 224);
    QCOMPARE(cellAt(c, 2, 0), gothic(QStringLiteral("中")));
    doubles.clock.advance(1600);
    c.tick();
    QVERIFY2(c.surfaceTop() < 0, "the newer long name does not scroll");

    // A posted event that calls SetChimei does the same.
    struct Caller : QObject {
        std::function<void()> call;
        bool event(QEvent* e) override {
            if (e->type() != QEvent::User)
                return QObject::event(e);
            call();
            return true;
        }
    } caller;
    caller.call = [&] { c.SetChimei(shortName); };
    QCoreApplication::postEvent(&caller, new QEvent(QEvent::User));
    c.SetChimei(QStringLiteral("駅前"));
    QCOMPARE(c.text(), shortName);
    QVERIFY(c.StopScroll());

    // A name that arrives while the call draws (posted by an event of the
    // first round) wins as well.
    caller.call = [&] { QTimer::singleShot(0, &c, [&] { c.SetChimei(longName); }); };
    QCoreApplication::postEvent(&caller, new QEvent(QEvent::User));
    c.SetChimei(QStringLiteral("駅前"));
    QCOMPARE(c.text(), longName);
    QVERIFY(!c.StopScroll());
    QCOMPARE(cellAt(c, 2, 0), gothic(QStringLiteral("中")));

    // An empty name is a name too: set by a newer call, it leaves the column
    // blank (and, as always, a running scroll running).
    QTimer::singleShot(0, &c, [&] { c.SetChimei(QString()); });
    c.SetChimei(shortName);
    QCOMPARE(dotCount(c), 0);
    QVERIFY(!c.StopScroll());
    QCOMPARE(c.text(), longName);
}

void tst_ChimeiCtl_A::realTimerScrollsOnlyWhileVisible() {
    // Real clock and timers, on purpose.
    platform::ScopedInstall<platform::Clock> realTime{platform::realClock()};
    ChimeiCtl_A c;
    c.setSpeed(2000);
    c.setScrollStartWait(1500);
    QElapsedTimer t;
    t.start();
    c.SetChimei(QStringLiteral("中央病院前東口"));
    QVERIFY2(t.elapsed() < 500, "SetChimei waited for the start pause");
    // Hidden: no timer runs at all.
    QVERIFY(!c.frameTimerActive());
    c.setScrollStartWait(20);
    c.SetChimei(QStringLiteral("中央病院前西口"));
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    QVERIFY(c.frameTimerActive());
    QTRY_VERIFY_WITH_TIMEOUT(c.surfaceTop() < -20, 3000);
    // Standing still costs nothing.
    c.setSpeed(0);
    QTRY_VERIFY_WITH_TIMEOUT(!c.frameTimerActive(), 3000);
    c.hide();
    c.setSpeed(2000);
    QVERIFY(!c.frameTimerActive());
}

void tst_ChimeiCtl_A::columnLooksLikeLedSign() {
    PlatformDoubles doubles;
    ChimeiCtl_A c;
    c.SetChimei(QStringLiteral("田"));
    const QImage shot = c.grab().toImage();
    const QRect inner = c.frameInnerRect();
    QCOMPARE(c.frameRect().size(), QSize(37, 196));
    QCOMPARE(inner.topLeft(), QPoint(2, 2));
    const QColor fore = platform::toQColor(ChimeiCtl_A::kDefaultForeColor);
    const QColor back = platform::toQColor(ChimeiCtl_A::kDefaultBackColor);
    const Glyph g = gothic(QStringLiteral("田"));
    for (int gy = 0; gy < 16; ++gy)
        for (int gx = 0; gx < 16; ++gx) {
            const int x = inner.left() + 2 + 2 * gx, y = inner.top() + 80 + 2 * gy;
            QCOMPARE(testsupport::pixel(shot, x, y), g[gy][gx] ? fore : back);
            // Between dots the background shows.
            if (gx < 15)
                QCOMPARE(testsupport::pixel(shot, x + 1, y), back);
            if (gy < 15)
                QCOMPARE(testsupport::pixel(shot, x, y + 1), back);
        }
}

// What is painted inside the frame is the band of the dot surface at the
// scroll position, background elsewhere, wherever the name stands, and after
// anything that changes the dots or their colours.
void tst_ChimeiCtl_A::paintedColumnFollowsTheDots() {
    PlatformDoubles doubles;
    ChimeiCtl_A c;
    auto paintedAsSurface = [&c](const char* when) {
        const QImage shot = c.grab().toImage();
        const QImage dots = c.dotImage();
        const QRect inner = c.frameInnerRect();
        const QColor back = platform::toQColor(c.BackColor());
        for (int y = 0; y < inner.height(); ++y)
            for (int x = 0; x < ChimeiCtl_A::kSurfaceWidth && x < inner.width(); ++x) {
                const int sy = y - c.surfaceTop();
                const QColor want = sy >= 0 && sy < dots.height() ? dots.pixelColor(x, sy) : back;
                if (testsupport::pixel(shot, inner.left() + x, inner.top() + y) != want)
                    return QStringLiteral("%1: pixel (%2, %3) at top %4").arg(when).arg(x).arg(y).arg(c.surfaceTop());
            }
        return QString();
    };
#define CHECK_PAINTED(when) QVERIFY2(paintedAsSurface(when).isEmpty(), qPrintable(paintedAsSurface(when)))

    // Forty cells are taller than what is converted for painting at once.
    c.setSpeed(200);
    c.setScrollStartWait(0);
    c.SetChimei(QStringLiteral("中央病院前東口市民会館入口").repeated(3) + QStringLiteral("終点"));
    QVERIFY(c.surfaceHeight() > ChimeiDotSurface::kCacheRows);
    for (int top : {0, 100, 900, 1000, 1100, 1200, 1279, 1300, 1350}) {
        doubles.clock.advance(top + c.surfaceTop());
        c.tick();
        QCOMPARE(c.surfaceTop(), -top);
        CHECK_PAINTED("scrolled");
    }
    // New dots, a new background, a new frame: the paint follows.
    c.SetChimei(QStringLiteral("市役所前"));
    CHECK_PAINTED("new name");
    c.setBackColor(platform::rgbRef(0, 64, 0));
    CHECK_PAINTED("new background");
    c.setForeColor(platform::rgbRef(255, 0, 0));
    c.DrawDot16(2, 160, QStringLiteral("口"));
    CHECK_PAINTED("one more cell");
    c.setAppearance(0);
    CHECK_PAINTED("flat frame");
    QVERIFY2(dotCount(c) > 4 * 20, "the frame style took the dots away");
    c.SetChimei(QString());
    CHECK_PAINTED("cleared");
#undef CHECK_PAINTED
}

void tst_ChimeiCtl_A::colours() {
    PlatformDoubles doubles;
    ChimeiCtl_A c;
    c.setForeColor(platform::rgbRef(255, 0, 0));
    c.DrawDot16(2, 0, QStringLiteral("田"));
    c.setForeColor(platform::rgbRef(0, 0, 255));
    c.DrawDot16(2, 32, QStringLiteral("田"));
    // A new background leaves the dots as they were.
    c.setBackColor(platform::rgbRef(0, 64, 0));
    const QImage img = c.dotImage();
    const int x = 2 + 2 * 2, y = 2 * 2; // the top-left corner of 田
    QCOMPARE(img.pixelColor(x, y), QColor(255, 0, 0));
    QCOMPARE(img.pixelColor(x, y + 32), QColor(0, 0, 255));
    QCOMPARE(img.pixelColor(0, 0), QColor(0, 64, 0));
    QCOMPARE(c.BackColor(), platform::rgbRef(0, 64, 0));
}

void tst_ChimeiCtl_A::properties() {
    PlatformDoubles doubles;
    ChimeiCtl_A c;
    QCOMPARE(c.size(), QSize(38, 197));
    QCOMPARE(c.Mode(), qint16(0));
    QCOMPARE(c.FontMode(), qint16(0));
    QCOMPARE(c.FontBold(), false);
    QCOMPARE(c.Appearance(), qint16(1));

    PropertyBag bag;
    c.WriteProperties(bag);
    QVERIFY2(bag.entries().isEmpty(), "defaults were stored");

    QSignalSpy changed(&c, &ChimeiCtl_A::PropertyChanged);
    c.setBackColor(1);
    c.setForeColor(2);
    c.setSpeed(3);
    c.setScrollStartWait(4);
    c.setMode(2);
    c.setAppearance(0);
    c.setFontMode(4);
    c.setFontBold(true);
    QCOMPARE(changed.size(), 8);
    c.WriteProperties(bag);
    QStringList keys;
    for (const auto& e : bag.entries())
        keys << e.first;
    QCOMPARE(keys, (QStringList{"backcolor", "forecolor", "speed", "scrollstartwait", "mode", "appearance", "fontmode",
                                "fontbold"}));

    ChimeiCtl_A d;
    d.setAppearance(1);
    QCOMPARE(d.frameRect().size(), QSize(37, 195));
    d.ReadProperties(bag);
    QCOMPARE(d.BackColor(), 1u);
    QCOMPARE(d.ForeColor(), 2u);
    QCOMPARE(d.Speed(), qint16(3));
    QCOMPARE(d.ScrollStartWait(), 4);
    QCOMPARE(d.Mode(), qint16(2));
    QCOMPARE(d.FontMode(), qint16(4));
    QVERIFY(d.FontBold());
    // Restoring the border style does not resize the frame.
    QCOMPARE(d.Appearance(), qint16(0));
    QCOMPARE(d.frameRect().size(), QSize(37, 195));
    QCOMPARE(d.frameInnerRect(), QRect(1, 1, 35, 193));

    // Bold draws heavier glyphs.
    ChimeiCtl_A b;
    b.setFontBold(true);
    b.DrawDot16(2, 0, QStringLiteral("川"));
    QVERIFY(inkCount(cellAt(b, 2, 0)) > inkCount(gothic(QStringLiteral("川"))));
}

void tst_ChimeiCtl_A::badInput() {
    PlatformDoubles doubles;
    ChimeiCtl_A c;
    // Pieces off the surface or at absurd places are simply not seen.
    c.DrawDot16(-1000, -1000, QStringLiteral("田"));
    c.DrawDot16(2147483000, 2147483000, QStringLiteral("田"));
    c.DrawDot16(2, 0, QStringLiteral("田田田田"));
    QVERIFY(dotCount(c) > 0);
    // Characters without a Shift-JIS code are shown as "?".
    c.SetChimei(QStringLiteral("😀"));
    QCOMPARE(cellAt(c, 2, 0), gothic(QStringLiteral("?")));
    // A name longer than the surface can hold is cut, not a crash.
    c.SetChimei(QStringLiteral("田").repeated(ChimeiCtl_A::kMaxCells + 100));
    QCOMPARE(c.surfaceHeight(), 32 * ChimeiCtl_A::kMaxCells);
    QVERIFY(!c.StopScroll());
    doubles.clock.advance(1000000);
    c.tick();
}

QTEST_MAIN(tst_ChimeiCtl_A)
#include "tst_ChimeiCtl_A.moc"
