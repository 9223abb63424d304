// The settings record as JSON text: every field travels, each is required,
// unknown names and impossible values are refused with the field named, and
// in4tool turns files into text and back without a byte changing.
#include "app/SettingsFile.h"
#include "app/SettingsJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// Calls f on every leaf value of the JSON text's tree, with its dotted name.
void forEachLeaf(QJsonObject& top, const std::function<void(const QString&, QJsonValueRef)>& f) {
    for (auto it = top.begin(); it != top.end(); ++it) {
        const QString name = it.key();
        if (it->isObject()) {
            QJsonObject rec = it->toObject();
            for (auto field = rec.begin(); field != rec.end(); ++field)
                f(name + u'.' + field.key(), field.value());
            *it = rec;
        } else if (it->isArray()) {
            QJsonArray list = it->toArray();
            for (qsizetype i = 0; i < list.size(); ++i) {
                const QString item = QStringLiteral("%1[%2]").arg(name).arg(i);
                if (list[i].isObject()) {
                    QJsonObject entry = list[i].toObject();
                    for (auto field = entry.begin(); field != entry.end(); ++field)
                        f(item + u'.' + field.key(), field.value());
                    list[i] = entry;
                } else {
                    f(item, list[i]);
                }
            }
            *it = list;
        } else {
            f(name, *it);
        }
    }
}

QJsonObject parse(const QByteArray& json) {
    return QJsonDocument::fromJson(json).object();
}

QByteArray text(const QJsonObject& o) {
    return QJsonDocument(o).toJson();
}

// A record whose fields all hold different values, none of them a default:
// a field lost, swapped or mixed up with another on the way would show.
SettingsRecord everyFieldDistinct() {
    QJsonObject doc = parse(SettingsJson::write(SettingsRecord{}));
    int n = 0;
    forEachLeaf(doc, [&](const QString& name, QJsonValueRef v) {
        ++n;
        if (name == QStringLiteral("DegitCount"))
            return;
        if (v.isString() && v.toString().startsWith(QStringLiteral("0x")))
            v = QStringLiteral("0x%1").arg(0x00010203u * quint32(n), 8, 16, QLatin1Char('0'));
        else if (v.isString())
            v = QStringLiteral("データ\\%1番.wav").arg(n);
        else
            v = (n % 2 ? -1 : 1) * (n * 97 % 32000 + 1);
    });
    const SettingsJson::ReadResult r = SettingsJson::read(text(doc));
    [&] { QCOMPARE(r.problems, QStringList{}); }();
    return r.record;
}

} // namespace

class TestSettingsJson : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyFieldTravels() {
        // The file's layout: 2 folders, 17 panel, 13 digit and 4 stop-name
        // fields, 19 sound, 6 preview, 7 control-panel and 2 board fields,
        // 17 custom colours, the digit count and 50 x 3 digit modes.
        QCOMPARE(SettingsJson::fieldNames().size(), 2 + 17 + 13 + 4 + 19 + 6 + 7 + 2 + 17 + 1 + 150);

        const SettingsRecord record = everyFieldDistinct();
        QVERIFY(record.Options.Sound.TapeSound3.startsWith(QStringLiteral("データ")));
        QVERIFY(record.DegitModes[49].FillZero != 0);
        QVERIFY(record.CustColors[16] != 0);

        // Text -> record -> text, and record -> file -> record -> text.
        const QByteArray json = SettingsJson::write(record);
        QCOMPARE(SettingsJson::read(json).record, record);
        const auto decoded = mdlIniIo::decodeSettings(mdlIniIo::encodeSettings(record));
        QVERIFY(decoded.complete);
        QCOMPARE(SettingsJson::write(decoded.record), json);

