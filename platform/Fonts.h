#pragma once
// Faces the program names by their Windows names. Where such a face is not
// installed, the font is made with the installed face that stands in for it
// (IPAGothic for ＭＳ ゴシック and so on), so that Qt finds it at once instead
// of searching fallbacks for a family it does not have. A widget that was
// given a face by name keeps that name (faceName) for code and tests.
#include <QFont>
#include <QString>
#include <QStringList>

#include <thread>

class QWidget;

namespace platform {

inline const QString kFaceGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kFaceMincho = QStringLiteral("ＭＳ 明朝");
inline const QString kFacePGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kFaceTicketNumber = QStringLiteral("タヴリン数字平体");

// Registers the stand-ins once per process (IPAGothic for ＭＳ ゴシック and so
// on; a bold Gothic for the ticket-number face).
void installFontSubstitutions();

// The face itself when it is installed, else the first installed face that
// stands in for it, else the name unchanged. Needs a QGuiApplication; the
// installed faces are read once per process.
QString installedFace(const QString& face);

// A font by face name and size in points at the design resolution (96 dpi),
// with the pixel size fixed so that drawing does not depend on the screen.
QFont faceFont(const QString& face, qreal points, bool bold = false);

// Gives the widget the face by name (the installed face or its stand-in),
// keeping its size and weight, and records the name asked for.
void setFace(QWidget& widget, const QString& face);

// The face name a widget was given by useFaceFont or setFace; a widget never
// given one reports its font's family.
QString faceName(const QWidget& widget);

// Sets the widget's font to faceFont(face, points, bold) and records the name.
void useFaceFont(QWidget& widget, const QString& face, qreal points, bool bold = false);

// Makes ＭＳ Ｐゴシック at 9 points, the face of Japanese Windows dialogs,
// the application's default font. Every control without a font of its own
// then draws its Japanese and its Latin text in one installed face.
void installApplicationFont();

// Reads the font configuration (fontconfig's settings and its list of
// installed faces, several milliseconds) on a thread of its own. Made before
// the QApplication, it runs while Qt starts; wait() returns once it is done,
// and Qt then finds the configuration loaded when it first needs a font
// instead of reading it on the GUI thread. Qt reads it itself when nobody
// waits (fontconfig lets two threads load it at once), so a preload that is
// not waited for costs time, never correctness. The destructor waits.
class FontConfigPreload {
public:
    FontConfigPreload();
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    void wait();

private:
    std::thread thread_;
};

} // namespace platform
