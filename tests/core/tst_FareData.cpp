// The fare file reader and writer, byte by byte, the reset's view of a file
// (checkHy3), the file-name rule and the fare table.
#include "control/FareData.h"
#include "core/ShiftJis.h"

#include <QTest>

namespace {

QByteArray le16(int v) {
    QByteArray b(2, '\0');
    b[0] = char(v & 0xFF);
    b[1] = char((v >> 8) & 0xFF);
    return b;
}

// One record as it lies in the file. Column i holds first + i - 1 unless
// columns are given.
QByteArray recordBytes(const QByteArray& name, int seiriNum, int first = 0) {
    QByteArray r = le16(int(name.size())) + name + le16(seiriNum);
    for (int i = 1; i <= kDataColumns; ++i)
        r += le16(first + i - 1);
    return r;
}

StopRecord stop(const QString& name, qint16 seiriNum, qint16 first = 0) {
    StopRecord s;
    s.Chimei = name;
    s.SeiriNum = seiriNum;
    for (int i = 0; i < kDataColumns; ++i)
        s.DataCol[size_t(i)] = qint16(first + i);
    return s;
}

// A file of n records named "S1", "S2", ... with ticket number k and
// columns starting at 100 * k.
QByteArray fileOf(int n) {
    QByteArray f = le16(n);
    for (int k = 1; k <= n; ++k)
        f += recordBytes("S" + QByteArray::number(k), k, 100 * k);
    return f;
}

} // namespace

class TestFareData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tenCharacterNameMakesA324ByteRecord() {
        const QString name = QStringLiteral("若葉ニュータウン中央");
        QCOMPARE(name.size(), 10);
        const QByteArray sjis = core::sjis::encode(name);
        QCOMPARE(sjis.size(), 20);

        const QByteArray file = le16(1) + recordBytes(sjis, 9, -1);
        QCOMPARE(file.size(), 2 + 324);
        const Hy3File f = readHy3(file);
        QCOMPARE(f.error, Hy3Error::None);
        QCOMPARE(f.records.size(), 1);
        QCOMPARE(f.records[0].Chimei, name);
        QCOMPARE(f.records[0].SeiriNum, qint16(9));
        QCOMPARE(f.records[0].col(1), qint16(-1));
        QCOMPARE(f.records[0].col(150), qint16(148));
        QCOMPARE(f.records[0].col(0), qint16(0)); // outside 1..150
        QCOMPARE(f.records[0].col(151), qint16(0));

