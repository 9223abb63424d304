#pragma once
// The numbered-ticket preview box of the control panel. The ticket plug-in
// draws into a persistent off-screen image; painting only copies that image,
// and the copy command puts exactly it on the clipboard.
#include <QImage>
#include <QWidget>

class SeirikenPreview : public QWidget {
    Q_OBJECT

public:
    explicit SeirikenPreview(QWidget* parent = nullptr);

    // The paper colour the box is cleared to.
    static constexpr QRgb kBackColor = 0xFFFFFFFF;

    // The kept picture, the size of the box in pixels.
    const QImage& image() const { return image_; }
    QImage& image() { return image_; }
    // Empties the picture and shows it.
    void clear();

Q_SIGNALS:
    // A right-button press, at this global position.
    void rightButtonDown(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
};
