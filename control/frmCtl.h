#pragma once
// The driver's control panel (集中操作盤): route and section entry, reset,
// stepping, blanking, late-night fares, backlight, announcements and the
// numbered-ticket preview.
#include "control/FareData.h"
#include "core/SettingsRecords.h"
#include "sound/mdlM_Tape.h"

#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <array>
#include <memory>

class Form1;
class frmOption;
class SeirikenPreview;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

class frmCtl : public QWidget {
    Q_OBJECT

public:
    explicit frmCtl(QWidget* parent = nullptr);
    ~frmCtl() override;

    // Width of the panel with the ticket preview folded in and out, twips.
    static constexpr int kFoldedInTwips = 5400;
    static constexpr int kFoldedOutTwips = 9000;
    // Application title of the operator messages.
    static inline const QString kMessageTitle = QStringLiteral("コルネVer4");

    // The other two windows; set once at start-up.
    void setWindows(Form1* board, frmOption* options);
    Form1* board() const;
    frmOption* options() const;

    // The panel's own start-up: the board's caption and the speech engine.
    Q_INVOKABLE void Form_Load();

    // ---- Route entry ------------------------------------------------------
    // Frame1(0) holds the digit lists, Frame1(1) the keypad; both sit at the
    // same place and only the front one is shown.
    std::array<QFrame*, 2> Frame1{};
    std::array<QListWidget*, 5> List2{}; // route digits, leftmost first
    std::array<QListWidget*, 3> List3{}; // section digits
    std::array<QPushButton*, 12> CommandButton1{};
    std::array<QLabel*, 3> Label2{}; // route display, "-", section display
    std::array<QPushButton*, 2> Command1{};
    // Rounded outlines of the twelve keypad keys.
    std::array<QRegion, 12> KeyRgn{};
    // Keypad target: true sends digits to the route display.
    bool KeitouInputMode = false;
    // The entry panel last sent to the back by a double-click.
    qint16 PanelIndex = 0;

    // ---- Stepping, blanking, late-night fares, scroll settings ------------
    std::array<QPushButton*, 2> Command2{}; // "データ戻し", "データ送り"
    QCheckBox* Check1 = nullptr;            // "表示消去"
    QGroupBox* fraLateNight = nullptr;      // holds Check2 and the scroll bars
    QCheckBox* Check2 = nullptr;            // "深夜料金"
    std::array<QScrollBar*, 2> HScroll1{};
    std::array<QLabel*, 2> Label1{};

    // ---- Options, version, ticket preview ---------------------------------
    QPushButton* Command4 = nullptr; // "設定..."
    QPushButton* Command8 = nullptr; // "ﾊﾞｰｼﾞｮﾝ"
    QPushButton* Check4 = nullptr;   // ">>": a check box drawn as a toggle button
    QComboBox* Combo1 = nullptr;     // company names of the ticket plug-in
    SeirikenPreview* picSeirikenPrev = nullptr;
    QMenu* MnuHide = nullptr;
    QAction* MnuHideCopy = nullptr;

    // ---- Backlight frame "バックライト": OFF, ON1, ON2 ------------------
    QGroupBox* fraBacklight = nullptr;
    std::array<QRadioButton*, 3> Option4{};

    // Shows the panel picture and number colour of backlight state Index
    // (0 OFF, 1 ON1, 2 ON2); does not change which button is selected.
    Q_INVOKABLE void Option4_Click(int Index);
    // The selected backlight button: 0 for OFF, else 1 for ON1, else 2.
    qint16 backlightIndex() const;

    // Announcement frame (built in frmCtlTape.cpp). It shows the state the
    // announcement module reports (showTapeFrame); the buttons start
    // disabled.
    QGroupBox* grpM_Tape = nullptr;
    QPushButton* cmdTapeSet = nullptr;
    QPushButton* cmdTapeBack = nullptr;
    QPushButton* cmdTapeNext = nullptr;
    QPushButton* cmdTapeStop = nullptr;
    Q_INVOKABLE void cmdTapeNext_Click();
    Q_INVOKABLE void cmdTapeBack_Click();
    Q_INVOKABLE void cmdTapeStop_Click();
    Q_INVOKABLE void cmdTapeSet_Click();

    // Shows what the announcement module reports: caption, frame, buttons.
    void showTapeFrame(const mdlM_Tape::FrameState& state);

    // ---- Fare data and the board ------------------------------------------
    // The fare table, the current stop and the last reset's input.
    const FareData& fareData() const { return *fare_; }
    // The ticket date captured at the last reset.
    QString KeitouSetDate;

