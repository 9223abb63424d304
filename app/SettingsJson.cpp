#include "app/SettingsJson.h"

#include "core/ShiftJis.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <limits>
#include <type_traits>

namespace SettingsJson {

namespace {

constexpr qsizetype kMaxTextBytes = 0xFFFF;

// The records with their fields, in file order, handed to io: io.record()
// takes a record's name and a function that hands each field to its
// argument as (name, field). One list serves writing, reading and naming.
template <class Io, class Record> void records(Io& io, Record& r) {
    io.record("FolderRec", [&](auto&& f) {
        auto& x = r.Options.Folder;
        f("FareDataDir", x.FareDataDir);
        f("TapeDataDir", x.TapeDataDir);
    });
    io.record("PanelRec", [&](auto&& f) {
        auto& x = r.Options.Panel;
        f("AutoSeiriNum", x.AutoSeiriNum);
        f("SeiriColorOff", x.SeiriColorOff);
        f("SeiriColorOn1", x.SeiriColorOn1);
        f("SeiriColorOn2", x.SeiriColorOn2);
        f("SeiriNumStyle", x.SeiriNumStyle);
        f("SeiriZeroPad", x.SeiriZeroPad);
        f("PanelAuto", x.PanelAuto);
        f("PanelManual", x.PanelManual);
        f("OffBuiltIn", x.OffBuiltIn);
        f("OffUser", x.OffUser);
        f("On1BuiltIn", x.On1BuiltIn);
        f("On1User", x.On1User);
        f("On2BuiltIn", x.On2BuiltIn);
        f("On2User", x.On2User);
        f("OffPanelFile", x.OffPanelFile);
        f("On1PanelFile", x.On1PanelFile);
        f("On2PanelFile", x.On2PanelFile);
    });
    io.record("DegitRec", [&](auto&& f) {
        auto& x = r.Options.Degit;
        f("DegitBackColor", x.DegitBackColor);
        f("DegitBaseColor", x.DegitBaseColor);
        f("DegitLitColor", x.DegitLitColor);
        f("InfoStopOn", x.InfoStopOn);
        f("InfoStopKoma", x.InfoStopKoma);
        f("InfoStopFromZero", x.InfoStopFromZero);
        f("InfoSeiriOn", x.InfoSeiriOn);
        f("InfoSeiriKoma", x.InfoSeiriKoma);
        f("InfoKeitouOn", x.InfoKeitouOn);
        f("InfoKeitouKoma", x.InfoKeitouKoma);
        f("InfoColOn", x.InfoColOn);
        f("InfoCol", x.InfoCol);
        f("InfoColKoma", x.InfoColKoma);
    });
    io.record("ChimeiRec", [&](auto&& f) {
        auto& x = r.Options.Chimei;
        f("ChimeiBackColor", x.ChimeiBackColor);
        f("ChimeiForeColor", x.ChimeiForeColor);
        f("ChimeiFontMode", x.ChimeiFontMode);
        f("ChimeiBold", x.ChimeiBold);
    });
    io.record("SoundRec", [&](auto&& f) {
        auto& x = r.Options.Sound;
        f("KeitouSound", x.KeitouSound);
        f("ResetSound", x.ResetSound);
        f("StepAlways", x.StepAlways);
        f("StepByCol", x.StepByCol);
        f("StepSync", x.StepSync);
        f("StepAsync", x.StepAsync);
        f("StepSound", x.StepSound);
        f("StepCol", x.StepCol);
        f("StepSound1", x.StepSound1);
        f("StepSound2", x.StepSound2);
        f("StepSound3", x.StepSound3);
        f("TapeSync", x.TapeSync);
        f("TapeAsync", x.TapeAsync);
        f("TapeAlways", x.TapeAlways);
        f("TapeByFlag", x.TapeByFlag);
        f("TapeSound", x.TapeSound);
        f("TapeSound1", x.TapeSound1);
        f("TapeSound2", x.TapeSound2);
        f("TapeSound3", x.TapeSound3);
    });
    io.record("PreviewRec", [&](auto&& f) {
        auto& x = r.Options.Preview;
        f("UsePreview", x.UsePreview);
        f("PluginFile", x.PluginFile);
        f("DateEachPrint", x.DateEachPrint);
        f("DateAtReset", x.DateAtReset);
        f("DateFixed", x.DateFixed);
        f("FixedDate", x.FixedDate);
    });
    io.record("CtlPanelRec", [&](auto&& f) {
        auto& x = r.CtlPanel;
        f("PanelIndex", x.PanelIndex);
        f("ScrollSpeed", x.ScrollSpeed);
        f("ScrollWait", x.ScrollWait);
        f("LateNight", x.LateNight);
        f("PreviewOpen", x.PreviewOpen);
        f("CtlLeft", x.CtlLeft);
        f("CtlTop", x.CtlTop);
    });
    io.record("BoardPosRec", [&](auto&& f) {
        f("BoardLeft", r.BoardPos.BoardLeft);
        f("BoardTop", r.BoardPos.BoardTop);
    });
    io.colours("CustColors", r.CustColors);
    io.count("DegitCount", r.DegitCount);
    io.modes("DegitModeRec", r.DegitModes);
}

// Calls f(name, field) for the three fields of one digit's modes.
template <class Mode, class F> void modeFields(Mode& m, F&& f) {
    f("Shift", m.Shift);
    f("ZeroMode", m.ZeroMode);
    f("FillZero", m.FillZero);
}

QByteArray colourText(quint32 colour) {
    return "\"0x" + QByteArray::number(colour, 16).toUpper().rightJustified(8, '0') + '"';
}

// A JSON string literal for the text, non-ASCII characters as UTF-8.
QByteArray stringLiteral(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray valueText(qint16 v) {
    return QByteArray::number(v);
}
QByteArray valueText(qint32 v) {
    return QByteArray::number(v);
}
QByteArray valueText(quint32 colour) {
    return colourText(colour);
}
QByteArray valueText(const QString& text) {
    return stringLiteral(text);
}

class Writer {
public:
    QByteArray out = "{\n";

    template <class Fields> void record(const char* name, Fields&& fields) {
        beginItem(name);
        out += "{\n";
        bool first = true;
        fields([&](const char* field, const auto& value) {
            out += first ? "" : ",\n";
            first = false;
            out += "    \"" + QByteArray(field) + "\": " + valueText(value);
        });
        out += "\n  }";
    }
    void colours(const char* name, const std::array<quint32, 17>& colours) {
        beginItem(name);
        out += "[";
        for (size_t i = 0; i < colours.size(); ++i)
            out += QByteArray(i == 0 ? "\n    " : i % 6 == 0 ? ",\n    " : ", ") + colourText(colours[i]);
        out += "\n  ]";
    }
    void count(const char* name, qint16 value) {
        beginItem(name);
        out += QByteArray::number(value);
    }
    void modes(const char* name, const std::array<DegitModeRec, 50>& modes) {
        beginItem(name);
        out += "[";
        for (size_t i = 0; i < modes.size(); ++i) {
            out += i == 0 ? "\n    { " : ",\n    { ";
            bool first = true;
            modeFields(modes[i], [&](const char* field, qint16 value) {
                out += QByteArray(first ? "" : ", ") + '"' + field + "\": " + QByteArray::number(value);
                first = false;
            });
            out += " }";
        }
        out += "\n  ]\n}\n";
    }

private:
    bool firstItem_ = true;
    void beginItem(const char* name) {
        out += firstItem_ ? "  \"" : ",\n  \"";
        firstItem_ = false;
        out += QByteArray(name) + "\": ";
    }
};

// Takes the fields back from a parsed document, noting every problem.
class Reader {
public:
    QStringList problems;

    explicit Reader(const QJsonObject& top) : top_(top) {}

    template <class Fields> void record(const char* name, Fields&& fields) {
        const QJsonValue value = take(top_, QString::fromLatin1(name), QString());
        if (value.isUndefined())
            return;
        if (!value.isObject()) {
            problem(QString::fromLatin1(name), QStringLiteral("must be an object of fields"));
            return;
        }
        QJsonObject object = value.toObject();
        const QString prefix = QString::fromLatin1(name) + u'.';
        fields([&](const char* field, auto& target) {
            const QString fieldName = QString::fromLatin1(field);
            const QJsonValue v = take(object, fieldName, prefix);
            if (!v.isUndefined())
                convert(prefix + fieldName, v, target);
        });
        unknownKeys(object, prefix);
    }
    void colours(const char* name, std::array<quint32, 17>& colours) {
        const QJsonArray array = takeArray(name, int(colours.size()));
        for (qsizetype i = 0; i < array.size(); ++i)
            convert(QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i), array[i], colours[size_t(i)]);
    }
    void count(const char* name, qint16& value) {
        const QJsonValue v = take(top_, QString::fromLatin1(name), QString());
        if (v.isUndefined())
            return;
        convert(QString::fromLatin1(name), v, value);
        if (value != 50)
            problem(QString::fromLatin1(name), QStringLiteral("must be 50, the number of fare digits"));
        value = 50;
    }
    void modes(const char* name, std::array<DegitModeRec, 50>& modes) {
        const QJsonArray array = takeArray(name, int(modes.size()));
        for (qsizetype i = 0; i < array.size(); ++i) {
            const QString where = QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i);
            if (!array[i].isObject()) {
                problem(where, QStringLiteral("must be an object of fields"));
                continue;
            }
            QJsonObject object = array[i].toObject();
            modeFields(modes[size_t(i)], [&](const char* field, qint16& target) {
                const QJsonValue v = take(object, QString::fromLatin1(field), where + u'.');
                if (!v.isUndefined())
                    convert(where + u'.' + QLatin1String(field), v, target);
            });
            unknownKeys(object, where + u'.');
        }
    }
    void finish() { unknownKeys(top_, QString()); }

private:
    QJsonObject top_;

