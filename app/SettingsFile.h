#pragma once
// The settings file (<program>.in4): its bytes, where it lives, and how it
// is read and replaced. Free of widgets; the windows fill and apply the
// records elsewhere.
//
// Layout: eleven items back to back, little-endian, no padding. Texts are
// an unsigned 16-bit byte count followed by that many Shift-JIS bytes.
//   1 FolderRec   2 PanelRec   3 DegitRec (32)   4 ChimeiRec (12)
//   5 SoundRec    6 PreviewRec 7 CtlPanelRec (22) 8 BoardPosRec (8)
//   9 17 custom colours (68)   10 digit count, int16, always 50
//   11 50 x (Shift, ZeroMode, FillZero) int16 (300)
#include "core/RuntimeError.h"
#include "core/SettingsRecords.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace mdlIniIo {

// Size of a file whose texts are all empty.
inline constexpr qsizetype kEmptyFileSize = 538;
// The digit count written as item 10; reading ignores what the file says.
inline constexpr qint16 kDegitCount = 50;
// The largest file the items can make: 17 texts of 65535 bytes each.
inline constexpr qsizetype kMaxFileSize = kEmptyFileSize + 17 * 65535;

// The file's bytes for the record. A text longer than 65535 Shift-JIS bytes
// is cut at the last whole character that fits; a character Shift-JIS lacks
// is written as '?'.
QByteArray encodeSettings(const SettingsRecord& record);

struct DecodedSettings {
    SettingsRecord record;
    // Bytes taken by the items; anything after item 11 is ignored.
    qsizetype bytesUsed = 0;
    // False when the bytes ended before the last item did.
    bool complete = false;
};

// Reads the items in file order. Where the bytes end early every missing
// number reads 0 and every missing text reads empty; a text whose count
// runs past the end reads empty too (a cut path could name another existing
// file or folder), and so does everything after it. Never fails.
DecodedSettings decodeSettings(QByteArrayView bytes);

// Where the file lives. The executable's folder comes first, as a copy run
// from a folder of its own keeps its settings beside it; where that folder
// cannot be written (an installed program) the user's configuration folder
// takes its place.
struct SettingsPlace {
    QString executablePath;                // absolute path of the running program
    bool executableFolderWritable = false; // may this process create files there
    QString configFolder;                  // the user's configuration folder for K27
};

// The place of this process: QCoreApplication's executable path, a probe of
// its folder, and the desktop's configuration folder + "/K27".
SettingsPlace currentSettingsPlace();

// The file that saving writes: <executable folder>/<base name>.in4 where
// that folder is writable, else <config folder>/<base name>.in4.
QString settingsFilePath(const SettingsPlace& place);
QString settingsFilePath();

// The file that loading reads: the one saving writes when it exists, else
// the other one when that exists (settings carried over from the folder
// beside the program, or default settings shipped beside an installed
// program), else the path saving writes, which does not exist.
QString settingsLoadPath(const SettingsPlace& place);
QString settingsLoadPath();

// The file's bytes, at most kMaxFileSize of them. Throws core::RuntimeError:
// 52 for an empty name, 53 when the file is missing, 75 when it cannot be
// opened or read.
QByteArray readSettingsFile(const QString& path);

// Replaces the file with bytes, or leaves the previous file exactly as it
// was: the bytes go to a temporary file beside it that is renamed over it
// only when every byte has been written and flushed. Creates the folder
// when it is missing. Throws core::RuntimeError: 52 empty name, 76 folder
// cannot be created, 70 no permission, 61 disk full or file too large,
// 75 other failures to open or replace, 57 other write failures.
void writeSettingsFile(const QString& path, QByteArrayView bytes);

// The message texts: "エラー Code:" number CR LF "内容:" description, and for
// loading CR LF "モジュール:mdlIniIo.LoadIni()" after it.
QString saveErrorText(const core::RuntimeError& error);
QString loadErrorText(const core::RuntimeError& error);

} // namespace mdlIniIo
