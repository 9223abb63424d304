// Renders the demo as a first start under `make run` shows it: the demo's
// settings applied as the settings loader applies them, inside the demo
// folder, then route 105 driven to its twelfth stop and route 12 to its
// fifth, the board in each backlight state and the control panel with the
// ticket preview:
//   render_demo OUTDIR [DEMO_FOLDER]     (DEMO_FOLDER defaults to data/demo)
// writes board-105-off.png, board-105-on1.png, board-105-on2.png,
// board-12-on1.png, panel-105.png and panel-12.png. The lamp test's pause is
// skipped.
#include "app/SettingsJson.h"
#include "board/Form1.h"
#include "board/degit/M_Degit.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "sound/mdlM_Tape.h"
#include "tools/StartedWindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>

namespace {

class NoPauseClock : public platform::Clock {
public:
    void Sleep(int) override {}
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 elapsedMs() const override { return 0; }
};

QDir outDir;

bool save(QWidget& w, const QString& name) {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    w.render(&image);
    if (!image.save(outDir.filePath(name))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(outDir.filePath(name)));
        return false;
    }
    std::printf("%s\n", qPrintable(outDir.filePath(name)));
    return true;
}

// The settings loader's part that touches the board itself, then the
// windows' own apply operations in its order.
void apply(const SettingsRecord& r, Form1& board, frmOption& options, frmCtl& panel) {
    for (int i = 1; i <= 50; ++i) {
        M_Degit* g = board.Degit[size_t(i)];
        const DegitModeRec& m = r.DegitModes[size_t(i - 1)];
        g->setZeroMode(m.ZeroMode);
        g->setShift(m.Shift);
        g->setFillZero(m.FillZero);
    }
    options.SetOptionInfo(r.Options);
    panel.SetCtrlDataInfo(r.CtlPanel);
    board.SetFormInfo(r.BoardPos);
    options.SetProp();
}

void keypad(frmCtl& panel, const QString& route, int steps) {
    panel.CommandButton1[10]->click();
    for (const QChar c : route)
        panel.CommandButton1[size_t(c.digitValue())]->click();
    panel.CommandButton1[11]->click();
    panel.CommandButton1[1]->click();
    panel.Command1[1]->click();
    for (int i = 0; i < steps; ++i)
        panel.Command2[1]->click();
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.multimedia*=false");
    QApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: render_demo OUTDIR [DEMO_FOLDER]\n");
        return 2;
    }
    outDir = QDir(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    outDir.mkpath(QStringLiteral("."));
    const QString demo = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("data/demo");
    QFile source(QDir(demo).filePath(QStringLiteral("settings.json")));
    if (!source.open(QIODevice::ReadOnly) || !QDir::setCurrent(demo)) {
        std::fprintf(stderr, "no demo settings in %s\n", qPrintable(demo));
        return 1;
    }
    const SettingsJson::ReadResult settings = SettingsJson::read(source.readAll());
    for (const QString& p : settings.problems)
        std::fprintf(stderr, "settings.json: %s\n", qPrintable(p));
    if (!settings.problems.isEmpty())
        return 1;

    platform::installApplicationFont();
    NoPauseClock clock;
    platform::ScopedInstall<platform::Clock> noPause(clock);
    StartedWindows windows;
    Form1& board = windows.board;
    frmOption& options = windows.options;
    frmCtl& panel = windows.panel;
    mdlM_Tape::setSoundSettings(&options);
    panel.Form_Load();
    panel.show();
    board.show();
    apply(settings.record, board, options, panel);

    keypad(panel, QStringLiteral("105"), 11);
    bool ok = save(board, QStringLiteral("board-105-off.png"));
    panel.Option4[1]->click();
    ok = save(board, QStringLiteral("board-105-on1.png")) && ok;
    panel.Option4[2]->click();
    ok = save(board, QStringLiteral("board-105-on2.png")) && ok;
    ok = save(panel, QStringLiteral("panel-105.png")) && ok;

    panel.Option4[1]->click();
    keypad(panel, QStringLiteral("12"), 4);
    ok = save(board, QStringLiteral("board-12-on1.png")) && ok;
    ok = save(panel, QStringLiteral("panel-12.png")) && ok;
    mdlM_Tape::ReleaseSpeech();
    return ok ? 0 : 1;
}
