#include "platform/Fonts.h"

#include <cmath>
#include <mutex>

namespace platform {

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

QFont faceFont(const QString& face, qreal points, bool bold) {
    installFontSubstitutions();
    QFont f(face);
    f.setPixelSize(std::max(1, int(std::lround(points * 96.0 / 72.0))));
    f.setBold(bold);
    return f;
}

} // namespace platform
