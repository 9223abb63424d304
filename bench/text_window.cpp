// A second floor for K27's start-up: the bare window (bare_window.cpp) with
// the board's Japanese text on it, in the faces K27's stand-ins resolve to
// (IPA fonts): the fifty ticket numbers as labels and the captions 整理券,
// 運 and 賃. Any Qt program that writes this text pays for fontconfig's
// configuration, the fallback faces of each script and the glyphs, which
// the bare window never does; the difference between the two shows that
// share. Reports its first paint as bare_window does (bench/BareWindow.h).
#include "bench/BoardTextWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    bench::TextWindow window;
    window.show();
    return app.exec();
}
