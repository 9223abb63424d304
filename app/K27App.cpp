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
    board.setControlPanel(&panel);
    options.setWindows(&board, &panel);
    panel.setWindows(&board, &options);
    mdlM_Tape::setSoundSettings(&options);
    // Sound devices and the speech engine go before the application object.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] {
        mdlSndAPI::CloseAllSounds();
        mdlM_Tape::ReleaseSpeech();
    });

    // The board's load: blank digits and model presets (the options window
    // is already loaded, hidden, and takes its part of them), then the
    // control panel, whose load names the board and creates the speech
    // engine.
    board.Form_Load();
    options.applyModelPresets(mdlK27_000::modelPresets());
    panel.Form_Load();
    panel.show();
    panel.raise();
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
