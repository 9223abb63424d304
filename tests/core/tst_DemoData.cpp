// The demo routes that `make run` starts on: their fare files are what their
// CSV sources build, their fares are plausible, their announcements step
// along their stops, and the sounds they name are there.
#include "app/SettingsJson.h"
#include "control/FareCsv.h"
#include "sound/TapeFile.h"

#include <QFile>
#include <QTest>

namespace {

QString demo(const QString& name) {
    return QString::fromLocal8Bit(qgetenv("K27_SOURCE_DIR")) + QStringLiteral("/data/demo/") + name;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// How a stop is named in speech: full-width forms, without the part in
// brackets.
QString spoken(const QString& name) {
    QString n = name.normalized(QString::NormalizationForm_KC);
    const qsizetype bracket = n.indexOf(u'(');
    return bracket < 0 ? n : n.left(bracket);
}

QList<StopRecord> routeStops(const QString& route) {
    const FareCsv csv = readFareCsv(fileBytes(demo(route + QStringLiteral(".csv"))));
    [&] { QCOMPARE(csv.problems, QList<FareCsvProblem>{}); }();
    return csv.records;
}

} // namespace

class TestDemoData : public QObject {
    Q_OBJECT

    // Each test runs once per route: its number and its first fare.
    static void routes() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("baseFare");
        QTest::newRow("12") << QStringLiteral("12") << 170;
        QTest::newRow("105") << QStringLiteral("105") << 180;
    }

private Q_SLOTS:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("K27_SOURCE_DIR"))
            QSKIP("K27_SOURCE_DIR is not set");
    }

    void fareFileIsBuiltFromTheCsv_data() { routes(); }
    void fareFileIsBuiltFromTheCsv() {
        QFETCH(QString, route);
        const QByteArray hy3 = fileBytes(demo(route + QStringLiteral(".hy3")));
        QCOMPARE(writeHy3(routeStops(route)), hy3);
        QVERIFY(checkHy3(hy3).accepted);
    }

    void faresRiseWithDistance_data() { routes(); }
    void faresRiseWithDistance() {
        QFETCH(QString, route);
        QFETCH(int, baseFare);
        const QList<StopRecord> stops = routeStops(route);
        QVERIFY(stops.size() >= 12);
        QList<int> stepSounds;
        for (int k = 1; k <= stops.size(); ++k) {
            const StopRecord& s = stops[k - 1];
            QCOMPARE(s.SeiriNum, qint16(k));
            for (int i = 1; i <= 50; ++i) {
                const QByteArray where = QByteArray::number(k) + "/" + QByteArray::number(i);
                if (i > k) { // ticket not issued yet at this stop
                    QVERIFY2(s.col(i) == -1, where);
                    continue;
                }
                QVERIFY2(s.col(i) >= baseFare, where);
                if (i < k) // from further back costs at least as much
                    QVERIFY2(s.col(i) >= s.col(i + 1), where);
                if (k > i) // the same ticket costs more (or as much) further on
                    QVERIFY2(s.col(i) >= stops[k - 2].col(i), where);
            }
            QCOMPARE(s.col(k), baseFare); // the ticket issued here
            QVERIFY(s.col(51) >= 0 && s.col(51) <= 3);
            stepSounds << s.col(51);
            // Column 52, minutes from departure, shown on an information
            // digit by the demo settings: rising along the route.
            if (k > 1)
                QVERIFY2(s.col(52) > stops[k - 2].col(52), qPrintable(s.Chimei));
        }
        QVERIFY(stepSounds.contains(1) && stepSounds.contains(2) && stepSounds.contains(3));
        QVERIFY(stops.last().col(1) > stops.first().col(1));
    }

    void announcementsStepAlongTheStops_data() { routes(); }
    void announcementsStepAlongTheStops() {
        QFETCH(QString, route);
        const QList<StopRecord> stops = routeStops(route);
        const QString file = demo(route + QStringLiteral("tp.csv"));
        const auto rows = mdlM_Tape::readTapeFile(file);
        QVERIFY(rows);
        // Each row that steps the board announces the stop it steps to.
        int shown = 1;
        QList<int> soundFlags;
        for (const mdlM_Tape::TapeRow& row : *rows) {
            soundFlags << row.SoundFlag;
            if (row.StepFlag != 1)
                continue;
            ++shown;
            QVERIFY2(shown <= stops.size(), qPrintable(row.Text));
            QVERIFY2(row.Text.startsWith(QStringLiteral("次は、")) &&
                         row.Text.contains(spoken(stops[shown - 1].Chimei)),
                     qPrintable(row.Text));
        }
        QCOMPARE(shown, stops.size());
        QVERIFY(soundFlags.contains(1) && soundFlags.contains(2) && soundFlags.contains(3));
        QVERIFY(fileBytes(file).contains("\r\n"));
    }

    // The longer route tries what the shorter one does not: more than twenty
    // stops, a name far wider than the display, full-width brackets, and
    // spoken rows that do not step, one of them quoted around a comma.
    void longRouteShowsMore() {
        const QList<StopRecord> stops = routeStops(QStringLiteral("105"));
        QVERIFY(stops.size() >= 20);
        qsizetype longest = 0;
        for (const StopRecord& s : stops)
            longest = qMax(longest, s.Chimei.size());
        QVERIFY(longest >= 12);
        const auto has = [&](QStringView part) {
            return std::any_of(stops.begin(), stops.end(),
                               [&](const StopRecord& s) { return s.Chimei.contains(part); });
        };
        QVERIFY(has(u"（") && has(u"(") && has(u"ー") && has(u"ﾌﾟ") && has(u"IC"));
        for (qsizetype k = 1; k < stops.size(); ++k) // distance in 100 m, rising
            QVERIFY(stops[k].col(53) > stops[k - 1].col(53));

        const auto rows = mdlM_Tape::readTapeFile(demo(QStringLiteral("105tp.csv")));
        QVERIFY(rows);
        const auto quoted =
            std::find_if(rows->begin(), rows->end(), [](const mdlM_Tape::TapeRow& r) { return r.Text.contains(u','); });
        QVERIFY(quoted != rows->end());
        QCOMPARE(quoted->StepFlag, qint16(0));
    }

    // The demo's settings source is accepted and kept in the very form
    // in4tool dumps, so a settings file dumped beside it compares line by
    // line; every file it names is in the demo folder.
    void settingsSourceIsTidy() {
        const QByteArray source = fileBytes(demo(QStringLiteral("settings.json")));
        const SettingsJson::ReadResult r = SettingsJson::read(source);
        QCOMPARE(r.problems, QStringList{});
        QCOMPARE(SettingsJson::write(r.record), source);
        const auto& o = r.record.Options;
        for (const QString& file :
             {o.Panel.On1PanelFile, o.Panel.On2PanelFile, o.Sound.KeitouSound, o.Sound.ResetSound, o.Sound.StepSound,
              o.Sound.StepSound1, o.Sound.StepSound2, o.Sound.StepSound3, o.Sound.TapeSound, o.Sound.TapeSound1,
              o.Sound.TapeSound2, o.Sound.TapeSound3, o.Preview.PluginFile})
            QVERIFY2(!file.isEmpty() && QFile::exists(demo(file)), qPrintable(file));
    }

    void soundsAreThere() {
        const QList<std::pair<const char*, QByteArray>> sounds{
            {"keitou.wav", "RIFF"}, {"reset.wav", "RIFF"}, {"step.wav", "RIFF"}, {"step1.wav", "RIFF"},
            {"step2.mp3", "\xFF"},  {"step3.wav", "RIFF"}, {"tape.wav", "RIFF"}, {"tape1.wav", "RIFF"},
            {"tape2.wav", "RIFF"},  {"tape3.mid", "MThd"}};
        for (const auto& [name, magic] : sounds) {
            const QByteArray bytes = fileBytes(demo(QStringLiteral("sounds/") + QLatin1String(name)));
            QVERIFY2(bytes.size() > 32 && bytes.startsWith(magic), name);
        }
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_DemoData.moc"
