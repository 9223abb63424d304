#pragma once
// The demo's settings for a first start. The demo folder holds settings.json
// (SettingsJson's form) whose paths are relative to that folder, so the same
// file serves `make run`, which starts K27 inside the folder, and an
// installed K27, which may start anywhere: there every relative path is
// anchored to the demo folder before the settings are written.
#include "app/SettingsFile.h"
#include "app/SettingsJson.h"

#include <QString>

namespace DemoSettings {

// The demo's settings source inside a demo folder.
inline constexpr char kSourceName[] = "settings.json";

// The path from the folder of an installed executable to the installed demo
// folder ("../share/k27/demo" in the usual layout).
QString demoFolderFromBin();

// The demo folder of an installed K27: the data folder beside the folder of
// the executable (<prefix>/share/k27/demo for <prefix>/bin/K27). Empty when
// there is no settings source there.
QString installedDemoFolder(const QString& executablePath);

// Makes every path of the record that is relative (sound, panel picture and
// plug-in files, the two data folders) absolute against folder; an empty
// data folder, which means the current directory, becomes folder itself.
// Empty file names stay empty: they mean "none".
void anchorPaths(SettingsRecord& record, const QString& folder);

// The settings of the demo in folder, anchored to it. problems is not empty
// when the source is missing or not accepted, or when an anchored path
// cannot be written in Shift-JIS (a path the program could not open).
SettingsJson::ReadResult anchoredDemoSettings(const QString& folder);

// For a first start: when no settings file exists for place, neither where
// saving writes nor where loading looks, and an installed demo folder is
// found, writes the demo's anchored settings where saving writes. Returns
// the file written, or empty when nothing was written (a settings file
// exists, no demo is installed, or writing failed: the program then starts
// on its defaults). Never throws and never replaces a file.
QString seedFirstStart(const mdlIniIo::SettingsPlace& place);

} // namespace DemoSettings
