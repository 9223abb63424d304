#pragma once
// Numbered-ticket plug-ins (".4SP" files): a JSON description of a ticket,
// read and checked here into plain data. A plug-in is only ever data: the
// program never loads or runs code from it, so any file can be offered to
// the reader. Free of widgets (QtCore only) so that tests and the fuzzer use
// it on their own; platform/TicketRenderer draws what it describes.
//
// docs/plugins.md is the authors' guide to the format.
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace ticket {

inline constexpr int kFormatVersion = 1;
// The value of the "format" key this program reads.
inline constexpr char kFormatTag[] = "k27-ticket/1";
// No plug-in needs more; larger files are refused before they are read.
inline constexpr qint64 kMaxPluginBytes = 256 * 1024;

// Limits of the values a plug-in gives (inclusive).
inline constexpr int kMinPreviewTwips = 300, kMaxPreviewTwips = 9000;
inline constexpr int kMinTicketDots = 20, kMaxTicketDots = 1000;
inline constexpr int kMaxItems = 64;
inline constexpr int kMaxCompanies = 16, kMaxCompanyLength = 32;
inline constexpr int kMaxNotesLength = 4000;
inline constexpr int kMaxTextLength = 200, kMaxFormatLength = 100;
inline constexpr int kMaxFamilyLength = 64;
inline constexpr int kMinFontDots = 4, kMaxFontDots = 400;
inline constexpr int kMaxLineDots = 20, kMaxRadiusDots = 100;
inline constexpr int kMaxRouteMax = 9999, kMaxStop = 999;
inline constexpr int kMaxFlag = 255;

enum class ItemKind { Box, Text, TicketNumber, StopName, Date, Time, Route, StopOrder, Company, Barcode };
enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };
enum class Symbology { Nw7, Itf, Code128, Qr };

// One piece of a field's format: literal text, or a value token such as
// {n:3} (token "n", zero-padded to width 3).
struct FormatPiece {
    QString literal;
    QString token; // empty for literal text
    int width = 0;
};

// A colour as 0xAARRGGBB (alpha always 0xFF).
using Argb = quint32;

// One placed item of the ticket. Coordinates are ticket dots.
struct TicketItem {
    ItemKind kind = ItemKind::Text;
    int x = 0, y = 0, width = 0, height = 0;

    // Texts and value fields.
    QString text;              // the fixed text of a Text item
    QList<FormatPiece> format; // the format of a value field
    QString fontFamily;
    int fontSize = 12; // pixel height in ticket dots
    bool bold = false;
    HAlign align = HAlign::Center;
    VAlign valign = VAlign::Middle;
    Argb color = 0xFF000000;
    std::optional<Argb> background;

    // Boxes.
    Argb borderColor = 0xFF000000;
    int borderWidth = 0;

    // Bar codes (background defaults to white there).
    Symbology symbology = Symbology::Nw7;
    bool caption = false;
};

// What the bar code carries and the ranges it can carry.
struct BarcodeRule {
    int mode = 2;     // 1 = sequential number; 2 = route + direction flag
    int routeMax = 1; // routes 1..routeMax
    int stopFrom = 1; // stop orders stopFrom..stopTo
    int stopTo = 1;
    int direction = 0; // mode 2: the direction digit
};

struct TicketBorder {
    Argb color = 0xFF000000;
    int width = 1;
    int radius = 0;
};

// A checked plug-in. Every value lies within the limits above.
struct TicketPlugin {
    int previewWidth = 0, previewHeight = 0; // twips
    // The declared print capabilities, as the plug-in information record
    // carries them: 1 = printed, anything else = not printed.
    int printsDate = 0, printsTime = 0, printsRoute = 0, printsStopName = 0, printsBarcode = 0;
    std::optional<BarcodeRule> barcode; // present exactly when printsBarcode is 1
    QString notes;
    QStringList companies;

    int width = 0, height = 0; // ticket dots
    Argb background = 0xFFFFFFFF;
    std::optional<TicketBorder> border;
    QList<TicketItem> items;

    int barcodeCount() const;
};

// The outcome of reading: a plug-in, or why the bytes are not one.
struct ReadResult {
    std::optional<TicketPlugin> plugin;
    QString error;
};

// Reads and checks a plug-in's bytes (UTF-8 JSON, a leading BOM allowed).
ReadResult readTicketPlugin(QByteArrayView bytes);
// Reads a plug-in file: a regular file of at most kMaxPluginBytes.
ReadResult loadTicketPlugin(const QString& path);

// The values one ticket is printed with.
struct TicketValues {
    QString stopName;
    QString date; // as the program hands it over: "mm-dd-yyyy", "yyyy/mm/dd", ...
    QString time; // "hh:mm:ss"
    qint32 route = 0;
    qint16 ticketNumber = 0;
    qint16 stopOrder = 0;
    qint16 company = -1; // index into companies; -1 = none
};

// The text a Text item or value field prints for the values.
QString itemText(const TicketPlugin& plugin, const TicketItem& item, const TicketValues& values);

// The string the bar code encodes for a route, ticket number and stop order,
// or nothing when one of them lies outside what the bar code can carry.
//   mode 1: the sequence number ((route - 1) * S + (stop - stopFrom)) * 100
//           + ticket, S = stopTo - stopFrom + 1, in a fixed number of digits
//           (those of its largest value, at least six);
//   mode 2: route (digits of routeMax, at least two), the direction digit,
//           the ticket number (two digits), the stop order (digits of
//           stopTo, at least two).
// Ticket numbers 0..99 can be carried.
std::optional<QString> barcodeText(const BarcodeRule& rule, qint32 route, int ticketNumber, int stopOrder);
// The text as the symbology writes it: ITF carries digit pairs, so an odd
// number of digits gets a leading 0.
QString symbolText(Symbology symbology, const QString& text);

// Parsed plug-ins by path. A file is read again only when its modification
// time or size changed, so a preview refresh costs a stat, not a parse.
// A check given at construction runs once on every freshly read plug-in; a
// non-empty answer rejects it with that reason.
class TicketPluginCache {
public:
    using Check = std::function<QString(const TicketPlugin&)>;
    struct Entry {
        std::shared_ptr<const TicketPlugin> plugin;
        QString error;
    };

    explicit TicketPluginCache(Check check = {});
    Entry get(const QString& path);
    // How many times a file was read and parsed (for tests).
    int readCount() const { return readCount_; }

private:
    struct Slot {
        QDateTime modified;
        qint64 size = 0;
        Entry entry;
        quint64 lastUse = 0;
    };
    static constexpr size_t kSlots = 16;
    Check check_;
    std::map<QString, Slot> slots_;
    quint64 uses_ = 0;
    int readCount_ = 0;
};

} // namespace ticket
