// The numbered-ticket preview end to end: the demo's route 12 driven on the
// shown panel with the real plug-in engine and the demo's sample plug-ins,
// the ticket compared with one the engine draws directly, its bar code read
// back with zxing-cpp, the copy through the popup menu onto the real
// clipboard, and what a cancelled choice, a file that is no plug-in and a
// plug-in that disappeared leave behind.
#include "control/SeirikenPreview.h"
#include "platform/QtVXB4Res.h"
#include "platform/RealPlatform.h"
#include "tests/control/PanelFixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>

#include <ZXing/ReadBarcode.h>

namespace {

QString demo(const QString& relative = QString()) {
    return testsupport::sourcePath(QStringLiteral("data/demo/") + relative);
}

// The real helper library, with its file dialog answered by the test.
class AnsweredDialogs : public platform::QtVXB4Res {
public:
    QString answer;
    QStringList titles;

    QString Vx3FileDlg(QWidget*, qint32, const QString&, const QString&, const QString& title) override {
        titles << title;
        return answer;
    }
};

// One ticket as the panel hands it to the plug-in.
struct Ticket {
    QString stop;
    qint16 number = 0;
    qint16 order = 0;
    qint16 company = -1;
    QString date = QStringLiteral("04-01-2026");
    QString time = QStringLiteral("08:15:30");
    qint32 route = 12;
};

// What the bar code of an image says, read by zxing-cpp with no help from
// the program's own drawing code.
QString readBarcode(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                int(grey.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::Codabar);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    return result.isValid() ? QString::fromStdString(result.text()) : QString();
}

int printedPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != SeirikenPreview::kBackColor ? 1 : 0;
    return n;
}

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class tst_TicketPreview : public QObject {
    Q_OBJECT

    // The panel shown with its preview folded out, over the doubles, but
    // with the real plug-in engine and the demo's fare data.
    struct Drive {
        PanelFixture f;
        AnsweredDialogs lib;
        platform::ScopedInstall<platform::VXB4Res> helper{lib};
        frmCtl& p = f.panel();
        frmOption& o = f.w.options;

        Drive() {
            o.Text2[0]->setText(demo());
            o.Text2[1]->setText(demo());
            o.chkUseSeiriPrev->setChecked(true);
            f.d.clock.current = QDateTime(QDate(2026, 4, 1), QTime(8, 15, 30));
            p.show();
            if (!QTest::qWaitForWindowExposed(&p))
                qWarning("the panel was not shown");
            QTest::mouseClick(p.Check4, Qt::LeftButton);
        }

        // The options' "..." button of the plug-in, answered with path.
        void choosePlugin(const QString& path) {
            lib.answer = path;
            o.Command1->click();
        }
        // Route 12 from section 1; the clock stands still during the lamp
        // test, so that every ticket shows 08:15:30.
        void setRoute12() {
            f.keypadReset(QStringLiteral("12"), QStringLiteral("1"));
            f.d.clock.current = QDateTime(QDate(2026, 4, 1), QTime(8, 15, 30));
        }
        void step(int index) { QTest::mouseClick(p.Command2[size_t(index)], Qt::LeftButton); }
        // The ticket the engine draws by itself into paper of the preview's
        // size.
        QImage direct(const QString& plugin, const Ticket& t) {
            QImage image(p.picSeirikenPrev->size(), QImage::Format_RGB32);
            image.fill(SeirikenPreview::kBackColor);
            QPainter painter(&image);
            lib.VX4_DrawSeiriken(plugin, painter, t.stop, t.date, t.time, t.route, t.number, t.order, t.company);
            return image;
        }
        const QImage& preview() { return p.picSeirikenPrev->image(); }
        // What the panel shows inside the preview's one-pixel edge.
        QImage onScreen() { return rgb(p.picSeirikenPrev->grab().toImage()); }
    };

private Q_SLOTS:
    void init() { mdlM_Tape::reset(); }

    void ticketFollowsTheStops() {
        Drive d;
        const QString full = demo(QStringLiteral("plugins/full.4SP"));
        d.choosePlugin(full);
        QCOMPARE(d.o.txtSeiriPlgDir->text(), full);
        QCOMPARE(d.p.picSeirikenPrev->size(), QSize(230, 360)); // 3450 x 5400 twips
        QCOMPARE(d.p.Combo1->count(), 3);
        QVERIFY(d.p.picSeirikenPrev->isVisible());

        // The company is chosen on the panel with the keyboard.
        d.p.Combo1->setFocus();
        QTest::keyClick(d.p.Combo1, Qt::Key_Down);
        QCOMPARE(d.p.Combo1->currentIndex(), 0);

        d.setRoute12();
        // The reset drew the ticket of the first stop; the clock had moved
        // on by the lamp test when it was drawn.
        Ticket first{QStringLiteral("若葉駅北口"), 1, 1, 0};
        first.time = QStringLiteral("08:15:33");
        QCOMPARE(rgb(d.preview()), d.direct(full, first));

        const struct {
            int button;
            Ticket ticket;
            QString barcode; // route 12, outbound 0, ticket, stop order
        } drive[] = {
            {1, {QStringLiteral("本町二丁目"), 2, 2, 0}, QStringLiteral("1200202")},
            {1, {QStringLiteral("市役所前"), 3, 3, 0}, QStringLiteral("1200303")},
            {1, {QStringLiteral("中央公園"), 4, 4, 0}, QStringLiteral("1200404")},
            {1, {QStringLiteral("若葉市民病院"), 5, 5, 0}, QStringLiteral("1200505")},
            {0, {QStringLiteral("中央公園"), 4, 4, 0}, QStringLiteral("1200404")},
        };
        QImage before = d.preview();
        for (const auto& stop : drive) {
            d.step(stop.button);
            QCOMPARE(d.f.stopName(), stop.ticket.stop);
            const QImage expected = d.direct(full, stop.ticket);
            QCOMPARE(rgb(d.preview()), expected);
            QVERIFY2(d.preview() != before, "The preview did not change with the stop.");
            before = d.preview();
            QCOMPARE(readBarcode(d.preview()), stop.barcode);
            // The panel shows it: inside its edge the box is the ticket.
            const QRect inner = d.p.picSeirikenPrev->rect().adjusted(1, 1, -1, -1);
            QCOMPARE(d.onScreen().copy(inner), expected.copy(inner));
        }
        QVERIFY2(printedPixels(d.preview()) > 5000, "The ticket shows hardly any print.");

        // Another company shows from the next refresh on, not before.
        QTest::keyClick(d.p.Combo1, Qt::Key_Down);
        QCOMPARE(d.p.Combo1->currentIndex(), 1);
        QCOMPARE(rgb(d.preview()), d.direct(full, {QStringLiteral("中央公園"), 4, 4, 0}));
        d.step(1);
        QCOMPARE(rgb(d.preview()), d.direct(full, {QStringLiteral("若葉市民病院"), 5, 5, 1}));
        QVERIFY(d.direct(full, {QStringLiteral("若葉市民病院"), 5, 5, 1}) !=
                d.direct(full, {QStringLiteral("若葉市民病院"), 5, 5, 0}));
        QCOMPARE(d.f.messages(), QStringList());
    }

    void ticketCarriesTheRowsOwnNumbers() {
        // Ticket numbers that differ from the stop order, and a route typed
        // with a leading zero: each value reaches its own place on the
        // ticket and in the bar code.
        Drive d;
        d.o.Text2[0]->setText(d.f.dir.path());
        d.o.Text2[1]->setText(d.f.dir.path());
        d.f.write(QStringLiteral("34.hy3"), hy3::file(3, {hy3::record(QStringLiteral("港"), 0, {150}),
                                                          hy3::record(QStringLiteral("北浜"), 7, {160, 150}),
                                                          hy3::record(QStringLiteral("灯台"), 12, {170, 160})}));
        const QString full = demo(QStringLiteral("plugins/full.4SP"));
        d.choosePlugin(full);
        d.f.keypadReset(QStringLiteral("034"), QStringLiteral("1"));
        QCOMPARE(d.f.messages(), QStringList());
        d.f.d.clock.current = QDateTime(QDate(2026, 4, 1), QTime(8, 15, 30));
        d.step(1);
        Ticket t{QStringLiteral("北浜"), 7, 2, -1};
        t.route = 34;
        QCOMPARE(rgb(d.preview()), d.direct(full, t));
        QCOMPARE(readBarcode(d.preview()), QStringLiteral("3400702"));
        d.step(1);
        QCOMPARE(readBarcode(d.preview()), QStringLiteral("3401203"));
    }

    void copyPutsThePreviewOnTheClipboard() {
        Drive d;
        platform::ScopedInstall<platform::Clipboard> clipboard{platform::realClipboard()};
        QClipboard* cb = QGuiApplication::clipboard();
        cb->setText(QStringLiteral("前の内容"));
        d.choosePlugin(demo(QStringLiteral("plugins/full.4SP")));
        d.setRoute12();
        d.step(1);
        d.step(1);

        // A right-button press on the preview opens the menu at the pointer;
        // its one item copies.
        const QPoint at(40, 60);
        QTest::mousePress(d.p.picSeirikenPrev, Qt::RightButton, {}, at);
        QTRY_VERIFY(d.p.MnuHide->isVisible());
        QVERIFY((d.p.MnuHide->geometry().topLeft() - d.p.picSeirikenPrev->mapToGlobal(at)).manhattanLength() <= 2);
        QCOMPARE(d.p.MnuHide->actions(), QList<QAction*>{d.p.MnuHideCopy});
        QCOMPARE(d.p.MnuHideCopy->text(), QStringLiteral("コピー(&C)"));
        QTest::mouseClick(d.p.MnuHide, Qt::LeftButton, {}, d.p.MnuHide->actionGeometry(d.p.MnuHideCopy).center());
        QTRY_VERIFY(!d.p.MnuHide->isVisible());

        const QImage copied = cb->image();
        QVERIFY2(!copied.isNull(), "The clipboard holds no picture.");
        QCOMPARE(copied.size(), d.preview().size());
        QCOMPARE(rgb(copied), rgb(d.preview()));
        // Emptied first: the earlier text is gone.
        QVERIFY(!cb->mimeData()->hasText());
        // The copy is a picture of its own; the next stop does not change it.
        QCOMPARE(readBarcode(copied), QStringLiteral("1200303"));
        d.step(1);
        QCOMPARE(readBarcode(cb->image()), QStringLiteral("1200303"));
        cb->clear();
    }

    void refusedChoiceKeepsThePlugin_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("fare file") << demo(QStringLiteral("12.hy3"));
        QTest::newRow("missing file") << demo(QStringLiteral("plugins/none.4SP"));
    }
    void refusedChoiceKeepsThePlugin() {
        QFETCH(QString, answer);
        Drive d;
        const QString full = demo(QStringLiteral("plugins/full.4SP"));
        d.choosePlugin(full);
        d.p.Combo1->setCurrentIndex(2);
        QCOMPARE(d.o.List1->count(), 10);

        d.choosePlugin(answer);
        QCOMPARE(d.lib.titles.last(), QStringLiteral("プラグインの選択"));
        QCOMPARE(d.f.d.messages.shown.size(), 1);
        const auto& box = d.f.d.messages.shown.first();
        QCOMPARE(box.prompt, QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"));
        QCOMPARE(box.title, QStringLiteral("プラグインロードエラー"));
        QCOMPARE(box.icon, platform::MsgIcon::Critical);
        // The company list was emptied for the new file; the plug-in, its
        // capabilities and the preview's size stay.
        QCOMPARE(d.p.Combo1->count(), 0);
        QCOMPARE(d.o.txtSeiriPlgDir->text(), full);
        QCOMPARE(d.o.List1->count(), 10);
        QCOMPARE(d.p.picSeirikenPrev->size(), QSize(230, 360));

        // The ticket is still drawn, without a company now.
        d.setRoute12();
        d.step(1);
        QCOMPARE(rgb(d.preview()), d.direct(full, {QStringLiteral("本町二丁目"), 2, 2, -1}));
        QCOMPARE(readBarcode(d.preview()), QStringLiteral("1200202"));
    }

    void cancelledChoiceChangesNothing() {
        Drive d;
        const QString full = demo(QStringLiteral("plugins/full.4SP"));
        d.choosePlugin(full);
        d.p.Combo1->setCurrentIndex(2);
        d.choosePlugin(QString());
        QCOMPARE(d.lib.titles.size(), 2);
        // No choice was made: nothing is refused, nothing is lost.
        QCOMPARE(d.f.messages(), QStringList());
        QCOMPARE(d.p.Combo1->count(), 3);
        QCOMPARE(d.p.Combo1->currentIndex(), 2);
        QCOMPARE(d.o.txtSeiriPlgDir->text(), full);
        d.setRoute12();
        QCOMPARE(d.p.Combo1->currentIndex(), 2);
        d.step(1);
        QCOMPARE(rgb(d.preview()), d.direct(full, {QStringLiteral("本町二丁目"), 2, 2, 2}));
    }

    void anotherPluginResizesAndRedraws() {
        Drive d;
        d.choosePlugin(demo(QStringLiteral("plugins/full.4SP")));
        d.p.Combo1->setCurrentIndex(1);
        const QString basic = demo(QStringLiteral("plugins/basic.4SP"));
        d.choosePlugin(basic);
        QCOMPARE(d.o.txtSeiriPlgDir->text(), basic);
        // The basic ticket names no companies: the list stays empty.
        QCOMPARE(d.p.Combo1->count(), 0);
        const QSize size = d.p.picSeirikenPrev->size();
        QVERIFY(size != QSize(230, 360));
        QVERIFY(QRect(QPoint(), d.p.size()).contains(d.p.picSeirikenPrev->geometry()));
        d.setRoute12();
        d.step(1);
        QCOMPARE(rgb(d.preview()), d.direct(basic, {QStringLiteral("本町二丁目"), 2, 2, -1}));
        QVERIFY(printedPixels(d.preview()) > 500);
        QCOMPARE(readBarcode(d.preview()), QString());
    }

    void noPluginLeavesThePreviewBlank() {
        Drive d;
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("moved.4SP"));
        QVERIFY(QFile::copy(demo(QStringLiteral("plugins/full.4SP")), copy));
        d.choosePlugin(copy);
        d.setRoute12();
        QVERIFY(printedPixels(d.preview()) > 5000);

        // The plug-in file goes away between two stops: the next ticket
        // cannot be drawn, and the box is left as plain paper, silently.
        QVERIFY(QFile::remove(copy));
        d.step(1);
        QCOMPARE(printedPixels(d.preview()), 0);
        QCOMPARE(d.f.stopName(), QStringLiteral("本町二丁目"));
        QCOMPARE(d.f.messages(), QStringList());

        // Cleared plug-in (the options' cross button): blank as well, and
        // the board goes on stepping.
        d.o.Command11->click();
        QCOMPARE(d.o.txtSeiriPlgDir->text(), QString());
        d.step(1);
        QCOMPARE(printedPixels(d.preview()), 0);
        QCOMPARE(d.f.stopName(), QStringLiteral("市役所前"));
        QCOMPARE(d.f.fare(1), 170);

        // A copy of the blank preview is blank paper of its size.
        platform::ScopedInstall<platform::Clipboard> clipboard{platform::realClipboard()};
        d.p.MnuHideCopy->trigger();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), d.preview().size());
        QCOMPARE(printedPixels(rgb(copied)), 0);
        QGuiApplication::clipboard()->clear();
    }
};

QTEST_MAIN(tst_TicketPreview)
#include "tst_TicketPreview.moc"
