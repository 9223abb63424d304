#include "app/K27App.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    return K27App::run(app);
}
