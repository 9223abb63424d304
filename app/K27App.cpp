#include "app/K27App.h"

#include "board/Form1.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"
#include "platform/Fonts.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

namespace K27App {

void connectWindows(Form1& board, frmOption& options, frmCtl& panel) {
    board.setControlPanel(&panel);
    options.setWindows(&board, &panel);
    panel.setWindows(&board, &options);
}

void loadBoard(Form1& board, frmOption& options) {
    board.Form_Load();
    options.applyModelPresets(mdlK27_000::modelPresets());
}

int run(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("K27"));
    platform::installFontSubstitutions();
    // Qt's own dialogs (colour, file) speak Japanese like the rest of the
    // program.
    QTranslator qtJapanese;
    if (qtJapanese.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtJapanese);

    Form1 board;
    frmOption options;
    frmCtl panel;
    connectWindows(board, options, panel);
    mdlM_Tape::setSoundSettings(&options);
    // Sound devices and the speech engine go before the application object.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] {
        mdlSndAPI::CloseAllSounds();
        mdlM_Tape::ReleaseSpeech();
    });

    // The board's load, then the control panel with its backlight frame.
    loadBoard(board, options);
    panel.show();
    panel.raise();
    mdlM_Tape::InitSpeech();
    board.show();
    board.placeAndShape();
    if (const QScreen* screen = board.screen()) {
        const QRect area = screen->availableGeometry();
        panel.move(area.right() + 1 - panel.frameGeometry().width(),
                   area.bottom() + 1 - panel.frameGeometry().height());
    }
    return app.exec();
}

} // namespace K27App
