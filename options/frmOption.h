#pragma once
// The options window (オプション): every user setting, kept as the state of
// its own controls and read by the rest of the program when needed.
#include <QPointer>
#include <QWidget>

class Form1;
class frmCtl;

class frmOption : public QWidget {
    Q_OBJECT

public:
    explicit frmOption(QWidget* parent = nullptr);
    ~frmOption() override;

    // The other two windows; set once at start-up.
    void setWindows(Form1* board, frmCtl* panel);
    Form1* board() const { return board_; }
    frmCtl* panel() const { return panel_; }

private:
    QPointer<Form1> board_;
    QPointer<frmCtl> panel_;
};
