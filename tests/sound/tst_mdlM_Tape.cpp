// The announcement tape: reading broadcast data, stepping through it, the
// pre-announcement sounds and the state of the control panel's frame.
#include "board/Form1.h"
#include "control/frmCtl.h"
#include "core/ShiftJis.h"
#include "options/frmOption.h"
#include "sound/SoundSettings.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using mdlM_Tape::TapeRow;

namespace {
struct TestSettings : SoundSettings {
    QMap<int, QString> files;
    bool always = false;
    bool sync = false;
    QString soundFile(int slot) const override { return files.value(slot); }
    bool tapeAlways() const override { return always; }
    bool tapeSync() const override { return sync; }
};
} // namespace

class tst_mdlM_Tape : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<PlatformDoubles> d_;
    std::unique_ptr<frmCtl> panel_;
    TestSettings settings_;

    QString folder() const { return dir_->path() + QLatin1Char('/'); }
    void writeTape(const QString& name, const QString& text) {
        QFile f(dir_->filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(core::sjis::encode(text));
    }
    void writeBytes(const QString& name, const QByteArray& bytes) {
        QFile f(dir_->filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString soundFile(const QString& name) {
        writeBytes(name, "RIFF");
        return dir_->filePath(name);
    }
    QStringList buttonStates() const {
        QStringList out;
        for (QPushButton* b : {panel_->cmdTapeSet, panel_->cmdTapeBack, panel_->cmdTapeNext, panel_->cmdTapeStop})
            out << QStringLiteral("%1:%2").arg(b->text()).arg(b->isEnabled() ? "on" : "off");
        return out;
    }
    // Speech calls and sound commands in one list, in the order they happened.
    QStringList& log() { return d_->speech.log; }
    // A ready panel with speech available and a loaded 12tp.csv.
    void loadRoute12() {
        writeTape("12tp.csv", "次は、市役所前です。,1,1\r\n"
                              "\"運賃は230円です。お降りの方は、ボタンでお知らせください。\",0,0\r\n"
                              "次は、終点、駅前です。,1,3\r\n");
        mdlM_Tape::InitSpeech();
        mdlM_Tape::LoadTape(folder(), "12");
        QCOMPARE(mdlM_Tape::tapeRowCount(), 3);
        log().clear();
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        d_ = std::make_unique<PlatformDoubles>();
        d_->multimedia.answer = [this](const QString& c) {
            d_->speech.log << QStringLiteral("mci:") + c;
            return 0;
        };
        panel_ = std::make_unique<frmCtl>();
        settings_ = TestSettings();
        mdlM_Tape::setSoundSettings(&settings_);
    }
    void cleanup() {
        panel_.reset();
        mdlM_Tape::reset();
        d_.reset();
        dir_.reset();
    }

    // ---- reading ------------------------------------------------------------

    void readsOneLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("sound");
        QTest::newRow("plain") << "次は、市役所前です。,1,2"
                               << "次は、市役所前です。" << 1 << 2;
        QTest::newRow("quoted commas") << "\"Next, City Hall, please.\",0,3"
                                       << "Next, City Hall, please." << 0 << 3;
        QTest::newRow("doubled quote") << "\"a \"\"b\"\" c\",1,0"
                                       << "a \"b\" c" << 1 << 0;
        QTest::newRow("spaces kept in quotes") << "  \" 駅前 \" , 1 , 2 "
                                               << " 駅前 " << 1 << 2;
        QTest::newRow("unquoted trimmed") << "  駅前  ,4,0"
                                          << "駅前" << 4 << 0;
        QTest::newRow("blank line") << ""
                                    << "" << 0 << 0;
        QTest::newRow("text only") << "駅前です。"
                                   << "駅前です。" << 0 << 0;
        QTest::newRow("one flag") << "駅前です。,1"
                                  << "駅前です。" << 1 << 0;
        QTest::newRow("empty flags") << "駅前,,"
                                     << "駅前" << 0 << 0;
        QTest::newRow("non-numeric flags") << "駅前,yes,1x"
                                           << "駅前" << 0 << 0;
        QTest::newRow("decimal point") << "駅前,1.0,2"
                                       << "駅前" << 0 << 2;
        QTest::newRow("signs and zeros") << "駅前,+0001,-7"
                                         << "駅前" << 1 << -7;
        QTest::newRow("16-bit limits") << "駅前,-32768,32767"
                                       << "駅前" << -32768 << 32767;
        QTest::newRow("extra fields ignored") << "駅前,1,2,3"
                                              << "駅前" << 1 << 2;
        QTest::newRow("unterminated quote") << "\"駅前,1,2"
                                            << "駅前,1,2" << 0 << 0;
        QTest::newRow("comma inside unquoted text ends it") << "a,b,1"
                                                            << "a" << 0 << 1;
    }
    void readsOneLine() {
        QFETCH(QString, line);
        QFETCH(QString, text);
        QFETCH(int, step);
        QFETCH(int, sound);
        const auto row = mdlM_Tape::readTapeLine(line);
        QVERIFY(row.has_value());
        QCOMPARE(row->Text, text);
        QCOMPARE(int(row->StepFlag), step);
        QCOMPARE(int(row->SoundFlag), sound);
    }

    void flagsOutsideSixteenBitsFail() {
        for (const char* line :
             {"a,40000,0", "a,0,32768", "a,-32769,0", "a,1,99999999999999999999999", "\"a,b\",0,-0000040000"})
            QVERIFY2(!mdlM_Tape::readTapeLine(QString::fromUtf8(line)), line);
        QVERIFY(mdlM_Tape::readTapeLine(QStringLiteral("a,000000000000001,0")));
    }

    void splitsLines() {
        const QByteArray sjis = core::sjis::encode(u"市役所前");
        QCOMPARE(mdlM_Tape::splitTapeLines("a\r\nb\nc"), (QStringList{"a", "b", "c"}));
        QCOMPARE(mdlM_Tape::splitTapeLines("a\r\n\r\nb\r\n"), (QStringList{"a", "", "b"}));
        QCOMPARE(mdlM_Tape::splitTapeLines(sjis + ",1,0\r\n"), QStringList{"市役所前,1,0"});
        QCOMPARE(mdlM_Tape::splitTapeLines("\n"), QStringList{""});
        QVERIFY(mdlM_Tape::splitTapeLines("").isEmpty());
        QVERIFY(!mdlM_Tape::readTape(""));
        QCOMPARE(mdlM_Tape::readTape("x,1,1\r\n\r\ny")->size(), 3);
    }

    void findsTheFileWithoutRegardToCase() {
        QCOMPARE(mdlM_Tape::tapeFileName("007"), QStringLiteral("7tp.csv"));
        QCOMPARE(mdlM_Tape::tapeFileName(""), QStringLiteral("0tp.csv"));
        QCOMPARE(mdlM_Tape::tapeFileName("000"), QStringLiteral("0tp.csv"));
        QCOMPARE(mdlM_Tape::tapeFileName("12"), QStringLiteral("12tp.csv"));
        QVERIFY(mdlM_Tape::findTapeFile(folder(), "12").isEmpty());
        writeBytes("12TP.CSV", "a");
        QCOMPARE(mdlM_Tape::findTapeFile(folder(), "12"), dir_->filePath("12TP.CSV"));
        QCOMPARE(mdlM_Tape::findTapeFile(dir_->path(), "012"), dir_->filePath("12TP.CSV"));
        writeBytes("12tp.csv", "a");
        QCOMPARE(mdlM_Tape::findTapeFile(folder(), "12"), dir_->filePath("12tp.csv"));
        QVERIFY(mdlM_Tape::findTapeFile(folder(), "1").isEmpty());

        // An empty folder is the current directory.
        const auto restore = qScopeGuard([before = QDir::currentPath()] { QDir::setCurrent(before); });
        QDir::setCurrent(dir_->path());
        writeBytes("7Tp.csv", "a");
        QCOMPARE(QFileInfo(mdlM_Tape::findTapeFile(QString(), "007")).fileName(), QStringLiteral("7Tp.csv"));
    }

    // ---- the frame ----------------------------------------------------------

    void frameFollowsTheEngine() {
        QCOMPARE(panel_->grpM_Tape->objectName(), QStringLiteral("grpM_Tape"));
        QCOMPARE(panel_->grpM_Tape->title(), QStringLiteral("音合使用不可"));
        QVERIFY(!panel_->grpM_Tape->isEnabled());
        QCOMPARE(panel_->cmdTapeStop->objectName(), QStringLiteral("cmdTapeStop"));

        mdlM_Tape::InitSpeech();
        QVERIFY(mdlM_Tape::SpeechAvailable());
        QCOMPARE(panel_->grpM_Tape->title(), QStringLiteral("音合使用可"));
        QVERIFY(panel_->grpM_Tape->isEnabled());
        QCOMPARE(buttonStates(), (QStringList{"調整:off", "戻し:off", "送り:off", "■:off"}));

        writeTape("5tp.csv", "a,0,0\r\n");
        mdlM_Tape::LoadTape(folder(), "5");
        QCOMPARE(buttonStates(), (QStringList{"調整:on", "戻し:on", "送り:on", "■:on"}));
        QVERIFY(d_->messages.shown.isEmpty());
    }

    void noEngineMeansSpeechUnavailable() {
        d_->speech.available = false;
        mdlM_Tape::InitSpeech();
        QVERIFY(!mdlM_Tape::SpeechAvailable());
        QCOMPARE(panel_->grpM_Tape->title(), QStringLiteral("音合使用不可"));
        QVERIFY(!panel_->grpM_Tape->isEnabled());
        // The table still loads, but nothing can be reached.
        writeTape("5tp.csv", "a,0,0\r\n");
        mdlM_Tape::LoadTape(folder(), "5");
        QCOMPARE(mdlM_Tape::tapeRowCount(), 1);
        QVERIFY(!panel_->grpM_Tape->isEnabled());
        QVERIFY(!panel_->cmdTapeNext->isEnabled());
    }

    // A test that leaves its engine unreleased: the engine outlives the
    // doubles that made it and is let go later, by the next start-up's
    // engine or at the very end of the process. Under the address sanitizer
    // this caught a write into the freed doubles.
    void anEngineOutlivingItsDoublesIsLetGoSafely() {
        mdlM_Tape::InitSpeech();
        QVERIFY(mdlM_Tape::engine());
        panel_.reset();
        d_.reset();
        d_ = std::make_unique<PlatformDoubles>();
        panel_ = std::make_unique<frmCtl>();
        mdlM_Tape::InitSpeech(); // replaces, and so releases, the first engine
        QCOMPARE(log(), QStringList{"create"});
        mdlM_Tape::ReleaseSpeech();
        QCOMPARE(log(), (QStringList{"create", "release"}));
    }

    void vistaHasNoSpeech() {
        d_->helper.osInfo = QStringLiteral("Windows Vista");
        mdlM_Tape::InitSpeech();
        QVERIFY(!mdlM_Tape::SpeechAvailable());
        QCOMPARE(panel_->grpM_Tape->title(), QStringLiteral("音合使用不可"));
        QVERIFY(!log().contains("create"));
        // Loading changes nothing at all there.
        const QList<TapeRow> before = mdlM_Tape::TapeRows();
        writeTape("5tp.csv", "vista,0,0\r\nvista,0,0\r\nvista,0,0\r\nvista,0,0\r\n");
        mdlM_Tape::LoadTape(folder(), "5");
        QCOMPARE(mdlM_Tape::TapeRows(), before);
        mdlM_Tape::LoadTape(folder(), "404");
        QCOMPARE(mdlM_Tape::TapeRows(), before);
    }

    void loadsRowsInOrder() {
        loadRoute12();
        const QList<TapeRow> rows = mdlM_Tape::TapeRows();
        QCOMPARE(rows.at(0), (TapeRow{"次は、市役所前です。", 1, 1}));
        QCOMPARE(rows.at(1).Text, QStringLiteral("運賃は230円です。お降りの方は、ボタンでお知らせください。"));
        QCOMPARE(rows.at(2), (TapeRow{"次は、終点、駅前です。", 1, 3}));
        QCOMPARE(mdlM_Tape::GetTapePos(), 0);
        QCOMPARE(mdlM_Tape::GetStepFlag(0), qint16(0));
        QCOMPARE(mdlM_Tape::GetStepFlag(1), qint16(1));
        QCOMPARE(mdlM_Tape::GetSoundFlag(3), qint16(3));
        QCOMPARE(mdlM_Tape::GetSoundFlag(4), qint16(0));
        QCOMPARE(mdlM_Tape::GetStepFlag(-1), qint16(0));
    }

    void aShorterFileReplacesALongerOne() {
        mdlM_Tape::InitSpeech();
        QString ten, four;
        for (int i = 1; i <= 10; ++i)
            ten += QStringLiteral("十行の%1,0,0\r\n").arg(i);
        for (int i = 1; i <= 4; ++i)
            four += QStringLiteral("四行の%1,0,0\n").arg(i);
        writeTape("1tp.csv", ten);
        writeTape("2tp.csv", four);
        mdlM_Tape::LoadTape(folder(), "1");
        QCOMPARE(mdlM_Tape::tapeRowCount(), 10);
        for (int i = 0; i < 6; ++i)
            mdlM_Tape::AnnounceNext();
        QCOMPARE(mdlM_Tape::GetTapePos(), 6);

        mdlM_Tape::LoadTape(folder(), "2");
        QCOMPARE(mdlM_Tape::tapeRowCount(), 4);
        QCOMPARE(mdlM_Tape::GetTapePos(), 0);
        log().clear();
        for (int i = 0; i < 5; ++i)
            mdlM_Tape::AnnounceNext();
        QCOMPARE(mdlM_Tape::GetTapePos(), 4);
        QCOMPARE(log().filter("speak:"),
                 (QStringList{"speak:四行の1", "speak:四行の2", "speak:四行の3", "speak:四行の4"}));
    }

    void routeNumberDropsLeadingZeros() {
        mdlM_Tape::InitSpeech();
        writeTape("7TP.csv", "七番,0,0\r\n");
        mdlM_Tape::LoadTape(folder(), "007");
        QCOMPARE(mdlM_Tape::tapeRowCount(), 1);
        QVERIFY(panel_->cmdTapeNext->isEnabled());
    }

    void failedLoadsDisableTheFrameQuietly_data() {
        QTest::addColumn<QByteArray>("bytes"); // empty name: no file at all
        QTest::addColumn<bool>("exists");
        QTest::newRow("no file") << QByteArray() << false;
        QTest::newRow("empty file") << QByteArray() << true;
        QTest::newRow("flag of 40000") << QByteArray("a,1,0\r\nb,40000,0\r\nc,0,0\r\n") << true;
    }
    void failedLoadsDisableTheFrameQuietly() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exists);
        loadRoute12();
        mdlM_Tape::AnnounceNext();
        if (exists)
            writeBytes("30tp.csv", bytes);
        mdlM_Tape::LoadTape(folder(), "30");
        QVERIFY(!panel_->grpM_Tape->isEnabled());
        QCOMPARE(panel_->grpM_Tape->title(), QStringLiteral("音合使用可"));
        QVERIFY(d_->messages.shown.isEmpty());

        // The blank command may enable the frame again; nothing of the old or
        // the failed table can be reached then.
        panel_->grpM_Tape->setEnabled(true);
        QCOMPARE(buttonStates(), (QStringList{"調整:off", "戻し:off", "送り:off", "■:off"}));
        QCOMPARE(mdlM_Tape::tapeRowCount(), 0);
        log().clear();
        mdlM_Tape::AnnounceNext();
        mdlM_Tape::AnnounceBack();
        QVERIFY(log().filter("speak:").isEmpty());
        QCOMPARE(mdlM_Tape::GetStepFlag(mdlM_Tape::GetTapePos()), qint16(0));

        // The next good load brings everything back.
        mdlM_Tape::LoadTape(folder(), "12");
        QVERIFY(panel_->grpM_Tape->isEnabled());
        QVERIFY(panel_->cmdTapeNext->isEnabled());
    }

    // ---- stepping -----------------------------------------------------------

    void forwardSpeaksRowAfterRow() {
        loadRoute12();
        mdlM_Tape::AnnounceNext();
        QCOMPARE(mdlM_Tape::GetTapePos(), 1);
        mdlM_Tape::AnnounceNext();
        QCOMPARE(mdlM_Tape::GetTapePos(), 2);
        QCOMPARE(log(), (QStringList{"stop", "speak:次は、市役所前です。", "stop",
                                     "speak:運賃は230円です。お降りの方は、ボタンでお知らせください。"}));
    }

    void forwardPastTheLastRowStaysThere() {
        loadRoute12();
        for (int i = 0; i < 3; ++i)
            mdlM_Tape::AnnounceNext();
        log().clear();
        mdlM_Tape::AnnounceNext();
        QCOMPARE(mdlM_Tape::GetTapePos(), 3);
        QVERIFY(log().isEmpty());
        // The control panel still finds the last row's step flag.
        QCOMPARE(mdlM_Tape::GetStepFlag(mdlM_Tape::GetTapePos()), qint16(1));
    }

    void backAtTheStartStopsOnRowOne() {
        loadRoute12();
        mdlM_Tape::AnnounceBack(); // from 0
        QCOMPARE(mdlM_Tape::GetTapePos(), 1);
        mdlM_Tape::AnnounceBack(); // from 1
        QCOMPARE(mdlM_Tape::GetTapePos(), 1);
        QVERIFY(log().isEmpty());
        QCOMPARE(mdlM_Tape::GetStepFlag(mdlM_Tape::GetTapePos()), qint16(1));
        mdlM_Tape::AnnounceNext();
        mdlM_Tape::AnnounceNext();
        log().clear();
        mdlM_Tape::AnnounceBack(); // from 3 to 2
        QCOMPARE(mdlM_Tape::GetTapePos(), 2);
        QCOMPARE(log().filter("speak:").size(), 1);
    }

    void soundsBeforeTheAnnouncement() {
        settings_.files = {{3, soundFile("always.wav")},
                           {4, soundFile("one.wav")},
                           {5, soundFile("two.mp3")},
                           {6, soundFile("three.mid")}};
        writeTape("9tp.csv", "r1,0,1\r\nr2,0,0\r\nr3,0,4\r\nr4,0,3\r\n");
        mdlM_Tape::InitSpeech();
        mdlM_Tape::LoadTape(folder(), "9");
        const QString s2 = mdlSndAPI::deviceAlias("S2"), s3 = mdlSndAPI::deviceAlias("S3");
        auto opened = [this] {
            QStringList out;
            for (const QString& l : log())
                if (l.startsWith("mci:open"))
                    out << QFileInfo(l.section('"', 1, 1)).fileName() + " " + l.section(' ', -2, -2);
                else if (l.startsWith("speak:"))
                    out << l;
            return out;
        };

        // By the sound flag: 1 -> slot 4, 0 and 4 -> nothing, 3 -> slot 6, on S3.
        log().clear();
        for (int i = 0; i < 4; ++i)
            mdlM_Tape::AnnounceNext();
        QCOMPARE(opened(),
                 (QStringList{"one.wav " + s3, "speak:r1", "speak:r2", "speak:r3", "three.mid " + s3, "speak:r4"}));
        QVERIFY(log().contains("mci:play " + s3 + " from 0")); // not waiting

        // Back plays only the flag's slot, on S2, even with slot 3 always on.
        settings_.always = true;
        settings_.sync = true;
        log().clear();
        for (int i = 0; i < 3; ++i)
            mdlM_Tape::AnnounceBack();
        QCOMPARE(opened(), (QStringList{"speak:r3", "speak:r2", "one.wav " + s2, "speak:r1"}));
        QVERIFY(log().contains("mci:play " + s2 + " from 0 wait"));

        // Forward with slot 3 always on plays it before every row, waiting.
        log().clear();
        mdlM_Tape::AnnounceNext();
        mdlM_Tape::AnnounceNext();
        QCOMPARE(opened(), (QStringList{"always.wav " + s3, "speak:r2", "always.wav " + s3, "speak:r3"}));
        QCOMPARE(log().filter("mci:play").size(), 2);
        QVERIFY(log().filter("mci:play").first().endsWith("from 0 wait"));

        // An empty slot plays nothing; the row is still spoken.
        settings_.files.remove(3);
        log().clear();
        mdlM_Tape::AnnounceNext();
        QCOMPARE(opened(), QStringList{"speak:r4"});
    }

    void failedSpeechIsStoppedOnceMore() {
        loadRoute12();
        d_->speech.last->reportFailure = true;
        mdlM_Tape::SpeakRow(2);
        QCOMPARE(log(),
                 (QStringList{"stop", "speak:運賃は230円です。お降りの方は、ボタンでお知らせください。", "stop"}));
        log().clear();
        mdlM_Tape::SpeakRow(0);
        mdlM_Tape::SpeakRow(4);
        QVERIFY(log().isEmpty());
    }

    void buttonsDriveTheModule() {
        loadRoute12();
        QTest::mouseClick(panel_->cmdTapeNext, Qt::LeftButton);
        QTest::mouseClick(panel_->cmdTapeNext, Qt::LeftButton);
        QTest::mouseClick(panel_->cmdTapeBack, Qt::LeftButton);
        QTest::mouseClick(panel_->cmdTapeStop, Qt::LeftButton);
        QTest::mouseClick(panel_->cmdTapeSet, Qt::LeftButton);
        QCOMPARE(mdlM_Tape::GetTapePos(), 1);
        QCOMPARE(log().filter("speak:").size(), 3);
        QCOMPARE(log().mid(log().size() - 2), (QStringList{"stop", "voiceSettings"}));
        mdlM_Tape::ReleaseSpeech();
        QCOMPARE(log().last(), QStringLiteral("release"));
        QCOMPARE(mdlM_Tape::engine(), nullptr);
        // Without an engine the buttons do nothing.
        QTest::mouseClick(panel_->cmdTapeStop, Qt::LeftButton);
        QTest::mouseClick(panel_->cmdTapeSet, Qt::LeftButton);
        QCOMPARE(log().last(), QStringLiteral("release"));
    }
};

QTEST_MAIN(tst_mdlM_Tape)
#include "tst_mdlM_Tape.moc"
