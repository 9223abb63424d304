// The demo's settings (data/demo/settings.json): what they leave alone is
// exactly what the windows start with, and applied as the settings loader
// applies them inside the demo folder, as `make run` starts K27, every
// relative path works: sounds, panel pictures, the plug-in and the empty
// data folders.
#include "app/SettingsJson.h"
#include "platform/QtVXB4Res.h"
#include "tests/control/PanelFixture.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>

namespace {

QString demoFolder() {
    return QString::fromLocal8Bit(qgetenv("K27_SOURCE_DIR")) + QStringLiteral("/data/demo");
}

SettingsRecord demoRecord() {
    QFile f(demoFolder() + QStringLiteral("/settings.json"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const SettingsJson::ReadResult r = SettingsJson::read(f.readAll());
    [&] { QCOMPARE(r.problems, QStringList{}); }();
    return r.record;
}

// What the windows would save right after start-up, before any settings
// file: the records as the settings writer fills them.
SettingsRecord startUpRecord(K27Windows& w) {
    SettingsRecord r;
    w.options.GetOptionInfo(r.Options);
    w.panel.GetCtrlDataInfo(r.CtlPanel);
    w.board.GetFormInfo(r.BoardPos);
    for (int i = 1; i <= 50; ++i) {
        const M_Degit* d = w.board.Degit[size_t(i)];
        r.DegitModes[size_t(i - 1)] = {d->Shift(), d->ZeroMode(), d->FillZero()};
    }
    return r;
}

// One field's value in the JSON form, by its dotted name.
QJsonValue field(const QJsonObject& doc, const QString& name) {
    const QString top = name.section(u'.', 0, 0).section(u'[', 0, 0);
    QJsonValue v = doc[top];
    if (name.contains(u'['))
        v = v.toArray()[name.section(u'[', 1).section(u']', 0, 0).toInt()];
    return name.contains(u'.') ? v.toObject()[name.section(u'.', 1)] : v;
}

// The fields the demo sets on purpose; every other field keeps the value
// the windows start with.
const QStringList kChosen{
    // ON1 and ON2 show the demo's own panel pictures; the night panel's
    // numbers are light.
    "PanelRec.SeiriColorOn2", "PanelRec.PanelAuto", "PanelRec.PanelManual", "PanelRec.On1BuiltIn", "PanelRec.On1User",
    "PanelRec.On2BuiltIn", "PanelRec.On2User", "PanelRec.On1PanelFile", "PanelRec.On2PanelFile",
    // Digits 48, 49 and 50: the stop's order, the route and column 52.
    "DegitRec.InfoStopOn", "DegitRec.InfoStopKoma", "DegitRec.InfoKeitouOn", "DegitRec.InfoKeitouKoma",
    "DegitRec.InfoColOn", "DegitRec.InfoCol", "DegitRec.InfoColKoma",
    // Every sound slot; stepping chimes by column 51, announcement chimes
    // by the rows' flags.
    "SoundRec.KeitouSound", "SoundRec.ResetSound", "SoundRec.StepAlways", "SoundRec.StepByCol", "SoundRec.StepSound",
    "SoundRec.StepCol", "SoundRec.StepSound1", "SoundRec.StepSound2", "SoundRec.StepSound3", "SoundRec.TapeAlways",
    "SoundRec.TapeByFlag", "SoundRec.TapeSound", "SoundRec.TapeSound1", "SoundRec.TapeSound2", "SoundRec.TapeSound3",
    // The ticket preview with the full sample plug-in, open; the fixed
    // date is today's date at start-up, so a file always names one.
    "PreviewRec.UsePreview", "PreviewRec.PluginFile", "PreviewRec.FixedDate", "CtlPanelRec.PreviewOpen",
    // Window places depend on the screen at start-up: the board at the
    // top-left, the control panel under it.
    "CtlPanelRec.CtlLeft", "CtlPanelRec.CtlTop", "BoardPosRec.BoardLeft", "BoardPosRec.BoardTop"};

} // namespace

class TestDemoSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("K27_SOURCE_DIR"))
            QSKIP("K27_SOURCE_DIR is not set");
    }

    void untouchedFieldsAreTheWindowsDefaults() {
        PlatformDoubles d;
        K27Windows w;
        w.panel.Form_Load();
        const QJsonObject defaults = QJsonDocument::fromJson(SettingsJson::write(startUpRecord(w))).object();
        const QJsonObject demo = QJsonDocument::fromJson(SettingsJson::write(demoRecord())).object();
        const QStringList names = SettingsJson::fieldNames();
        for (const QString& chosen : kChosen)
            QVERIFY2(names.contains(chosen), qPrintable(chosen));
        for (const QString& name : names) {
            if (kChosen.contains(name))
                continue;
            QVERIFY2(field(demo, name) == field(defaults, name),
                     qPrintable(name + QStringLiteral(": demo ") + field(demo, name).toVariant().toString() +
                                QStringLiteral(", windows ") + field(defaults, name).toVariant().toString()));
        }
        mdlM_Tape::ReleaseSpeech();
    }

    // Inside the demo folder, as `make run` has it, the settings applied as
    // the loader applies them: both routes, every sound chosen, both panel
    // pictures and the plug-in work, and nothing is reported.
    void everyPathWorksInsideTheDemoFolder() {
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(demoFolder()));
        platform::QtVXB4Res engine; // the real plug-in engine among faked dialogs
        PanelFixture f;
        f.d.helper.pluginEngine = &engine;
        f.w.panel.Form_Load(); // the speech engine, for the announcements
        const SettingsRecord r = demoRecord();
        f.w.options.SetOptionInfo(r.Options);
        f.w.panel.SetCtrlDataInfo(r.CtlPanel);
        f.w.board.SetFormInfo(r.BoardPos);
        f.w.options.SetProp();
        QCOMPARE(f.messages(), QStringList{});

        // The plug-in was found and described.
        QVERIFY(f.w.options.List1->count() > 0);

        // ON1 and ON2 put the demo's pictures behind the board: a point of
        // the face beside the digits is warm white, then night blue.
        const auto facePixel = [&] { return f.w.board.grab().toImage().pixelColor(30, 120); };
        const QColor builtIn = facePixel();
        f.w.panel.Option4_Click(1);
        const QColor on1 = facePixel();
        QVERIFY2(on1.red() > 230 && on1.blue() < on1.red() && on1 != builtIn, qPrintable(on1.name()));
        f.w.panel.Option4_Click(2);
        const QColor on2 = facePixel();
        QVERIFY2(on2.blue() > on2.red() + 40 && on2.red() < 80, qPrintable(on2.name()));
        QCOMPARE(f.w.board.lblSeiriNum[1]->palette().color(QPalette::WindowText), QColor(0xC0, 0xFF, 0xC0));
        QCOMPARE(f.messages(), QStringList{});

        // Route 105 from the current folder, the information digits at the
        // bottom right, and a chime by column 51 on the way.
        f.clearLogs();
        f.keypadReset(QStringLiteral("105"), QStringLiteral("1"));
        QCOMPARE(f.messages(), QStringList{});
        QCOMPARE(f.fare(1), 180);
        QCOMPARE(f.value(49).toString(), QStringLiteral("105"));
        QCOMPARE(f.fare(50), 0);
        for (int stop = 2; stop <= 24; ++stop)
            f.stepForward();
        QCOMPARE(f.fare(48), 24);
        QCOMPARE(f.fare(50), 50);
        QCOMPARE(f.fare(1), 660);

        // Route 12 with its announcements: the welcome's flag 3 chime.
        f.keypadReset(QStringLiteral("12"), QStringLiteral("1"));
        f.w.panel.cmdTapeNext_Click();
        QCOMPARE(f.messages(), QStringList{});

        const QStringList played = f.played().join(u' ').split(u' ');
        for (const char* sound : {"keitou@S1", "reset@S1", "step1@S2", "step2@S2", "step3@S2", "tape3@S3"})
            QVERIFY2(played.contains(QLatin1String(sound)), qPrintable(f.played().join(u' ')));
        // Every sound opened is a file here.
        for (const QString& c : f.d.multimedia.commands)
            if (c.startsWith(QLatin1String("open \""))) {
                const QString file = c.mid(6, c.indexOf(u'"', 6) - 6);
                QVERIFY2(QFileInfo(file).isRelative() && QFileInfo::exists(file), qPrintable(c));
            }
        mdlM_Tape::ReleaseSpeech();
        QDir::setCurrent(before);
    }
};

QTEST_MAIN(TestDemoSettings)
#include "tst_DemoSettings.moc"
