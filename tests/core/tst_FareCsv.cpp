// Fare data as CSV text: round trips, the forms spreadsheets write, every
// problem the reader reports with its line and column, and hy3tool run end
// to end.
#include "control/FareCsv.h"
#include "core/ShiftJis.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray header() {
    return fareCsvHeader().join(u',').toUtf8() + '\n';
}

// A stop line: name, ticket number k, columns 1..150 = 170, -1, 0, ...;
// fields (1-based) replaced as given.
QByteArray stopLine(const QByteArray& name, int k, const QMap<int, QByteArray>& replaced = {}) {
    QList<QByteArray> fields{name, QByteArray::number(k), "170", "-1"};
    while (fields.size() < kFareCsvFields)
        fields << "0";
    for (auto it = replaced.begin(); it != replaced.end(); ++it) {
        if (it.key() > fields.size())
            fields << it.value();
        else
            fields[it.key() - 1] = it.value();
    }
    return fields.join(',') + '\n';
}

QByteArray s(int k) {
    return stopLine("S" + QByteArray::number(k), k);
}

QString sourceDir() {
    return QString::fromLocal8Bit(qgetenv("K27_SOURCE_DIR"));
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

StopRecord stop(const QString& name, qint16 seiriNum, qint16 first) {
    StopRecord r;
    r.Chimei = name;
    r.SeiriNum = seiriNum;
    for (int i = 0; i < kDataColumns; ++i)
        r.DataCol[size_t(i)] = qint16(first - i);
    return r;
}

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

} // namespace

