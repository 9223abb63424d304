#pragma once
// Design-time properties of a control: an ordered list of key/value pairs.
// Keys are stored in lower case and found without regard to letter case; a
// value equal to its default is not stored.
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class PropertyBag {
public:
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue);
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue) const;

    bool contains(const QString& name) const;
    const QList<QPair<QString, QVariant>>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

private:
    QList<QPair<QString, QVariant>> entries_;
};