        // The text lists the records' fields in file order under the names
        // fieldNames() gives.
        const QString written = QString::fromUtf8(json);
        qsizetype at = 0;
        for (const QString& name : SettingsJson::fieldNames()) {
            if (name.contains(u'['))
                continue;
            const qsizetype found = written.indexOf(u'"' + name.section(u'.', -1) + QStringLiteral("\":"), at);
            QVERIFY2(found >= 0, qPrintable(name));
            at = found;
        }
    }

    // Extreme values and a system colour survive the way through the text.
    void limitsTravel() {
        SettingsRecord r;
        r.CtlPanel.CtlLeft = std::numeric_limits<qint32>::min();
        r.CtlPanel.CtlTop = std::numeric_limits<qint32>::max();
        r.Options.Panel.SeiriNumStyle = -32768;
        r.Options.Degit.InfoCol = 32767;
        r.Options.Chimei.ChimeiBackColor = 0x8000000F;
        r.CustColors[0] = 0xFFFFFFFF;
        r.Options.Preview.PluginFile = QStringLiteral("C:\\整理券\\\"引用\"\n改行.4SP");
        const SettingsJson::ReadResult back = SettingsJson::read(SettingsJson::write(r));
        QCOMPARE(back.problems, QStringList{});
        QCOMPARE(back.record, r);
        QVERIFY(SettingsJson::write(r).contains("\"ChimeiBackColor\": \"0x8000000F\""));
    }

    // Leaving out any one field is refused, naming that field.
    void everyFieldIsRequired() {
        const QJsonObject full = parse(SettingsJson::write(everyFieldDistinct()));
        for (const QString& name : SettingsJson::fieldNames()) {
            QJsonObject doc = full;
            const QString top = name.section(u'.', 0, 0).section(u'[', 0, 0);
            QString expected = name + QStringLiteral(": missing");
            if (name.startsWith(QStringLiteral("CustColors"))) {
                QJsonArray list = doc[top].toArray();
                list.removeLast();
                doc[top] = list;
                expected = QStringLiteral("CustColors: must be a list of 17 entries");
            } else if (name.startsWith(QStringLiteral("DegitModeRec"))) {
                QJsonArray list = doc[top].toArray();
                const int i = name.section(u'[', 1).section(u']', 0, 0).toInt();
                QJsonObject entry = list[i].toObject();
                entry.remove(name.section(u'.', 1));
                list[i] = entry;
                doc[top] = list;
            } else if (name.contains(u'.')) {
                QJsonObject rec = doc[top].toObject();
                rec.remove(name.section(u'.', 1));
                doc[top] = rec;
            } else {
                doc.remove(name);
            }
            QCOMPARE(SettingsJson::read(text(doc)).problems, QStringList{expected});
        }
    }

    void unknownNamesAreRefused() {
        QJsonObject doc = parse(SettingsJson::write(SettingsRecord{}));
        doc[QStringLiteral("Extra")] = 1;
        QJsonObject panel = doc[QStringLiteral("PanelRec")].toObject();
        panel[QStringLiteral("AutoSeiriNumber")] = panel.take(QStringLiteral("AutoSeiriNum"));
        doc[QStringLiteral("PanelRec")] = panel;
        QJsonArray modes = doc[QStringLiteral("DegitModeRec")].toArray();
        QJsonObject mode = modes[3].toObject();
        mode[QStringLiteral("Keta")] = 4;
        modes[3] = mode;
        doc[QStringLiteral("DegitModeRec")] = modes;

        const QStringList problems = SettingsJson::read(text(doc)).problems;
        QVERIFY(problems.contains(QStringLiteral("Extra: unknown name")));
        QVERIFY(problems.contains(QStringLiteral("PanelRec.AutoSeiriNumber: unknown name")));
        QVERIFY(problems.contains(QStringLiteral("PanelRec.AutoSeiriNum: missing")));
        QVERIFY(problems.contains(QStringLiteral("DegitModeRec[3].Keta: unknown name")));
        QCOMPARE(problems.size(), 4);
    }

    void impossibleValuesAreRefused_data() {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("problem");
        const QString whole16 = QStringLiteral("must be a whole number from -32768 to 32767");
        const QString colour = QStringLiteral("must be a colour \"0x00BBGGRR\"");
        QTest::newRow("16 bits") << "DegitRec"
                                 << "InfoCol" << QJsonValue(32768) << whole16;
        QTest::newRow("fraction") << "DegitRec"
                                  << "InfoCol" << QJsonValue(1.5) << whole16;
        QTest::newRow("text for number") << "PanelRec"
                                         << "PanelAuto" << QJsonValue("-1") << whole16;
        QTest::newRow("true for number") << "PanelRec"
                                         << "PanelAuto" << QJsonValue(true) << whole16;
        QTest::newRow("32 bits") << "CtlPanelRec"
                                 << "CtlLeft" << QJsonValue(2147483648.0)
                                 << QStringLiteral("must be a whole number from -2147483648 to 2147483647");
        QTest::newRow("colour name") << "ChimeiRec"
                                     << "ChimeiForeColor" << QJsonValue("yellow") << colour;
        QTest::newRow("colour too long") << "ChimeiRec"
                                         << "ChimeiForeColor" << QJsonValue("0x100000000") << colour;
        QTest::newRow("negative colour") << "ChimeiRec"
                                         << "ChimeiForeColor" << QJsonValue(-1) << colour;
        QTest::newRow("number for text") << "SoundRec"
                                         << "StepSound" << QJsonValue(3) << QStringLiteral("must be a text");
        QTest::newRow("not Shift-JIS") << "SoundRec"
                                       << "StepSound" << QJsonValue("chime-🔔.wav")
                                       << QStringLiteral("Shift-JIS has no 🔔");
        QTest::newRow("record not object") << "FolderRec"
                                           << "" << QJsonValue("data") << QStringLiteral("must be an object of fields");
    }
    void impossibleValuesAreRefused() {
        QFETCH(QString, record);
        QFETCH(QString, field);
        QFETCH(QJsonValue, value);
        QFETCH(QString, problem);
        QJsonObject doc = parse(SettingsJson::write(SettingsRecord{}));
        if (field.isEmpty()) {
            doc[record] = value;
        } else {
            QJsonObject rec = doc[record].toObject();
            rec[field] = value;
            doc[record] = rec;
        }
        const QString where = field.isEmpty() ? record : record + u'.' + field;
        QCOMPARE(SettingsJson::read(text(doc)).problems, QStringList{where + QStringLiteral(": ") + problem});
    }

    void brokenTextIsRefused() {
        const QStringList syntax = SettingsJson::read("{\n  \"FolderRec\": {\n    \"FareDataDir\" \"\"").problems;
        QCOMPARE(syntax.size(), 1);
        QVERIFY2(syntax[0].startsWith(QStringLiteral("line 3, near column ")) &&
                     syntax[0].endsWith(QStringLiteral(": missing name separator")),
                 qPrintable(syntax[0]));
        QCOMPARE(SettingsJson::read("[]").problems,
                 QStringList{QStringLiteral("the text must be one JSON object holding the records")});
        QJsonObject doc = parse(SettingsJson::write(SettingsRecord{}));
        doc[QStringLiteral("DegitCount")] = 49;
        QCOMPARE(SettingsJson::read(text(doc)).problems,
                 QStringList{QStringLiteral("DegitCount: must be 50, the number of fare digits")});
    }

    // The tool end to end: a file dumped and built again is the same file,
    // problems are reported with the field and nothing is written, and
    // --keep never touches an existing file.
    void toolRoundTrip() {
#ifndef K27_IN4TOOL
        QSKIP("in4tool is not built");
#else
        QTemporaryDir dir;
        const QString in4 = dir.filePath(QStringLiteral("K27.in4"));
        const QByteArray original = mdlIniIo::encodeSettings(everyFieldDistinct());
        mdlIniIo::writeSettingsFile(in4, original);

        QProcess dump;
        dump.start(QStringLiteral(K27_IN4TOOL), {QStringLiteral("dump"), in4});
        QVERIFY(dump.waitForFinished());
        QCOMPARE(dump.exitCode(), 0);
        const QByteArray json = dump.readAllStandardOutput();
        QCOMPARE(json, SettingsJson::write(everyFieldDistinct()));

        const QString source = dir.filePath(QStringLiteral("settings.json"));
        const QString rebuilt = dir.filePath(QStringLiteral("again.in4"));
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(json) == json.size());
        f.close();
        QCOMPARE(QProcess::execute(QStringLiteral(K27_IN4TOOL),
                                   {QStringLiteral("build"), source, QStringLiteral("-o"), rebuilt}),
                 0);
        QCOMPARE(mdlIniIo::readSettingsFile(rebuilt), original);

        // --keep: an existing file stays as it is.
        mdlIniIo::writeSettingsFile(rebuilt, "mine");
        QCOMPARE(QProcess::execute(QStringLiteral(K27_IN4TOOL), {QStringLiteral("build"), source, QStringLiteral("-o"),
                                                                 rebuilt, QStringLiteral("--keep")}),
                 0);
        QCOMPARE(mdlIniIo::readSettingsFile(rebuilt), QByteArray("mine"));

        // A misspelt field: exit 1, the field named, no file.
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(json).replace("\"LateNight\"", "\"Latenight\""));
        f.close();
        QProcess bad;
        const QString none = dir.filePath(QStringLiteral("none.in4"));
        bad.start(QStringLiteral(K27_IN4TOOL), {QStringLiteral("build"), source, QStringLiteral("-o"), none});
        QVERIFY(bad.waitForFinished());
        QCOMPARE(bad.exitCode(), 1);
        const QString err = QString::fromUtf8(bad.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("CtlPanelRec.Latenight: unknown name")) &&
                     err.contains(QStringLiteral("CtlPanelRec.LateNight: missing")),
                 qPrintable(err));
        QVERIFY(!QFile::exists(none));

        // A file cut short is dumped with a warning.
        mdlIniIo::writeSettingsFile(in4, original.left(100));
        QProcess cut;
        cut.start(QStringLiteral(K27_IN4TOOL), {QStringLiteral("dump"), in4});
        QVERIFY(cut.waitForFinished());
        QCOMPARE(cut.exitCode(), 0);
        QVERIFY(cut.readAllStandardError().contains("ends early"));
#endif
    }
};

QTEST_GUILESS_MAIN(TestSettingsJson)
#include "tst_SettingsJson.moc"
