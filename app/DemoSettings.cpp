#include "app/DemoSettings.h"

#include "core/RuntimeError.h"
#include "core/ShiftJis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef K27_DEMO_FROM_BIN
// Where the installed demo lies, from the folder of the executable; the build
// sets it from the install layout.
#define K27_DEMO_FROM_BIN "../share/k27/demo"
#endif

namespace DemoSettings {

namespace {

// The settings source is small; anything larger is not ours.
constexpr qint64 kMaxSourceBytes = 1024 * 1024;

QString anchored(const QString& path, const QDir& folder) {
    return path.isEmpty() || QDir::isAbsolutePath(path) ? path : QDir::cleanPath(folder.absoluteFilePath(path));
}

QString anchoredFolder(const QString& path, const QDir& folder) {
    return path.isEmpty() ? QDir::cleanPath(folder.absolutePath()) : anchored(path, folder);
}

} // namespace

QString demoFolderFromBin() {
    return QStringLiteral(K27_DEMO_FROM_BIN);
}

QString installedDemoFolder(const QString& executablePath) {
    if (executablePath.isEmpty())
        return {};
    const QDir bin = QFileInfo(executablePath).absoluteDir();
    const QString folder = QDir::cleanPath(bin.absoluteFilePath(demoFolderFromBin()));
    return QFileInfo(QDir(folder).filePath(QLatin1String(kSourceName))).isFile() ? folder : QString();
}

void anchorPaths(SettingsRecord& record, const QString& folder) {
    const QDir dir(folder);
    auto& o = record.Options;
    o.Folder.FareDataDir = anchoredFolder(o.Folder.FareDataDir, dir);
    o.Folder.TapeDataDir = anchoredFolder(o.Folder.TapeDataDir, dir);
    for (QString* file :
         {&o.Panel.OffPanelFile, &o.Panel.On1PanelFile, &o.Panel.On2PanelFile, &o.Sound.KeitouSound,
          &o.Sound.ResetSound, &o.Sound.StepSound, &o.Sound.StepSound1, &o.Sound.StepSound2, &o.Sound.StepSound3,
          &o.Sound.TapeSound, &o.Sound.TapeSound1, &o.Sound.TapeSound2, &o.Sound.TapeSound3, &o.Preview.PluginFile})
        *file = anchored(*file, dir);
}

SettingsJson::ReadResult anchoredDemoSettings(const QString& folder) {
    SettingsJson::ReadResult result;
    QFile source(QDir(folder).filePath(QLatin1String(kSourceName)));
    if (!source.open(QIODevice::ReadOnly) || source.size() > kMaxSourceBytes) {
        result.problems << source.fileName() + QStringLiteral(": cannot be read");
        return result;
    }
    result = SettingsJson::read(source.readAll());
    if (!result.problems.isEmpty())
        return result;
    anchorPaths(result.record, folder);
    // A path the settings file cannot hold would name another file.
    const QString base = QDir::cleanPath(QDir(folder).absolutePath());
    if (const QStringList bad = core::sjis::unencodable(base); !bad.isEmpty())
        result.problems << base + QStringLiteral(": Shift-JIS has no ") + bad.join(u' ');
    return result;
}

QString seedFirstStart(const mdlIniIo::SettingsPlace& place) {
    if (QFileInfo::exists(mdlIniIo::settingsLoadPath(place)))
        return {};
    const QString folder = installedDemoFolder(place.executablePath);
    if (folder.isEmpty())
        return {};
    const SettingsJson::ReadResult demo = anchoredDemoSettings(folder);
    if (!demo.problems.isEmpty())
        return {};
    const QString path = mdlIniIo::settingsFilePath(place);
    try {
        mdlIniIo::writeSettingsFile(path, mdlIniIo::encodeSettings(demo.record));
    } catch (const core::RuntimeError&) {
        return {};
    }
    return path;
}

} // namespace DemoSettings
