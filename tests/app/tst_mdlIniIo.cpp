// Saving the three windows' settings and applying them back: a round trip
// with every setting changed, files cut short, values the controls refuse,
// and a folder that cannot be written or a disk that is full.
#include "app/mdlIniIo.h"
#include "board/chimei/ChimeiCtl_A.h"
#include "board/degit/M_Degit.h"
#include "core/Twips.h"
#include "options/OptionWidgets.h"
#include "tests/support/K27Windows.h"
#include "tests/support/PrivateMount.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace mdlIniIo;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QString saveBmp(const QTemporaryDir& dir, const QString& name, const QColor& colour) {
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    image.save(path, "BMP");
    return path;
}

// Changes every setting of the three windows away from what they start
// with, the way a user's clicks leave them: controls set one by one, not
// through the windows' own record copy.
void changeEverySetting(K27Windows& w, const QTemporaryDir& dir) {
    frmOption& o = w.options;
    // Page "運賃データと放送用データ".
    o.Text2[0]->setText(QStringLiteral("/データ/運賃"));
    o.Text2[1]->setText(QStringLiteral("/データ/放送"));
    // Page "パネルと整理券番号表示".
    o.Check1->setChecked(false);
    o.Command5[0]->setBackColor(0x00102030);
    o.Command5[1]->setBackColor(0x00405060);
    o.Command5[2]->setBackColor(0x00708090);
    o.Combo2->setCurrentIndex(5);
    o.Check2->setChecked(true);
    for (int k : {1, 6, 2, 5})
        o.Option3[size_t(k)]->setChecked(true);
    o.txtSelectPanel[0]->setText(saveBmp(dir, QStringLiteral("消灯.bmp"), Qt::darkGray));
    o.txtSelectPanel[1]->setText(saveBmp(dir, QStringLiteral("on1.bmp"), Qt::white));
    o.txtSelectPanel[2]->setText(saveBmp(dir, QStringLiteral("on2.bmp"), Qt::yellow));
    // Page "デジタル部品と情報用数字".
    o.Command8[0]->setBackColor(0x00010203);
    o.Command8[1]->setBackColor(0x00040506);
    o.Command8[2]->setBackColor(0x00070809);
    for (QCheckBox* c : o.Check3)
        c->setChecked(true);
    const int koma[5] = {3, 7, 11, 20, 140};
    for (size_t k = 0; k < 5; ++k)
        o.Combo4[k]->setCurrentIndex(koma[k]);
    // Page "停名の設定".
    o.Command9[0]->setBackColor(0x00A0B0C0);
    o.Command9[1]->setBackColor(0x00D0E0F0);
    o.Combo3->setCurrentIndex(2);
    o.Check4->setChecked(true);
    // Page "サウンド".
    for (int slot : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10})
        o.txtSelectSound[size_t(slot)]->setText(QStringLiteral("/音/%1.wav").arg(slot));
    for (QRadioButton* b : {o.Option6[0], o.Option2[1], o.Option7[1], o.Option2[3]})
        b->setChecked(true);
    o.Combo1->setCurrentIndex(99);
    // Page "整理券プレビュー".
    o.chkUseSeiriPrev->setChecked(true);
    o.txtSeiriPlgDir->setText(QStringLiteral("/plug/券.4SP"));
    o.Option4[2]->setChecked(true);
    o.Label10->setText(QStringLiteral("2024/02/29"));
    // The colour dialog's custom colours.
    for (size_t i = 0; i < o.CustColors.size(); ++i)
        o.CustColors[i] = quint32(0x00111111 * (i + 1) % 0x01000000);

    // The control panel: both bars, the list panel in front, late-night
    // fares, the preview folded out, and a new place.
    frmCtl& p = w.panel;
    p.HScroll1[0]->setValue(1234);
    p.HScroll1[1]->setValue(2345);
    QTest::mouseDClick(p.Frame1[1], Qt::LeftButton, {}, QPoint(4, 4));
    p.Check2->setChecked(true);
    p.Check4->click();
    p.move(123, 77);

    // The board: a new place and modes of every fare digit.
    w.board.move(41, 9);
    for (int i = 1; i <= 50; ++i) {
        M_Degit* d = w.board.Degit[size_t(i)];
        d->setZeroMode(qint16(i % 4));
        d->setShift(qint16((i / 4) % 4));
        d->setFillZero(qint16(i % 5));
    }
}