    // The two "リセット" buttons: loads the route entered on panel index,
    // runs the lamp test and shows the starting stop.
    Q_INVOKABLE void ResetRoute(int index);
    // Brings the whole board in line with row nIndex of the fare table.
    Q_INVOKABLE void DispData(qint16 nIndex);

    // ---- Commands -----------------------------------------------------------
    Q_INVOKABLE void Command2_Click(int index); // 0 step back, 1 step forward
    Q_INVOKABLE void CommandButton1_Click(int index);
    Q_INVOKABLE void List2_Click(int index);
    Q_INVOKABLE void List3_Click(int index);
    Q_INVOKABLE void Check1_Click();
    Q_INVOKABLE void HScroll1_Change(int index);
    Q_INVOKABLE void Frame1_DblClick(int index);
    Q_INVOKABLE void Command4_Click();
    Q_INVOKABLE void Command8_Click();
    Q_INVOKABLE void Check4_Click();
    Q_INVOKABLE void MnuHideCopy_Click();

    // The version dialog's text for an executable base name and version.
    static QString versionText(const QString& exeBaseName, int major, int minor, int revision);
    // The program's executable base name ("K27").
    static QString exeBaseName();

    // Sizes the ticket preview (from the plug-in's description, in twips).
    void setPreviewSizeTwips(qint32 width, qint32 height);

    // Copy between the panel and its settings record. SetCtrlDataInfo
    // throws core::RuntimeError: 6 for a scroll value outside 16 bits, 380
    // for one outside its bar or a check value other than 0..2, 340 for a
    // panel index other than 0 or 1. What was set before stays set.
    Q_INVOKABLE void GetCtrlDataInfo(CtlPanelRec& rec) const;
    Q_INVOKABLE void SetCtrlDataInfo(const CtlPanelRec& rec);

    // ---- Ending the program (frmCtlExit.cpp) --------------------------------
    // Every close request of the panel (its close button, the window manager,
    // the session) asks this question; the program ends only on Yes.
    static inline const QString kExitQuestion = QStringLiteral("コルネを終了しますか？");
    static inline const QString kExitTitle = QStringLiteral("コルネの終了確認");
    // Start-up has applied the saved settings. Before that a close request
    // is refused and nothing is saved: saving then would replace the user's
    // file with the defaults.
    void markStarted() { started_ = true; }
    bool started() const { return started_; }
    // Asks whether to end K27; true for Yes.
    bool askToEnd();
    // Ends K27: clears the stop name, releases the board's outline, every
    // sound and the speech engine, saves the settings (once started) and
    // ends every running event loop, so no other handler runs after it.
    // Runs once; false when it had run before.
    bool endProgram();
    // True from the moment endProgram starts.
    bool ending() const { return ending_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildEntryPanels();
    void buildListPanel(QFrame* frame);
    void buildKeypadPanel(QFrame* frame);
    void buildCommandColumn();
    void buildLateNightFrame();
    void buildPreview();
    void buildBacklightFrame();
    void buildTapeFrame();
    // Width and height of the window for the fold-out state.
    void fitWindow();
    // Moves the shown panel, as little as it can, so that the whole of it
    // lies on the available area of its screen.
    void keepOnScreen();

    // The route and section texts of entry panel index.
    void readEntry(int index, QString& keitou, QString& section) const;
    // The stepping sound of the current row (slot 7, or 8..10 by column).
    void playStepSound();
    // Plays a sound slot of the options on channel "S1" without waiting.
    void playKeySound(int slot);
    // A refresh interrupted by an event it let run must not finish with a
    // stale stop name; every change of the whole board takes a new number.
    quint64 newBoardGeneration() { return ++boardGeneration_; }
    // Shows a stop name as the board's current one.
    void setStopName(const QString& name);
    // The same for the last step of a refresh: when a command that changed
    // the board ran inside the display's own event processing, the newest
    // name is shown again over the stale one.
    void showStopName(const QString& name);
    // Shows a plain operator message.
    void operatorMessage(const QString& text);

    QPointer<Form1> board_;
    QPointer<frmOption> options_;
    std::unique_ptr<FareData> fare_;
    quint64 boardGeneration_ = 0;
    // The stop name the board is to show, as the last command set it.
    QString stopName_;
    bool started_ = false;
    bool ending_ = false;
    // While the exit question is open a second close request is not asked.
    bool askingToEnd_ = false;
};
