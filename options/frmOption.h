#pragma once
// The options window (オプション): every user setting, kept as the state of
// its own controls and read by the rest of the program when needed. Six
// pages share one place; a column of page buttons brings one to the front.
#include "board/Backlight.h"
#include "board/mdlK27_000.h"
#include "core/SettingsRecords.h"
#include "platform/VXB4Res.h"
#include "sound/SoundSettings.h"

#include <QPointer>
#include <QWidget>

#include <array>

class Form1;
class frmCtl;
class M_Degit;
class ColorButton;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

class frmOption : public QWidget, public SoundSettings {
    Q_OBJECT

public:
    explicit frmOption(QWidget* parent = nullptr);
    ~frmOption() override;

    // The other two windows; set once at start-up.
    void setWindows(Form1* board, frmCtl* panel);
    Form1* board() const;
    frmCtl* panel() const;

    // The sound settings as the announcement module reads them.
    QString soundFile(int slot) const override;
    bool tapeAlways() const override;
    bool tapeSync() const override;

    // Page buttons and the pages they bring to the front.
    std::array<QPushButton*, 6> Option1{};
    std::array<QGroupBox*, 6> Frame1{};

    // Page 0: data folders.
    std::array<QLineEdit*, 2> Text2{};
    std::array<QPushButton*, 2> Command3{};
    std::array<QPushButton*, 2> Command10{};

    // Page 1: panel and ticket numbers.
    QCheckBox* Check1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QComboBox* Combo2 = nullptr;
    QCheckBox* Check2 = nullptr;
    std::array<ColorButton*, 3> Command5{};
    QGroupBox* Frame4 = nullptr;
    std::array<QRadioButton*, 8> Option3{};
    std::array<QGroupBox*, 3> Frame6{};
    std::array<QLineEdit*, 3> txtSelectPanel{};
    std::array<QPushButton*, 3> Command6{};

    // Page 2: digit colours and information digits.
    std::array<QGroupBox*, 2> Frame5{};
    std::array<ColorButton*, 3> Command8{};
    M_Degit* M_Degit1 = nullptr;
    std::array<QCheckBox*, 5> Check3{};
    std::array<QComboBox*, 5> Combo4{};

    // Page 3: stop-name display.
    std::array<ColorButton*, 2> Command9{};
    QComboBox* Combo3 = nullptr;
    QCheckBox* Check4 = nullptr;

    // Page 4: sounds. Slot 2 does not exist.
    std::array<QLineEdit*, 11> txtSelectSound{};
    std::array<QPushButton*, 11> cmdSelectSound{};
    std::array<QPushButton*, 2> Option5{};
    std::array<QGroupBox*, 2> Frame2{};
    std::array<QRadioButton*, 4> Option2{};
    QComboBox* Combo1 = nullptr;
    std::array<QRadioButton*, 2> Option6{};
    std::array<QRadioButton*, 2> Option7{};

    // Page 5: numbered-ticket preview.
    QCheckBox* chkUseSeiriPrev = nullptr;
    QGroupBox* Frame10 = nullptr;
    QLineEdit* txtSeiriPlgDir = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command11 = nullptr;
    QListWidget* List1 = nullptr;
    QPlainTextEdit* txtPlginComment = nullptr;
    QGroupBox* Frame7 = nullptr;
    std::array<QRadioButton*, 3> Option4{};
    QLabel* Label10 = nullptr;
    QPushButton* Command7 = nullptr;

    // "OK".
    QPushButton* Command4 = nullptr;

    // The custom colours every colour choice hands to the colour dialog and
    // that the dialog updates; the settings file keeps them.
    platform::CustomColors CustColors{};

    // Asks for a folder; the chosen folder or empty text when cancelled.
    Q_INVOKABLE QString GetPathString(const QString& defaultPath);
    // Lets the user pick a new colour for a colour button.
    Q_INVOKABLE void GetBtnColor(ColorButton* objBtn);
    // Applies the options to the board, the clock, the stop-name display and
    // the backlight.
    Q_INVOKABLE void SetProp();
    // Fills the numbering-scheme list.
    Q_INVOKABLE void AddComboItem();
    // Copy between the controls and the settings records. SetOptionInfo
    // throws core::RuntimeError (380) for a value a control rejects; the
    // controls set before it keep their new values.
    Q_INVOKABLE void GetOptionInfo(OptionRecords& rec) const;
    Q_INVOKABLE void SetOptionInfo(const OptionRecords& rec);
    // Loads a ticket plug-in's description into the preview page; 0 when the
    // path is empty or not a plug-in, 2 when it was taken.
    Q_INVOKABLE qint32 SetPlgin(const QString& strFileName);

    // Index of the selected control-panel backlight button (0 with no panel).
    qint16 backlightIndex() const;
    // What backlight state index (0 OFF, 1 ON1, 2 ON2) shows with the
    // current settings.
    Backlight::Choice backlightChoice(qint16 index) const;
    // Takes the board model's presets: automatic ticket numbers, the
    // stop-name page, the ticket-number colours.
    void applyModelPresets(const mdlK27_000::ModelPresets& presets);

public Q_SLOTS:
    void Option1_Click(int index);
    void Option5_Click(int index);
    void Command3_Click(int index);
    void Command10_Click(int index);
    void Command5_Click(int index);
    void Command6_Click(int index);
    void Command8_Click(int index);
    void Command9_Click(int index);
    void cmdSelectSound_Click(int index);
    void Command1_Click();
    void Command7_Click();
    void Command11_Click();
    void Command4_Click();

    void setVisible(bool visible) override;

private:
    void buildWindow();
    void groupOptionButtons();
    QWidget* buildFolderPage();
    QWidget* buildPanelPage();
    QWidget* buildDegitPage();
    QWidget* buildChimeiPage();
    QWidget* buildSoundPage();
    QWidget* buildPreviewPage();
    QWidget* buildStepSoundPage();
    QWidget* buildTapeSoundPage();
    struct SoundSubPage;
    QGroupBox* buildSoundSubPage(const SoundSubPage& page);
    QWidget* soundRow(int slot, const QString& label);
    void loadWindow();
    // Brings the enabled and visible states in line with their boxes.
    void syncEnabledStates();
    // Gives the page stack the height its tallest page needs at the
    // narrowest width, wrapped notes included, so that the window's smallest
    // size squeezes nothing. Measuring every wrapped note is costly and only
    // matters on screen: while the window is hidden the fitting waits for it
    // to be shown.
    void fitPagesToTheirText();
    void measurePages();
    void refreshSample();

    QStackedWidget* pages_ = nullptr;
    QStackedWidget* soundPages_ = nullptr;
    QPointer<Form1> board_;
    QPointer<frmCtl> panel_;
    bool pagesNeedFitting_ = false;
};
