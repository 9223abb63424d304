#include "app/K27App.h"
#include "platform/Fonts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The font configuration loads while Qt starts.
    platform::FontConfigPreload fonts;
    QApplication app(argc, argv);
    return K27App::run(app, &fonts);
}
