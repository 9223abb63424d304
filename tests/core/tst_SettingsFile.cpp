// The settings file's bytes: every field at its place, texts as byte count
// and Shift-JIS, the fixed digit count, and files that end early.
#include "app/SettingsFile.h"
#include "core/ShiftJis.h"

#include <QTest>
#include <QtEndian>

#include <limits>
#include <optional>

using namespace mdlIniIo;

namespace {

// Builds a record field by field in the file's order together with the
// bytes the file must hold, written out here by hand. Every number gets a
// value of its own, so a field written in the wrong place shows. Built with
// a limit, the record is what a file cut after limit bytes must read as: a
// field that does not fit whole, and everything after it, keeps its default.
class Fixture {
public:
    SettingsRecord record;
    QByteArray bytes;

    explicit Fixture(qsizetype limit = std::numeric_limits<qsizetype>::max()) : limit_(limit) {
        auto& f = record.Options.Folder;
        text(f.FareDataDir, QStringLiteral("C:\\DATA"));
        text(f.TapeDataDir, QStringLiteral("/データ/放送"));

        auto& p = record.Options.Panel;
        i16(p.AutoSeiriNum);
        colour(p.SeiriColorOff);
        colour(p.SeiriColorOn1);
        colour(p.SeiriColorOn2);
        for (qint16* v : {&p.SeiriNumStyle, &p.SeiriZeroPad, &p.PanelAuto, &p.PanelManual, &p.OffBuiltIn, &p.OffUser,
                          &p.On1BuiltIn, &p.On1User, &p.On2BuiltIn, &p.On2User})
            i16(*v);
        text(p.OffPanelFile, QStringLiteral("/pic/消灯.bmp"));
        text(p.On1PanelFile, QStringLiteral("/pic/on1.gif"));
        text(p.On2PanelFile, QStringLiteral("/pic/点灯２.jpg"));

        auto& d = record.Options.Degit;
        colour(d.DegitBackColor);
        colour(d.DegitBaseColor);
        colour(d.DegitLitColor);
        for (qint16* v : {&d.InfoStopOn, &d.InfoStopKoma, &d.InfoStopFromZero, &d.InfoSeiriOn, &d.InfoSeiriKoma,
                          &d.InfoKeitouOn, &d.InfoKeitouKoma, &d.InfoColOn, &d.InfoCol, &d.InfoColKoma})
            i16(*v);

        auto& c = record.Options.Chimei;
        colour(c.ChimeiBackColor);
        colour(c.ChimeiForeColor);
        i16(c.ChimeiFontMode);
        i16(c.ChimeiBold);

        auto& s = record.Options.Sound;
        text(s.KeitouSound, QStringLiteral("/snd/系統.wav"));
        text(s.ResetSound, QStringLiteral("/snd/reset.wav"));
        for (qint16* v : {&s.StepAlways, &s.StepByCol, &s.StepSync, &s.StepAsync})
            i16(*v);
        text(s.StepSound, QStringLiteral("/snd/step.mp3"));
        i16(s.StepCol);
        text(s.StepSound1, QStringLiteral("/snd/ﾁｬｲﾑ1.mid"));
        text(s.StepSound2, QStringLiteral("/snd/チャイム2.wav"));
        text(s.StepSound3, QStringLiteral("/snd/3.wav"));
        for (qint16* v : {&s.TapeSync, &s.TapeAsync, &s.TapeAlways, &s.TapeByFlag})
            i16(*v);
        text(s.TapeSound, QStringLiteral("/snd/前.wav"));
        text(s.TapeSound1, QStringLiteral("/snd/t1.wav"));
        text(s.TapeSound2, QStringLiteral("/snd/t2.wav"));
        text(s.TapeSound3, QStringLiteral("/snd/t3.wav"));

        auto& v = record.Options.Preview;
        i16(v.UsePreview);
        text(v.PluginFile, QStringLiteral("/plugin/整理券.4SP"));
        i16(v.DateEachPrint);
        i16(v.DateAtReset);
        i16(v.DateFixed);
        text(v.FixedDate, QStringLiteral("2010/12/01"));

        auto& k = record.CtlPanel;
        i16(k.PanelIndex);
        i32(k.ScrollSpeed);
        i32(k.ScrollWait);
        i16(k.LateNight);
        i16(k.PreviewOpen);
        i32(k.CtlLeft);
        i32(k.CtlTop);

        i32(record.BoardPos.BoardLeft);
        i32(record.BoardPos.BoardTop);
        for (quint32& cc : record.CustColors)
            colour(cc);

        qint16 count = 0; // the file says 50; the record always keeps 50
        i16(count, 50);

        for (DegitModeRec& m : record.DegitModes) {
            i16(m.Shift);
            i16(m.ZeroMode);
            i16(m.FillZero);
        }
    }

private:
    bool fits(qsizetype size) {
        cut_ = cut_ || bytes.size() + size > limit_;
        return !cut_;
    }
    template <class T> void put(T value) {
        const T le = qToLittleEndian(value);
        bytes.append(reinterpret_cast<const char*>(&le), sizeof le);
    }
    void i16(qint16& field, std::optional<qint16> fixed = {}) {
        const qint16 value = fixed ? *fixed : qint16(-(++counter_)); // negative: sign bits show
        if (fits(2))
            field = value;
        put(quint16(value));
    }
    void i32(qint32& field) {
        const int n = ++counter_;
        const qint32 value = 0x01000000 * (n % 100) + n;
        if (fits(4))
            field = value;
        put(quint32(value));
    }
    void colour(quint32& field) {
        const quint32 value = 0x00BB0000u | quint32(++counter_);
        if (fits(4))
            field = value;
        put(value);
    }
    void text(QString& field, const QString& value) {
        const QByteArray sjis = core::sjis::encode(value);
        if (fits(2 + sjis.size()))
            field = value;
        put(quint16(sjis.size()));
        bytes += sjis;
    }

