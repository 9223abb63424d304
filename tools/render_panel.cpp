// Renders the control panel and the board to PNG files without a window
// system, for looking at them:
//   render_panel OUTDIR
// writes panel_keypad.png (keypad in front, "系統" 1 2 "区間" 1 entered),
// panel_lists.png (digit lists in front), panel_open.png (ticket preview
// folded out), version.png (the version dialog) and board_reset.png (the board at the first stop of a small
// route after "リセット"). The lamp-test pause is skipped.
#include "board/Form1.h"
#include "board/mdlK27_000.h"
#include "control/FareData.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "tools/StartedWindows.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

class NoPauseClock : public platform::Clock {
public:
    void Sleep(int) override {}
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 elapsedMs() const override { return 0; }
};

bool save(QWidget& w, const QString& path) {
    QImage image(w.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    w.render(&image);
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// A small route: six stops, fares rising by 20 from 160 per stop travelled.
QByteArray demoRoute() {
    const QStringList names = {QStringLiteral("駅前"),     QStringLiteral("市役所前"),   QStringLiteral("中央公園"),
                               QStringLiteral("市民病院"), QStringLiteral("県立高校前"), QStringLiteral("北町車庫")};
    QList<StopRecord> rows;
    for (int s = 0; s < names.size(); ++s) {
        StopRecord r;
        r.Chimei = names[s];
        r.SeiriNum = qint16(s + 1);
        for (int t = 1; t <= 50; ++t)
            r.DataCol[size_t(t - 1)] = t <= s + 1 ? qint16(160 + 20 * (s + 1 - t)) : qint16(-1);
        rows << r;
    }
    return writeHy3(rows);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_panel OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    platform::installApplicationFont();
    NoPauseClock clock;
    platform::ScopedInstall<platform::Clock> noPause(clock);

    QTemporaryDir data;
    QFile route(data.filePath(QStringLiteral("12.hy3")));
    if (!route.open(QIODevice::WriteOnly) || route.write(demoRoute()) < 0)
        return 1;
    route.close();

    StartedWindows windows;
    Form1& board = windows.board;
    frmOption& options = windows.options;
    frmCtl& panel = windows.panel;
    options.Text2[0]->setText(data.path());

    for (int k : {10, 1, 2, 11, 1})
        panel.CommandButton1[size_t(k)]->click();
    bool ok = save(panel, out.filePath(QStringLiteral("panel_keypad.png")));

    panel.Command1[1]->click();
    ok = ok && save(board, out.filePath(QStringLiteral("board_reset.png")));
    panel.Command2[1]->click();
    ok = ok && save(board, out.filePath(QStringLiteral("board_step.png")));

    panel.Frame1_DblClick(1);
    panel.List2[3]->setCurrentRow(1);
    panel.List2[4]->setCurrentRow(2);
    panel.List3[2]->setCurrentRow(1);
    ok = ok && save(panel, out.filePath(QStringLiteral("panel_lists.png")));

    panel.Check4->click();
    ok = ok && save(panel, out.filePath(QStringLiteral("panel_open.png")));

    // The version dialog is modal: picture it once it is up, then close it.
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            ok = ok && save(*dialog, out.filePath(QStringLiteral("version.png")));
            dialog->close();
        }
    });
    panel.Command8->click();
    return ok ? 0 : 1;
}