// What SaveIni did in a child process: whether it reported success, the
// message it showed, and the settings file as the child saw it afterwards.
struct ChildSave {
    int status = -1; // exit status; testsupport::kNoPrivateMount when prepare could not
    bool saved = false;
    QString message;
    QByteArray fileAfter;
};

// Runs SaveIni in a forked child after prepare() (which returns false when
// the child cannot be set up), so that it may give up rights or see a file
// system of its own. The child reports back through a pipe.
template <class Prepare>
ChildSave saveInChild(K27Windows& w, PlatformDoubles& doubles, const QString& path, Prepare prepare) {
    ChildSave result;
    int fds[2];
    if (::pipe(fds) != 0)
        return result;
    const pid_t pid = fork();
    if (pid == 0) {
        ::close(fds[0]);
        if (!prepare())
            _exit(testsupport::kNoPrivateMount);
        const bool saved = SaveIni(w.board, w.options, w.panel, path);
        const QByteArray seen =
            doubles.messages.shown.isEmpty() ? QByteArray() : doubles.messages.shown.first().prompt.toUtf8();
        const QByteArray after = fileBytes(path);
        // message length, message, file
        const QByteArray report = QByteArray::number(seen.size()) + '\n' + seen + after;
        (void)!::write(fds[1], report.constData(), size_t(report.size()));
        _exit(saved ? 1 : 0);
    }
    ::close(fds[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.saved = result.status == 1;
    const qsizetype newline = report.indexOf('\n');
    const int length = report.left(newline).toInt();
    result.message = QString::fromUtf8(report.mid(newline + 1, length));
    result.fileAfter = report.mid(newline + 1 + length);
    return result;
}

void showBoth(K27Windows& w) {
    w.board.show();
    w.panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.panel));
}

} // namespace

class tst_mdlIniIo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everySettingComesBackAfterANewStart();
    void fileCutAtEveryLength();
    void readOnlyFolderShowsTheSaveMessageAndKeepsTheOldFile();
    void fullDiskShowsTheSaveMessageAndKeepsTheOldFile();
};

