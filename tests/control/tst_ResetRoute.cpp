// Route setting: the entry panels, the fare file and its failures (data
// folders that go away included), the lamp test and what an accepted reset
// leaves behind.
#include "tests/control/PanelFixture.h"

#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QTimer>

namespace {
// A clock whose pause lets the test look at the board while it lasts.
struct ProbeClock : platform::VirtualClock {
    std::function<void(int)> onSleep;
    void Sleep(int ms) override {
        if (onSleep)
            onSleep(ms);
        VirtualClock::Sleep(ms);
    }
};
} // namespace

class tst_ResetRoute : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keypadFillsItsDisplays() {
        PanelFixture f;
        f.giveSound(1);
        for (int k : {10, 1, 2, 3, 4, 5, 6, 11, 0, 0, 7})
            f.press(k);
        QCOMPARE(f.panel().Label2[0]->text(), QStringLiteral("12345"));
        QCOMPARE(f.panel().Label2[2]->text(), QStringLiteral("007"));
        QCOMPARE(f.played(), QStringList(11, QStringLiteral("slot1@S1")));

        f.write("12345.hy3", hy3::plainRoute(9));
        QTest::mouseClick(f.panel().Command1[1], Qt::LeftButton);
        QCOMPARE(f.fare().StartKukan, qint16(7));
        QCOMPARE(f.fare().CurStop, qint16(6));
        QCOMPARE(f.stopName(), QStringLiteral("停留所7"));

