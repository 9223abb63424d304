#include "core/PropertyBag.h"

namespace {
// Numbers compare by value whatever their width (a 16-bit 0 equals an int 0);
// text compares as text, and text never equals a number.
bool sameValue(const QVariant& a, const QVariant& b) {
    const bool aText = a.typeId() == QMetaType::QString;
    const bool bText = b.typeId() == QMetaType::QString;
    if (aText || bText)
        return aText && bText && a.toString() == b.toString();
    bool okA = false, okB = false;
    const double x = a.toDouble(&okA), y = b.toDouble(&okB);
    if (okA && okB)
        return x == y;
    return a == b;
}
} // namespace

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue) {
    const QString key = name.toLower();
    entries_.removeIf([&](const auto& e) { return e.first == key; });
    if (sameValue(value, defaultValue))
        return;
    entries_.append({key, value});
}

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const {
    for (const auto& e : entries_)
        if (e.first.compare(name, Qt::CaseInsensitive) == 0)
            return e.second;
    return defaultValue;
}

bool PropertyBag::contains(const QString& name) const {
    for (const auto& e : entries_)
        if (e.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
