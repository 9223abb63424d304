#include "platform/Fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QVariant>
#include <QWidget>

#include <fontconfig/fontconfig.h>

#include <cmath>
#include <mutex>

namespace platform {

namespace {
constexpr char kFaceNameProperty[] = "faceName";
} // namespace

void installFontSubstitutions() {
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitutions(kFaceGothic, QStringList{QStringLiteral("IPAGothic")});
        QFont::insertSubstitutions(kFaceMincho, QStringList{QStringLiteral("IPAMincho")});
        QFont::insertSubstitutions(kFacePGothic, QStringList{QStringLiteral("IPAPGothic")});
        QFont::insertSubstitutions(kFaceTicketNumber,
                                   QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    });
}

QString installedFace(const QString& face) {
    installFontSubstitutions();
    // The installed families by their names in lower case (Qt matches
    // family names regardless of case and keeps substitutes in lower case);
    // a name shared by two foundries is listed as "Name [foundry]".
    static const QHash<QString, QString> installed = [] {
        QHash<QString, QString> names;
        for (QString family : QFontDatabase::families()) {
            const qsizetype foundry = family.indexOf(QLatin1String(" ["));
            if (foundry > 0 && family.endsWith(QLatin1Char(']')))
                family.truncate(foundry);
            names.insert(family.toLower(), family);
        }
        return names;
    }();
    if (installed.contains(face.toLower()))
        return face;
    const QStringList standIns = QFont::substitutes(face);
    for (const QString& s : standIns) {
        const auto found = installed.constFind(s.toLower());
        if (found != installed.constEnd())
            return *found;
    }
    return face;
}

QFont faceFont(const QString& face, qreal points, bool bold) {
    QFont f(installedFace(face));
    f.setPixelSize(std::max(1, int(std::lround(points * 96.0 / 72.0))));
    f.setBold(bold);
    return f;
}

void setFace(QWidget& widget, const QString& face) {
    QFont f = widget.font();
    f.setFamily(installedFace(face));
    widget.setFont(f);
    widget.setProperty(kFaceNameProperty, face);
}

QString faceName(const QWidget& widget) {
    const QVariant name = widget.property(kFaceNameProperty);
    return name.isValid() ? name.toString() : widget.font().family();
}

void useFaceFont(QWidget& widget, const QString& face, qreal points, bool bold) {
    widget.setFont(faceFont(face, points, bold));
    widget.setProperty(kFaceNameProperty, face);
}

void installApplicationFont() {
    QApplication::setFont(faceFont(kFacePGothic, 9));
}

FontConfigPreload::FontConfigPreload() : thread_([] { FcInit(); }) {}

FontConfigPreload::~FontConfigPreload() {
    wait();
}

void FontConfigPreload::wait() {
    if (thread_.joinable())
        thread_.join();
}

} // namespace platform