        // The writer lays out the same bytes.
        QCOMPARE(writeHy3({stop(name, 9, -1)}), file);
    }

    void readsZeroOneAndFiveRecords() {
        Hy3File f = readHy3(le16(0));
        QCOMPARE(f.error, Hy3Error::None);
        QCOMPARE(f.count, qint16(0));
        QVERIFY(f.records.isEmpty());

        f = readHy3(fileOf(1));
        QCOMPARE(f.error, Hy3Error::None);
        QCOMPARE(f.records, QList<StopRecord>{stop(QStringLiteral("S1"), 1, 100)});

        f = readHy3(fileOf(5));
        QCOMPARE(f.error, Hy3Error::None);
        QCOMPARE(f.count, qint16(5));
        QCOMPARE(f.records.size(), 5);
        QCOMPARE(f.records[4], stop(QStringLiteral("S5"), 5, 500));

        // Extremes of the signed 16-bit fields and an empty name.
        const QByteArray extremes = le16(1) + le16(0) + le16(-32768) + le16(32767) + le16(-1).repeated(149);
        f = readHy3(extremes);
        QCOMPARE(f.error, Hy3Error::None);
        QCOMPARE(f.records[0].Chimei, QString());
        QCOMPARE(f.records[0].SeiriNum, qint16(-32768));
        QCOMPARE(f.records[0].col(1), qint16(32767));
        QCOMPARE(f.records[0].col(2), qint16(-1));
    }

    void moreThan301RecordsAreRefusedBeforeAnyIsRead() {
        // Only the count is there: refusing it must not depend on reading.
        Hy3File f = readHy3(le16(302));
        QCOMPARE(f.error, Hy3Error::TooManyRecords);
        QCOMPARE(f.count, qint16(302));
        QVERIFY(f.records.isEmpty());
        QVERIFY(hy3ErrorText(f).contains(QStringLiteral("302")));

        f = readHy3(fileOf(302));
        QCOMPARE(f.error, Hy3Error::TooManyRecords);
        QCOMPARE(readHy3(le16(32767)).error, Hy3Error::TooManyRecords);

        f = readHy3(fileOf(301));
        QCOMPARE(f.error, Hy3Error::None);
        QCOMPARE(f.records.size(), 301);
    }

    void negativeCountReadsNoRecords() {
        for (int n : {-1, -32768}) {
            // Records follow, but a negative count never reads them.
            const Hy3File f = readHy3(le16(n) + recordBytes("A", 1));
            QCOMPARE(f.error, Hy3Error::None);
            QCOMPARE(f.count, qint16(n));
            QVERIFY(f.records.isEmpty());
        }
    }

    // Every cut of a two-record file fails, with the kind and place the cut
    // falls in.
    void truncatedAtEveryPoint() {
        const QByteArray name = core::sjis::encode(QStringLiteral("市役所前")); // 8 bytes
        const QByteArray rec1 = recordBytes(name, 1);
        const QByteArray whole = le16(2) + rec1 + recordBytes("B", 2);
        QVERIFY(readHy3(whole).error == Hy3Error::None);

        const qsizetype rec2 = 2 + rec1.size();
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            const Hy3File f = readHy3(whole.left(cut));
            const QByteArray where = "cut at " + QByteArray::number(cut);
            QVERIFY2(f.records.isEmpty(), where);
            if (cut < 2) {
                QVERIFY2(f.error == Hy3Error::TooShort, where);
                continue;
            }
            const bool inFirst = cut < rec2;
            const qsizetype start = inFirst ? 2 : rec2;
            const qsizetype nameLength = inFirst ? name.size() : 1;
            QCOMPARE(f.errorRecord, inFirst ? 1 : 2);
            QCOMPARE(f.errorOffset, start);
            const qsizetype into = cut - start;
            if (into >= 2 && into < 2 + nameLength)
                QVERIFY2(f.error == Hy3Error::NameRunsPastEnd, where); // inside the name
            else
                QVERIFY2(f.error == Hy3Error::Truncated, where); // name length, SeiriNum or columns
            QVERIFY2(!hy3ErrorText(f).isEmpty(), where);
        }
    }

    void nameLengthIsUnsignedAndMayRunPastTheEnd() {
        // 0xFFFF is 65535 bytes, not -1: the name runs past this short file.
        const QByteArray file = le16(1) + QByteArray("\xFF\xFF", 2) + QByteArray(400, 'x');
        const Hy3File f = readHy3(file);
        QCOMPARE(f.error, Hy3Error::NameRunsPastEnd);
        QCOMPARE(f.errorRecord, 1);
        QVERIFY(hy3ErrorText(f).contains(QStringLiteral("停留所 1")));
    }

    void bytesAfterTheRecordsAreIgnored() {
        const QByteArray file = fileOf(3) + QByteArray("extra");
        const Hy3File f = readHy3(file);
        QCOMPARE(f.error, Hy3Error::None);
        QCOMPARE(f.records.size(), 3);
        QCOMPARE(checkHy3(file).trailingBytes, qsizetype(5));
        QCOMPARE(checkHy3(fileOf(3)).trailingBytes, qsizetype(0));
    }

    void writerLaysOutExactBytes() {
        QCOMPARE(writeHy3({}), le16(0));
        const QList<StopRecord> stops{stop(QStringLiteral("ｸﾞﾘｰﾝﾊｲﾂ"), 3, -5), stop(QStringLiteral("桜橋"), -2, 7)};
        const QByteArray expected =
            le16(2) + recordBytes("\xB8\xDE\xD8\xB0\xDD\xCA\xB2\xC2", 3, -5) + recordBytes("\x8D\xF7\x8B\xB4", -2, 7);
        QCOMPARE(writeHy3(stops), expected);
        // A character Shift-JIS lacks is written as one '?'.
        QCOMPARE(writeHy3({stop(QStringLiteral("A한B"), 0)}), le16(1) + recordBytes("A?B", 0));
    }

    void writerRefusesWhatWouldWrapRound() {
        QVERIFY(hy3WriteProblem(QList<StopRecord>(32767)).isEmpty());
        const QList<StopRecord> tooMany(32768);
        QVERIFY(!hy3WriteProblem(tooMany).isEmpty());
        QVERIFY(writeHy3(tooMany).isEmpty());

        StopRecord longest;
        longest.Chimei = QString(65535, u'A');
        QVERIFY(hy3WriteProblem({longest}).isEmpty());
        QCOMPARE(readHy3(writeHy3({longest})).records, QList<StopRecord>{longest});
        StopRecord tooLong;
        tooLong.Chimei = QString(32768, u'市'); // 65536 bytes
        QVERIFY(hy3WriteProblem({StopRecord{}, tooLong}).contains(QStringLiteral("stop 2")));
        QVERIFY(writeHy3({tooLong}).isEmpty());
    }

    void roundTrips() {
        QList<StopRecord> stops;
        const QStringList names{QStringLiteral("市民センター(東町)"), QString(), QStringLiteral("NTT前 ｱｲｳ"),
                                QStringLiteral("～①Ⅲ髙")};
        for (qsizetype k = 0; k < names.size(); ++k)
            stops << stop(names[k], qint16(k * 1000 - 32768), qint16(32767 - 149 - k));
        const Hy3File f = readHy3(writeHy3(stops));
        QCOMPARE(f.error, Hy3Error::None);
        QCOMPARE(f.records, stops);
        QCOMPARE(writeHy3(f.records), writeHy3(stops));
    }

    void fileNameRule() {
        QCOMPARE(hy3FileName(QString(), QStringLiteral("00012")), QStringLiteral("12.hy3"));
        QCOMPARE(hy3FileName(QString(), QStringLiteral("12")), QStringLiteral("12.hy3"));
        QCOMPARE(hy3FileName(QString(), QString()), QStringLiteral("0.hy3"));
        QCOMPARE(hy3FileName(QString(), QStringLiteral("00000")), QStringLiteral("0.hy3"));
        QCOMPARE(hy3FileName(QStringLiteral("/srv/fares"), QStringLiteral("12")), QStringLiteral("/srv/fares/12.hy3"));
        QCOMPARE(hy3FileName(QStringLiteral("/srv/fares/"), QStringLiteral("007")), QStringLiteral("/srv/fares/7.hy3"));
        QCOMPARE(hy3FileName(QStringLiteral("fares"), QStringLiteral("99999")), QStringLiteral("fares/99999.hy3"));
        QCOMPARE(folderWithSeparator(QString()), QString());
        QCOMPARE(routeNumber(QStringLiteral("00123")), 123);
    }

    void checkMirrorsTheReset() {
        Hy3Check c = checkHy3(le16(0));
        QVERIFY(!c.accepted);
        QCOMPARE(c.refusal, hy3ZeroCountMessage());

        // One record is refused for every section, even when it is broken.
        QCOMPARE(checkHy3(fileOf(1)).refusal, hy3SectionMessage());
        QCOMPARE(checkHy3(le16(1)).refusal, hy3SectionMessage());
        QCOMPARE(checkHy3(le16(-3)).refusal, hy3SectionMessage());
        QVERIFY(hy3SectionMessage().contains(QStringLiteral("\r\n  解決法：")));

        c = checkHy3(fileOf(5));
        QVERIFY(c.accepted);
        QCOMPARE(c.firstSection, 1);
        QCOMPARE(c.lastSection, 4);
        QVERIFY(c.refusal.isEmpty());
        c = checkHy3(fileOf(301));
        QCOMPARE(c.lastSection, 300);

        c = checkHy3(fileOf(5).chopped(1));
        QVERIFY(!c.accepted);
        QCOMPARE(c.refusal, hy3ErrorText(c.file));
        QVERIFY(c.refusal.contains(QStringLiteral("5 / 5")));
        QCOMPARE(checkHy3(le16(302)).file.error, Hy3Error::TooManyRecords);
        QVERIFY(!checkHy3(QByteArray("\x05")).refusal.isEmpty());
    }

    void checkFindsNamesThatTextChanges() {
        // 87 90 and 81 E0 are the same character; text keeps only 81 E0.
        // A lone lead byte at the end of a name is dropped.
        const QByteArray file =
            le16(3) + recordBytes("\x81\xE0", 1) + recordBytes("\x87\x90", 2) + recordBytes("AB\x8E", 3);
        const Hy3Check c = checkHy3(file);
        QVERIFY(c.accepted);
        QCOMPARE(c.namesChangedByText, (QList<int>{2, 3}));
        QCOMPARE(c.file.records[2].Chimei, QStringLiteral("AB"));
    }

    void fareTableRows() {
        FareData data;
        data.replaceRows({stop(QStringLiteral("A"), 1), stop(QStringLiteral("B"), 2), stop(QStringLiteral("C"), 3)});
        data.replaceRows({stop(QStringLiteral("X"), 7)});
        QCOMPARE(data.row(1).Chimei, QStringLiteral("X"));
        QCOMPARE(data.row(2), StopRecord{}); // cleared, not left from before
        QCOMPARE(data.row(0), StopRecord{});
        QCOMPARE(data.row(302), StopRecord{});
        QList<StopRecord> many(400, stop(QStringLiteral("M"), 1));
        data.replaceRows(many);
        QCOMPARE(data.row(301).Chimei, QStringLiteral("M"));
    }
};

QTEST_GUILESS_MAIN(TestFareData)
#include "tst_FareData.moc"
