// Checks a numbered-ticket plug-in and renders its ticket to a PNG, for
// plug-in authors:
//   ticket_render PLUGIN.4SP [OUT.png] [--dpr N] [--stop NAME] [--date TEXT]
//                 [--time TEXT] [--route N] [--ticket N] [--order N] [--company I]
// Without OUT.png it only checks the file. It prints why a file is refused,
// or what the plug-in declares and the bar codes read back from the drawing.
#include "platform/QtVXB4Res.h"
#include "platform/TicketRenderer.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

void print(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Checks a K27 ticket plug-in and renders its ticket."));
    cli.addHelpOption();
    cli.addPositionalArgument(QStringLiteral("plugin"), QStringLiteral("the .4SP file"));
    cli.addPositionalArgument(QStringLiteral("out"), QStringLiteral("PNG to write (optional)"));
    const QCommandLineOption dpr(QStringLiteral("dpr"), QStringLiteral("device pixel ratio"), QStringLiteral("N"),
                                 QStringLiteral("1"));
    const QCommandLineOption stop(QStringLiteral("stop"), QStringLiteral("stop name"), QStringLiteral("NAME"),
                                  QStringLiteral("市役所前"));
    const QCommandLineOption date(QStringLiteral("date"), QStringLiteral("date as the program passes it"),
                                  QStringLiteral("TEXT"), QStringLiteral("10-05-2024"));
    const QCommandLineOption time(QStringLiteral("time"), QStringLiteral("time hh:mm:ss"), QStringLiteral("TEXT"),
                                  QStringLiteral("08:15:30"));
    const QCommandLineOption route(QStringLiteral("route"), QStringLiteral("route number"), QStringLiteral("N"),
                                   QStringLiteral("12"));
    const QCommandLineOption number(QStringLiteral("ticket"), QStringLiteral("ticket number"), QStringLiteral("N"),
                                    QStringLiteral("5"));
    const QCommandLineOption order(QStringLiteral("order"), QStringLiteral("stop order (row)"), QStringLiteral("N"),
                                   QStringLiteral("3"));
    const QCommandLineOption company(QStringLiteral("company"), QStringLiteral("company index, -1 for none"),
                                     QStringLiteral("I"), QStringLiteral("0"));
    cli.addOptions({dpr, stop, date, time, route, number, order, company});
    cli.process(app);
    const QStringList args = cli.positionalArguments();
    if (args.isEmpty())
        cli.showHelp(2);

    // The same checks the program makes before it accepts a plug-in.
    ticket::TicketPluginCache cache(&ticket::barcodeFitProblem);
    const auto entry = cache.get(args[0]);
    if (!entry.plugin) {
        print(QStringLiteral("%1: not accepted: %2").arg(args[0], entry.error));
        return 1;
    }
    platform::QtVXB4Res engine;
    platform::PlgInfo info;
    engine.VX4_GetPlgInfo(args[0], info);
    print(QStringLiteral("%1: accepted").arg(args[0]));
    print(QStringLiteral("  preview %1 x %2 twips; date %3 time %4 route %5 stop name %6 bar code %7; "
                         "bar codes %8, mode %9, routes 1-%10, stops %11-%12; companies %13")
              .arg(info.PrevWidth)
              .arg(info.PrevHeight)
              .arg(info.CanDate)
              .arg(info.CanTime)
              .arg(info.CanKeitou)
              .arg(info.CanChimei)
              .arg(info.CanBarcode)
              .arg(info.BarcodeCount)
              .arg(info.BarcodeMode)
              .arg(info.KeitouMax)
              .arg(info.StopFrom)
              .arg(info.StopTo)
              .arg(info.CorpCount));
    if (args.size() < 2)
        return 0;

    const qreal ratio = std::max(1.0, cli.value(dpr).toDouble());
    const QSize size(info.PrevWidth / 15, info.PrevHeight / 15);
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(0xD4, 0xD0, 0xC8)); // the panel's face colour around the ticket
    {
        QPainter painter(&image);
        engine.VX4_DrawSeiriken(args[0], painter, cli.value(stop), cli.value(date), cli.value(time),
                                cli.value(route).toInt(), qint16(cli.value(number).toInt()),
                                qint16(cli.value(order).toInt()), qint16(cli.value(company).toInt()));
    }
    if (!image.save(args[1])) {
        print(QStringLiteral("cannot write %1").arg(args[1]));
        return 1;
    }
    const auto& p = *entry.plugin;
    if (p.barcode) {
        const auto expected = ticket::barcodeText(*p.barcode, cli.value(route).toInt(), cli.value(number).toInt(),
                                                  cli.value(order).toInt());
        print(QStringLiteral("  bar code text %1; read back: %2")
                  .arg(expected.value_or(QStringLiteral("(none: outside the ranges)")),
                       ticket::scanBarcodes(image).join(QStringLiteral(", "))));
    }
    return 0;
}
