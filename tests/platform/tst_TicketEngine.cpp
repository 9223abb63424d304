// The plug-in calls of the real helper library on our two sample plug-ins:
// the information record, the notes, the company names, and the ticket as
// drawn, checked on its pixels and by scanning its bar code back.
#include "platform/Fonts.h"
#include "platform/QtVXB4Res.h"
#include "platform/TicketRenderer.h"
#include "tests/support/TestSupport.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace platform;

namespace {

const QColor kFace(0xD4, 0xD0, 0xC8); // what the preview box shows around a ticket

QString sample(const char* name) {
    return testsupport::sourcePath(QStringLiteral("data/demo/plugins/%1.4SP").arg(QLatin1String(name)));
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Ticket {
    QString stop = QStringLiteral("市役所前");
    QString date = QStringLiteral("10-05-2024");
    QString time = QStringLiteral("08:15:30");
    qint32 route = 12;
    qint16 number = 5;
    qint16 order = 3;
    qint16 company = 0;
};

// The ticket drawn into an image of the preview's size at a pixel ratio,
// offset by the painter's translation.
QImage draw(QtVXB4Res& lib, const QString& plugin, const Ticket& t, qreal dpr = 1, QPoint offset = {},
            QSize extra = QSize(0, 0)) {
    PlgInfo info;
    lib.VX4_GetPlgInfo(plugin, info);
    const QSize logical = QSize(info.PrevWidth / 15, info.PrevHeight / 15) + extra;
    QImage image((logical.isEmpty() ? QSize(50, 50) : logical) * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(kFace);
    QPainter painter(&image);
    painter.translate(offset);
    lib.VX4_DrawSeiriken(plugin, painter, t.stop, t.date, t.time, t.route, t.number, t.order, t.company);
    return image;
}

int inkPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    }
    return n;
}

// Runs of equal colour along row y between x0 and x1 (device pixels).
QList<int> runs(const QImage& image, int y, int x0, int x1) {
    QList<int> lengths;
    QRgb current = image.pixel(x0, y);
    int length = 0;
    for (int x = x0; x < x1; ++x) {
        if (image.pixel(x, y) == current) {
            ++length;
            continue;
        }
        lengths << length;
        current = image.pixel(x, y);
        length = 1;
    }
    lengths << length;
    return lengths;
}

} // namespace

