// The pickers of the options window: each writes only its own box, with the
// dialog's filter, title and prompt, and a cancelled dialog changes nothing.
#include "board/degit/M_Degit.h"
#include "options/OptionWidgets.h"
#include "tests/support/K27Windows.h"
#include "tests/support/TestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// Every file and folder box with its current text, to see what changed.
QMap<QString, QString> boxTexts(const frmOption& o) {
    QMap<QString, QString> texts;
    for (QLineEdit* e : o.findChildren<QLineEdit*>())
        if (!e->objectName().isEmpty() && !e->objectName().startsWith(QLatin1String("qt_")))
            texts[e->objectName()] = e->text();
    texts[QStringLiteral("Label10")] = o.Label10->text();
    return texts;
}

} // namespace

class tst_pickers : public testsupport::DoublesFixture {
    Q_OBJECT

private Q_SLOTS:
    void soundPickerFillsOnlyItsSlot_data();
    void soundPickerFillsOnlyItsSlot();
    void panelPicturePicker();
    void folderPicker();
    void cancelledDialogsChangeNothing();
    void datePicker_data();
    void datePicker();
    void colourButtons();
    void openFolderPassesTheTextAsTyped();
    void pathsTheSettingsFileCannotHoldAreNamed_data();
    void pathsTheSettingsFileCannotHoldAreNamed();
};

void tst_pickers::soundPickerFillsOnlyItsSlot_data() {
    QTest::addColumn<int>("slot");
    for (int slot : {0, 1, 3, 4, 7, 10})
        QTest::addRow("slot %d", slot) << slot;
}

void tst_pickers::soundPickerFillsOnlyItsSlot() {
    QFETCH(int, slot);
    K27Windows w;
    frmOption& o = w.options;
    auto before = boxTexts(o);
    d_->helper.fileDlgAnswer = QStringLiteral("/snd/チャイム.wav");
    o.cmdSelectSound[size_t(slot)]->click();

    QCOMPARE(d_->helper.calls.last(), QStringLiteral("Vx3FileDlg(0, Waveサウンド(*.wav)|*.wav|MP3サウンド(*.mp3)|*.mp3|"
                                                     "MIDIシーケンス(*.mid)|*.mid||, , サウンドの選択)"));
    before[QStringLiteral("txtSelectSound(%1)").arg(slot)] = QStringLiteral("/snd/チャイム.wav");
    QCOMPARE(boxTexts(o), before);
}

void tst_pickers::panelPicturePicker() {
    K27Windows w;
    frmOption& o = w.options;
    o.Option3[1]->click(); // the picture boxes are usable only per state
    auto before = boxTexts(o);
    d_->helper.fileDlgAnswer = QStringLiteral("/pic/on2.jpg");
    o.Command6[2]->click();
    QVERIFY(!d_->helper.calls.isEmpty());
    QCOMPARE(d_->helper.calls.last(),
             QStringLiteral("Vx3FileDlg(0, ビットマップ(*.bmp)|*.bmp|GIF画像(*.gif)|*.gif|JPEG画像(*.jpg)|*.jpg||, , "
                            "パネル画像の選択)"));
    before[QStringLiteral("txtSelectPanel(2)")] = QStringLiteral("/pic/on2.jpg");
    QCOMPARE(boxTexts(o), before);
}

void tst_pickers::folderPicker() {
    K27Windows w;
    frmOption& o = w.options;
    auto before = boxTexts(o);
    d_->helper.folderDlgAnswer = QStringLiteral("/data/放送");
    o.Command3[1]->click();
    QCOMPARE(d_->helper.calls.last(), QStringLiteral("Vx3FolderDlg(フォルダーを選択してください)"));
    before[QStringLiteral("Text2(1)")] = QStringLiteral("/data/放送"); // no separator appended
    QCOMPARE(boxTexts(o), before);
}

void tst_pickers::cancelledDialogsChangeNothing() {
    K27Windows w;
    frmOption& o = w.options;
    o.Option3[1]->click();
    o.chkUseSeiriPrev->click();
    for (QLineEdit* e : o.findChildren<QLineEdit*>())
        e->setText(QStringLiteral("keep"));
    const auto before = boxTexts(o);
    const quint32 colour = o.Command8[1]->BackColor();
    // The fake answers "cancelled" everywhere: empty paths, 0 results.
    for (int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10})
        o.cmdSelectSound[size_t(i)]->click();
    for (QPushButton* b : o.Command6)
        b->click();
    for (QPushButton* b : o.Command3)
        b->click();
    o.Command7->click();
    o.Command8[1]->click();
    QCOMPARE(boxTexts(o), before);
    QCOMPARE(o.Command8[1]->BackColor(), colour);
    QCOMPARE(o.M_Degit1->BaseForeColor(), colour);
    QCOMPARE(d_->helper.count(QStringLiteral("Vx3FileDlg")), 13);
    QCOMPARE(d_->helper.count(QStringLiteral("Call_dlg111")), 1);
}

void tst_pickers::datePicker_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("shown");
    QTest::newRow("2010-12-01") << 2010 << 12 << 1 << QStringLiteral("2010/12/01");
    QTest::newRow("2009-05-07") << 2009 << 5 << 7 << QStringLiteral("2009/05/07");
    QTest::newRow("year 800") << 800 << 1 << 31 << QStringLiteral("800/01/31");
}