void tst_mdlIniIo::everySettingComesBackAfterANewStart() {
    PlatformDoubles doubles;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K27.in4"));

    SettingsRecord defaults;
    SettingsRecord saved;
    {
        K27Windows w;
        showBoth(w);
        defaults = collectSettings(w.board, w.options, w.panel);
        changeEverySetting(w, dir);
        saved = collectSettings(w.board, w.options, w.panel);
        QVERIFY(SaveIni(w.board, w.options, w.panel, path));
    }
    QVERIFY2(doubles.messages.shown.isEmpty(), "Saving and the changes themselves must not show a message.");

    // Every part of the record really moved away from where it started.
    QVERIFY(saved.Options.Folder != defaults.Options.Folder && saved.Options.Panel != defaults.Options.Panel &&
            saved.Options.Degit != defaults.Options.Degit && saved.Options.Chimei != defaults.Options.Chimei &&
            saved.Options.Sound != defaults.Options.Sound && saved.Options.Preview != defaults.Options.Preview);
    QCOMPARE(saved.CtlPanel, (CtlPanelRec{1, 1234, 2345, 1, 1, 123 * 15, 77 * 15}));
    QCOMPARE(saved.BoardPos, (BoardPosRec{41 * 15, 9 * 15}));
    QVERIFY(saved.CustColors != defaults.CustColors && saved.DegitModes != defaults.DegitModes);

    // What is on disk is the record, whole.
    const DecodedSettings onDisk = decodeSettings(fileBytes(path));
    QVERIFY(onDisk.complete);
    QCOMPARE(onDisk.bytesUsed, QFile(path).size());
    QVERIFY(onDisk.record == saved);

    // A new start, with fares on the board that the load must blank.
    K27Windows fresh;
    showBoth(fresh);
    for (int i = 1; i <= 50; ++i)
        fresh.board.Degit[size_t(i)]->setValue(i * 10);
    QVERIFY(LoadIni(fresh.board, fresh.options, fresh.panel, path));
    QVERIFY2(doubles.messages.shown.isEmpty(), "A file this program wrote must load without a message.");
    QVERIFY(collectSettings(fresh.board, fresh.options, fresh.panel) == saved);

    // What the user sees follows the controls: the list panel in front,
    // the preview open, the scroll values on the stop-name display.
    QVERIFY(fresh.panel.Frame1[0]->isVisible() && !fresh.panel.Frame1[1]->isVisible());
    QCOMPARE(fresh.panel.Check4->text(), QStringLiteral("<<"));
    QCOMPARE(fresh.panel.width(), core::twipsToPixels(frmCtl::kFoldedOutTwips));
    QCOMPARE(fresh.board.ChimeiCtl->Speed(), qint16(1234));
    QCOMPARE(fresh.board.ChimeiCtl->ScrollStartWait(), 2345);
    QCOMPARE(fresh.panel.Label1[0]->text(), QStringLiteral("1234"));
    // SetProp ran: the ticket numbers are hidden as "Check1" now says.
    QVERIFY(fresh.board.lblSeiriNum[1]->isHidden());
    // Every fare digit blank and in the digit colours; the clock and the
    // stop-name display in theirs.
    for (int i = 1; i <= 50; ++i) {
        const M_Degit* d = fresh.board.Degit[size_t(i)];
        QVERIFY2(d->Value() == QVariant(QStringLiteral(" ")), qPrintable(d->objectName() + " is not blank"));
        QCOMPARE(d->BackColor(), 0x00010203u);
        QCOMPARE(d->BaseForeColor(), 0x00040506u);
        QCOMPARE(d->DegitForeColor(), 0x00070809u);
    }
    QCOMPARE(fresh.board.TimeDegit[1]->DegitForeColor(), 0x00070809u);
    QCOMPARE(fresh.board.ChimeiCtl->ForeColor(), 0x00D0E0F0u);
}

