#pragma once
// Saving every setting of the three windows to the settings file and
// applying it back. The records exist only inside these calls; while the
// program runs the windows' controls are the settings.
#include "app/SettingsFile.h"

class Form1;
class frmCtl;
class frmOption;

namespace mdlIniIo {

// The records as the windows hold them now: the modes of fare digits
// 1..50, the options, the panel, the board's position, the custom colours.
// Throws core::RuntimeError when a window cannot give a value (a position
// beyond 32 bits of twips).
SettingsRecord collectSettings(const Form1& board, const frmOption& options, const frmCtl& panel);

// Applies the records in order: digit modes and colours with every fare
// digit blanked, the clock's and the stop-name display's colours, the
// custom colours, the options, the panel, the board's position, and the
// options applied to the board. Stops at the first value a control rejects
// with its core::RuntimeError; what was applied before it stays.
void applySettings(Form1& board, frmOption& options, frmCtl& panel, const SettingsRecord& record);

// Writes the file (settingsFilePath() when no path is given). A failure
// shows the save message and leaves the previous file as it was; the
// caller goes on either way. True when the file was written.
bool SaveIni(Form1& board, frmOption& options, frmCtl& panel);
bool SaveIni(Form1& board, frmOption& options, frmCtl& panel, const QString& path);

// Reads the file (settingsLoadPath() when no path is given) and applies it.
// A missing file or an unusable name applies nothing and says nothing; any
// other failure, reading or applying, shows the load message and ends the
// load there. True when the whole file was applied.
bool LoadIni(Form1& board, frmOption& options, frmCtl& panel);
bool LoadIni(Form1& board, frmOption& options, frmCtl& panel, const QString& path);

// Title of the settings messages: the program's base name, as the system
// titles a message box that names none.
QString messageTitle();

} // namespace mdlIniIo
