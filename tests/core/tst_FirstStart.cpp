// The first start of an installed K27: with no settings file anywhere it
// gets the demo's settings, every path anchored to the installed demo
// folder; a settings file that exists is never replaced.
#include "app/DemoSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// An install tree in a temporary folder: <root>/usr/bin/K27 and the demo's
// settings source where the install puts it.
struct InstallTree {
    QTemporaryDir root;
    QString exe = root.filePath(QStringLiteral("usr/bin/K27"));
    QString demo = QDir::cleanPath(root.filePath(QStringLiteral("usr/bin/")) + DemoSettings::demoFolderFromBin());
    mdlIniIo::SettingsPlace place{exe, false, root.filePath(QStringLiteral("home/.config/K27"))};

    explicit InstallTree(const QByteArray& source) {
        writeFile(exe, "#!");
        if (!source.isNull())
            writeFile(demo + QStringLiteral("/settings.json"), source);
    }
    QString configFile() const { return place.configFolder + QStringLiteral("/K27.in4"); }
};

QByteArray demoSource() {
    return fileBytes(QString::fromLocal8Bit(qgetenv("K27_SOURCE_DIR")) + QStringLiteral("/data/demo/settings.json"));
}

} // namespace

class TestFirstStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (demoSource().isEmpty())
            QSKIP("K27_SOURCE_DIR is not set");
    }

    void firstStartGetsTheAnchoredDemo() {
        InstallTree tree(demoSource());
        QCOMPARE(DemoSettings::installedDemoFolder(tree.exe), tree.demo);
        QCOMPARE(DemoSettings::seedFirstStart(tree.place), tree.configFile());

        const auto written = mdlIniIo::decodeSettings(fileBytes(tree.configFile()));
        QVERIFY(written.complete);
        const auto& o = written.record.Options;
        // Empty folders meant "here" for `make run`: here is now the demo.
        QCOMPARE(o.Folder.FareDataDir, tree.demo);
        QCOMPARE(o.Folder.TapeDataDir, tree.demo);
        QCOMPARE(o.Panel.On1PanelFile, tree.demo + QStringLiteral("/panels/panel-on1.bmp"));
        QCOMPARE(o.Sound.TapeSound3, tree.demo + QStringLiteral("/sounds/tape3.mid"));
        QCOMPARE(o.Preview.PluginFile, tree.demo + QStringLiteral("/plugins/full.4SP"));
        QCOMPARE(o.Panel.OffPanelFile, QString()); // none stays none

        // Everything else as the source has it.
        SettingsJson::ReadResult source = SettingsJson::read(demoSource());
        DemoSettings::anchorPaths(source.record, tree.demo);
        QCOMPARE(written.record, source.record);
    }

    void anExistingFileIsNeverReplaced() {
        InstallTree tree(demoSource());
        QVERIFY(writeFile(tree.configFile(), "mine"));
        QCOMPARE(DemoSettings::seedFirstStart(tree.place), QString());
        QCOMPARE(fileBytes(tree.configFile()), QByteArray("mine"));

        // Settings beside the program count too (loading falls back to them).
        InstallTree beside(demoSource());
        QVERIFY(writeFile(beside.root.filePath(QStringLiteral("usr/bin/K27.in4")), "shipped"));
        QCOMPARE(DemoSettings::seedFirstStart(beside.place), QString());
        QVERIFY(!QFile::exists(beside.configFile()));
    }

    // Whatever goes wrong, nothing is written and nothing is thrown: the
    // program then starts on its own defaults.
    void failuresWriteNothing() {
        InstallTree noDemo{QByteArray()};
        QCOMPARE(DemoSettings::installedDemoFolder(noDemo.exe), QString());
        QCOMPARE(DemoSettings::seedFirstStart(noDemo.place), QString());
        QVERIFY(!QFile::exists(noDemo.configFile()));

        InstallTree broken(QByteArray(demoSource()).replace("\"LateNight\"", "\"Late\""));
        QCOMPARE(DemoSettings::seedFirstStart(broken.place), QString());
        QVERIFY(!QFile::exists(broken.configFile()));

        InstallTree blocked(demoSource());
        QVERIFY(writeFile(blocked.place.configFolder, "a file where the folder should be"));
        QCOMPARE(DemoSettings::seedFirstStart(blocked.place), QString());

        QCOMPARE(DemoSettings::seedFirstStart({}), QString());
    }

    void anchoring() {
        SettingsRecord r;
        r.Options.Folder.FareDataDir = QStringLiteral("../routes");
        r.Options.Folder.TapeDataDir = QStringLiteral("/srv/tapes");
        r.Options.Sound.KeitouSound = QStringLiteral("sounds/./a.wav");
        r.Options.Panel.On2PanelFile = QStringLiteral("/pictures/b.jpg");
        DemoSettings::anchorPaths(r, QStringLiteral("/opt/k27/demo"));
        QCOMPARE(r.Options.Folder.FareDataDir, QStringLiteral("/opt/k27/routes"));
        QCOMPARE(r.Options.Folder.TapeDataDir, QStringLiteral("/srv/tapes"));
        QCOMPARE(r.Options.Sound.KeitouSound, QStringLiteral("/opt/k27/demo/sounds/a.wav"));
        QCOMPARE(r.Options.Panel.On2PanelFile, QStringLiteral("/pictures/b.jpg"));
        QCOMPARE(r.Options.Sound.ResetSound, QString());

        // A demo folder whose path Shift-JIS cannot hold would be written as
        // another path: refused.
        QTemporaryDir dir;
        const QString odd = dir.filePath(QStringLiteral("demo-🚌"));
        QVERIFY(writeFile(odd + QStringLiteral("/settings.json"), demoSource()));
        QVERIFY(!DemoSettings::anchoredDemoSettings(odd).problems.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFirstStart)
#include "tst_FirstStart.moc"
