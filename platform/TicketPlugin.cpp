#include "platform/TicketPlugin.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <cmath>

namespace ticket {

namespace {

// The first problem found; the reader stops there.
struct PluginError {
    QString message;
};

[[noreturn]] void fail(const QString& where, const QString& message) {
    throw PluginError{where.isEmpty() ? message : QStringLiteral("%1: %2").arg(where, message)};
}

QString sub(const QString& path, const QString& key) {
    return path.isEmpty() ? key : path + QLatin1Char('.') + key;
}

QString typeName(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("true/false");
    case QJsonValue::Double: return QStringLiteral("number");
    case QJsonValue::String: return QStringLiteral("text");
    case QJsonValue::Array: return QStringLiteral("list");
    case QJsonValue::Object: return QStringLiteral("object");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

// Unknown keys are refused: a misspelt key would otherwise be ignored and
// its default used without a word.
void checkKeys(const QJsonObject& o, const QString& path, const QStringList& allowed) {
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (!allowed.contains(it.key()))
            fail(path, QStringLiteral("unknown key \"%1\"").arg(it.key()));
    }
}

QJsonValue required(const QJsonObject& o, const QString& path, const QString& key) {
    if (!o.contains(key))
        fail(path, QStringLiteral("the key \"%1\" is missing").arg(key));
    return o.value(key);
}

QJsonObject objectValue(const QJsonValue& v, const QString& path) {
    if (!v.isObject())
        fail(path, QStringLiteral("must be an object, not %1").arg(typeName(v)));
    return v.toObject();
}

QJsonArray arrayValue(const QJsonValue& v, const QString& path) {
    if (!v.isArray())
        fail(path, QStringLiteral("must be a list, not %1").arg(typeName(v)));
    return v.toArray();
}

int intValue(const QJsonValue& v, const QString& path, int min, int max) {
    if (!v.isDouble())
        fail(path, QStringLiteral("must be a whole number, not %1").arg(typeName(v)));
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::floor(d))
        fail(path, QStringLiteral("must be a whole number, not %1").arg(d, 0, 'g', 15));
    if (d < min || d > max)
        fail(path, QStringLiteral("%1 is outside %2 to %3").arg(d, 0, 'g', 15).arg(min).arg(max));
    return int(d);
}

int intOr(const QJsonObject& o, const QString& path, const QString& key, int min, int max, int fallback) {
    return o.contains(key) ? intValue(o.value(key), sub(path, key), min, max) : fallback;
}

bool boolValue(const QJsonValue& v, const QString& path) {
    if (!v.isBool())
        fail(path, QStringLiteral("must be true or false, not %1").arg(typeName(v)));
    return v.toBool();
}

// Text without control characters; newlines only where allowed.
QString stringValue(const QJsonValue& v, const QString& path, int minLength, int maxLength, bool newlines = false) {
    if (!v.isString())
        fail(path, QStringLiteral("must be text, not %1").arg(typeName(v)));
    const QString s = v.toString();
    if (s.size() < minLength)
        fail(path, minLength == 1 ? QStringLiteral("must not be empty")
                                  : QStringLiteral("must be at least %1 characters").arg(minLength));
    if (s.size() > maxLength)
        fail(path, QStringLiteral("is longer than %1 characters").arg(maxLength));
    for (const QChar c : s) {
        if (c.category() == QChar::Other_Control && !(newlines && c == QLatin1Char('\n')))
            fail(path, QStringLiteral("holds the control character U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')));
    }
    return s;
}

Argb colorValue(const QJsonValue& v, const QString& path) {
    static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!v.isString() || !hex.match(v.toString()).hasMatch())
        fail(path, QStringLiteral("must be a colour written #RRGGBB"));
    return 0xFF000000u | v.toString().mid(1).toUInt(nullptr, 16);
}

// The index of v among names.
int choiceValue(const QJsonValue& v, const QString& path, const QStringList& names) {
    const int i = v.isString() ? int(names.indexOf(v.toString())) : -1;
    if (i < 0)
        fail(path, QStringLiteral("must be one of %1").arg(names.join(QStringLiteral(", "))));
    return i;
}

const QStringList& kindNames() {
    // In the order of ItemKind.
    static const QStringList names{QStringLiteral("box"),          QStringLiteral("text"),
                                   QStringLiteral("ticketNumber"), QStringLiteral("stopName"),
                                   QStringLiteral("date"),         QStringLiteral("time"),
                                   QStringLiteral("route"),        QStringLiteral("stopOrder"),
                                   QStringLiteral("company"),      QStringLiteral("barcode")};
    return names;
}

// The value tokens a field's format may use.
QStringList tokensOf(ItemKind kind) {
    switch (kind) {
    case ItemKind::TicketNumber:
    case ItemKind::Route:
    case ItemKind::StopOrder: return {QStringLiteral("n")};
    case ItemKind::StopName:
    case ItemKind::Company: return {QStringLiteral("s")};
    case ItemKind::Date:
        return {QStringLiteral("yyyy"), QStringLiteral("yy"), QStringLiteral("mm"),
                QStringLiteral("m"),    QStringLiteral("dd"), QStringLiteral("d"),
                QStringLiteral("era"),  QStringLiteral("ey"), QStringLiteral("w")};
    case ItemKind::Time: return {QStringLiteral("hh"), QStringLiteral("h"), QStringLiteral("mm"), QStringLiteral("ss")};
    default: return {};
    }
}

QString defaultFormat(ItemKind kind) {
    switch (kind) {
    case ItemKind::Date: return QStringLiteral("{yyyy}/{mm}/{dd}");
    case ItemKind::Time: return QStringLiteral("{hh}:{mm}");
    case ItemKind::StopName:
    case ItemKind::Company: return QStringLiteral("{s}");
    default: return QStringLiteral("{n}");
    }
}

// Literal text with {token} and {n:width} in it; {{ and }} for the braces.
QList<FormatPiece> parseFormat(const QString& s, ItemKind kind, const QString& path) {
    const QStringList tokens = tokensOf(kind);
    QList<FormatPiece> pieces;
    QString literal;
    auto flush = [&] {
        if (!literal.isEmpty())
            pieces.append(FormatPiece{literal, {}, 0});
        literal.clear();
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        const QChar next = i + 1 < s.size() ? s[i + 1] : QChar();
        if (c == QLatin1Char('}')) {
            if (next != QLatin1Char('}'))
                fail(path, QStringLiteral("a lone } (write }} for the character)"));
            literal += c;
            ++i;
            continue;
        }
        if (c != QLatin1Char('{')) {
            literal += c;
            continue;
        }
        if (next == QLatin1Char('{')) {
            literal += c;
            ++i;
            continue;
        }
        const qsizetype close = s.indexOf(QLatin1Char('}'), i + 1);
        if (close < 0)
            fail(path, QStringLiteral("a { without its }"));
        const QString inner = s.mid(i + 1, close - i - 1);
        const qsizetype colon = inner.indexOf(QLatin1Char(':'));
        const QString name = colon < 0 ? inner : inner.left(colon);
        if (!tokens.contains(name))
            fail(path, QStringLiteral("unknown value {%1}; this field knows {%2}")
                           .arg(name, tokens.join(QStringLiteral("}, {"))));
        int width = 0;
        if (colon >= 0) {
            bool ok = false;
            const QString digits = inner.mid(colon + 1);
            width = digits.size() == 1 ? digits.toInt(&ok) : 0;
            if (name != QLatin1String("n") || !ok || width < 1)
                fail(path, QStringLiteral("{%1}: only {n} takes a width, one digit from 1 to 9").arg(inner));
        }
        flush();
        pieces.append(FormatPiece{{}, name, width});
        i = close;
    }
    flush();
    return pieces;
}

TicketItem parseItem(const QJsonValue& value, const QString& path, const TicketPlugin& p) {
    const QJsonObject o = objectValue(value, path);
    TicketItem item;
    item.kind = ItemKind(
        choiceValue(required(o, path, QStringLiteral("kind")), sub(path, QStringLiteral("kind")), kindNames()));

    QStringList keys{QStringLiteral("kind"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("width"),
                     QStringLiteral("height")};
    const QStringList textKeys{QStringLiteral("font"), QStringLiteral("align"), QStringLiteral("valign"),
                               QStringLiteral("color"), QStringLiteral("background")};
    switch (item.kind) {
    case ItemKind::Box:
        keys << QStringLiteral("background") << QStringLiteral("borderColor") << QStringLiteral("borderWidth");
        break;
    case ItemKind::Text: keys << QStringLiteral("text") << textKeys; break;
    case ItemKind::Barcode:
        keys << QStringLiteral("symbology") << QStringLiteral("caption") << QStringLiteral("color")
             << QStringLiteral("background");
        break;
    default: keys << QStringLiteral("format") << textKeys; break;
    }
    checkKeys(o, path, keys);

    item.x = intValue(required(o, path, QStringLiteral("x")), sub(path, QStringLiteral("x")), 0, p.width - 1);
    item.y = intValue(required(o, path, QStringLiteral("y")), sub(path, QStringLiteral("y")), 0, p.height - 1);
    item.width =
        intValue(required(o, path, QStringLiteral("width")), sub(path, QStringLiteral("width")), 1, kMaxTicketDots);
    item.height =
        intValue(required(o, path, QStringLiteral("height")), sub(path, QStringLiteral("height")), 1, kMaxTicketDots);
    if (item.x + item.width > p.width)
        fail(path, QStringLiteral("reaches beyond the ticket's right edge (x + width = %1, the ticket is %2 wide)")
                       .arg(item.x + item.width)
                       .arg(p.width));
    if (item.y + item.height > p.height)
        fail(path, QStringLiteral("reaches beyond the ticket's bottom edge (y + height = %1, the ticket is %2 high)")
                       .arg(item.y + item.height)
                       .arg(p.height));

    if (o.contains(QStringLiteral("color")))
        item.color = colorValue(o.value(QStringLiteral("color")), sub(path, QStringLiteral("color")));
    if (o.contains(QStringLiteral("background")))
        item.background = colorValue(o.value(QStringLiteral("background")), sub(path, QStringLiteral("background")));

    switch (item.kind) {
    case ItemKind::Box:
        if (o.contains(QStringLiteral("borderColor")))
            item.borderColor =
                colorValue(o.value(QStringLiteral("borderColor")), sub(path, QStringLiteral("borderColor")));
        item.borderWidth = intOr(o, path, QStringLiteral("borderWidth"), 0, kMaxLineDots, 0);
        if (!item.background && item.borderWidth == 0)
            fail(path, QStringLiteral("a box needs a background or a borderWidth, or it draws nothing"));
        return item;
    case ItemKind::Barcode: {
        const QStringList names{QStringLiteral("NW-7"), QStringLiteral("ITF"), QStringLiteral("Code128"),
                                QStringLiteral("QR")};
        item.symbology = Symbology(
            choiceValue(required(o, path, QStringLiteral("symbology")), sub(path, QStringLiteral("symbology")), names));
        if (o.contains(QStringLiteral("caption")))
            item.caption = boolValue(o.value(QStringLiteral("caption")), sub(path, QStringLiteral("caption")));
        if (!item.background)
            item.background = 0xFFFFFFFF; // scanners need light around the bars
        return item;
    }
    case ItemKind::Text:
        item.text = stringValue(required(o, path, QStringLiteral("text")), sub(path, QStringLiteral("text")), 1,
                                kMaxTextLength, true);
        break;
    default: {
        const QString where = sub(path, QStringLiteral("format"));
        const QString format = o.contains(QStringLiteral("format"))
                                   ? stringValue(o.value(QStringLiteral("format")), where, 1, kMaxFormatLength)
                                   : defaultFormat(item.kind);
        item.format = parseFormat(format, item.kind, where);
        break;
    }
    }

    item.fontFamily = QStringLiteral("IPAGothic");
    if (o.contains(QStringLiteral("font"))) {
        const QString where = sub(path, QStringLiteral("font"));
        const QJsonObject font = objectValue(o.value(QStringLiteral("font")), where);
        checkKeys(font, where, {QStringLiteral("family"), QStringLiteral("size"), QStringLiteral("bold")});
        if (font.contains(QStringLiteral("family")))
            item.fontFamily = stringValue(font.value(QStringLiteral("family")), sub(where, QStringLiteral("family")), 1,
                                          kMaxFamilyLength);
        item.fontSize = intOr(font, where, QStringLiteral("size"), kMinFontDots, kMaxFontDots, item.fontSize);
        if (font.contains(QStringLiteral("bold")))
            item.bold = boolValue(font.value(QStringLiteral("bold")), sub(where, QStringLiteral("bold")));
    }
    if (o.contains(QStringLiteral("align")))
        item.align = HAlign(choiceValue(o.value(QStringLiteral("align")), sub(path, QStringLiteral("align")),
                                        {QStringLiteral("left"), QStringLiteral("center"), QStringLiteral("right")}));
    if (o.contains(QStringLiteral("valign")))
        item.valign = VAlign(choiceValue(o.value(QStringLiteral("valign")), sub(path, QStringLiteral("valign")),
                                         {QStringLiteral("top"), QStringLiteral("middle"), QStringLiteral("bottom")}));
    return item;
}

BarcodeRule parseBarcode(const QJsonValue& value, const QString& path) {
    const QJsonObject o = objectValue(value, path);
    checkKeys(o, path,
              {QStringLiteral("mode"), QStringLiteral("routeMax"), QStringLiteral("stopFrom"), QStringLiteral("stopTo"),
               QStringLiteral("direction")});
    BarcodeRule b;
    b.mode = intValue(required(o, path, QStringLiteral("mode")), sub(path, QStringLiteral("mode")), 1, 2);
    b.routeMax =
        intValue(required(o, path, QStringLiteral("routeMax")), sub(path, QStringLiteral("routeMax")), 1, kMaxRouteMax);
    b.stopFrom =
        intValue(required(o, path, QStringLiteral("stopFrom")), sub(path, QStringLiteral("stopFrom")), 1, kMaxStop);
    b.stopTo = intValue(required(o, path, QStringLiteral("stopTo")), sub(path, QStringLiteral("stopTo")), b.stopFrom,
                        kMaxStop);
    if (o.contains(QStringLiteral("direction"))) {
        if (b.mode != 2)
            fail(path, QStringLiteral("\"direction\" belongs to mode 2 (route and direction) only"));
        b.direction = intValue(o.value(QStringLiteral("direction")), sub(path, QStringLiteral("direction")), 0, 1);
    }
    return b;
}

QString parseNotes(const QJsonValue& v, const QString& path) {
    QString notes;
    if (v.isArray()) {
        const QJsonArray lines = v.toArray();
        QStringList parts;
        for (qsizetype i = 0; i < lines.size(); ++i)
            parts << stringValue(lines[i], QStringLiteral("%1[%2]").arg(path).arg(i), 0, kMaxNotesLength);
        notes = parts.join(QLatin1Char('\n'));
    } else if (v.isString()) {
        notes = stringValue(v, path, 0, kMaxNotesLength, true);
    } else {
        fail(path, QStringLiteral("must be text or a list of lines, not %1").arg(typeName(v)));
    }
    if (notes.size() > kMaxNotesLength)
        fail(path, QStringLiteral("is longer than %1 characters").arg(kMaxNotesLength));
    return notes;
}

TicketPlugin parsePlugin(const QJsonObject& root) {
    TicketPlugin p;
    checkKeys(root, {},
              {QStringLiteral("format"), QStringLiteral("notes"), QStringLiteral("preview"), QStringLiteral("prints"),
               QStringLiteral("barcode"), QStringLiteral("companies"), QStringLiteral("ticket")});

    // The format tag first: a JSON file of another kind gets one plain answer.
    const QJsonValue format = required(root, {}, QStringLiteral("format"));
    const QString prefix = QStringLiteral("k27-ticket/");
    if (!format.isString() || !format.toString().startsWith(prefix))
        fail(QStringLiteral("format"), QStringLiteral("not a K27 ticket plug-in (expected \"%1\")").arg(kFormatTag));
    if (format.toString() != QLatin1String(kFormatTag))
        fail(QStringLiteral("format"), QStringLiteral("version \"%1\" is not supported; this program reads \"%2\"")
                                           .arg(format.toString().mid(prefix.size()), QString::number(kFormatVersion)));

    {
        const QString path = QStringLiteral("preview");
        const QJsonObject o = objectValue(required(root, {}, path), path);
        checkKeys(o, path, {QStringLiteral("width"), QStringLiteral("height")});
        p.previewWidth = intValue(required(o, path, QStringLiteral("width")), sub(path, QStringLiteral("width")),
                                  kMinPreviewTwips, kMaxPreviewTwips);
        p.previewHeight = intValue(required(o, path, QStringLiteral("height")), sub(path, QStringLiteral("height")),
                                   kMinPreviewTwips, kMaxPreviewTwips);
    }
    {
        const QString path = QStringLiteral("prints");
        const QJsonObject o = objectValue(required(root, {}, path), path);
        const QStringList keys{QStringLiteral("date"), QStringLiteral("time"), QStringLiteral("route"),
                               QStringLiteral("stopName"), QStringLiteral("barcode")};
        checkKeys(o, path, keys);
        int* flags[] = {&p.printsDate, &p.printsTime, &p.printsRoute, &p.printsStopName, &p.printsBarcode};
        for (qsizetype i = 0; i < keys.size(); ++i)
            *flags[i] = intValue(required(o, path, keys[i]), sub(path, keys[i]), 0, kMaxFlag);
    }
    if (p.printsBarcode == 1)
        p.barcode = parseBarcode(required(root, {}, QStringLiteral("barcode")), QStringLiteral("barcode"));
    else if (root.contains(QStringLiteral("barcode")))
        fail(QStringLiteral("barcode"), QStringLiteral("only a plug-in with \"prints\": {\"barcode\": 1} has one"));

    if (root.contains(QStringLiteral("notes")))
        p.notes = parseNotes(root.value(QStringLiteral("notes")), QStringLiteral("notes"));

    if (root.contains(QStringLiteral("companies"))) {
        const QString path = QStringLiteral("companies");
        const QJsonArray list = arrayValue(root.value(path), path);
        if (list.size() > kMaxCompanies)
            fail(path, QStringLiteral("more than %1 names").arg(kMaxCompanies));
        for (qsizetype i = 0; i < list.size(); ++i)
            p.companies << stringValue(list[i], QStringLiteral("%1[%2]").arg(path).arg(i), 1, kMaxCompanyLength);
    }

    const QString path = QStringLiteral("ticket");
    const QJsonObject t = objectValue(required(root, {}, path), path);
    checkKeys(t, path,
              {QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("background"),
               QStringLiteral("border"), QStringLiteral("items")});
    p.width = intValue(required(t, path, QStringLiteral("width")), sub(path, QStringLiteral("width")), kMinTicketDots,
                       kMaxTicketDots);
    p.height = intValue(required(t, path, QStringLiteral("height")), sub(path, QStringLiteral("height")),
                        kMinTicketDots, kMaxTicketDots);
    if (t.contains(QStringLiteral("background")))
        p.background = colorValue(t.value(QStringLiteral("background")), sub(path, QStringLiteral("background")));
    if (t.contains(QStringLiteral("border"))) {
        const QString where = sub(path, QStringLiteral("border"));
        const QJsonObject b = objectValue(t.value(QStringLiteral("border")), where);
        checkKeys(b, where, {QStringLiteral("color"), QStringLiteral("width"), QStringLiteral("radius")});
        TicketBorder border;
        if (b.contains(QStringLiteral("color")))
            border.color = colorValue(b.value(QStringLiteral("color")), sub(where, QStringLiteral("color")));
        border.width = intOr(b, where, QStringLiteral("width"), 1, kMaxLineDots, 1);
        border.radius = intOr(b, where, QStringLiteral("radius"), 0, kMaxRadiusDots, 0);
        p.border = border;
    }

    const QString itemsPath = sub(path, QStringLiteral("items"));
    const QJsonArray items = arrayValue(required(t, path, QStringLiteral("items")), itemsPath);
    if (items.isEmpty() || items.size() > kMaxItems)
        fail(itemsPath, QStringLiteral("must hold 1 to %1 items, not %2").arg(kMaxItems).arg(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i)
        p.items.append(parseItem(items[i], QStringLiteral("%1[%2]").arg(itemsPath).arg(i), p));

    // What the plug-in says it prints is what its ticket shows: the options
    // page lists the declaration, the preview draws the items.
    struct Declared {
        int flag;
        ItemKind kind;
        const char* key;
    };
    for (const Declared& d :
         {Declared{p.printsDate, ItemKind::Date, "date"}, Declared{p.printsTime, ItemKind::Time, "time"},
          Declared{p.printsRoute, ItemKind::Route, "route"}, Declared{p.printsStopName, ItemKind::StopName, "stopName"},
          Declared{p.printsBarcode, ItemKind::Barcode, "barcode"}}) {
        const bool placed =
            std::any_of(p.items.begin(), p.items.end(), [&](const TicketItem& item) { return item.kind == d.kind; });
        const QString key = QString::fromLatin1(d.key);
        if (d.flag == 1 && !placed)
            fail(QStringLiteral("prints.") + key,
                 QStringLiteral("is 1, but the ticket has no \"%1\" item").arg(kindNames()[int(d.kind)]));
        if (d.flag != 1 && placed)
            fail(QStringLiteral("prints.") + key,
                 QStringLiteral("is %1, but the ticket has a \"%2\" item (1 = printed)")
                     .arg(d.flag)
                     .arg(kindNames()[int(d.kind)]));
    }
    const bool companyPlaced = std::any_of(p.items.begin(), p.items.end(),
                                           [](const TicketItem& item) { return item.kind == ItemKind::Company; });
    if (companyPlaced && p.companies.isEmpty())
        fail(QStringLiteral("companies"), QStringLiteral("the ticket has a \"company\" item but no company names"));
    return p;
}

// A date as the program hands it over: "mm-dd-yyyy" (today's date) or the
// options' own "yyyy/mm/dd"; any separator.
QDate parseDate(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,4})\\D+(\\d{1,2})\\D+(\\d{1,4})\\D*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return {};
    if (m.capturedLength(1) == 4 && m.capturedLength(3) <= 2)
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (m.capturedLength(3) == 4 && m.capturedLength(1) <= 2)
        return QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    return {};
}

QTime parseTime(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return {};
    return QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
}

// The Japanese era and its year for a date (the eras since 1868).
std::pair<QString, int> era(const QDate& d) {
    struct Era {
        QDate start;
        const char16_t* name;
    };
    static const Era eras[] = {{QDate(2019, 5, 1), u"令和"},
                               {QDate(1989, 1, 8), u"平成"},
                               {QDate(1926, 12, 25), u"昭和"},
                               {QDate(1912, 7, 30), u"大正"},
                               {QDate(1868, 1, 25), u"明治"}};
    for (const Era& e : eras) {
        if (d >= e.start)
            return {QString::fromUtf16(e.name), d.year() - e.start.year() + 1};
    }
    return {QString(), d.year()};
}

QString padded(qint64 n, int width) {
    const QString digits = QString::number(n < 0 ? -n : n).rightJustified(width, QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

QString two(int n) {
    return padded(n, 2);
}

int digitCount(qint64 n) {
    return int(QString::number(n).size());
}

} // namespace

int TicketPlugin::barcodeCount() const {
    return int(std::count_if(items.begin(), items.end(),
                             [](const TicketItem& item) { return item.kind == ItemKind::Barcode; }));
}

ReadResult readTicketPlugin(QByteArrayView bytes) {
    if (bytes.size() > kMaxPluginBytes)
        return {{}, QStringLiteral("the file is larger than %1 KiB").arg(kMaxPluginBytes / 1024)};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const qsizetype at = std::clamp<qsizetype>(parseError.offset, 0, bytes.size());
        const QByteArrayView before = bytes.first(at);
        const qsizetype line = before.count('\n') + 1;
        const qsizetype column = at - (before.lastIndexOf('\n') + 1) + 1;
        return {{},
                QStringLiteral("not valid JSON at line %1, column %2: %3")
                    .arg(line)
                    .arg(column)
                    .arg(parseError.errorString())};
    }
    if (!doc.isObject())
        return {{}, QStringLiteral("the file must hold one JSON object { ... }")};
    try {
        return {parsePlugin(doc.object()), {}};
    } catch (const PluginError& e) {
        return {{}, e.message};
    }
}

ReadResult loadTicketPlugin(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {{}, QStringLiteral("the file does not exist")};
    // Devices and pipes are refused unread: they can block or never end.
    if (!info.isFile())
        return {{}, QStringLiteral("not a regular file")};
    if (info.size() > kMaxPluginBytes)
        return {{}, QStringLiteral("the file is larger than %1 KiB").arg(kMaxPluginBytes / 1024)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("the file cannot be read: %1").arg(file.errorString())};
    // One byte beyond the limit, in case the file grew since the size check.
    return readTicketPlugin(file.read(kMaxPluginBytes + 1));
}

QString itemText(const TicketPlugin& plugin, const TicketItem& item, const TicketValues& values) {
    QDate date;
    QTime time;
    QString s;
    qint64 n = 0;
    switch (item.kind) {
    case ItemKind::Text: return item.text;
    case ItemKind::Box:
    case ItemKind::Barcode: return {};
    case ItemKind::TicketNumber: n = values.ticketNumber; break;
    case ItemKind::Route: n = values.route; break;
    case ItemKind::StopOrder: n = values.stopOrder; break;
    case ItemKind::StopName: s = values.stopName; break;
    case ItemKind::Company:
        // No company chosen (or none that exists) prints nothing.
        if (values.company < 0 || values.company >= plugin.companies.size())
            return {};
        s = plugin.companies[values.company];
        break;
    case ItemKind::Date:
        date = parseDate(values.date);
        // A date the program cannot read is printed as it came.
        if (!date.isValid())
            return values.date;
        break;
    case ItemKind::Time:
        time = parseTime(values.time);
        if (!time.isValid())
            return values.time;
        break;
    }

    QString out;
    for (const FormatPiece& piece : item.format) {
        const QString& t = piece.token;
        if (t.isEmpty())
            out += piece.literal;
        else if (t == QLatin1String("n"))
            out += padded(n, piece.width);
        else if (t == QLatin1String("s"))
            out += s;
        else if (item.kind == ItemKind::Time) {
            if (t == QLatin1String("hh"))
                out += two(time.hour());
            else if (t == QLatin1String("h"))
                out += QString::number(time.hour());
            else if (t == QLatin1String("mm"))
                out += two(time.minute());
            else if (t == QLatin1String("ss"))
                out += two(time.second());
        } else if (t == QLatin1String("yyyy"))
            out += padded(date.year(), 4);
        else if (t == QLatin1String("yy"))
            out += two(date.year() % 100);
        else if (t == QLatin1String("mm"))
            out += two(date.month());
        else if (t == QLatin1String("m"))
            out += QString::number(date.month());
        else if (t == QLatin1String("dd"))
            out += two(date.day());
        else if (t == QLatin1String("d"))
            out += QString::number(date.day());
        else if (t == QLatin1String("era"))
            out += era(date).first;
        else if (t == QLatin1String("ey"))
            out += QString::number(era(date).second);
        else if (t == QLatin1String("w"))
            out += QStringView(u"月火水木金土日").mid(date.dayOfWeek() - 1, 1);
    }
    return out;
}

std::optional<QString> barcodeText(const BarcodeRule& rule, qint32 route, int ticketNumber, int stopOrder) {
    if (route < 1 || route > rule.routeMax || stopOrder < rule.stopFrom || stopOrder > rule.stopTo ||
        ticketNumber < 0 || ticketNumber > 99)
        return std::nullopt;
    if (rule.mode == 1) {
        const qint64 stops = rule.stopTo - rule.stopFrom + 1;
        const qint64 sequence = (qint64(route - 1) * stops + (stopOrder - rule.stopFrom)) * 100 + ticketNumber;
        const qint64 largest = qint64(rule.routeMax) * stops * 100 - 1;
        return padded(sequence, std::max(6, digitCount(largest)));
    }
    return padded(route, std::max(2, digitCount(rule.routeMax))) + QString::number(rule.direction) +
           padded(ticketNumber, 2) + padded(stopOrder, std::max(2, digitCount(rule.stopTo)));
}

QString symbolText(Symbology symbology, const QString& text) {
    if (symbology == Symbology::Itf && text.size() % 2 != 0)
        return QLatin1Char('0') + text;
    return text;
}

TicketPluginCache::TicketPluginCache(Check check) : check_(std::move(check)) {}

TicketPluginCache::Entry TicketPluginCache::get(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        slots_.erase(path);
        return {nullptr, QStringLiteral("the file does not exist")};
    }
    // Stat before reading: a change made while reading shows as a newer
    // time at the next call and is read then.
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    const quint64 use = ++uses_;
    if (auto it = slots_.find(path); it != slots_.end() && it->second.modified == modified && it->second.size == size) {
        it->second.lastUse = use;
        return it->second.entry;
    }

    ReadResult read = loadTicketPlugin(path);
    ++readCount_;
    Entry entry;
    if (!read.plugin) {
        entry.error = read.error;
    } else if (const QString problem = check_ ? check_(*read.plugin) : QString(); !problem.isEmpty()) {
        entry.error = problem;
    } else {
        entry.plugin = std::make_shared<const TicketPlugin>(std::move(*read.plugin));
    }

    if (!slots_.contains(path) && slots_.size() >= kSlots) {
        const auto oldest = std::min_element(slots_.begin(), slots_.end(), [](const auto& a, const auto& b) {
            return a.second.lastUse < b.second.lastUse;
        });
        slots_.erase(oldest);
    }
    slots_[path] = Slot{modified, size, entry, use};
    return entry;
}

} // namespace ticket