        // Digits before any target key go to the section display.
        PanelFixture g;
        for (int k : {4, 5, 6, 7})
            g.press(k);
        QCOMPARE(g.panel().Label2[2]->text(), QStringLiteral("456"));
        QCOMPARE(g.panel().Label2[0]->text(), QString());
    }

    void listPanelReadsTheSelectedDigits() {
        PanelFixture f;
        f.giveSound(0);
        f.giveSound(1);
        f.panel().Frame1_DblClick(1);
        // List 0..2 stay unselected and add nothing; 0, 1, 2 make route 012.
        f.panel().List2[3]->setCurrentRow(1);
        f.panel().List2[4]->setCurrentRow(2);
        f.panel().List3[2]->setCurrentRow(3);
        QCOMPARE(f.played(), (QStringList{"slot1@S1", "slot1@S1", "slot0@S1"}));
        f.write("12.hy3", hy3::plainRoute(5));
        QTest::mouseClick(f.panel().Command1[0], Qt::LeftButton);
        QCOMPARE(f.fare().KeitouText, QStringLiteral("12"));
        QCOMPARE(f.fare().CurStop, qint16(2));
    }

    void routeTextNamesTheFile_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("file");
        QTest::newRow("leading zeros") << "00012"
                                       << "12";
        QTest::newRow("plain") << "12"
                               << "12";
        QTest::newRow("empty") << ""
                               << "0";
    }
    void routeTextNamesTheFile() {
        QFETCH(QString, route);
        QFETCH(QString, file);
        PanelFixture f;
        f.write(file + ".hy3", hy3::plainRoute(3));
        f.write(file + "tp.csv", "a,0,0\r\nb,0,0\r\n");
        f.keypadReset(route, "1");
        QCOMPARE(f.messages(), QStringList());
        QCOMPARE(f.fare().DataCount, qint16(3));
        QCOMPARE(f.fare().KeitouText, route);
        QCOMPARE(mdlM_Tape::tapeRowCount(), 2);
    }

    void sectionIsClamped_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<int>("stops");
        QTest::addColumn<int>("curStop"); // -1: refused with the section message
        QTest::newRow("0") << "0" << 3 << 0;
        QTest::newRow("empty") << "" << 3 << 0;
        QTest::newRow("999 on 301 stops") << "999" << 301 << 299;
        QTest::newRow("999 on 300 stops") << "999" << 300 << -1;
        QTest::newRow("N=1") << "1" << 1 << -1;
        QTest::newRow("N=5 section 4") << "4" << 5 << 3;
        QTest::newRow("N=5 section 5") << "5" << 5 << -1;
    }
    void sectionIsClamped() {
        QFETCH(QString, section);
        QFETCH(int, stops);
        QFETCH(int, curStop);
        PanelFixture f;
        f.write("3.hy3", hy3::plainRoute(stops));
        f.keypadReset("3", section);
        if (curStop < 0) {
            QCOMPARE(f.messages(), QStringList{QStringLiteral("指定した区間はデータの数よりも多いです...\r\n"
                                                              "  解決法：正しい区間を入力して下さい.")});
            QCOMPARE(f.d.messages.shown[0].title, QStringLiteral("コルネVer4"));
            QCOMPARE(f.fare().DataCount, qint16(0));
            QVERIFY(!f.panel().Command2[1]->isEnabled());
            return;
        }
        QCOMPARE(f.fare().CurStop, qint16(curStop));
        QCOMPARE(f.stopName(), QStringLiteral("停留所%1").arg(curStop + 1));
        // From the starting row exactly one more step is left on N = 5.
        f.stepForward();
        f.stepForward();
        QCOMPARE(f.fare().CurStop, qint16(qMin(curStop + 2, stops - 1)));
    }

    void zeroCountAndMissingFile() {
        PanelFixture f;
        f.giveSound(0);
        f.write("4.hy3", hy3::file(0, {}));
        f.write("6.hy3", QByteArray());
        f.keypadReset("4", "1");
        f.keypadReset("5", "1");
        f.keypadReset("6", "1");
        const QString zero = QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...");
        QCOMPARE(f.messages(), (QStringList{zero, QStringLiteral("指定した系統のデータがありません..."), zero}));
        // The route-setting sound answers every press, refused or not.
        QCOMPARE(f.played(), QStringList(3, QStringLiteral("slot0@S1")));
        QVERIFY(!f.d.clock.sleeps.contains(3000));
    }

    void tenCharacterStopName() {
        PanelFixture f;
        const QString name = QStringLiteral("東西南北中央公園前");
        const QByteArray rec = hy3::record(name + QStringLiteral("駅"), 7, {230});
        QCOMPARE(rec.size(), 324);
        f.write("1.hy3", hy3::file(2, {rec, hy3::plainStop(2)}));
        f.keypadReset("1", "1");
        QCOMPARE(f.stopName(), name + QStringLiteral("駅"));
        QCOMPARE(f.fare(1), 230);
    }

    // A file that cannot be taken whole leaves the route that was set, and
    // says why.
    void brokenFileKeepsTheRoute_data() {
        QTest::addColumn<QByteArray>("bytes");
        QList<QByteArray> many;
        for (int s = 1; s <= 302; ++s)
            many << hy3::plainStop(s);
        QTest::newRow("302 records") << hy3::file(302, many);
        QTest::newRow("fewer records than N") << hy3::file(5, {hy3::plainStop(1), hy3::plainStop(2)});
        QTest::newRow("cut in a record") << hy3::file(3, {hy3::plainStop(1), hy3::plainStop(2)}).chopped(7);
        QTest::newRow("name past the end") << hy3::file(2, {hy3::plainStop(1)}) + hy3::le16(4000) + "ab";
        QTest::newRow("one byte") << QByteArray(1, '\x05');
    }
    void brokenFileKeepsTheRoute() {
        QFETCH(QByteArray, bytes);
        PanelFixture f;
        f.write("7.hy3", hy3::plainRoute(4));
        f.keypadReset("7", "1");
        f.stepForward();
        f.stepForward();
        const FareData before = f.fare();
        const QVariant shown = f.value(20);
        f.clearLogs();

        f.write("8.hy3", bytes);
        f.keypadReset("8", "1");
        QCOMPARE(f.messages().size(), 1);
        QVERIFY(f.messages()[0].startsWith(QStringLiteral("運賃データ")));
        QVERIFY(f.fare().StopTable == before.StopTable);
        QCOMPARE(f.fare().DataCount, before.DataCount);
        QCOMPARE(f.fare().CurStop, before.CurStop);
        QCOMPARE(f.value(20), shown);
        QVERIFY(!f.d.clock.sleeps.contains(3000));
        // Stepping still ends at the old route's last stop.
        f.stepForward();
        f.stepForward();
        QCOMPARE(f.fare().CurStop, qint16(3));
    }

    void folderAndFileFailuresShowTheirText() {
        PanelFixture f;
        f.w.options.Text2[0]->setText(f.dir.filePath("nowhere"));
        f.keypadReset("1", "1");
        QVERIFY(f.messages().value(0).contains(f.dir.filePath("nowhere")));

        f.w.options.Text2[0]->setText(f.dir.path());
        QVERIFY(QDir(f.dir.path()).mkdir("2.hy3"));
        f.keypadReset("2", "1");
        QCOMPARE(f.messages().size(), 2);
        QVERIFY(f.messages()[1].contains(f.dir.filePath("2.hy3")));
    }

    // The data folders go away after a route was set (a USB stick pulled,
    // a network share gone): the next reset says so and the route that was
    // set stays on the board and can still be driven; the announcements are
    // put out of reach quietly. When the folders are back, a reset works.
    void foldersThatVanishBetweenResets() {
        PanelFixture f;
        mdlM_Tape::InitSpeech();
        const QString fares = f.dir.filePath("fares"), tape = f.dir.filePath("tape");
        auto fillFolders = [&] {
            QVERIFY(QDir().mkpath(fares) && QDir().mkpath(tape));
            f.write("fares/12.hy3", hy3::plainRoute(5));
            f.write("tape/12tp.csv", core::sjis::encode(QStringLiteral("次は二番,1,0\r\n次は三番,1,0\r\n")));
        };
        fillFolders();
        f.w.options.Text2[0]->setText(fares);
        f.w.options.Text2[1]->setText(tape);
        f.keypadReset("12", "1");
        QTest::mouseClick(f.panel().cmdTapeNext, Qt::LeftButton);
        QCOMPARE(f.fare().CurStop, qint16(1));
        const FareData before = f.fare();
        const QVariant shown = f.value(7);
        f.clearLogs();

        QVERIFY(QDir(fares).removeRecursively() && QDir(tape).removeRecursively());
        f.keypadReset("12", "1");
        QCOMPARE(f.messages(), QStringList{QStringLiteral("運賃データのフォルダーが見つかりません。\r\n") + fares});
        QVERIFY(f.fare().StopTable == before.StopTable);
        QCOMPARE(f.fare().DataCount, before.DataCount);
        QCOMPARE(f.fare().CurStop, before.CurStop);
        QCOMPARE(f.value(7), shown);
        QCOMPARE(f.stopName(), QStringLiteral("停留所2"));
        QVERIFY(!f.d.clock.sleeps.contains(3000));
        QVERIFY2(!f.panel().grpM_Tape->isEnabled(), "Announcements of a file that is gone must be out of reach.");
        // The old route is still driven to its end.
        for (int i = 0; i < 5; ++i)
            f.stepForward();
        QCOMPARE(f.fare().CurStop, qint16(4));
        QCOMPARE(f.messages().size(), 1);

        // Only the announcement folder gone: the route is set, silently
        // without announcements.
        QVERIFY(QDir().mkpath(fares));
        f.write("fares/12.hy3", hy3::plainRoute(5));
        f.clearLogs();
        f.keypadReset("12", "1");
        QVERIFY(f.messages().isEmpty());
        QCOMPARE(f.fare().CurStop, qint16(0));
        QVERIFY(!f.panel().grpM_Tape->isEnabled());

        // Both back: everything works again.
        fillFolders();
        f.keypadReset("12", "1");
        QVERIFY(f.messages().isEmpty());
        QVERIFY(f.panel().grpM_Tape->isEnabled() && f.panel().cmdTapeNext->isEnabled());
        QTest::mouseClick(f.panel().cmdTapeNext, Qt::LeftButton);
        QCOMPARE(f.fare().CurStop, qint16(1));
    }

    void lampTestThenTheStartingStop() {
        PanelFixture f;
        ProbeClock clock;
        platform::ScopedInstall<platform::Clock> probe(clock);
        QStringList seen;
        clock.onSleep = [&](int ms) {
            if (ms != 3000)
                return;
            seen << f.stopName();
            for (int n = 1; n <= 50; ++n)
                if (f.value(n) != QVariant(QStringLiteral("8888")))
                    seen << QStringLiteral("digit %1 not lit").arg(n);
            seen << (f.panel().Command2[1]->isEnabled() ? "enabled" : "disabled");
        };
        f.write("9.hy3", hy3::plainRoute(8));
        f.keypadReset("9", "5");
        QCOMPARE(seen, (QStringList{"系統設定", "disabled"}));
        // Digits below the section show 0 and keep it while stepping.
        f.stepForward();
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(f.value(n), QVariant::fromValue<qint16>(0));
        QCOMPARE(f.fare(5), 605);
        QVERIFY(f.panel().Command2[0]->isEnabled() && f.panel().Check1->isEnabled());
        QCOMPARE(f.panel().KeitouSetDate, QStringLiteral("01-05-2026"));

        // In the fixed-date mode the reset keeps the options' date text.
        f.w.options.Option4[2]->setChecked(true);
        f.w.options.Label10->setText(QStringLiteral("2024/12/31"));
        f.keypadReset("9", "1");
        QCOMPARE(f.panel().KeitouSetDate, QStringLiteral("2024/12/31"));
    }
};

QTEST_MAIN(tst_ResetRoute)
#include "tst_ResetRoute.moc"