    qsizetype limit_;
    bool cut_ = false;
    int counter_ = 0;
};

SettingsRecord allTextsEmpty() {
    return SettingsRecord{};
}

} // namespace

class tst_SettingsFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyFieldAtItsPlace() {
        const Fixture full;
        QCOMPARE(encodeSettings(full.record), full.bytes);
        const DecodedSettings back = decodeSettings(full.bytes);
        QVERIFY(back.record == full.record);
        QVERIFY(back.complete);
        QCOMPARE(back.bytesUsed, full.bytes.size());
        // Japanese text survives as it was.
        QCOMPARE(back.record.Options.Preview.PluginFile, QStringLiteral("/plugin/整理券.4SP"));
        QCOMPARE(back.record.Options.Sound.StepSound1, QStringLiteral("/snd/ﾁｬｲﾑ1.mid"));
    }

    void layoutLandmarks() {
        SettingsRecord r;
        QCOMPARE(encodeSettings(r).size(), 538); // every text empty
        r.Options.Folder.FareDataDir = QStringLiteral("C:\\DATA");
        r.Options.Folder.TapeDataDir = QStringLiteral("放送"); // a kanji counts 2 bytes
        r.Options.Panel.AutoSeiriNum = 1;
        r.Options.Panel.SeiriColorOff = 0x00112233;
        r.CtlPanel = {1, 0x01020304, -2, 1, 0, 1440 * 9, -15}; // late night on, preview shut
        const QByteArray bytes = encodeSettings(r);
        QCOMPARE(bytes.size(), 538 + 7 + 4);
        QCOMPARE(bytes.left(9), QByteArray::fromHex("0700433A5C44415441"));
        // PanelRec at 4 + the folder texts, its first colour right after
        // the int16, no padding.
        QCOMPARE(bytes.mid(4 + 11, 6), QByteArray::fromHex("0100"
                                                           "33221100"));
        // The control panel's 22 bytes follow PanelRec 40 + texts,
        // DegitRec 32, ChimeiRec 12, SoundRec 38, PreviewRec 12.
        QCOMPARE(bytes.mid(4 + 11 + 134, 22), QByteArray::fromHex("0100"
                                                                  "04030201"
                                                                  "FEFFFFFF"
                                                                  "0100"
                                                                  "0000"
                                                                  "A0320000"
                                                                  "F1FFFFFF"));
        // The digit count 50, then exactly 300 bytes.
        QCOMPARE(bytes.mid(bytes.size() - 302, 2), QByteArray::fromHex("3200"));
    }

    void digitCountIsAlways50AndIgnored_data() {
        QTest::addColumn<quint16>("stored");
        QTest::newRow("0") << quint16(0);
        QTest::newRow("49") << quint16(49);
        QTest::newRow("51") << quint16(51);
        QTest::newRow("-1") << quint16(0xFFFF);
        QTest::newRow("32767") << quint16(0x7FFF);
    }

    void digitCountIsAlways50AndIgnored() {
        QFETCH(quint16, stored);
        const Fixture full;
        QByteArray bytes = full.bytes;
        const qsizetype count = bytes.size() - 302;
        QCOMPARE(bytes.mid(count, 2), QByteArray::fromHex("3200"));
        qToLittleEndian(stored, bytes.data() + count);
        const DecodedSettings back = decodeSettings(bytes);
        QVERIFY(back.record == full.record); // exactly 50 modes, whatever it said
        QCOMPARE(back.record.DegitCount, qint16(50));
        QVERIFY(back.complete);
        // A record that claims another count is still written with 50.
        SettingsRecord odd = full.record;
        odd.DegitCount = 7;
        QCOMPARE(encodeSettings(odd), full.bytes);
    }

    void fileCutAtEveryLength() {
        const Fixture full;
        for (qsizetype length = 0; length <= full.bytes.size(); ++length) {
            const DecodedSettings back = decodeSettings(full.bytes.left(length));
            const Fixture expected(length);
            if (!(back.record == expected.record))
                QFAIL(qPrintable(QStringLiteral("a file cut after %1 bytes reads wrong values").arg(length)));
            QCOMPARE(back.complete, length == full.bytes.size());
            QCOMPARE(back.bytesUsed, length);
        }
        // Nothing at all reads as all zeros and empty texts.
        QVERIFY(decodeSettings({}).record == allTextsEmpty());
    }

    void textRunningPastTheEndReadsEmpty() {
        // A count of 200 with only 5 bytes behind it: the text is not taken
        // in part, and nothing after it is read from the file.
        const QByteArray bytes = QByteArray::fromHex("C800") + QByteArray("/data");
        const DecodedSettings back = decodeSettings(bytes);
        QCOMPARE(back.record.Options.Folder.FareDataDir, QString());
        QVERIFY(!back.complete);
        QCOMPARE(back.bytesUsed, bytes.size());
    }

    void bytesAfterTheLastItemAreIgnored() {
        const Fixture full;
        const DecodedSettings back = decodeSettings(full.bytes + QByteArray("trailing"));
        QVERIFY(back.record == full.record);
        QVERIFY(back.complete);
        QCOMPARE(back.bytesUsed, full.bytes.size());
    }

    void overlongTextIsCutAtAWholeCharacter() {
        // 2 + 32767 x 2 = 65536 bytes: one byte too many. The last kanji is
        // dropped whole, and the count must not wrap, or every later field
        // would be read from the wrong place.
        SettingsRecord r;
        r.Options.Folder.FareDataDir = QStringLiteral("AB") + QString(32767, QChar(0x5E02)); // 市
        r.Options.Folder.TapeDataDir = QStringLiteral("next");
        r.DegitModes[49].FillZero = 1;
        const QByteArray bytes = encodeSettings(r);
        QCOMPARE(bytes.left(2), QByteArray::fromHex("FEFF")); // 65534
        const DecodedSettings back = decodeSettings(bytes);
        QCOMPARE(back.record.Options.Folder.FareDataDir, QStringLiteral("AB") + QString(32766, QChar(0x5E02)));
        QCOMPARE(back.record.Options.Folder.TapeDataDir, QStringLiteral("next"));
        QCOMPARE(back.record.DegitModes[49].FillZero, qint16(1));
        QVERIFY(back.complete);

        // Exactly 65535 bytes fit as they are.
        r.Options.Folder.FareDataDir = QStringLiteral("A") + QString(32767, QChar(0x5E02));
        QCOMPARE(decodeSettings(encodeSettings(r)).record.Options.Folder.FareDataDir, r.Options.Folder.FareDataDir);
    }

    void charactersShiftJisLacksAreWrittenAsQuestionMarks() {
        SettingsRecord r;
        r.Options.Sound.KeitouSound = QStringLiteral("/snd/caf\u00E9.wav");
        const DecodedSettings back = decodeSettings(encodeSettings(r));
        QCOMPARE(back.record.Options.Sound.KeitouSound, QStringLiteral("/snd/caf?.wav"));
    }

    void errorMessageTexts() {
        const core::RuntimeError error(70, QStringLiteral("書き込みできません。"));
        QCOMPARE(saveErrorText(error), QStringLiteral("エラー Code:70\r\n内容:書き込みできません。"));
        QCOMPARE(loadErrorText(core::RuntimeError(6, QStringLiteral("オーバーフローしました。"))),
                 QStringLiteral("エラー Code:6\r\n内容:オーバーフローしました。\r\nモジュール:mdlIniIo.LoadIni()"));
    }
};

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_SettingsFile.moc"
