#pragma once
// The settings records that travel between the windows and the settings
// file. They are plain values without widgets, so the file reader and writer
// and their fuzzers use them on their own. Field order is the file order.
#include <QString>
#include <QtGlobal>

#include <array>

// Folders of the page "運賃データと放送用データ".
struct FolderRec {
    QString FareDataDir;
    QString TapeDataDir;

    bool operator==(const FolderRec&) const = default;
};

// Page "パネルと整理券番号表示". Colours are 0x00BBGGRR; option buttons
// are -1 (selected) or 0.
struct PanelRec {
    qint16 AutoSeiriNum = 0;
    quint32 SeiriColorOff = 0;
    quint32 SeiriColorOn1 = 0;
    quint32 SeiriColorOn2 = 0;
    qint16 SeiriNumStyle = 0;
    qint16 SeiriZeroPad = 0;
    qint16 PanelAuto = 0;
    qint16 PanelManual = 0;
    qint16 OffBuiltIn = 0;
    qint16 OffUser = 0;
    qint16 On1BuiltIn = 0;
    qint16 On1User = 0;
    qint16 On2BuiltIn = 0;
    qint16 On2User = 0;
    QString OffPanelFile;
    QString On1PanelFile;
    QString On2PanelFile;

    bool operator==(const PanelRec&) const = default;
};

// Page "デジタル部品と情報用数字". The Koma and column fields are list
// positions (value - 1).
struct DegitRec {
    quint32 DegitBackColor = 0;
    quint32 DegitBaseColor = 0;
    quint32 DegitLitColor = 0;
    qint16 InfoStopOn = 0;
    qint16 InfoStopKoma = 0;
    qint16 InfoStopFromZero = 0;
    qint16 InfoSeiriOn = 0;
    qint16 InfoSeiriKoma = 0;
    qint16 InfoKeitouOn = 0;
    qint16 InfoKeitouKoma = 0;
    qint16 InfoColOn = 0;
    qint16 InfoCol = 0;
    qint16 InfoColKoma = 0;

    bool operator==(const DegitRec&) const = default;
};

// Page "停名の設定".
struct ChimeiRec {
    quint32 ChimeiBackColor = 0;
    quint32 ChimeiForeColor = 0;
    qint16 ChimeiFontMode = 0;
    qint16 ChimeiBold = 0;

    bool operator==(const ChimeiRec&) const = default;
};

// Page "サウンド".
struct SoundRec {
    QString KeitouSound;
    QString ResetSound;
    qint16 StepAlways = 0;
    qint16 StepByCol = 0;
    qint16 StepSync = 0;
    qint16 StepAsync = 0;
    QString StepSound;
    qint16 StepCol = 0;
    QString StepSound1;
    QString StepSound2;
    QString StepSound3;
    qint16 TapeSync = 0;
    qint16 TapeAsync = 0;
    qint16 TapeAlways = 0;
    qint16 TapeByFlag = 0;
    QString TapeSound;
    QString TapeSound1;
    QString TapeSound2;
    QString TapeSound3;

    bool operator==(const SoundRec&) const = default;
};

// Page "整理券プレビュー".
struct PreviewRec {
    qint16 UsePreview = 0;
    QString PluginFile;
    qint16 DateEachPrint = 0;
    qint16 DateAtReset = 0;
    qint16 DateFixed = 0;
    QString FixedDate;

    bool operator==(const PreviewRec&) const = default;
};

// Everything the options window copies in and out, in file order.
struct OptionRecords {
    FolderRec Folder;
    PanelRec Panel;
    DegitRec Degit;
    ChimeiRec Chimei;
    SoundRec Sound;
    PreviewRec Preview;

    bool operator==(const OptionRecords&) const = default;
};

// The control panel's state (22 bytes in the file).
struct CtlPanelRec {
    qint16 PanelIndex = 0;  // entry panel last sent to the back, 0 or 1
    qint32 ScrollSpeed = 0; // HScroll1(0), widened from 16 bits
    qint32 ScrollWait = 0;  // HScroll1(1), widened
    qint16 LateNight = 0;   // Check2 "深夜料金"
    qint16 PreviewOpen = 0; // Check4 ">>"
    qint32 CtlLeft = 0;     // window position in twips
    qint32 CtlTop = 0;

    bool operator==(const CtlPanelRec&) const = default;
};

// The board window's position in twips (8 bytes).
struct BoardPosRec {
    qint32 BoardLeft = 0;
    qint32 BoardTop = 0;

    bool operator==(const BoardPosRec&) const = default;
};

// Display modes of one fare digit (6 bytes).
struct DegitModeRec {
    qint16 Shift = 0;
    qint16 ZeroMode = 0;
    qint16 FillZero = 0;

    bool operator==(const DegitModeRec&) const = default;
};

// Everything the settings file holds, in file order.
struct SettingsRecord {
    OptionRecords Options;
    CtlPanelRec CtlPanel;
    BoardPosRec BoardPos;
    std::array<quint32, 17> CustColors{};
    qint16 DegitCount = 50; // written as 50, ignored on reading
    std::array<DegitModeRec, 50> DegitModes{};

    bool operator==(const SettingsRecord&) const = default;
};
