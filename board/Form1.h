#pragma once
// The fare display board a passenger sees: a borderless 635 x 245 window
// with the panel picture, fifty ticket numbers and a fare display under
// each, plus a spare digit, a clock and the stop-name display that this
// model keeps hidden.
#include "core/SettingsRecords.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>

class M_Degit;
class ChimeiCtl_A;
class QLabel;
class QTimer;
namespace platform {
class WindowDragger;
}

class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Client area in twips.
    static constexpr int kWidthTwips = 9525;
    static constexpr int kHeightTwips = 3675;

    // Fare digit and ticket label placement of cell n (1..50), in twips.
    static QRect degitRectTwips(int n);
    static QRect labelRectTwips(int n);

    std::array<M_Degit*, 51> Degit{};
    std::array<QLabel*, 51> lblSeiriNum{};
    std::array<M_Degit*, 2> TimeDegit{};
    ChimeiCtl_A* ChimeiCtl = nullptr;
    // Image holders; 0 holds the built-in panel picture.
    std::array<QLabel*, 3> imgRes{};
    QTimer* Timer1 = nullptr;

    // The board's own start-up steps: blank digits and the model presets.
    Q_INVOKABLE void Form_Load();
    // Places the board at the top-left of its screen's available area,
    // rounds its outline and repaints it: the steps after the other windows
    // are up.
    Q_INVOKABLE void placeAndShape();

    Q_INVOKABLE void DeleteRgn();
    // The window position for the settings file, in twips. GetFormInfo
    // throws core::RuntimeError (6) for a position beyond 32 bits of twips.
    void GetFormInfo(BoardPosRec& rec) const;
    void SetFormInfo(const BoardPosRec& rec);

    // The window's background picture, drawn from the top-left corner; the
    // rest of the client area stays grey.
    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

    // The control panel, disabled while the digit settings dialog is open.
    void setControlPanel(QWidget* panel) { controlPanel_ = panel; }

public Q_SLOTS:
    void Timer1_Timer();
    void Degit_DblClick(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Refuses every close request (a window manager's shortcut included):
    // only the control panel ends the program, and a board closed on its
    // own could not be brought back.
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
    QPointer<QWidget> controlPanel_;
    platform::WindowDragger* dragger_ = nullptr;
};
