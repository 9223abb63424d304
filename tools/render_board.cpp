// Renders the board to a PNG without a window system:
//   render_board OUT.png [fare ...]
// Fares given on the command line fill Degit(1), Degit(2), ... in order.
#include "board/Form1.h"
#include "board/degit/M_Degit.h"

#include <QApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_board OUT.png [fare ...]\n");
        return 2;
    }
    Form1 board;
    board.Form_Load();
    for (int i = 2; i < argc && i - 1 <= 50; ++i)
        board.Degit[size_t(i - 1)]->setValue(QString::fromLocal8Bit(argv[i]).toDouble());
    QImage image(board.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    board.render(&image);
    if (!image.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
