#pragma once
// The driver's control panel (集中操作盤): the backlight switch and the
// announcement buttons.
#include "sound/mdlM_Tape.h"

#include <QPointer>
#include <QWidget>

#include <array>

class Form1;
class frmOption;
class QGroupBox;
class QPushButton;
class QRadioButton;

class frmCtl : public QWidget {
    Q_OBJECT

public:
    explicit frmCtl(QWidget* parent = nullptr);
    ~frmCtl() override;

    // The other two windows; set once at start-up.
    void setWindows(Form1* board, frmOption* options);
    Form1* board() const { return board_; }
    frmOption* options() const { return options_; }

    // Backlight frame "バックライト": OFF, ON1, ON2.
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

private:
    void buildBacklightFrame();
    void buildTapeFrame();

    QPointer<Form1> board_;
    QPointer<frmOption> options_;
};
