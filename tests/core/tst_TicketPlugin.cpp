// The ticket plug-in reader: every rule it enforces, each shown by a file
// that breaks that rule alone; the texts the fields print; the bar-code
// string; the cache that spares a refresh the parse.
#include "platform/TicketPlugin.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace ticket;

namespace {

// A plug-in that uses every kind of item and every section.
const char* const kValid = R"({
  "format": "k27-ticket/1",
  "notes": ["line one", "line two"],
  "preview": {"width": 3000, "height": 4500},
  "prints": {"date": 1, "time": 1, "route": 1, "stopName": 1, "barcode": 1},
  "barcode": {"mode": 2, "routeMax": 99, "stopFrom": 1, "stopTo": 99, "direction": 1},
  "companies": ["甲交通", "乙バス"],
  "ticket": {
    "width": 200, "height": 300, "background": "#FFFFF0",
    "border": {"color": "#000000", "width": 1, "radius": 3},
    "items": [
      {"kind": "text", "x": 0, "y": 0, "width": 200, "height": 30, "text": "整理券",
       "font": {"family": "IPAMincho", "size": 20, "bold": true}, "align": "center", "valign": "middle",
       "color": "#FFFFFF", "background": "#000000"},
      {"kind": "ticketNumber", "x": 0, "y": 30, "width": 200, "height": 100, "format": "{n:2}", "font": {"size": 80}},
      {"kind": "stopName", "x": 0, "y": 130, "width": 200, "height": 20},
      {"kind": "date", "x": 0, "y": 150, "width": 100, "height": 20, "format": "{yyyy}/{mm}/{dd}"},
      {"kind": "time", "x": 100, "y": 150, "width": 100, "height": 20},
      {"kind": "route", "x": 0, "y": 170, "width": 100, "height": 20, "format": "{n}系統"},
      {"kind": "stopOrder", "x": 100, "y": 170, "width": 100, "height": 20},
      {"kind": "company", "x": 0, "y": 190, "width": 200, "height": 20},
      {"kind": "box", "x": 0, "y": 212, "width": 200, "height": 2, "background": "#000000"},
      {"kind": "barcode", "x": 0, "y": 220, "width": 200, "height": 70, "symbology": "NW-7", "caption": true}
    ]
  }
})";
// Indices of the items above.
enum { kText, kNumber, kStop, kDate, kTime, kRoute, kOrder, kCompany, kBox, kBarcode };

QJsonObject valid() {
    return QJsonDocument::fromJson(kValid).object();
}

QByteArray bytesOf(const QJsonObject& o) {
    return QJsonDocument(o).toJson();
}

// Sets (or with no value removes) the member at a path such as
// "ticket.items[3].font.size".
QJsonValue edited(const QJsonValue& node, QStringList path, const std::optional<QJsonValue>& value) {
    const QString head = path.takeFirst();
    if (head.startsWith(QLatin1Char('['))) {
        QJsonArray a = node.toArray();
        const int i = head.mid(1).chopped(1).toInt();
        if (path.isEmpty() && value)
            a[i] = *value;
        else if (path.isEmpty())
            a.removeAt(i);
        else
            a[i] = edited(a[i], path, value);
        return a;
    }
    QJsonObject o = node.toObject();
    if (path.isEmpty() && value)
        o[head] = *value;
    else if (path.isEmpty())
        o.remove(head);
    else
        o[head] = edited(o[head], path, value);
    return o;
}

QJsonObject with(const QJsonObject& o, const QString& path, const std::optional<QJsonValue>& value) {
    QString split = path;
    split.replace(QLatin1Char('['), QStringLiteral(".["));
    return edited(o, split.split(QLatin1Char('.')), value).toObject();
}

QString item(int i, const char* member) {
    return QStringLiteral("ticket.items[%1].%2").arg(i).arg(QLatin1String(member));
}

QString error(const QByteArray& bytes) {
    const ReadResult r = readTicketPlugin(bytes);
    return r.plugin ? QStringLiteral("(accepted)") : r.error;
}

// The item at index with another format, parsed as the reader parses it.
TicketItem field(int index, const QString& format) {
    const ReadResult r = readTicketPlugin(bytesOf(with(valid(), item(index, "format"), format)));
    if (!r.plugin)
        qFatal("%s", qPrintable(r.error));
    return r.plugin->items[index];
}

} // namespace

