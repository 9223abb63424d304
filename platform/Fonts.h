#pragma once
// Faces the program names by their Windows names. Each name is kept on the
// QFont (so code and tests see the face that was asked for) and fontconfig is
// told which installed face stands in for it.
#include <QFont>
#include <QString>
#include <QStringList>

namespace platform {

inline const QString kFaceGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kFaceMincho = QStringLiteral("ＭＳ 明朝");
inline const QString kFacePGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kFaceTicketNumber = QStringLiteral("タヴリン数字平体");

// Registers the stand-ins once per process (IPAGothic for ＭＳ ゴシック and so
// on; a bold Gothic for the ticket-number face).
void installFontSubstitutions();

// A font by face name and size in points at the design resolution (96 dpi),
// with the pixel size fixed so that drawing does not depend on the screen.
QFont faceFont(const QString& face, qreal points, bool bold = false);

} // namespace platform
