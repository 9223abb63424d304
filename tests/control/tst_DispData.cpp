// The board refresh: fares with the late-night switch, information digits,
// the ticket preview and its date (and its plug-in deleted while chosen),
// and what the board shows when a second command runs in the middle of a
// refresh.
#include "control/SeirikenPreview.h"
#include "platform/QtVXB4Res.h"
#include "tests/control/PanelFixture.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>

namespace {
// Route 5 with one stop whose fare 1..4 are the given values, then two
// plain stops.
QByteArray faresRoute(const QList<int>& fares) {
    return hy3::file(3, {hy3::record("始発", 1, fares), hy3::plainStop(2), hy3::plainStop(3)});
}

bool allPaper(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != SeirikenPreview::kBackColor)
                return false;
    return true;
}

// Posts a full left click to a button: it waits in the queue like a click
// the operator made while the program was busy.
void postClick(QWidget* button) {
    const QPointF c = QRectF(button->rect()).center();
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, c, button->mapToGlobal(c),
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, c, button->mapToGlobal(c),
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}
} // namespace

class tst_DispData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lateNightDoubles_data() {
        QTest::addColumn<int>("fare");
        QTest::addColumn<QVariant>("shown");
        QTest::newRow("210") << 210 << QVariant(420);
        QTest::newRow("no fare") << -1 << QVariant(-1);
        QTest::newRow("0") << 0 << QVariant(0);
        QTest::newRow("16383") << 16383 << QVariant(32766);
        QTest::newRow("-16384") << -16384 << QVariant(-32768);
        // Beyond 16 bits the digit shows dashes rather than a wrong fare.
        QTest::newRow("16384") << 16384 << QVariant(QStringLiteral("----"));
        QTest::newRow("-16385") << -16385 << QVariant(QStringLiteral("----"));
    }
    void lateNightDoubles() {
        QFETCH(int, fare);
        QFETCH(QVariant, shown);
        PanelFixture f;
        f.write("5.hy3", faresRoute({fare, 210}));
        f.keypadReset("5", "1");
        QCOMPARE(f.fare(1), fare);
        // The switch shows at the next refresh.
        f.panel().Check2->setChecked(true);
        QCOMPARE(f.fare(1), fare);
        f.panel().DispData(1);
        QCOMPARE(f.value(1).toString(), shown.toString());
        QCOMPARE(f.fare(2), 420);
    }

    void informationDigitsOverrideFares() {
        PanelFixture f;
        frmOption& o = f.w.options;
        o.Check3[0]->setChecked(true); // stop order at position 1, from zero
        o.Check3[4]->setChecked(true);
        o.Check3[1]->setChecked(true); // ticket number at 2
        o.Combo4[1]->setCurrentIndex(1);
        o.Check3[2]->setChecked(true); // route at 3
        o.Combo4[2]->setCurrentIndex(2);
        o.Check3[3]->setChecked(true); // column 51 at 3: applied last, wins
        o.Combo4[4]->setCurrentIndex(50);
        o.Combo4[3]->setCurrentIndex(2);
        f.write("123.hy3", hy3::plainRoute(4));
        f.keypadReset("00123", "1");
        QCOMPARE(f.value(1), QVariant::fromValue<qint16>(0));
        QCOMPARE(f.fare(2), 1);
        QCOMPARE(f.fare(3), 1); // column 51 of stop 1: 1 % 4
        QCOMPARE(f.fare(4), 104);
        o.Check3[3]->setChecked(false);
        f.stepForward();
        QCOMPARE(f.fare(1), 1);
        QCOMPARE(f.value(3), QVariant(QStringLiteral("00123")));
    }

    void previewAndTicketDate() {
        PanelFixture f;
        frmOption& o = f.w.options;
        f.d.clock.current = QDateTime(QDate(2026, 3, 9), QTime(23, 59, 30));
        o.chkUseSeiriPrev->setChecked(true);
        o.txtSeiriPlgDir->setText(QStringLiteral("/plugins/a.4SP"));
        o.Option4[1]->setChecked(true); // the date of the reset
        f.write("5.hy3", hy3::plainRoute(4));
        f.keypadReset("5", "1");
        QCOMPARE(f.d.helper.calls.filter("VX4_DrawSeiriken").last(),
                 QStringLiteral("VX4_DrawSeiriken(/plugins/a.4SP, 停留所1, 03-09-2026, 23:59:33, 5, 1, 1, -1)"));
        QVERIFY(!allPaper(f.panel().picSeirikenPrev->image()));

        // After midnight the ticket keeps the reset's date; the other mode
        // takes today's.
        f.d.clock.advance(60 * 1000);
        f.panel().Combo1->addItems({"A社", "B社"});
        f.panel().Combo1->setCurrentIndex(1);
        f.stepForward();
        QVERIFY(f.d.helper.calls.last().contains(", 03-09-2026, 00:00:33, 5, 2, 2, 1)"));
        o.Option4[0]->setChecked(true);
        f.stepForward();
        QVERIFY(f.d.helper.calls.last().contains(", 03-10-2026, "));

        // Switched from the fixed date to the reset's date without a reset,
        // the ticket shows the fixed text the last reset captured.
        o.Option4[2]->setChecked(true);
        o.Label10->setText(QStringLiteral("2025/07/01"));
        f.keypadReset("5", "1");
        o.Option4[1]->setChecked(true);
        f.stepForward();
        QVERIFY(f.d.helper.calls.last().contains(", 2025/07/01, "));

        // Preview off: cleared on every refresh, nothing drawn.
        o.chkUseSeiriPrev->setChecked(false);
        f.d.helper.calls.clear();
        f.stepBack();
        QVERIFY(allPaper(f.panel().picSeirikenPrev->image()));
        QCOMPARE(f.d.helper.count("VX4_DrawSeiriken"), 0);
    }

    // The chosen plug-in file is deleted while it is in use, and comes back:
    // meanwhile the preview shows blank paper rather than the last stop's
    // ticket, nothing is reported on every step, and the choice itself is
    // kept for the settings.
    void pluginDeletedWhileChosen() {
        PanelFixture f;
        platform::QtVXB4Res engine;
        f.d.helper.pluginEngine = &engine;
        frmOption& o = f.w.options;
        const QString plugin = f.dir.filePath("ticket.4SP");
        QVERIFY(QFile::copy(testsupport::sourcePath("data/demo/plugins/full.4SP"), plugin));
        o.chkUseSeiriPrev->setChecked(true);
        o.txtSeiriPlgDir->setText(plugin);
        f.write("5.hy3", hy3::plainRoute(4));
        f.keypadReset("5", "1");
        QVERIFY(!allPaper(f.panel().picSeirikenPrev->image()));

        QVERIFY(QFile::remove(plugin));
        f.stepForward();
        QVERIFY2(allPaper(f.panel().picSeirikenPrev->image()), "A ticket was drawn without its plug-in.");
        f.stepForward();
        f.keypadReset("5", "1");
        QVERIFY(allPaper(f.panel().picSeirikenPrev->image()));
        QVERIFY(f.messages().isEmpty());
        QCOMPARE(o.txtSeiriPlgDir->text(), plugin);

        QVERIFY(QFile::copy(testsupport::sourcePath("data/demo/plugins/full.4SP"), plugin));
        f.stepForward();
        QVERIFY(!allPaper(f.panel().picSeirikenPrev->image()));
    }

    // A click that waited in the queue runs inside the refresh's event
    // processing (or inside the stop-name display's own); the board then
    // shows that click's stop everywhere.
    void queuedSecondClickShowsOneRow_data() {
        QTest::addColumn<bool>("late");
        QTest::newRow("during the refresh") << false;
        QTest::newRow("while the stop name is drawn") << true;
    }
    void queuedSecondClickShowsOneRow() {
        QFETCH(bool, late);
        PanelFixture f;
        f.w.options.chkUseSeiriPrev->setChecked(true);
        f.w.options.Check3[0]->setChecked(true); // stop order at position 1
        f.write("5.hy3", hy3::plainRoute(5));
        f.keypadReset("5", "1");
        QPushButton* step = f.panel().Command2[1];
        if (late) // posted by the first event processing, run by the next
            QMetaObject::invokeMethod(
                step, [step] { postClick(step); }, Qt::QueuedConnection);
        else
            postClick(step);
        QTest::mouseClick(step, Qt::LeftButton);

        QCOMPARE(f.fare().CurStop, qint16(2));
        QCOMPARE(f.fare(1), 3);
        QCOMPARE(f.fare(2), 302);
        QCOMPARE(f.stopName(), QStringLiteral("停留所3"));
        const QImage preview = f.panel().picSeirikenPrev->image();
        f.panel().DispData(3);
        QCOMPARE(preview, f.panel().picSeirikenPrev->image());
    }

    void queuedBlankLeavesTheBoardDark() {
        PanelFixture f;
        f.write("5.hy3", hy3::plainRoute(5));
        f.keypadReset("5", "1");
        postClick(f.panel().Check1);
        f.stepForward();
        QVERIFY(f.panel().Check1->isChecked());
        QCOMPARE(f.value(7), QVariant(QString()));
        // The stop-name display holds only its background.
        const QImage dots = f.w.board.ChimeiCtl->dotSurface();
        for (int y = 0; y < dots.height(); ++y)
            for (int x = 0; x < dots.width(); ++x)
                QCOMPARE(dots.pixelIndex(x, y), 0);
    }
};

QTEST_MAIN(tst_DispData)
#include "tst_DispData.moc"
