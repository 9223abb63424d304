#pragma once
// Shared by the control-panel tests: fare files built byte by byte, the
// three windows wired as at start-up over the platform doubles, a data
// folder, and readers for what the board shows and which sounds played.
#include "board/chimei/ChimeiCtl_A.h"
#include "board/degit/M_Degit.h"
#include "core/ShiftJis.h"
#include "sound/mdlM_Tape.h"
#include "tests/support/K27Windows.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

namespace hy3 {

// A signed 16-bit value, little-endian.
inline QByteArray le16(int v) {
    char b[2];
    qToLittleEndian<qint16>(qint16(v), b);
    return QByteArray(b, 2);
}

// One stop record: L (name bytes), the Shift-JIS name, SeiriNum, then the
// 150 data columns; the columns given come first, the rest are 0.
inline QByteArray record(const QString& name, int seiriNum, const QList<int>& columns) {
    const QByteArray sjis = core::sjis::encode(name);
    QByteArray r = le16(int(sjis.size())) + sjis + le16(seiriNum);
    for (int c = 0; c < 150; ++c)
        r += le16(c < columns.size() ? columns[c] : 0);
    return r;
}

// A fare file: N, then the records as given (which need not be N of them).
inline QByteArray file(int n, const QList<QByteArray>& records) {
    QByteArray f = le16(n);
    for (const QByteArray& r : records)
        f += r;
    return f;
}

// Stop s of a plain test route: name "停留所s", ticket number s, fare
// 100 * s + column in column 1..50, stepping column 51 holding s % 4.
inline QByteArray plainStop(int s) {
    QList<int> cols;
    for (int c = 1; c <= 50; ++c)
        cols << 100 * s + c;
    cols << s % 4;
    return record(QStringLiteral("停留所%1").arg(s), s, cols);
}

// A route of count plain stops, stating count as its N.
inline QByteArray plainRoute(int count) {
    QList<QByteArray> records;
    for (int s = 1; s <= count; ++s)
        records << plainStop(s);
    return file(count, records);
}

} // namespace hy3

// The windows over the doubles, with the fare and broadcast folders set to a
// fresh temporary folder.
struct PanelFixture {
    PlatformDoubles d;
    QTemporaryDir dir;
    K27Windows w;

    PanelFixture() {
        mdlM_Tape::setSoundSettings(&w.options);
        w.options.Text2[0]->setText(dir.path());
        w.options.Text2[1]->setText(dir.path());
    }
    ~PanelFixture() { mdlM_Tape::reset(); }
    PanelFixture(const PanelFixture&) = delete;
    PanelFixture& operator=(const PanelFixture&) = delete;

    frmCtl& panel() { return w.panel; }
    const FareData& fare() { return w.panel.fareData(); }

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qWarning("cannot write %s", qPrintable(path));
        return path;
    }
    // A sound file for slot (it only has to exist), named after the slot.
    void giveSound(int slot) {
        w.options.txtSelectSound[size_t(slot)]->setText(
            write(QStringLiteral("slot%1.wav").arg(slot), QByteArrayLiteral("RIFF")));
    }
    void giveAllSounds() {
        for (int slot : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10})
            giveSound(slot);
    }

    // Enters route and section on the keypad and presses its "リセット".
    void keypadReset(const QString& route, const QString& section) {
        press(10);
        for (QChar c : route)
            press(c.digitValue());
        press(11);
        for (QChar c : section)
            press(c.digitValue());
        QTest::mouseClick(w.panel.Command1[1], Qt::LeftButton);
    }
    void press(int key) { QTest::mouseClick(w.panel.CommandButton1[size_t(key)], Qt::LeftButton); }
    void stepForward() { QTest::mouseClick(w.panel.Command2[1], Qt::LeftButton); }
    void stepBack() { QTest::mouseClick(w.panel.Command2[0], Qt::LeftButton); }

    // Sounds played since the last clear, as "slotN@S1" (" wait" appended
    // when the player waited for the end).
    QStringList played() const {
        QStringList out;
        QHash<QString, QString> fileOfAlias;
        for (const QString& c : d.multimedia.commands) {
            if (c.startsWith(QLatin1String("open \""))) {
                const int end = c.indexOf(u'"', 6);
                const QString file = QFileInfo(c.mid(6, end - 6)).completeBaseName();
                fileOfAlias[c.section(u' ', -2, -2)] = file;
            } else if (c.startsWith(QLatin1String("play "))) {
                const QString alias = c.section(u' ', 1, 1);
                out << fileOfAlias.value(alias) + u'@' + alias.right(2) +
                           (c.endsWith(QLatin1String(" wait")) ? QStringLiteral(" wait") : QString());
            }
        }
        return out;
    }
    void clearLogs() {
        d.multimedia.commands.clear();
        d.messages.shown.clear();
        d.helper.calls.clear();
        d.clock.sleeps.clear();
    }

    // What the board shows.
    QVariant value(int n) { return w.board.Degit[size_t(n)]->Value(); }
    int fare(int n) { return value(n).toInt(); }
    QString stopName() { return w.board.ChimeiCtl->text(); }
    // Operator messages shown, as their texts.
    QStringList messages() const {
        QStringList out;
        for (const auto& m : d.messages.shown)
            out << m.prompt;
        return out;
    }
};