void tst_pickers::datePicker() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, shown);
    K27Windows w;
    d_->helper.dlg111Result = 1;
    d_->helper.dlg111Date.wYear = qint16(year);
    d_->helper.dlg111Date.wMonth = qint16(month);
    d_->helper.dlg111Date.wDay = qint16(day);
    w.options.chkUseSeiriPrev->click(); // the date frame shows with the preview
    w.options.Command7->click();
    QCOMPARE(d_->helper.calls.last(), QStringLiteral("Call_dlg111(0/0/0)")); // handed over zeroed
    QCOMPARE(w.options.Label10->text(), shown);
}

void tst_pickers::colourButtons() {
    K27Windows w;
    frmOption& o = w.options;
    platform::CustomColors custom{};
    custom[16] = 0x00ABCDEF;
    d_->helper.chooseColorResult = 1;
    d_->helper.chooseColorAnswer = 0x00123456;
    d_->helper.chooseColorCustom = custom;

    o.Command8[2]->click();
    QCOMPARE(d_->helper.calls.last(), QStringLiteral("Vx3ChooseColor(%1)").arg(0x0072D2F8));
    QCOMPARE(o.Command8[2]->BackColor(), 0x00123456u);
    QCOMPARE(o.M_Degit1->DegitForeColor(), 0x00123456u);
    QCOMPARE(o.CustColors[16], 0x00ABCDEFu); // the dialog's custom colours are kept
    // The board changes only at "OK".
    QCOMPARE(w.board.Degit[5]->DegitForeColor(), M_Degit::kDefaultDegitForeColor);

    d_->helper.chooseColorAnswer = 0x00FF0000;
    o.Command5[1]->click();
    o.Command9[0]->click();
    QCOMPARE(o.Command5[1]->BackColor(), 0x00FF0000u);
    QCOMPARE(o.Command9[0]->BackColor(), 0x00FF0000u);
    QCOMPARE(o.Command5[0]->BackColor(), 0x00008000u);
    QCOMPARE(o.M_Degit1->DegitForeColor(), 0x00123456u);

    o.Command4->click();
    QCOMPARE(w.board.Degit[5]->DegitForeColor(), 0x00123456u);
}

void tst_pickers::openFolderPassesTheTextAsTyped() {
    K27Windows w;
    w.options.Text2[0]->setText(QStringLiteral("/no/such/フォルダ"));
    w.options.Command10[0]->click();
    w.options.Command10[1]->click(); // empty box
    d_->shell.result = false;
    w.options.Command10[0]->click();
    QCOMPARE(d_->shell.opened,
             QStringList({QStringLiteral("/no/such/フォルダ"), QString(), QStringLiteral("/no/such/フォルダ")}));
    QVERIFY(d_->messages.shown.isEmpty());
}

void tst_pickers::pathsTheSettingsFileCannotHoldAreNamed_data() {
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("box");
    QTest::newRow("sound") << QStringLiteral("cmdSelectSound(3)") << QStringLiteral("txtSelectSound(3)");
    QTest::newRow("panel picture") << QStringLiteral("Command6(0)") << QStringLiteral("txtSelectPanel(0)");
    QTest::newRow("folder") << QStringLiteral("Command3(0)") << QStringLiteral("Text2(0)");
    QTest::newRow("plug-in") << QStringLiteral("Command1") << QStringLiteral("txtSeiriPlgDir");
}

void tst_pickers::pathsTheSettingsFileCannotHoldAreNamed() {
    QFETCH(QString, picker);
    QFETCH(QString, box);
    PlatformDoubles doubles;
    K27Windows w;
    frmOption& o = w.options;
    o.Option3[1]->click();      // panel pictures chosen per state
    o.chkUseSeiriPrev->click(); // the plug-in page in use
    doubles.helper.plgInfoResult = 1;
    auto* button = testsupport::child<QAbstractButton>(&o, picker);
    auto* text = testsupport::child<QLineEdit>(&o, box);
    QVERIFY(button && text);

    // A path Shift-JIS can hold (Japanese, half-width kana) says nothing.
    const QString plain = QStringLiteral("/データ/ﾁｬｲﾑ/案内.wav");
    doubles.helper.fileDlgAnswer = doubles.helper.folderDlgAnswer = plain;
    button->click();
    QCOMPARE(text->text(), plain);
    QVERIFY(doubles.messages.shown.isEmpty());

    // One it cannot is still taken for this run, and the user is told which
    // characters will not survive a restart, each once.
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const QString odd = QStringLiteral("/home/r\u00E9mi/") + emoji + QStringLiteral("/caf\u00E9.wav");
    doubles.helper.fileDlgAnswer = doubles.helper.folderDlgAnswer = odd;
    button->click();
    QCOMPARE(text->text(), odd);
    QCOMPARE(doubles.messages.shown.size(), 1);
    const auto& shown = doubles.messages.shown[0];
    QCOMPARE(shown.prompt,
             QStringLiteral("選択したパス名には設定ファイルに保存できない文字（\u00E9\u00A0(U+00E9)、") + emoji +
                 QStringLiteral("\u00A0(U+1F600)）が含まれています。\r\n今回は使えますが、次回起動時には使えません。"));
    QCOMPARE(shown.buttons, platform::MsgButtons::Ok);
    QCOMPARE(shown.icon, platform::MsgIcon::Exclamation);
    QCOMPARE(shown.title, QStringLiteral("保存できない文字"));
}

QTEST_MAIN(tst_pickers)
#include "tst_pickers.moc"
