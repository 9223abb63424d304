// A third floor for K27's start-up: the text of both windows K27 shows,
// in K27's order. First a 360 x 334 window with the control panel's
// captions as plain labels, in the faces and sizes K27's panel resolves
// them to; once it has painted, the board's text window (text_window.cpp)
// is shown and its first paint reported as bare_window does. No buttons,
// frames, pictures or settings: only what any program drawing the same
// text in the same order pays (fontconfig's configuration, one font engine
// per face and size, the glyphs).
#include "bench/BoardTextWindow.h"

#include <QTimer>

namespace {

struct Caption {
    QRect place;
    const char* family;
    int pixels;
    bool bold;
    const char16_t* text;
};

// The panel's visible captions as K27 lays them out at its first start, as
// build/tools/caption_table prints them.
const Caption kPanelCaptions[] = {
    {QRect(224, 10, 128, 44), "IPAPGothic", 15, true, u"データ送り"},
    {QRect(224, 58, 128, 32), "IPAPGothic", 13, true, u"データ戻し"},
    {QRect(228, 94, 124, 20), "IPAPGothic", 12, false, u"表示消去"},
    {QRect(8, 300, 96, 26), "IPAPGothic", 12, false, u"設定..."},
    {QRect(108, 300, 96, 26), "IPAPGothic", 12, false, u"ﾊﾞｰｼﾞｮﾝ"},
    {QRect(292, 300, 60, 26), "IPAPGothic", 12, false, u">>"},
    {QRect(224, 118, 128, 90), "IPAPGothic", 12, false, u"バックライト"},
    {QRect(236, 138, 110, 20), "IPAPGothic", 12, false, u"OFF"},
    {QRect(236, 160, 110, 20), "IPAPGothic", 12, false, u"ON1"},
    {QRect(236, 182, 110, 20), "IPAPGothic", 12, false, u"ON2"},
    {QRect(16, 222, 133, 20), "IPAPGothic", 12, false, u"深夜料金"},
    {QRect(16, 246, 60, 16), "IPAPGothic", 12, false, u"ｽｸﾛｰﾙ速度"},
    {QRect(76, 246, 32, 16), "IPAPGothic", 12, false, u"1"},
    {QRect(116, 246, 60, 16), "IPAPGothic", 12, false, u"ｽｸﾛｰﾙ間隔"},
    {QRect(176, 246, 32, 16), "IPAPGothic", 12, false, u"0"},
    {QRect(224, 216, 128, 76), "IPAPGothic", 12, false, u"音合使用不可"},
    {QRect(290, 264, 56, 24), "IPAPGothic", 12, false, u"調整"},
    {QRect(230, 236, 56, 24), "IPAPGothic", 12, false, u"戻し"},
    {QRect(290, 236, 56, 24), "IPAPGothic", 12, false, u"送り"},
    {QRect(230, 264, 56, 24), "IPAPGothic", 12, false, u"■"},
    {QRect(14, 176, 196, 26), "IPAPGothic", 13, true, u"リセット"},
    {QRect(126, 16, 20, 32), "DejaVu Sans Mono", 22, true, u"-"},
    {QRect(40, 58, 30, 27), "IPAPGothic", 14, true, u"1"},
    {QRect(78, 58, 30, 27), "IPAPGothic", 14, true, u"2"},
    {QRect(116, 58, 30, 27), "IPAPGothic", 14, true, u"3"},
    {QRect(154, 58, 30, 27), "IPAPGothic", 10, true, u"系統"},
    {QRect(40, 91, 30, 27), "IPAPGothic", 14, true, u"4"},
    {QRect(78, 91, 30, 27), "IPAPGothic", 14, true, u"5"},
    {QRect(116, 91, 30, 27), "IPAPGothic", 14, true, u"6"},
    {QRect(154, 91, 30, 27), "IPAPGothic", 10, true, u"区間"},
    {QRect(40, 124, 30, 27), "IPAPGothic", 14, true, u"7"},
    {QRect(78, 124, 30, 27), "IPAPGothic", 14, true, u"8"},
    {QRect(116, 124, 30, 27), "IPAPGothic", 14, true, u"9"},
    {QRect(154, 124, 30, 27), "IPAPGothic", 14, true, u"0"},
};

class PanelTextWindow : public QWidget {
public:
    explicit PanelTextWindow(QWidget* next) : next_(next) {
        setFixedSize(360, 334);
        for (const Caption& c : kPanelCaptions) {
            auto* l = new QLabel(QString::fromUtf16(c.text), this);
            l->setFont(bench::pixelFont(QString::fromLatin1(c.family), c.pixels, c.bold));
            l->setAlignment(Qt::AlignCenter);
            l->setGeometry(c.place);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(0xF0, 0xF0, 0xF0));
        if (nextShown_)
            return;
        nextShown_ = true;
        // Like K27: the board is shown once the panel has painted.
        QTimer::singleShot(0, next_, &QWidget::show);
    }

private:
    QWidget* next_;
    bool nextShown_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    bench::TextWindow board;
    PanelTextWindow panel(&board);
    panel.show();
    return app.exec();
}