    void problem(const QString& where, const QString& what) { problems << where + QStringLiteral(": ") + what; }

    // Removes and returns object[key]; notes a problem when it is missing.
    QJsonValue take(QJsonObject& object, const QString& key, const QString& prefix) {
        const auto it = object.constFind(key);
        if (it == object.constEnd()) {
            problem(prefix + key, QStringLiteral("missing"));
            return QJsonValue(QJsonValue::Undefined);
        }
        QJsonValue value = *it;
        object.remove(key);
        return value;
    }

    QJsonArray takeArray(const char* name, int size) {
        const QString key = QString::fromLatin1(name);
        const QJsonValue value = take(top_, key, QString());
        if (value.isUndefined())
            return {};
        if (!value.isArray() || value.toArray().size() != size) {
            problem(key, QStringLiteral("must be a list of %1 entries").arg(size));
            return {};
        }
        return value.toArray();
    }

    // Whatever is left in an object after its fields were taken.
    void unknownKeys(const QJsonObject& object, const QString& prefix) {
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            problem(prefix + it.key(), QStringLiteral("unknown name"));
    }

    template <class Int> void convert(const QString& where, const QJsonValue& v, Int& target) {
        static_assert(std::is_same_v<Int, qint16> || std::is_same_v<Int, qint32>);
        const double d = v.toDouble();
        if (!v.isDouble() || std::floor(d) != d || d < double(std::numeric_limits<Int>::min()) ||
            d > double(std::numeric_limits<Int>::max())) {
            problem(where, QStringLiteral("must be a whole number from %1 to %2")
                               .arg(std::numeric_limits<Int>::min())
                               .arg(std::numeric_limits<Int>::max()));
            return;
        }
        target = Int(d);
    }
    void convert(const QString& where, const QJsonValue& v, quint32& target) {
        bool ok = false;
        quint32 colour = 0;
        if (v.isString()) {
            const QString text = v.toString();
            if (text.startsWith(QStringLiteral("0x")) && text.size() > 2 && text.size() <= 10)
                colour = text.mid(2).toUInt(&ok, 16);
        } else if (v.isDouble()) {
            const double d = v.toDouble();
            ok = std::floor(d) == d && d >= 0 && d <= double(std::numeric_limits<quint32>::max());
            colour = ok ? quint32(d) : 0;
        }
        if (!ok) {
            problem(where, QStringLiteral("must be a colour \"0x00BBGGRR\""));
            return;
        }
        target = colour;
    }
    void convert(const QString& where, const QJsonValue& v, QString& target) {
        if (!v.isString()) {
            problem(where, QStringLiteral("must be a text"));
            return;
        }
        const QString text = v.toString();
        if (const QStringList bad = core::sjis::unencodable(text); !bad.isEmpty()) {
            problem(where, QStringLiteral("Shift-JIS has no %1").arg(bad.join(u' ')));
            return;
        }
        if (core::sjis::encode(text).size() > kMaxTextBytes) {
            problem(where, QStringLiteral("longer than %1 Shift-JIS bytes").arg(kMaxTextBytes));
            return;
        }
        target = text;
    }
};

// Collects the dotted field names.
class Namer {
public:
    QStringList names;