class TestTicketEngine : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // The full sample with one text replaced, written beside the others.
    QString variant(const QString& name, const QList<std::pair<QString, QString>>& replacements) {
        QString text = QString::fromUtf8(contents(sample("full")));
        for (const auto& [from, to] : replacements) {
            if (!text.contains(from))
                qFatal("the full sample no longer holds %s", qPrintable(from));
            text.replace(from, to);
        }
        const QString path = dir_.filePath(name + QStringLiteral(".4SP"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(text.toUtf8());
        return path;
    }

private Q_SLOTS:
    void windowsFaceNamesDrawWithTheirStandIns() {
        // A plug-in names its faces as a Windows program does; each is drawn
        // with the installed face that stands in for it, the proportional
        // Gothic for ＭＳ Ｐゴシック rather than the fixed-pitch one.
        const QString from = QStringLiteral("\"format\": \"No.{n:3}\",\n        \"font\": { \"size\": 14 }");
        auto withFace = [&](const QString& name, const QString& face) {
            return variant(name, {{from, QStringLiteral("\"format\": \"No.{n:3}\",\n        \"font\": { \"size\": "
                                                        "14, \"family\": \"%1\" }")
                                             .arg(face)}});
        };
        QtVXB4Res lib;
        const Ticket t;
        // Only the item's own box: the edges of the large bold items
        // elsewhere may be shaded a little differently from one drawing to
        // the next.
        const QRect box(125, 70, 97, 22);
        auto item = [&](const QString& name, const QString& face) {
            return draw(lib, withFace(name, face), t).copy(box);
        };
        const QImage windows = item(QStringLiteral("pgothic-windows"), kFacePGothic);
        const QImage standIn = item(QStringLiteral("pgothic-installed"), installedFace(kFacePGothic));
        const QImage fixed = item(QStringLiteral("gothic-installed"), installedFace(kFaceGothic));
        QVERIFY(inkPixels(windows) > 20);
        QVERIFY(windows == standIn);
        QVERIFY(windows != fixed);
    }

    void recordOfTheSamples() {
        QtVXB4Res lib;
        PlgInfo basic;
        QCOMPARE(lib.VX4_GetPlgInfo(sample("basic"), basic), 1);
        QCOMPARE(basic.PrevWidth, 2250);
        QCOMPARE(basic.PrevHeight, 3600);
        QCOMPARE(basic.CanDate, 1);
        QCOMPARE(basic.CanTime, 0);
        QCOMPARE(basic.CanKeitou, 0);
        QCOMPARE(basic.CanChimei, 0);
        QCOMPARE(basic.CanBarcode, 0);
        QCOMPARE(basic.BarcodeCount, 0);
        QCOMPARE(basic.KeitouMax, 0);
        QCOMPARE(basic.CorpCount, 0);

        PlgInfo full;
        QCOMPARE(lib.VX4_GetPlgInfo(sample("full"), full), 1);
        QCOMPARE(full.PrevWidth, 3450);
        QCOMPARE(full.PrevHeight, 5400);
        QCOMPARE(full.CanDate + full.CanTime + full.CanKeitou + full.CanChimei + full.CanBarcode, 5);
        QCOMPARE(full.BarcodeCount, 1);
        QCOMPARE(full.KeitouMax, 99);
        QCOMPARE(full.BarcodeMode, 2);
        QCOMPARE(full.StopFrom, 1);
        QCOMPARE(full.StopTo, 99);
        QCOMPARE(full.CorpCount, 3);
    }

    void filesThatAreNoPluginGiveZero() {
        QtVXB4Res lib;
        const QString broken = dir_.filePath(QStringLiteral("broken.4SP"));
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contents(sample("full")).left(500));
        f.close();
        // A bar code that fits its item only at less than a pixel a module.
        const QString narrow =
            variant(QStringLiteral("narrow"), {{QStringLiteral("\"x\": 0, \"y\": 283, \"width\": 230"),
                                                QStringLiteral("\"x\": 60, \"y\": 283, \"width\": 100")}});
        for (const QString& path : {broken, narrow, dir_.filePath(QStringLiteral("missing.4SP")), dir_.path(),
                                    QStringLiteral("/dev/zero"), QString()}) {
            PlgInfo info;
            info.PrevWidth = 777; // the record stays as it came
            QVERIFY2(lib.VX4_GetPlgInfo(path, info) == 0, qPrintable(path));
            QCOMPARE(info.PrevWidth, 777);
            QCOMPARE(info.CorpCount, 0);
        }
        // Nothing is drawn for them either.
        const QImage image = draw(lib, broken, Ticket());
        QCOMPARE(inkPixels(image), 0);
    }

    void notesAndCompaniesFillTheirBoxes() {
        QtVXB4Res lib;
        QPlainTextEdit plain;
        lib.VX4_SetPlgComment(sample("full"), &plain);
        QVERIFY(plain.toPlainText().startsWith(QStringLiteral("日付・時刻・系統番号・停留所名・社名とバーコード")));
        QCOMPARE(plain.toPlainText().count(QLatin1Char('\n')), 3);
        QTextEdit rich;
        lib.VX4_SetPlgComment(sample("basic"), &rich);
        QCOMPARE(rich.toPlainText(), QStringLiteral("日付と整理券番号だけを印字する、標準の整理券です。\n"
                                                    "バーコードと社名の切り替えはありません。"));
        QLineEdit line;
        lib.VX4_SetPlgComment(sample("basic"), &line);
        QVERIFY(!line.text().contains(QLatin1Char('\n')));
        // A file that is no plug-in leaves the box as it was.
        lib.VX4_SetPlgComment(dir_.filePath(QStringLiteral("missing.4SP")), &plain);
        QVERIFY(plain.toPlainText().startsWith(QStringLiteral("日付・時刻")));

        QComboBox companies;
        lib.VX4_SetCorpAddList(sample("full"), &companies);
        QCOMPARE(companies.count(), 3);
        QCOMPARE(companies.itemText(0), QStringLiteral("みなと交通"));
        QCOMPARE(companies.itemText(2), QStringLiteral("さくら市営バス"));
        lib.VX4_SetCorpAddList(sample("basic"), &companies);
        QCOMPARE(companies.count(), 3);
    }

    void ticketFollowsTheStop() {
        QtVXB4Res lib;
        Ticket first;
        Ticket second;
        second.stop = QStringLiteral("中央病院");
        second.order = 4;
        const QImage a = draw(lib, sample("full"), first);
        const QImage b = draw(lib, sample("full"), second);
        QVERIFY2(inkPixels(a) > 2000, "The ticket shows hardly any print.");
        QVERIFY(a != b);
        // The basic ticket prints neither stop nor order, but its number.
        const QImage c = draw(lib, sample("basic"), first);
        QVERIFY(inkPixels(c) > 1000);
        QCOMPARE(draw(lib, sample("basic"), second), c);
        Ticket other = first;
        other.number = 17;
        QVERIFY(draw(lib, sample("basic"), other) != c);
    }

    void barcodeScansBackAtBothRatios() {
        QtVXB4Res lib;
        Ticket t;
        for (qreal dpr : {1.0, 2.0}) {
            QCOMPARE(ticket::scanBarcodes(draw(lib, sample("full"), t, dpr)), QStringList{QStringLiteral("1200503")});
        }
        t.route = 7;
        t.number = 42;
        t.order = 18;
        QCOMPARE(ticket::scanBarcodes(draw(lib, sample("full"), t)), QStringList{QStringLiteral("0704218")});
        // Before a route is set (route 0) there is nothing the code may say.
        t.route = 0;
        QCOMPARE(ticket::scanBarcodes(draw(lib, sample("full"), t)), QStringList());
    }

    void everySymbologyAndModeScans_data() {
        QTest::addColumn<QString>("symbology");
        QTest::addColumn<bool>("sequential");
        QTest::addColumn<QString>("expected");
        // Mode 2: route 12, direction 0, ticket 5, stop 3. Mode 1 with the
        // same ranges: ((12 - 1) * 99 + (3 - 1)) * 100 + 5.
        for (const char* s : {"NW-7", "ITF", "Code128", "QR"}) {
            const bool itf = QByteArray(s) == "ITF";
            QTest::addRow("%s by route", s)
                << QString::fromLatin1(s) << false << (itf ? QStringLiteral("01200503") : QStringLiteral("1200503"));
            QTest::addRow("%s sequential", s) << QString::fromLatin1(s) << true << QStringLiteral("109105");
        }
    }
    void everySymbologyAndModeScans() {
        QFETCH(QString, symbology);
        QFETCH(bool, sequential);
        QFETCH(QString, expected);
        QList<std::pair<QString, QString>> edits{
            {QStringLiteral("\"symbology\": \"NW-7\""), QStringLiteral("\"symbology\": \"%1\"").arg(symbology)}};
        if (sequential)
            edits.append({QStringLiteral("\"mode\": 2"), QStringLiteral("\"mode\": 1")});
        if (sequential)
            edits.append({QStringLiteral(", \"direction\": 0"), QString()});
        const QString path = variant(QStringLiteral("%1-%2").arg(symbology).arg(sequential), edits);
        QtVXB4Res lib;
        PlgInfo info;
        QCOMPARE(lib.VX4_GetPlgInfo(path, info), 1);
        QCOMPARE(info.BarcodeMode, sequential ? 1 : 2);
        QCOMPARE(ticket::scanBarcodes(draw(lib, path, Ticket(), 2)), QStringList{expected});
    }

    void edgesLieOnDevicePixels() {
        QtVXB4Res lib;
        const QImage one = draw(lib, sample("full"), Ticket(), 1);
        const QImage two = draw(lib, sample("full"), Ticket(), 2);
        // Across the bars (item x 0..230, y 283..337, inside the ticket's
        // one-dot border): only ink and paper, no blended pixel, and every
        // run twice as long as at ratio 1.
        const QList<int> runsOne = runs(one, 300, 1, 229);
        const QList<int> runsTwo = runs(two, 600, 2, 458);
        for (int x = 2; x < 458; ++x) {
            const QRgb c = two.pixel(x, 600);
            QVERIFY2(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255), qPrintable(QString::number(x)));
        }
        QCOMPARE(runsTwo.size(), runsOne.size());
        for (qsizetype i = 0; i < runsOne.size(); ++i)
            QCOMPARE(runsTwo[i], 2 * runsOne[i]);
        QVERIFY2(runsOne.size() > 40, "The bars are not where the plug-in places them.");

        // The header band (y 26..66) starts and ends on a device pixel row.
        const QRgb band = qRgb(0x20, 0x20, 0x20);
        QCOMPARE(two.pixel(8, 51), qRgb(255, 255, 255));
        QCOMPARE(two.pixel(8, 52), band);
        QCOMPARE(two.pixel(8, 131), band);
        QCOMPARE(two.pixel(8, 132), qRgb(255, 255, 255));
    }

    void drawsWhereThePainterIs() {
        // A painter already moved (as in a larger picture box) draws the
        // same ticket, moved by exactly as much.
        QtVXB4Res lib;
        const QImage plain = draw(lib, sample("basic"), Ticket(), 2);
        const QImage moved = draw(lib, sample("basic"), Ticket(), 2, QPoint(30, 40), QSize(30, 40));
        QImage part = moved.copy(60, 80, plain.width(), plain.height());
        part.setDevicePixelRatio(2);
        QCOMPARE(part, plain);
        QCOMPARE(moved.pixel(59, 79), kFace.rgb());
    }
};

QTEST_MAIN(TestTicketEngine)
#include "tst_TicketEngine.moc"
