// The backlight switch of the control panel: panel pictures behind the
// board and the colour of the ticket numbers, with the picture errors.
#include "board/Backlight.h"
#include "board/PanelPicture.h"
#include "core/RuntimeError.h"
#include "options/OptionWidgets.h"
#include "platform/ColorRef.h"
#include "tests/support/K27Windows.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QColor labelColour(const Form1& board, int n) {
    return board.lblSeiriNum[size_t(n)]->palette().color(QPalette::WindowText);
}

// JPEG is lossy: a colour within a few steps counts as the same.
bool near(const QColor& a, const QColor& b) {
    return qAbs(a.red() - b.red()) <= 4 && qAbs(a.green() - b.green()) <= 4 && qAbs(a.blue() - b.blue()) <= 4;
}

bool sameAsBuiltIn(const Form1& board) {
    return board.Picture().toImage() == board.imgRes[0]->pixmap().toImage();
}

QString solidPicture(const QTemporaryDir& dir, const char* name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!image.save(path))
        qWarning("could not write %s", name);
    return path;
}

// Sets state index (0 OFF, 1 ON1, 2 ON2) to use a user picture file.
void useUserPicture(frmOption& o, int index, const QString& path) {
    static constexpr int kUser[3] = {6, 2, 5};
    o.Option3[1]->click();
    o.Option3[size_t(kUser[index])]->click();
    o.txtSelectPanel[size_t(index)]->setText(path);
}

} // namespace

class tst_Backlight : public testsupport::DoublesFixture {
    Q_OBJECT

private Q_SLOTS:
    void builtInPicturesChangeOnlyTheColour();
    void deletedUserFileKeepsThePicture();
    void brokenPictureIsReportedAndColoursStillChange();
    void largerPictureIsCutSmallerSitsTopLeft();
    void automaticAssignmentIgnoresUserFiles();
    void okRedrawsThePanelAtOnce();
    void errorTexts();
};

void tst_Backlight::builtInPicturesChangeOnlyTheColour() {
    K27Windows w;
    w.options.Command5[2]->setBackColor(0x00FF0000); // blue for ON2
    const QList<QColor> expected = {QColor(0, 192, 0), QColor(0, 0, 255), QColor(0, 128, 0)};
    const QList<int> order = {1, 2, 0};
    for (int i = 0; i < order.size(); ++i) {
        w.panel.Option4[size_t(order[i])]->click();
        QVERIFY(sameAsBuiltIn(w.board));
        QCOMPARE(w.board.Picture().size(), QSize(PanelPicture::kWidth, PanelPicture::kHeight));
        QCOMPARE(labelColour(w.board, 1), expected[i]);
        QCOMPARE(labelColour(w.board, 50), expected[i]);
    }
    // The hidden spare label is not one of the fifty.
    QCOMPARE(labelColour(w.board, 0), QColor(0, 128, 0));
    QVERIFY(d_->messages.shown.isEmpty());
}

void tst_Backlight::deletedUserFileKeepsThePicture() {
    K27Windows w;
    QTemporaryDir dir;
    const QString path = solidPicture(dir, "on1.bmp", {50, 50}, Qt::red);
    useUserPicture(w.options, 1, path);
    w.panel.Option4[1]->click();
    QCOMPARE(w.board.Picture().size(), QSize(50, 50));

    QFile::remove(path);
    w.panel.Option4[0]->click();
    w.panel.Option4[1]->click();
    // OFF put the built-in picture back; ON1's missing file leaves it there.
    QVERIFY(sameAsBuiltIn(w.board));
    QCOMPARE(labelColour(w.board, 7), QColor(0, 192, 0));
    QVERIFY(d_->messages.shown.isEmpty());
}

void tst_Backlight::brokenPictureIsReportedAndColoursStillChange() {
    K27Windows w;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.gif"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("this is not a picture at all");
    f.close();
    useUserPicture(w.options, 2, path);
    w.options.Command5[2]->setBackColor(0x000000FF);

    w.panel.Option4[2]->click();
    QCOMPARE(d_->messages.shown.size(), 1);
    const auto& box = d_->messages.shown[0];
    QCOMPARE(box.title, QStringLiteral("エラー"));
    QCOMPARE(box.icon, platform::MsgIcon::Critical);
    QCOMPARE(box.buttons, platform::MsgButtons::Ok);
    QCOMPARE(
        box.prompt,
        QStringLiteral("エラーです。\n\nエラーコード：481　指定した画像の内容が不正です。この部分では扱えません。"));
    QVERIFY(sameAsBuiltIn(w.board));
    QCOMPARE(labelColour(w.board, 25), QColor(255, 0, 0));
    QVERIFY(w.panel.Option4[2]->isChecked());
}