// A file cut anywhere reads zeros and empty texts for what is missing. The
// first value a control refuses is the zero speed. So a cut before the
// speed's end applies the options and the panel's place (the panel takes
// its place before its bars) and stops there with the message: the bars,
// the board's place and the options' look on the board (SetProp) stay as
// they were. A cut after it applies everything without a message.
void tst_mdlIniIo::fileCutAtEveryLength() {
    PlatformDoubles doubles;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K27.in4"));

    K27Windows w;
    changeEverySetting(w, dir);
    const SettingsRecord full = collectSettings(w.board, w.options, w.panel);
    const QByteArray bytes = encodeSettings(full);
    // Where the speed ends: the fixed tail after it is 16 bytes of the panel
    // record (wait, late night, fold-out, place), 8 of the board, 68 of
    // colours, 2 of count and 300 of modes.
    const qsizetype speedEnd = bytes.size() - (16 + 8 + 68 + 2 + 300);

    // A different, valid state to start each cut from, so that whatever
    // the cut file applies shows.
    SettingsRecord start = full;
    start.Options.Folder.FareDataDir = QStringLiteral("/start");
    start.Options.Panel.AutoSeiriNum = 1;
    start.CtlPanel = {0, 500, 600, 0, 0, 15 * 60, 15 * 70};
    start.BoardPos = {15 * 5, 15 * 6};

    for (qsizetype length = 0; length < bytes.size(); ++length) {
        applySettings(w.board, w.options, w.panel, start);
        doubles.messages.shown.clear();
        writeBytes(path, bytes.left(length));
        const SettingsRecord expected = decodeSettings(bytes.left(length)).record;

        const bool whole = LoadIni(w.board, w.options, w.panel, path);
        const SettingsRecord after = collectSettings(w.board, w.options, w.panel);
        const QByteArray where = "cut after " + QByteArray::number(length) + " bytes";
        QVERIFY2(after.Options == expected.Options, where.constData());
        QVERIFY2(after.CustColors == expected.CustColors, where.constData());
        if (length < speedEnd) {
            QVERIFY2(!whole, where.constData());
            // An OK box titled with the program's base name.
            QVERIFY2(doubles.messages.shown.size() == 1 &&
                         doubles.messages.shown.first().title == QStringLiteral("app_tst_mdlIniIo") &&
                         doubles.messages.shown.first().buttons == platform::MsgButtons::Ok,
                     where.constData());
            QVERIFY2(doubles.messages.shown.first().prompt ==
                         QStringLiteral("エラー Code:380\r\n内容:プロパティの値が不正です。\r\n"
                                        "モジュール:mdlIniIo.LoadIni()"),
                     where.constData());
            QVERIFY2(after.CtlPanel.CtlLeft == expected.CtlPanel.CtlLeft, where.constData());
            QVERIFY2(after.CtlPanel.ScrollSpeed == 500 && after.CtlPanel.ScrollWait == 600, where.constData());
            QVERIFY2(after.BoardPos == start.BoardPos, where.constData());
            QVERIFY2(!w.board.lblSeiriNum[1]->isHidden(), where.constData());
        } else {
            QVERIFY2(whole && doubles.messages.shown.isEmpty(), where.constData());
            QVERIFY2(after == expected, where.constData());
        }
    }
}

void tst_mdlIniIo::readOnlyFolderShowsTheSaveMessageAndKeepsTheOldFile() {
    PlatformDoubles doubles;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/K27.in4");
    const QByteArray old(600, 'o');
    writeBytes(path, old);
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);

    K27Windows w;
    w.panel.HScroll1[0]->setValue(700);
    // Permissions do not bind the super-user: the save runs in a child as an
    // ordinary user.
    const ChildSave child = saveInChild(
        w, doubles, path, [] { return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0); });
    ::chmod(QFile::encodeName(folder).constData(), 0755);

    QVERIFY2(child.status == 0, "SaveIni must report the failure.");
    QCOMPARE(child.message, QStringLiteral("エラー Code:70\r\n内容:書き込みできません。"));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("K27.in4")});
}

// The settings folder on a disk with no room left: the exit shows the
// message, and the settings saved at the last exit are still there, whole.
void tst_mdlIniIo::fullDiskShowsTheSaveMessageAndKeepsTheOldFile() {
    PlatformDoubles doubles;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("K27.in4"));
    K27Windows w;
    SettingsRecord earlier = collectSettings(w.board, w.options, w.panel);
    earlier.Options.Folder.FareDataDir = QStringLiteral("/前回の運賃");
    const QByteArray old = encodeSettings(earlier);
    w.panel.HScroll1[0]->setValue(700);

    // The tiny disk exists in the child's mount namespace alone.
    const ChildSave child = saveInChild(w, doubles, path, [&] {
        if (!testsupport::mountPrivateTmpfs(dir.path(), "size=16k,nr_inodes=64,mode=0755"))
            return false;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(old) != old.size())
            return false;
        f.close();
        testsupport::fillUp(dir.path());
        return true;
    });
    if (child.status == testsupport::kNoPrivateMount)
        QSKIP("No private mount namespace can be made here.");
    QVERIFY2(child.status == 0, "SaveIni must report the failure.");
    QCOMPARE(child.message, QStringLiteral("エラー Code:61\r\n内容:ディスクの空き容量が不足しています。"));
    QCOMPARE(child.fileAfter, old);
}

QTEST_MAIN(tst_mdlIniIo)
#include "tst_mdlIniIo.moc"