class TestTicketPlugin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void validFileReadsWhole() {
        const ReadResult r = readTicketPlugin(kValid);
        QVERIFY2(r.plugin, qPrintable(r.error));
        const TicketPlugin& p = *r.plugin;
        QCOMPARE(p.previewWidth, 3000);
        QCOMPARE(p.notes, QStringLiteral("line one\nline two"));
        QCOMPARE(p.companies, QStringList({QStringLiteral("甲交通"), QStringLiteral("乙バス")}));
        QCOMPARE(p.items.size(), 10);
        QCOMPARE(p.barcodeCount(), 1);
        QCOMPARE(p.barcode->direction, 1);
        QCOMPARE(p.border->radius, 3);
        const TicketItem& header = p.items[kText];
        QCOMPARE(header.fontFamily, QStringLiteral("IPAMincho"));
        QVERIFY(header.bold);
        QCOMPARE(header.background, std::optional<Argb>(0xFF000000));
        QCOMPARE(header.color, Argb(0xFFFFFFFF));
        // Defaults where the file says nothing.
        const TicketItem& stop = p.items[kStop];
        QCOMPARE(stop.fontFamily, QStringLiteral("IPAGothic"));
        QCOMPARE(stop.fontSize, 12);
        QCOMPARE(stop.align, HAlign::Center);
        QCOMPARE(stop.background, std::nullopt);
        QCOMPARE(p.items[kBarcode].background, std::optional<Argb>(0xFFFFFFFF));
        QCOMPARE(p.items[kBarcode].symbology, Symbology::Nw7);
    }

    // Each row breaks one rule of the valid file above and names what the
    // reader must say about it.
    void everyRuleRefusesItsBreach_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("value"); // Undefined: remove the member
        QTest::addColumn<QString>("expected");
        const QJsonValue remove(QJsonValue::Undefined);
        int n = 0;
        auto row = [&n](const QString& path, const QJsonValue& value, const QString& expected) {
            QTest::addRow("%d %s", ++n, qPrintable(path)) << path << value << expected;
        };
        // The format tag and the top level.
        row("format", remove, "the key \"format\" is missing");
        row("format", "k27-ticket/2", "format: version \"2\" is not supported");
        row("format", "ticket", "format: not a K27 ticket plug-in");
        row("format", 1, "format: not a K27 ticket plug-in");
        row("note", "typo for notes", "unknown key \"note\"");
        row("notes", 5, "notes: must be text or a list of lines, not number");
        row("notes", QString(4001, QLatin1Char('x')), "notes: is longer than 4000 characters");
        row("notes[0]", 7, "notes[0]: must be text, not number");
        // Preview size in twips.
        row("preview", remove, "the key \"preview\" is missing");
        row("preview", "big", "preview: must be an object, not text");
        row("preview.width", "3000", "preview.width: must be a whole number, not text");
        row("preview.width", 299, "preview.width: 299 is outside 300 to 9000");
        row("preview.height", 9001, "preview.height: 9001 is outside 300 to 9000");
        row("preview.height", 4500.5, "preview.height: must be a whole number, not 4500.5");
        row("preview.depth", 1, "preview: unknown key \"depth\"");
        // The declared capabilities and what the ticket shows.
        row("prints.time", remove, "prints: the key \"time\" is missing");
        row("prints.date", 256, "prints.date: 256 is outside 0 to 255");
        row("prints.date", -1, "prints.date: -1 is outside 0 to 255");
        row("prints.date", true, "prints.date: must be a whole number, not true/false");
        row("prints.date", 0, "prints.date: is 0, but the ticket has a \"date\" item");
        row("prints.colour", 1, "prints: unknown key \"colour\"");
        row("ticket.items[3]", remove, "prints.date: is 1, but the ticket has no \"date\" item");
        row("ticket.items[9]", remove, "prints.barcode: is 1, but the ticket has no \"barcode\" item");
        // The bar-code facts.
        row("barcode", remove, "the key \"barcode\" is missing");
        row("barcode.mode", 3, "barcode.mode: 3 is outside 1 to 2");
        row("barcode.routeMax", 0, "barcode.routeMax: 0 is outside 1 to 9999");
        row("barcode.routeMax", 10000, "barcode.routeMax: 10000 is outside 1 to 9999");
        row("barcode.stopFrom", 0, "barcode.stopFrom: 0 is outside 1 to 999");
        row("barcode.stopTo", 0, "barcode.stopTo: 0 is outside 1 to 999");
        row("barcode.direction", 2, "barcode.direction: 2 is outside 0 to 1");
        row("barcode.mode", 1, "barcode: \"direction\" belongs to mode 2");
        row("barcode.start", 1, "barcode: unknown key \"start\"");
        // Company names.
        row("companies", "甲交通", "companies: must be a list, not text");
        row("companies[0]", "", "companies[0]: must not be empty");
        row("companies[1]", QString(33, QChar(0x30D0)), "companies[1]: is longer than 32 characters");
        row("companies[1]", "乙\tバス", "companies[1]: holds the control character U+0009");
        row("companies", QJsonArray(), "companies: the ticket has a \"company\" item but no company names");
        // The ticket and its items.
        row("ticket", remove, "the key \"ticket\" is missing");
        row("ticket.width", 19, "ticket.width: 19 is outside 20 to 1000");
        row("ticket.height", 1001, "ticket.height: 1001 is outside 20 to 1000");
        row("ticket.background", "white", "ticket.background: must be a colour written #RRGGBB");
        row("ticket.background", "#FFF", "ticket.background: must be a colour written #RRGGBB");
        row("ticket.border.width", 0, "ticket.border.width: 0 is outside 1 to 20");
        row("ticket.border.radius", 101, "ticket.border.radius: 101 is outside 0 to 100");
        row("ticket.border.style", "dashed", "ticket.border: unknown key \"style\"");
        row("ticket.items", QJsonArray(), "ticket.items: must hold 1 to 64 items, not 0");
        row("ticket.items[0]", "整理券", "ticket.items[0]: must be an object, not text");
        row(item(kText, "kind"), "label", "ticket.items[0].kind: must be one of box, text, ticketNumber");
        row(item(kText, "kind"), remove, "ticket.items[0]: the key \"kind\" is missing");
        row(item(kText, "colour"), "#000000", "ticket.items[0]: unknown key \"colour\"");
        row(item(kBox, "color"), "#000000", "ticket.items[8]: unknown key \"color\"");
        row(item(kText, "format"), "{n}", "ticket.items[0]: unknown key \"format\"");
        row(item(kText, "x"), -1, "ticket.items[0].x: -1 is outside 0 to 199");
        row(item(kText, "x"), 1, "ticket.items[0]: reaches beyond the ticket's right edge (x + width = 201");
        row(item(kBarcode, "height"), 81, "ticket.items[9]: reaches beyond the ticket's bottom edge");
        row(item(kStop, "width"), 0, "ticket.items[2].width: 0 is outside 1 to 1000");
        row(item(kText, "y"), remove, "ticket.items[0]: the key \"y\" is missing");
        row(item(kText, "font.size"), 3, "ticket.items[0].font.size: 3 is outside 4 to 400");
        row(item(kText, "font.size"), 401, "ticket.items[0].font.size: 401 is outside 4 to 400");
        row(item(kText, "font.weight"), 700, "ticket.items[0].font: unknown key \"weight\"");
        row(item(kText, "font.bold"), "yes", "ticket.items[0].font.bold: must be true or false");
        row(item(kText, "font.family"), "", "ticket.items[0].font.family: must not be empty");
        row(item(kText, "align"), "middle", "ticket.items[0].align: must be one of left, center, right");
        row(item(kText, "valign"), "center", "ticket.items[0].valign: must be one of top, middle, bottom");
        row(item(kText, "text"), remove, "ticket.items[0]: the key \"text\" is missing");
        row(item(kText, "text"), QString(201, QChar(0x5238)), "ticket.items[0].text: is longer than 200 characters");
        row(item(kNumber, "format"), "{x}", "ticket.items[1].format: unknown value {x}; this field knows {n}");
        row(item(kNumber, "format"), "No.}", "ticket.items[1].format: a lone }");
        row(item(kNumber, "format"), "{n", "ticket.items[1].format: a { without its }");
        row(item(kNumber, "format"), "{n:10}", "ticket.items[1].format: {n:10}: only {n} takes a width");
        row(item(kNumber, "format"), "", "ticket.items[1].format: must not be empty");
        row(item(kStop, "format"), "{s:2}", "ticket.items[2].format: {s:2}: only {n} takes a width");
        row(item(kDate, "format"), "{n}", "ticket.items[3].format: unknown value {n}; this field knows {yyyy}");
        row(item(kBox, "background"), remove, "ticket.items[8]: a box needs a background or a borderWidth");
        row(item(kBox, "borderWidth"), 21, "ticket.items[8].borderWidth: 21 is outside 0 to 20");
        row(item(kBarcode, "symbology"), "EAN-13", "ticket.items[9].symbology: must be one of NW-7, ITF, Code128, QR");
        row(item(kBarcode, "symbology"), remove, "ticket.items[9]: the key \"symbology\" is missing");
        row(item(kBarcode, "caption"), 1, "ticket.items[9].caption: must be true or false");
    }
    void everyRuleRefusesItsBreach() {
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QFETCH(QString, expected);
        const QJsonObject o = with(valid(), path, value.isUndefined() ? std::nullopt : std::optional(value));
        const QString said = error(bytesOf(o));
        QVERIFY2(said.startsWith(expected), qPrintable(QStringLiteral("said: %1").arg(said)));
    }

    void countsAndSectionsAtTheirLimits() {
        // Seventeen names, sixty-five items: one too many each.
        QJsonArray names;
        for (int i = 0; i < 17; ++i)
            names.append(QStringLiteral("社%1").arg(i));
        QVERIFY(error(bytesOf(with(valid(), QStringLiteral("companies"), names)))
                    .startsWith(QStringLiteral("companies: more than 16 names")));
        names.removeLast();
        QCOMPARE(error(bytesOf(with(valid(), QStringLiteral("companies"), names))), QStringLiteral("(accepted)"));

        QJsonArray items = valid()[QStringLiteral("ticket")][QStringLiteral("items")].toArray();
        while (items.size() < 64)
            items.append(items[kBox]);
        QCOMPARE(error(bytesOf(with(valid(), QStringLiteral("ticket.items"), items))), QStringLiteral("(accepted)"));
        items.append(items[kBox]);
        QVERIFY(error(bytesOf(with(valid(), QStringLiteral("ticket.items"), items)))
                    .startsWith(QStringLiteral("ticket.items: must hold 1 to 64 items, not 65")));

        // A "barcode" section without a bar code on the ticket.
        QJsonObject noBarcode = with(valid(), QStringLiteral("prints.barcode"), 0);
        noBarcode = with(noBarcode, QStringLiteral("ticket.items[9]"), std::nullopt);
        QVERIFY(error(bytesOf(noBarcode)).startsWith(QStringLiteral("barcode: only a plug-in with")));
        noBarcode.remove(QStringLiteral("barcode"));
        QCOMPARE(error(bytesOf(noBarcode)), QStringLiteral("(accepted)"));
    }

    void bytesThatAreNoPlugin() {
        QVERIFY(error("").startsWith(QStringLiteral("not valid JSON at line 1, column 1")));
        QVERIFY(error("\x89PNG\r\n\x1a\n").startsWith(QStringLiteral("not valid JSON")));
        QCOMPARE(error("[1, 2]"), QStringLiteral("the file must hold one JSON object { ... }"));
        // The place of a syntax error, for the author: the missing comma
        // after the first member is found on line 3.
        const QString said = error("{\n  \"format\": \"k27-ticket/1\"\n  \"notes\": []\n}");
        QVERIFY2(said.startsWith(QStringLiteral("not valid JSON at line 3, column ")), qPrintable(said));
        // A byte-order mark, as some editors write one, is fine.
        QCOMPARE(error(QByteArray("\xEF\xBB\xBF") + kValid), QStringLiteral("(accepted)"));
    }

    void sizeLimitIsExact() {
        QByteArray bytes(kValid);
        bytes.append(QByteArray(kMaxPluginBytes - bytes.size(), ' '));
        QCOMPARE(error(bytes), QStringLiteral("(accepted)"));
        bytes.append(' ');
        QCOMPARE(error(bytes), QStringLiteral("the file is larger than 256 KiB"));

        // Files: the size is checked before reading; devices are not read.
        QTemporaryDir dir;
        const QString big = dir.filePath(QStringLiteral("big.4SP"));
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        QCOMPARE(loadTicketPlugin(big).error, QStringLiteral("the file is larger than 256 KiB"));
        QCOMPARE(loadTicketPlugin(dir.path()).error, QStringLiteral("not a regular file"));
        QCOMPARE(loadTicketPlugin(QStringLiteral("/dev/zero")).error, QStringLiteral("not a regular file"));
        QCOMPARE(loadTicketPlugin(dir.filePath(QStringLiteral("none.4SP"))).error,
                 QStringLiteral("the file does not exist"));
    }

    void declarationsOtherThanOnePassThrough() {
        // The record carries what the plug-in declares: a 2 is "not
        // printed", so a ticket without a date may say so.
        QJsonObject o = with(valid(), QStringLiteral("prints.date"), 2);
        o = with(o, QStringLiteral("ticket.items[3]"), std::nullopt);
        const ReadResult r = readTicketPlugin(bytesOf(o));
        QVERIFY2(r.plugin, qPrintable(r.error));
        QCOMPARE(r.plugin->printsDate, 2);
        // Notes as one text, newlines kept.
        o = with(valid(), QStringLiteral("notes"), QStringLiteral("一行目\n二行目"));
        QCOMPARE(readTicketPlugin(bytesOf(o)).plugin->notes, QStringLiteral("一行目\n二行目"));
    }

    void fieldTexts() {
        const TicketPlugin p = *readTicketPlugin(kValid).plugin;
        TicketValues v{
            QStringLiteral("市役所前"), QStringLiteral("05-07-2009"), QStringLiteral("08:05:09"), 12, 5, 3, 1};
        QCOMPARE(itemText(p, p.items[kText], v), QStringLiteral("整理券"));
        QCOMPARE(itemText(p, p.items[kNumber], v), QStringLiteral("05"));
        QCOMPARE(itemText(p, p.items[kStop], v), QStringLiteral("市役所前"));
        QCOMPARE(itemText(p, p.items[kDate], v), QStringLiteral("2009/05/07"));
        QCOMPARE(itemText(p, p.items[kTime], v), QStringLiteral("08:05"));
        QCOMPARE(itemText(p, p.items[kRoute], v), QStringLiteral("12系統"));
        QCOMPARE(itemText(p, p.items[kOrder], v), QStringLiteral("3"));
        QCOMPARE(itemText(p, p.items[kCompany], v), QStringLiteral("乙バス"));

        // The date arrives as mm-dd-yyyy or as the options' yyyy/mm/dd;
        // both read as the same day. Anything else is printed as it came.
        v.date = QStringLiteral("2009/05/07");
        QCOMPARE(itemText(p, p.items[kDate], v), QStringLiteral("2009/05/07"));
        v.date = QStringLiteral("いつか");
        QCOMPARE(itemText(p, p.items[kDate], v), QStringLiteral("いつか"));
        v.date = QStringLiteral("02-30-2009"); // no such day
        QCOMPARE(itemText(p, p.items[kDate], v), QStringLiteral("02-30-2009"));
        v.time = QStringLiteral("25:00:00");
        QCOMPARE(itemText(p, p.items[kTime], v), QStringLiteral("25:00:00"));

        // No company chosen, or one the plug-in does not have: nothing.
        v.company = -1;
        QCOMPARE(itemText(p, p.items[kCompany], v), QString());
        v.company = 2;
        QCOMPARE(itemText(p, p.items[kCompany], v), QString());

        // Zero padding keeps the sign in front.
        v.ticketNumber = -3;
        QCOMPARE(itemText(p, p.items[kNumber], v), QStringLiteral("-03"));
        v.ticketNumber = 123;
        QCOMPARE(itemText(p, p.items[kNumber], v), QStringLiteral("123"));
    }

    void dateTokensAndEras() {
        const TicketPlugin p = *readTicketPlugin(kValid).plugin;
        const TicketItem f = field(kDate, QStringLiteral("{era}{ey}年{m}月{d}日({w}) {yy}.{mm}.{dd} {{x}}"));
        TicketValues v;
        v.date = QStringLiteral("04-30-2019"); // the last day of Heisei
        QCOMPARE(itemText(p, f, v), QStringLiteral("平成31年4月30日(火) 19.04.30 {x}"));
        v.date = QStringLiteral("2019/05/01");
        QCOMPARE(itemText(p, f, v), QStringLiteral("令和1年5月1日(水) 19.05.01 {x}"));
        v.date = QStringLiteral("1989/01/07");
        QCOMPARE(itemText(p, f, v), QStringLiteral("昭和64年1月7日(土) 89.01.07 {x}"));
        const TicketItem t = field(kTime, QStringLiteral("{h}時{mm}分{ss}秒"));
        v.time = QStringLiteral("7:05");
        QCOMPARE(itemText(p, t, v), QStringLiteral("7時05分00秒"));
    }

    void barcodeStrings() {
        BarcodeRule byRoute{2, 99, 1, 99, 0};
        // Route 12, direction 0, ticket 5, stop 3.
        QCOMPARE(barcodeText(byRoute, 12, 5, 3), std::optional<QString>(QStringLiteral("1200503")));
        byRoute.direction = 1;
        byRoute.routeMax = 250;
        byRoute.stopTo = 120;
        QCOMPARE(barcodeText(byRoute, 7, 42, 101), std::optional<QString>(QStringLiteral("007142101")));
        // What the code cannot carry is not encoded at all.
        QCOMPARE(barcodeText(byRoute, 0, 5, 3), std::nullopt);   // no route set yet
        QCOMPARE(barcodeText(byRoute, 251, 5, 3), std::nullopt); // beyond routeMax
        QCOMPARE(barcodeText(byRoute, 7, 5, 121), std::nullopt); // beyond stopTo
        QCOMPARE(barcodeText(byRoute, 7, 100, 3), std::nullopt); // three-digit ticket
        QCOMPARE(barcodeText(byRoute, 7, -1, 3), std::nullopt);

        // Sequential numbering: each (route, stop) pair has its block of a
        // hundred ticket numbers, counted from route 1 at stopFrom.
        const BarcodeRule sequential{1, 20, 2, 11, 0};
        QCOMPARE(barcodeText(sequential, 1, 0, 2), std::optional<QString>(QStringLiteral("000000")));
        QCOMPARE(barcodeText(sequential, 3, 7, 5), std::optional<QString>(QStringLiteral("002307")));
        QCOMPARE(barcodeText(sequential, 20, 99, 11), std::optional<QString>(QStringLiteral("019999")));
        QCOMPARE(barcodeText(sequential, 3, 7, 1), std::nullopt); // before stopFrom
        // Large ranges widen the number; every code of a plug-in has one length.
        const BarcodeRule wide{1, 9999, 1, 999, 0};
        QCOMPARE(barcodeText(wide, 9999, 99, 999)->size(), 9);
        QCOMPARE(barcodeText(wide, 1, 0, 1)->size(), 9);

        QCOMPARE(symbolText(Symbology::Itf, QStringLiteral("1200503")), QStringLiteral("01200503"));
        QCOMPARE(symbolText(Symbology::Itf, QStringLiteral("12")), QStringLiteral("12"));
        QCOMPARE(symbolText(Symbology::Nw7, QStringLiteral("1200503")), QStringLiteral("1200503"));
    }

    void cacheReadsAFileOnceUntilItChanges() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.4SP"));
        auto write = [&](const QByteArray& bytes) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        };
        write(kValid);
        int checks = 0;
        TicketPluginCache cache([&](const TicketPlugin&) {
            ++checks;
            return QString();
        });
        const auto first = cache.get(path);
        QVERIFY(first.plugin);
        QCOMPARE(cache.get(path).plugin, first.plugin); // the same parsed plug-in
        QCOMPARE(cache.readCount(), 1);
        QCOMPARE(checks, 1);

        // A new size is a new file, and so is a broken one.
        write(QByteArray(kValid) + "\n");
        QVERIFY(cache.get(path).plugin != first.plugin);
        QCOMPARE(cache.readCount(), 2);
        write("{");
        QVERIFY(cache.get(path).error.startsWith(QStringLiteral("not valid JSON")));
        QVERIFY(!cache.get(path).plugin);
        QCOMPARE(cache.readCount(), 3); // the refusal is remembered too
        QFile::remove(path);
        QCOMPARE(cache.get(path).error, QStringLiteral("the file does not exist"));

        // The check can refuse a plug-in the reader accepted.
        write(kValid);
        TicketPluginCache strict([](const TicketPlugin&) { return QStringLiteral("too small"); });
        QCOMPARE(strict.get(path).error, QStringLiteral("too small"));
        QVERIFY(!strict.get(path).plugin);
    }
};

QTEST_GUILESS_MAIN(TestTicketPlugin)
#include "tst_TicketPlugin.moc"
