// Shows stop-name columns in a window of their own, each at its real size
// and magnified three times, for looking at the dot patterns:
//   chimei_view [NAME...]    (default: 市役所前 and a long scrolling name)
// Options before the names: --speed N, --wait MS, --fontmode N, --bold.
#include "board/chimei/ChimeiCtl_A.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    qint16 speed = 200, fontMode = 0;
    qint32 wait = 1500;
    bool bold = false;
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
    }
    if (args.isEmpty())
        args = QStringList{QStringLiteral("市役所前"), QStringLiteral("中央病院前（東口）・市民会館入口")};

    QWidget window;
    window.setWindowTitle(QStringLiteral("ChimeiCtl_A"));
    auto* row = new QHBoxLayout(&window);
    QList<QPair<ChimeiCtl_A*, QLabel*>> views;
    for (const QString& name : args) {
        auto* column = new QVBoxLayout;
        auto* ctl = new ChimeiCtl_A;
        ctl->setFixedSize(ChimeiCtl_A::kDesignWidth, ChimeiCtl_A::kDesignHeight);
        ctl->setSpeed(speed);
        ctl->setScrollStartWait(wait);
        ctl->setFontMode(fontMode);
        ctl->setFontBold(bold);
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
