#pragma once
// The driver's control panel (集中操作盤): route and section entry, reset,
// stepping, blanking, late-night fares, backlight, announcements and the
// numbered-ticket preview.
#include <QPointer>
#include <QWidget>

class Form1;
class frmOption;
class QGroupBox;
class QPushButton;

class frmCtl : public QWidget {
    Q_OBJECT

public:
    explicit frmCtl(QWidget* parent = nullptr);
    ~frmCtl() override;

    // The other two windows; set once at start-up.
    void setWindows(Form1* board, frmOption* options);
    Form1* board() const { return board_; }
    frmOption* options() const { return options_; }

    // Announcement frame (built in frmCtlTape.cpp). Its caption and enabling
    // are set by the announcement module; the buttons start disabled.
    QGroupBox* grpM_Tape = nullptr;
    QPushButton* cmdTapeSet = nullptr;
    QPushButton* cmdTapeBack = nullptr;
    QPushButton* cmdTapeNext = nullptr;
    QPushButton* cmdTapeStop = nullptr;
    Q_INVOKABLE void cmdTapeNext_Click();
    Q_INVOKABLE void cmdTapeBack_Click();
    Q_INVOKABLE void cmdTapeStop_Click();
    Q_INVOKABLE void cmdTapeSet_Click();

private:
    void buildTapeFrame();

    QPointer<Form1> board_;
    QPointer<frmOption> options_;
};
