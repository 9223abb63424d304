// The demo route that `make run` starts on: its fare file is what its CSV
// builds, its fares are plausible, its announcements step along its stops
// and the sounds it names are there.
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

} // namespace

class TestDemoData : public QObject {
    Q_OBJECT

    QList<StopRecord> stops;

private Q_SLOTS:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("K27_SOURCE_DIR"))
            QSKIP("K27_SOURCE_DIR is not set");
        const FareCsv csv = readFareCsv(fileBytes(demo(QStringLiteral("12.csv"))));
        QCOMPARE(csv.problems, QList<FareCsvProblem>{});
        stops = csv.records;
    }

    void fareFileIsBuiltFromTheCsv() {
        QCOMPARE(writeHy3(stops), fileBytes(demo(QStringLiteral("12.hy3"))));
        QVERIFY(checkHy3(fileBytes(demo(QStringLiteral("12.hy3")))).accepted);
    }

    void faresRiseWithDistance() {
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
                QVERIFY2(s.col(i) >= 170, where);
                if (i < k) // from further back costs at least as much
                    QVERIFY2(s.col(i) >= s.col(i + 1), where);
                if (k > i) // the same ticket costs more (or as much) further on
                    QVERIFY2(s.col(i) >= stops[k - 2].col(i), where);
            }
            QVERIFY(s.col(51) >= 0 && s.col(51) <= 3);
            stepSounds << s.col(51);
        }
        QVERIFY(stepSounds.contains(1) && stepSounds.contains(2) && stepSounds.contains(3));
        QVERIFY(stops.last().col(1) > stops.first().col(1));
    }

    void announcementsStepAlongTheStops() {
        const auto rows = mdlM_Tape::readTapeFile(demo(QStringLiteral("12tp.csv")));
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
        QVERIFY(fileBytes(demo(QStringLiteral("12tp.csv"))).contains("\r\n"));
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