void tst_Backlight::largerPictureIsCutSmallerSitsTopLeft() {
    K27Windows w;
    QTemporaryDir dir;
    const QString large = solidPicture(dir, "large.bmp", {900, 400}, QColor(200, 0, 0));
    const QString small = solidPicture(dir, "small.jpg", {40, 30}, QColor(0, 0, 200));
    const QSize boardSize = w.board.size();

    useUserPicture(w.options, 1, large);
    w.panel.Option4[1]->click();
    QCOMPARE(w.board.size(), boardSize);
    QImage shot = w.board.grab().toImage();
    QCOMPARE(shot.size() / shot.devicePixelRatio(), boardSize);
    // The bottom-right corner of the window shows the picture, cut there.
    QCOMPARE(testsupport::pixel(shot, shot.width() - 1, shot.height() - 1), QColor(200, 0, 0));

    useUserPicture(w.options, 0, small);
    w.panel.Option4[0]->click();
    QCOMPARE(w.board.size(), boardSize);
    shot = w.board.grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    QVERIFY(near(testsupport::pixel(shot, int(5 * dpr), int(5 * dpr)), QColor(0, 0, 200)));
    // Beyond the picture the window is grey (left margin, clear of digits).
    QCOMPARE(testsupport::pixel(shot, int(20 * dpr), int(150 * dpr)), QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(testsupport::pixel(shot, int(45 * dpr), int(5 * dpr)), QColor(0xC0, 0xC0, 0xC0));
    QVERIFY(d_->messages.shown.isEmpty());
}

void tst_Backlight::automaticAssignmentIgnoresUserFiles() {
    K27Windows w;
    QTemporaryDir dir;
    const QString path = solidPicture(dir, "off.bmp", {60, 60}, Qt::green);
    useUserPicture(w.options, 0, path);
    w.options.Option3[0]->click(); // back to automatic; the user choice stays
    QVERIFY(w.options.Option3[6]->isChecked());
    w.panel.Option4[1]->click();
    w.panel.Option4[0]->click();
    QVERIFY(sameAsBuiltIn(w.board));
}

void tst_Backlight::okRedrawsThePanelAtOnce() {
    K27Windows w;
    QTemporaryDir dir;
    w.panel.Option4[2]->click();
    useUserPicture(w.options, 2, solidPicture(dir, "on2.bmp", {70, 20}, Qt::yellow));
    QVERIFY(sameAsBuiltIn(w.board)); // nothing happens before "OK"
    w.options.Command4->click();
    QCOMPARE(w.board.Picture().size(), QSize(70, 20));
    QVERIFY(w.panel.Option4[2]->isChecked());
}

void tst_Backlight::errorTexts() {
    const QString missing = QStringLiteral("　画像ファイルが見つからないか、指定している場所が不正です。");
    const QString internal =
        QStringLiteral("　内部的なエラーです。ミラドへ報告してください。エラー場所：frmCtl.Option4_Click()");
    const QString device = QStringLiteral("　デバイスエラーもしくは準備が出来ていません。");
    const QList<QPair<int, QString>> cases = {{7, internal}, {28, internal}, {51, internal},
                                              {53, missing}, {75, missing},  {76, missing},
                                              {57, device},  {68, device},   {5, QString()}};
    for (const auto& [code, explanation] : cases)
        QCOMPARE(Backlight::errorMessage(code),
                 QStringLiteral("エラーです。\n\nエラーコード：%1").arg(code) + explanation);

    // The loader's own failure numbers.
    QTemporaryDir dir;
    try {
        Backlight::loadPicture(dir.filePath(QStringLiteral("none.bmp")));
        QFAIL("A missing file must fail.");
    } catch (const core::RuntimeError& e) {
        QCOMPARE(e.number(), 53);
    }
    try {
        Backlight::loadPicture(dir.path());
        QFAIL("A folder is not a picture file.");
    } catch (const core::RuntimeError& e) {
        QCOMPARE(e.number(), 75);
    }
}

QTEST_MAIN(tst_Backlight)
#include "tst_Backlight.moc"
