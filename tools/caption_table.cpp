// Prints the control panel's visible captions as K27 lays them out at its
// first start, one C++ table row each, in the form bench/two_text_windows.cpp
// keeps them: place in the window, resolved face, pixel size, weight, text.
//   caption_table > rows.txt
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "platform/Fonts.h"
#include "tools/StartedWindows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <cstdio>

namespace {

QString caption(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentText();
    return {};
}

// The text as the body of a C++ string literal.
QString cLiteral(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('"'), QLatin1String("\\\""));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::installApplicationFont();
    StartedWindows windows;
    const frmCtl& panel = windows.panel;
    for (const QWidget* w : panel.findChildren<QWidget*>()) {
        const QString text = caption(w);
        if (text.isEmpty() || !w->isVisibleTo(&panel))
            continue;
        const QRect r(w->mapTo(&panel, QPoint(0, 0)), w->size());
        const QFontInfo face(w->font());
        std::printf("    {QRect(%d, %d, %d, %d), \"%s\", %d, %s, u\"%s\"},\n", r.x(), r.y(), r.width(), r.height(),
                    qPrintable(face.family()), face.pixelSize(), face.bold() ? "true" : "false",
                    qPrintable(cLiteral(text)));
    }
    return 0;
}
