#pragma once
// The settings record as JSON text that a person reads and edits: every
// field of every record under its own name, in the settings file's order.
// in4tool turns it into a settings file and back, and the demo's settings
// are kept in this form.
//
//   {
//     "FolderRec": { "FareDataDir": "", "TapeDataDir": "" },
//     "PanelRec": { "AutoSeiriNum": 1, "SeiriColorOff": "0x00008000", ... },
//     "DegitRec": {...}, "ChimeiRec": {...}, "SoundRec": {...},
//     "PreviewRec": {...}, "CtlPanelRec": {...}, "BoardPosRec": {...},
//     "CustColors": [ 17 colours ],
//     "DegitCount": 50,
//     "DegitModeRec": [ { "Shift": 0, "ZeroMode": 0, "FillZero": 0 }, ... 50 ]
//   }
//
// Numbers are whole numbers in their field's range (16 or 32 bits, signed);
// colours are "0x00BBGGRR" texts (a number is taken too); texts must be
// representable in Shift-JIS.
#include "core/SettingsRecords.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

namespace SettingsJson {

// Every field, in file order, as UTF-8 JSON ending in a line break. The same
// record always gives the same text.
QByteArray write(const SettingsRecord& record);

struct ReadResult {
    SettingsRecord record;
    // Empty when the text was accepted: then every field was given exactly
    // once with a value its field can hold. Otherwise one line per problem,
    // naming the field ("PanelRec.AutoSeiriNum: ..."), and record is not to
    // be used.
    QStringList problems;
};

// Reads the JSON text. A missing field, a field or record of an unknown
// name, a value of the wrong kind or out of range, a text with a character
// Shift-JIS lacks or longer than the file holds: each is a problem.
ReadResult read(QByteArrayView json);

// The dotted names of every field the JSON text holds ("FolderRec.FareDataDir",
// ..., "CustColors[16]", "DegitCount", "DegitModeRec[49].FillZero"), in
// file order.
QStringList fieldNames();

} // namespace SettingsJson
