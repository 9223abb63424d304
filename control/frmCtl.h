#pragma once
// The driver's control panel (集中操作盤): route and section entry, reset,
// stepping, blanking, late-night fares, backlight, announcements and the
// numbered-ticket preview.
#include <QPointer>
#include <QWidget>

class Form1;
class frmOption;

class frmCtl : public QWidget {
    Q_OBJECT

public:
    explicit frmCtl(QWidget* parent = nullptr);
    ~frmCtl() override;

    // The other two windows; set once at start-up.
    void setWindows(Form1* board, frmOption* options);
    Form1* board() const { return board_; }
    frmOption* options() const { return options_; }

private:
    QPointer<Form1> board_;
    QPointer<frmOption> options_;
};
