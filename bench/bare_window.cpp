// The floor for K27's start-up: a minimal Qt Widgets program that shows one
// window, paints it once and reports that first paint (bench/BareWindow.h).
#include "bench/BareWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    window.show();
    return app.exec();
}
