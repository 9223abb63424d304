// Shows stop-name columns in a window of their own, each at its real size
// and magnified three times, for looking at the dot patterns:
//   chimei_view [NAME...]    (default: 市役所前 and a long scrolling name)
// Options before the names: --speed N, --wait MS, --fontmode N, --bold.
//
// With --frames DIR T1,T2,... nothing is shown: every column is grabbed at
// each of the given times (milliseconds after SetChimei, on a clock that
// only moves when told) and written to DIR/chimei-<column>-<time>.png, so
// that two builds can be compared picture by picture.
#include "board/chimei/ChimeiCtl_A.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

// A clock that stands still until moved.
class SteppedClock : public platform::Clock {
public:
    void Sleep(int ms) override { elapsed_ += ms; }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 elapsedMs() const override { return elapsed_; }
    void moveTo(qint64 ms) { elapsed_ = ms; }

private:
    qint64 elapsed_ = 0;
};

void configure(ChimeiCtl_A& ctl, qint16 speed, qint32 wait, qint16 fontMode, bool bold) {
    ctl.setFixedSize(ChimeiCtl_A::kDesignWidth, ChimeiCtl_A::kDesignHeight);
    ctl.setSpeed(speed);
    ctl.setScrollStartWait(wait);
    ctl.setFontMode(fontMode);
    ctl.setFontBold(bold);
}

int writeFrames(const QString& dir, const QString& times, const QStringList& names, qint16 speed, qint32 wait,
                qint16 fontMode, bool bold) {
    SteppedClock clock;
    platform::ScopedInstall<platform::Clock> installed(clock);
    QDir().mkpath(dir);
    for (qsizetype i = 0; i < names.size(); ++i) {
        clock.moveTo(0);
        ChimeiCtl_A ctl;
        configure(ctl, speed, wait, fontMode, bold);
        ctl.SetChimei(names[i]);
        for (const QString& t : times.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            clock.moveTo(t.toLongLong());
            ctl.tick();
            const QString file =
                QStringLiteral("%1/chimei-%2-%3.png").arg(dir).arg(i).arg(t.toLongLong(), 6, 10, QLatin1Char('0'));
            if (!ctl.grab().save(file)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
                return 1;
            }
            std::printf("%s\n", qPrintable(file));
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    qint16 speed = 200, fontMode = 0;
    qint32 wait = 1500;
    bool bold = false;
    QString framesDir, frameTimes;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--bold"))
            bold = true;
        else if (!args.isEmpty() && opt == QLatin1String("--speed"))
            speed = qint16(args.takeFirst().toInt());
        else if (!args.isEmpty() && opt == QLatin1String("--wait"))
            wait = args.takeFirst().toInt();
        else if (!args.isEmpty() && opt == QLatin1String("--fontmode"))
            fontMode = qint16(args.takeFirst().toInt());
        else if (args.size() >= 2 && opt == QLatin1String("--frames")) {
            framesDir = args.takeFirst();
            frameTimes = args.takeFirst();
        }
    }
    if (args.isEmpty())
        args = QStringList{QStringLiteral("市役所前"), QStringLiteral("中央病院前（東口）・市民会館入口")};
    if (!framesDir.isEmpty())
        return writeFrames(framesDir, frameTimes, args, speed, wait, fontMode, bold);

    QWidget window;
    window.setWindowTitle(QStringLiteral("ChimeiCtl_A"));
    auto* row = new QHBoxLayout(&window);
    QList<QPair<ChimeiCtl_A*, QLabel*>> views;
    for (const QString& name : args) {
        auto* column = new QVBoxLayout;
        auto* ctl = new ChimeiCtl_A;
        configure(*ctl, speed, wait, fontMode, bold);
        auto* zoom = new QLabel;
        zoom->setFixedSize(ChimeiCtl_A::kDesignWidth * 3, ChimeiCtl_A::kDesignHeight * 3);
        column->addWidget(ctl, 0, Qt::AlignTop | Qt::AlignHCenter);
        row->addLayout(column);
        row->addWidget(zoom, 0, Qt::AlignTop);
        views.append({ctl, zoom});
        QTimer::singleShot(0, ctl, [ctl, name] { ctl->SetChimei(name); });
    }

    // The magnified copies follow the columns as they scroll.
    QTimer mirror;
    QObject::connect(&mirror, &QTimer::timeout, [&views] {
        for (const auto& [ctl, zoom] : views)
            zoom->setPixmap(ctl->grab().scaled(ctl->size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    });
    mirror.start(50);
    window.show();
    return app.exec();
}
