// Renders the board to a PNG without a window system:
//   render_board [--panel PICTURE] [--numbers 0x00BBGGRR] OUT.png [fare ...]
// Fares given on the command line fill Degit(1), Degit(2), ... in order.
// --panel puts a panel picture file behind the board as a user panel would,
// --numbers gives the ticket numbers a colour as a backlight state does.
#include "board/Backlight.h"
#include "board/Form1.h"
#include "board/degit/M_Degit.h"
#include "core/RuntimeError.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QImage>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QString panel, numbers;
    while (args.size() >= 2 && args.first().startsWith(QStringLiteral("--"))) {
        const QString option = args.takeFirst();
        if (option == QStringLiteral("--panel"))
            panel = args.takeFirst();
        else if (option == QStringLiteral("--numbers"))
            numbers = args.takeFirst();
        else
            args.clear();
    }
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: render_board [--panel PICTURE] [--numbers 0x00BBGGRR] OUT.png [fare ...]\n");
        return 2;
    }
    platform::installApplicationFont();
    Form1 board;
    board.Form_Load();
    for (int i = 1; i < args.size() && i <= 50; ++i)
        board.Degit[size_t(i)]->setValue(args[i].toDouble());
    try {
        if (!panel.isEmpty())
            board.setPicture(QPixmap::fromImage(Backlight::loadPicture(panel)));
    } catch (const core::RuntimeError& e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(panel), qPrintable(e.description()));
        return 1;
    }
    if (!numbers.isEmpty())
        Backlight::colourNumbers(board, numbers.toUInt(nullptr, 0));
    QImage image(board.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    board.render(&image);
    if (!image.save(args.first())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.first()));
        return 1;
    }
    return 0;
}
