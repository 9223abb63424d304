// Ticket plug-ins are files the user picks, so the reader must answer any
// bytes with a plug-in or a reason, never crash or hang, and everything it
// accepts must keep the promises the drawing relies on.
//
// Seeds: fuzz/corpus/plugin (fuzz/make-plugin-seeds.sh); dictionary:
// fuzz/plugin.dict.
#include "platform/TicketPlugin.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace {

void check(bool promise) {
    if (!promise)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ticket;
    const QByteArrayView bytes(data, qsizetype(size));
    const ReadResult r = readTicketPlugin(bytes);
    if (!r.plugin) {
        check(!r.error.isEmpty());
        return 0;
    }
    const TicketPlugin& p = *r.plugin;
    check(p.previewWidth >= kMinPreviewTwips && p.previewWidth <= kMaxPreviewTwips);
    check(p.previewHeight >= kMinPreviewTwips && p.previewHeight <= kMaxPreviewTwips);
    check(p.width >= kMinTicketDots && p.width <= kMaxTicketDots);
    check(p.height >= kMinTicketDots && p.height <= kMaxTicketDots);
    check(!p.items.isEmpty() && p.items.size() <= kMaxItems);
    check(p.companies.size() <= kMaxCompanies);
    check(p.notes.size() <= kMaxNotesLength);
    check((p.printsBarcode == 1) == p.barcode.has_value());
    for (const TicketItem& item : p.items) {
        check(item.x >= 0 && item.y >= 0 && item.width >= 1 && item.height >= 1);
        check(item.x + item.width <= p.width && item.y + item.height <= p.height);
        check(item.fontSize >= kMinFontDots && item.fontSize <= kMaxFontDots);
        check(item.kind != ItemKind::Company || !p.companies.isEmpty());
    }

    // Every field prints for the extremes of each value, and for date and
    // time texts taken from the input itself.
    constexpr qint32 i32min = std::numeric_limits<qint32>::min(), i32max = std::numeric_limits<qint32>::max();
    constexpr qint16 i16min = std::numeric_limits<qint16>::min(), i16max = std::numeric_limits<qint16>::max();
    const QString tail = QString::fromUtf8(bytes.last(std::min<qsizetype>(bytes.size(), 24)));
    const TicketValues values[] = {
        {},
        {QStringLiteral("市役所前"), QStringLiteral("01-01-0001"), QStringLiteral("23:59:59"), i32min, i16min, i16min,
         i16min},
        {tail, QStringLiteral("9999/12/31"), QStringLiteral("0:0"), i32max, i16max, i16max, i16max},
        {tail, tail, tail, 1, 0, 1, 0},
    };
    for (const TicketValues& v : values) {
        for (const TicketItem& item : p.items)
            (void)itemText(p, item, v);
    }

    if (p.barcode) {
        const BarcodeRule& b = *p.barcode;
        const std::optional<QString> first = barcodeText(b, 1, 0, b.stopFrom);
        const std::optional<QString> last = barcodeText(b, b.routeMax, 99, b.stopTo);
        // Every code of a plug-in has one length, made of digits.
        check(first && last && first->size() == last->size());
        for (const QChar c : *last)
            check(c.isDigit());
        for (const TicketValues& v : values)
            check(!barcodeText(b, v.route, v.ticketNumber, v.stopOrder) ||
                  barcodeText(b, v.route, v.ticketNumber, v.stopOrder)->size() == first->size());
    }
    return 0;
}