    template <class Fields> void record(const char* name, Fields&& fields) {
        fields([&](const char* field, const auto&) { names << QLatin1String(name) + u'.' + QLatin1String(field); });
    }
    void colours(const char* name, const std::array<quint32, 17>& colours) {
        for (size_t i = 0; i < colours.size(); ++i)
            names << QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i);
    }
    void count(const char* name, qint16) { names << QLatin1String(name); }
    void modes(const char* name, const std::array<DegitModeRec, 50>& modes) {
        for (size_t i = 0; i < modes.size(); ++i)
            modeFields(modes[i], [&](const char* field, qint16) {
                names << QStringLiteral("%1[%2].%3").arg(QLatin1String(name)).arg(i).arg(QLatin1String(field));
            });
    }
};

// "line L, near column C" of a byte offset into the text: the parser's
// offset lies on or just after the character it stumbled over.
QString position(QByteArrayView json, qsizetype offset) {
    offset = qBound(qsizetype(0), offset, json.size());
    const QByteArrayView before = json.first(offset);
    const qsizetype line = before.count('\n') + 1;
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return QStringLiteral("line %1, near column %2").arg(line).arg(offset - lineStart + 1);
}

} // namespace

QByteArray write(const SettingsRecord& record) {
    Writer writer;
    records(writer, record);
    return writer.out;
}

ReadResult read(QByteArrayView json) {
    ReadResult result;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError) {
        result.problems << position(json, error.offset) + QStringLiteral(": ") + error.errorString();
        return result;
    }
    if (!doc.isObject()) {
        result.problems << QStringLiteral("the text must be one JSON object holding the records");
        return result;
    }
    Reader reader(doc.object());
    records(reader, result.record);
    reader.finish();
    result.problems = reader.problems;
    return result;
}

QStringList fieldNames() {
    Namer namer;
    const SettingsRecord record;
    records(namer, record);
    return namer.names;
}

} // namespace SettingsJson
