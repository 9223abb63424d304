// Renders every window, page and dialog of K27 to PNG files in one folder, so
// that all of it can be looked at without clicking through it:
//   render_all OUTDIR
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise
// (tools/render-all.sh runs it under xvfb-run with --xvfb). Controls are
// found by objectName; a control that is missing only leaves its pictures
// out.
#include "board/Form1.h"
#include "board/degit/M_Degit.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/VXB4Res.h"
#include "platform/VoiceSettingsDialog.h"
#include "tools/StartedWindows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <functional>

namespace {

QDir outDir;
int written = 0;
int failures = 0;

void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void save(QWidget* w, const QString& name, const QString& what) {
    settle();
    const QString path = outDir.filePath(name + QStringLiteral(".png"));
    const QImage image = w->grab().toImage();
    if (image.isNull() || !image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    ++written;
    std::printf("%-34s %4d x %-4d %s\n", qPrintable(name + QStringLiteral(".png")), image.width(), image.height(),
                qPrintable(what));
}

// Runs open, which shows a modal dialog and waits for it; the dialog is
// pictured and dismissed as soon as it is up.
void saveModal(const QString& name, const QString& what, const std::function<void()>& open) {
    bool seen = false;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(30);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            if (waited.elapsed() > 5000)
                poll.stop();
            return;
        }
        poll.stop();
        seen = true;
        save(modal, name, what);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    poll.start();
    open();
    poll.stop();
    if (!seen) {
        std::fprintf(stderr, "%s: no dialog appeared\n", qPrintable(name));
        ++failures;
    }
}

template <class T> T* find(QObject* parent, const char* name) {
    return parent->findChild<T*>(QLatin1String(name));
}

void setChecked(QAbstractButton* button, bool on) {
    if (button && button->isChecked() != on)
        button->click();
}

void renderBoard(Form1& board) {
    save(&board, QStringLiteral("board"), QStringLiteral("the board as it starts: blank fare digits"));
    static const int fares[50] = {0,   170, 170, 210, 210, 230, 250,  250,  270,  290,  310, 330, 350,
                                  370, 390, 410, 430, 450, 470, 490,  510,  530,  550,  570, 590, 610,
                                  630, 650, 670, 690, 710, 730, 750,  770,  790,  810,  830, 850, 870,
                                  890, 910, 930, 950, 970, 990, 1010, 1030, 1050, 1070, 1090};
    QVariantList before;
    for (int n = 1; n <= 50; ++n) {
        before << board.Degit[size_t(n)]->Value();
        board.Degit[size_t(n)]->setValue(fares[n - 1]);
    }
    save(&board, QStringLiteral("board-fares"), QStringLiteral("the board showing fares"));
    for (int n = 1; n <= 50; ++n)
        board.Degit[size_t(n)]->setValue(before[n - 1]);
}

void renderPanel(frmCtl& panel) {
    auto* fold = find<QAbstractButton>(&panel, "Check4");
    if (!fold) {
        save(&panel, QStringLiteral("panel"), QStringLiteral("the control panel (it has no fold-out box)"));
        return;
    }
    setChecked(fold, false);
    save(&panel, QStringLiteral("panel-folded-in"), QStringLiteral("the control panel, ticket preview folded in"));
    setChecked(fold, true);
    save(&panel, QStringLiteral("panel-folded-out"), QStringLiteral("the control panel, ticket preview folded out"));
    setChecked(fold, false);
}

void renderOptions(frmOption& options, const QString& suffix, const QString& sizeNote) {
    const char* const pages[6] = {"folders", "panel", "digits", "stop-names", "sound", "preview"};
    const char* const what[6] = {"data folders",
                                 "panel and ticket numbers",
                                 "digit colours and information digits",
                                 "stop-name display (its page button is disabled on this model)",
                                 "sounds",
                                 "numbered-ticket preview, switched off"};
    for (int k = 0; k < 6; ++k) {
        options.Option1_Click(k);
        const QString base = QStringLiteral("options-%1-%2").arg(k).arg(QLatin1String(pages[k]));
        if (k == 4) {
            options.Option5_Click(0);
            save(&options, base + QStringLiteral("-tape") + suffix,
                 QStringLiteral("sounds: before an announcement") + sizeNote);
            options.Option5_Click(1);
            save(&options, base + QStringLiteral("-step") + suffix,
                 QStringLiteral("sounds: stepping forward and back") + sizeNote);
            continue;
        }
        save(&options, base + suffix, QLatin1String(what[k]) + sizeNote);
        if (k == 1) {
            auto* manual = find<QAbstractButton>(&options, "Option3(1)");
            auto* automatic = find<QAbstractButton>(&options, "Option3(0)");
            setChecked(manual, true);
            save(&options, base + QStringLiteral("-manual") + suffix,
                 QStringLiteral("panel pictures chosen one by one") + sizeNote);
            setChecked(automatic, true);
        }
        if (k == 5) {
            auto* use = find<QAbstractButton>(&options, "chkUseSeiriPrev");
            setChecked(use, true);
            save(&options, base + QStringLiteral("-on") + suffix,
                 QStringLiteral("numbered-ticket preview switched on") + sizeNote);
            setChecked(use, false);
        }
    }
    options.Option1_Click(0);
}

void renderDialogs(Form1& board, frmCtl& panel, frmOption& options) {
    saveModal(QStringLiteral("dialog-digit-settings"), QStringLiteral("digit settings (double-click on a fare digit)"),
              [&] { board.Degit_DblClick(7); });
    saveModal(QStringLiteral("dialog-voice-settings"), QStringLiteral("voice settings of the announcements"), [&] {
        platform::VoiceSettingsDialog dialog(platform::VoiceSettings{}, &panel);
        dialog.exec();
    });
    // The date button sits in a frame that shows only with the preview on;
    // its handler opens the dialog either way.
    saveModal(QStringLiteral("dialog-date"), QStringLiteral("ticket date (日付選択...)"),
              [&] { options.Command7_Click(); });
    if (auto* colour = find<QAbstractButton>(&options, "Command8(0)"))
        saveModal(QStringLiteral("dialog-colour"), QStringLiteral("colour choice (a colour button)"),
                  [colour] { colour->click(); });
    // The version dialog as the panel's button opens it, or with a text of
    // the same shape where the panel has no such button.
    if (auto* version = find<QAbstractButton>(&panel, "Command8")) {
        saveModal(QStringLiteral("dialog-version"), QStringLiteral("version information"),
                  [version] { version->click(); });
    } else {
        saveModal(QStringLiteral("dialog-version"), QStringLiteral("version information (sample text)"), [&] {
            platform::helper().Call_dlg110(&panel, 1,
                                           QStringLiteral("型番：K27\r\nバージョン：1.0.0\r\n\r\nK27 運賃表示器"));
        });
    }
}

// The offscreen platform reports every window feature it lacks (masks, size
// hints); those lines say nothing about the pictures.
QtMessageHandler standardHandler = nullptr;
void quietPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (standardHandler)
        standardHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char* argv[]) {
    standardHandler = qInstallMessageHandler(quietPlatformNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_all OUTDIR\n");
        return 2;
    }
    outDir.setPath(QString::fromLocal8Bit(argv[1]));
    if (!outDir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    QApplication::setApplicationName(QStringLiteral("K27"));
    platform::installApplicationFont();
    QTranslator qtJapanese;
    if (qtJapanese.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtJapanese);

    // Japanese captions need a Japanese face behind the Windows face names.
    const QString face = QFontInfo(platform::faceFont(platform::kFacePGothic, 9)).family();
    std::printf("platform %s, %s drawn with %s\n", qPrintable(QGuiApplication::platformName()),
                qPrintable(platform::kFacePGothic), qPrintable(face));
    if (!face.contains(QStringLiteral("IPA"), Qt::CaseInsensitive))
        std::fprintf(stderr, "warning: no IPA face found; Japanese text may not draw (fonts-ipafont-gothic)\n");

    // The windows wired as at start-up, without sound or speech.
    StartedWindows windows;
    Form1& board = windows.board;
    frmOption& options = windows.options;
    frmCtl& panel = windows.panel;
    panel.show();
    board.show();
    board.placeAndShape();
    options.show();
    settle();

    renderBoard(board);
    renderPanel(panel);
    renderOptions(options, QString(), QStringLiteral(", as the window opens"));
    const QSize opened = options.size();
    options.resize(options.minimumSize());
    renderOptions(
        options, QStringLiteral("-min"),
        QStringLiteral(", at the smallest size (%1 x %2)").arg(options.minimumWidth()).arg(options.minimumHeight()));
    options.resize(opened);
    renderDialogs(board, panel, options);

    std::printf("%d pictures in %s\n", written, qPrintable(outDir.absolutePath()));
    return failures == 0 ? 0 : 1;
}