class TestFareCsv : public QObject {
    Q_OBJECT

#ifdef K27_HY3TOOL
    Run hy3tool(const QStringList& args, const QByteArray& input = {}) {
        QProcess p;
        p.start(QStringLiteral(K27_HY3TOOL), args);
        if (!p.waitForStarted())
            return {};
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(30000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }
#endif

private Q_SLOTS:
    void writesHeaderAndQuotesOnlyWhenNeeded() {
        const QByteArray csv =
            writeFareCsv({stop(QStringLiteral("a,b\"c"), 1, 5), stop(QStringLiteral("桜 橋 "), -7, 0)});
        const QList<QByteArray> lines = csv.split('\n');
        QCOMPARE(lines.size(), 4); // header, two stops, nothing after the last LF
        QVERIFY(lines[0].startsWith("停留所名,整理券番号,1,2,3,"));
        QVERIFY(lines[0].endsWith(",149,150"));
        QVERIFY(lines[1].startsWith("\"a,b\"\"c\",1,5,4,3,"));
        QVERIFY(lines[2].startsWith("桜 橋 ,-7,0,-1,-2,"));
        QVERIFY(lines[2].endsWith(",-149"));
        QVERIFY(!csv.startsWith("\xEF\xBB\xBF"));
    }

    void roundTrips() {
        const QStringList names{QStringLiteral("市民センター(東町)"), QString(),
                                QStringLiteral("ｸﾞﾘｰﾝﾊｲﾂ入口"),       QStringLiteral(" 両端に空白 "),
                                QStringLiteral("改行\r\nあり"),       QStringLiteral("LF\nだけ\rCRだけ"),
                                QStringLiteral("\"引用\""),           QStringLiteral(",")};
        QList<StopRecord> stops;
        for (qsizetype k = 0; k < names.size(); ++k)
            stops << stop(names[k], qint16(k == 0 ? -32768 : k), qint16(k == 1 ? 32767 : -32768 + 149 + k));
        const FareCsv csv = readFareCsv(writeFareCsv(stops));
        QCOMPARE(csv.problems, QList<FareCsvProblem>{});
        QCOMPARE(csv.records, stops);
    }

    void readsWhatSpreadsheetsWrite() {
        // Byte-order mark, CR LF, quoted numbers, spaces around numbers, a
        // plus sign, leading zeros, and empty rows at the end.
        QByteArray text = "\xEF\xBB\xBF" + header() + stopLine("\"若葉駅北口\"", 1, {{3, "\"170\""}, {4, " -1 "}}) +
                          stopLine("本町", 2, {{3, "+0190"}, {5, "\t3"}}) + "\n,,,,\n\n";
        text.replace("\n", "\r\n");
        const FareCsv csv = readFareCsv(text);
        QCOMPARE(csv.problems, QList<FareCsvProblem>{});
        QCOMPARE(csv.records.size(), 2);
        QCOMPARE(csv.records[0].Chimei, QStringLiteral("若葉駅北口"));
        QCOMPARE(csv.records[0].col(1), qint16(170));
        QCOMPARE(csv.records[0].col(2), qint16(-1));
        QCOMPARE(csv.records[1].col(1), qint16(190));
        QCOMPARE(csv.records[1].col(3), qint16(3));
        // A CR LF inside quotes belongs to the name.
        const FareCsv multi = readFareCsv(header() + stopLine("\"A\r\nB\"", 1) + s(2));
        QCOMPARE(multi.records.value(0).Chimei, QStringLiteral("A\r\nB"));
    }

    void reportsEveryProblemWithLineAndColumn_data() {
        QTest::addColumn<QByteArray>("text");
        // "line:column:part of the message", in the order reported.
        QTest::addColumn<QStringList>("expected");
        const QByteArray h = header();
        const QByteArray ok = s(1) + s(2);

        QTest::newRow("not a whole number") << h + stopLine("S1", 1, {{5, "12.5"}}) + s(2)
                                            << QStringList{"2:5:data column 3: \"12.5\" is not a whole number"};
        QTest::newRow("full-width digits") << h + stopLine("S1", 1, {{2, "１２"}}) + s(2)
                                           << QStringList{"2:2:ticket number: \"１２\" is not a whole number"};
        QTest::newRow("empty value") << h + ok + stopLine("S3", 3, {{152, ""}})
                                     << QStringList{"4:152:data column 150: empty (write a whole number"};
        QTest::newRow("above 16 bits")
            << h + stopLine("S1", 1, {{3, "32768"}, {4, "-32769"}, {6, "123456789012345678901"}}) + s(2)
            << QStringList{"2:3:data column 1: 32768 does not fit in 16 bits (-32768 to 32767)",
                           "2:4:data column 2: -32769 does not fit", "2:6:data column 4: 123456789012345678901 does"};
        QTest::newRow("limits and leading zeros")
            << h + stopLine("S1", -32768, {{3, "32767"}, {4, "-000000000000032768"}}) + s(2) << QStringList{};
        QTest::newRow("no Shift-JIS code")
            << h + s(1) + stopLine("本町〜한", 2) + stopLine(QString::fromUcs4(U"\U0001F68C停").toUtf8(), 3) +
                   stopLine("\uF86F", 4)
            << QStringList{"3:1:stop name \"本町〜한\": '〜' (U+301C) has no Shift-JIS code; write '～' instead",
                           "3:1:stop name \"本町〜한\": '한' (U+D55C) has no Shift-JIS code",
                           "4:1:'\U0001F68C' (U+1F68C) has no Shift-JIS code",
                           "5:1:'\uF86F' (U+F86F) has no Shift-JIS code of its own; it would read back as '№'"};
        QTest::newRow("too few fields") << h + s(1) + s(2).left(s(2).lastIndexOf(',')) + '\n'
                                        << QStringList{"3:152:151 fields; a stop needs 152"};
        QTest::newRow("too many fields") << h + stopLine("S1", 1, {{153, "0"}}) + s(2)
                                         << QStringList{"2:153:153 fields; a stop needs 152"};
        QTest::newRow("quote never closed") << h + ok + "S3,\"3,170" << QStringList{"4:2:never closed"};
        QTest::newRow("text after the closing quote")
            << h + stopLine("\"桜橋\"前", 1) + s(2) << QStringList{"2:1:text after the closing quote"};
        // A field past the last one a stop has still names its own column.
        QMap<int, QByteArray> extra;
        for (int field = 153; field < 160; ++field)
            extra[field] = "0";
        extra[160] = "\"x\"y";
        QTest::newRow("bad quote in an extra field")
            << h + stopLine("S1", 1, extra) + s(2)
            << QStringList{"2:153:160 fields; a stop needs 152", "2:160:text after the closing quote"};
        QTest::newRow("in the order of the text")
            << h + stopLine("S1", 1, {{3, "x"}}) + stopLine("\"S2\"y", 2) + s(3)
            << QStringList{"2:3:data column 1: \"x\"", "3:1:text after the closing quote"};
        QTest::newRow("not UTF-8") << h + stopLine(core::sjis::encode(QStringLiteral("桜橋")), 1) + s(2)
                                   << QStringList{"2:1:stop name: not UTF-8 text (save the file as CSV in UTF-8)"};
        QTest::newRow("blank line between stops")
            << h + s(1) + "\n" + s(2) << QStringList{"3:0:blank line between stops"};
        QTest::newRow("header missing") << s(1) + s(2) + s(3) << QStringList{"1:0:line 1 holds a stop"};
        QTest::newRow("header of two fields")
            << "停留所名,整理券番号\n" + ok << QStringList{"1:0:the header line has 2 fields; it needs 152"};
        QTest::newRow("one stop") << h + s(1) << QStringList{"2:0:1 stop; a route needs at least 2"};
        QTest::newRow("no stops") << h << QStringList{"1:0:no stops; a route needs at least 2"};
        QTest::newRow("empty text") << QByteArray() << QStringList{"1:0:no header line and no stops"};
        QTest::newRow("lines counted inside quotes")
            << h + stopLine("\"二行の\n名前\"", 1) + stopLine("S2", 2, {{3, "x"}})
            << QStringList{"4:3:data column 1: \"x\""};
        QByteArray many = h;
        for (int k = 1; k <= 302; ++k)
            many += s(k);
        QTest::newRow("302 stops") << many
                                   << QStringList{"303:0:more than 301 stops; a fare file for K27 holds at most 301"};
        QTest::newRow("name too long for a fare file")
            << h + stopLine(QByteArray("\"") + QString(32768, u'市').toUtf8() + "\"", 1) + s(2)
            << QStringList{"2:1:stop name is 65536 bytes long in Shift-JIS; a fare file holds at most 65535"};
    }

    void reportsEveryProblemWithLineAndColumn() {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, expected);
        const FareCsv csv = readFareCsv(text);
        QStringList got;
        for (const FareCsvProblem& p : csv.problems)
            got << QStringLiteral("%1:%2:%3").arg(p.line).arg(p.column).arg(p.message);
        QVERIFY2(got.size() == expected.size(), qPrintable(got.join(u'\n')));
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const QString prefix = expected[i].section(u':', 0, 1) + u':';
            const QString part = expected[i].section(u':', 2);
            QVERIFY2(got[i].startsWith(prefix) && got[i].contains(part), qPrintable(got[i] + " / " + expected[i]));
        }
        QCOMPARE(csv.records.isEmpty(), !expected.isEmpty());
    }

    void stopsReportingAfterAHundredProblems() {
        QMap<int, QByteArray> bad;
        for (int c = 2; c <= kFareCsvFields; ++c)
            bad[c] = "x";
        const FareCsv csv = readFareCsv(header() + stopLine("A", 1, bad) + stopLine("B", 2, bad));
        QCOMPARE(csv.problems.size(), kMaxFareCsvProblems + 1);
        QCOMPARE(csv.problems.last().message, QStringLiteral("too many problems; the rest is not checked"));
    }

    void problemText() {
        QCOMPARE(fareCsvProblemText(QStringLiteral("12%1.csv"), {4, 7, QStringLiteral("m")}),
                 QStringLiteral("12%1.csv:4:7: m"));
        QCOMPARE(fareCsvProblemText(QStringLiteral("-"), {1, 0, QStringLiteral("m")}), QStringLiteral("-:1: m"));
    }

    void hy3toolBuildsDumpsAndChecks() {
#ifndef K27_HY3TOOL
        QSKIP("hy3tool is not built");
#else
        if (sourceDir().isEmpty())
            QSKIP("K27_SOURCE_DIR is not set");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString demoCsv = sourceDir() + QStringLiteral("/data/demo/12.csv");
        const QString demoHy3 = sourceDir() + QStringLiteral("/data/demo/12.hy3");

        // The committed fare file is what its CSV builds.
        const QString built = dir.filePath(QStringLiteral("12.hy3"));
        Run r = hy3tool({QStringLiteral("build"), demoCsv, QStringLiteral("-o"), built});
        QVERIFY2(r.exitCode == 0, r.err);
        QCOMPARE(fileBytes(built), fileBytes(demoHy3));

        // dump | build - gives the same bytes, names with quotes and line
        // breaks included.
        for (const QByteArray& hy3 :
             {fileBytes(demoHy3), writeHy3({stop(QStringLiteral("\"A\",\r\nB"), 1, 3), stop(QString(), 2, 4)})}) {
            const QString in = dir.filePath(QStringLiteral("in.hy3"));
            QFile f(in);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(hy3) == hy3.size());
            f.close();
            r = hy3tool({QStringLiteral("dump"), in});
            QCOMPARE(r.exitCode, 0);
            const Run b = hy3tool({QStringLiteral("build"), QStringLiteral("-"), QStringLiteral("-o"),
                                   dir.filePath(QStringLiteral("x.hy3"))},
                                  r.out);
            QVERIFY2(b.exitCode == 0, b.err);
            QCOMPARE(fileBytes(dir.filePath(QStringLiteral("x.hy3"))), hy3);
        }

        // A CSV with problems: every one on stderr, status 1, the existing
        // output left as it was.
        const QString target = dir.filePath(QStringLiteral("keep.hy3"));
        {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("OLD") == 3);
        }
        r = hy3tool({QStringLiteral("build"), QStringLiteral("-"), QStringLiteral("-o"), target},
                    header() + stopLine("S1", 1, {{3, "1.5"}}) + stopLine("S2", 2, {{4, "99999"}}));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("<stdin>:2:3: data column 1") && r.err.contains("<stdin>:3:4: data column 2") &&
                     r.err.contains("2 problems; nothing written"),
                 r.err);
        QCOMPARE(fileBytes(target), QByteArray("OLD"));
        r = hy3tool({QStringLiteral("build"), demoCsv, QStringLiteral("-o"), dir.filePath(QStringLiteral("no/x.hy3"))});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.err.contains("nothing written"));

        // check: accepted with its sections, or refused with the reset's message.
        r = hy3tool({QStringLiteral("check"), demoHy3});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(r.out.contains("15 stops, from 若葉駅北口 to 若葉台車庫") &&
                     r.out.contains("K27 accepts it from sections 1 to 14."),
                 r.out);
        r = hy3tool({QStringLiteral("check"), QStringLiteral("-")}, writeHy3({stop(QStringLiteral("A"), 1, 0)}));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains("指定した区間はデータの数よりも多いです...\n  解決法：") &&
                     r.out.contains("(its first two bytes give 1 stop; a route has 2 to 301 stops)"),
                 r.out);
        // Not a fare file at all: the count the reset reads, and why it refuses.
        r = hy3tool({QStringLiteral("check"), QStringLiteral("-")}, QByteArray("\xf6\xffsome text"));
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.out.contains("(its first two bytes give -10 stops; a route has 2 to 301 stops)"), r.out);
        r = hy3tool({QStringLiteral("dump"), QStringLiteral("-")}, fileBytes(demoHy3).chopped(1));
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.out.isEmpty());
        r = hy3tool({QStringLiteral("dump"), dir.filePath(QStringLiteral("missing.hy3"))});
        QCOMPARE(r.exitCode, 1);

        // Usage.
        QCOMPARE(hy3tool({}).exitCode, 2);
        QCOMPARE(hy3tool({QStringLiteral("frob")}).exitCode, 2);
        r = hy3tool({QStringLiteral("build"), demoCsv});
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.err.contains("build needs -o FILE.hy3"));
        QCOMPARE(hy3tool({QStringLiteral("check"), demoHy3, demoHy3}).exitCode, 2);
        r = hy3tool({QStringLiteral("--help")});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.startsWith("Usage: hy3tool dump FILE.hy3"));
#endif
    }
};

QTEST_GUILESS_MAIN(TestFareCsv)
#include "tst_FareCsv.moc"
