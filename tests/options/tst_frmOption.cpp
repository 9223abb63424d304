// The options window as the user meets it: first-start state, the enabling
// rules, "OK", and the copy into and out of the settings records.
#include "board/chimei/ChimeiCtl_A.h"
#include "board/degit/M_Degit.h"
#include "board/mdlK27_000.h"
#include "core/RuntimeError.h"
#include "options/OptionWidgets.h"
#include "platform/ColorRef.h"
#include "tests/support/K27Windows.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

namespace {

QColor labelColour(const Form1& board, int n) {
    return board.lblSeiriNum[size_t(n)]->palette().color(QPalette::WindowText);
}

// A record with every field away from its default, so that a field that is
// not copied shows up as a difference.
OptionRecords unusualRecords() {
    OptionRecords r;
    r.Folder = {QStringLiteral("/data/運賃"), QStringLiteral("/data/放送")};
    PanelRec& p = r.Panel;
    p.AutoSeiriNum = 0;
    p.SeiriColorOff = 0x00112233;
    p.SeiriColorOn1 = 0x00445566;
    p.SeiriColorOn2 = 0x00778899;
    p.SeiriNumStyle = 7;
    p.SeiriZeroPad = 1;
    p.PanelAuto = 0;
    p.PanelManual = -1;
    p.OffBuiltIn = 0;
    p.OffUser = -1;
    p.On1BuiltIn = -1;
    p.On1User = 0;
    p.On2BuiltIn = 0;
    p.On2User = -1;
    p.OffPanelFile = QStringLiteral("/p/off.bmp");
    p.On1PanelFile = QStringLiteral("/p/on1.gif");
    p.On2PanelFile = QStringLiteral("/p/on2.jpg");
    DegitRec& d = r.Degit;
    d = {0x00010203, 0x00040506, 0x00070809, 1, 4, 1, 1, 9, 1, 19, 1, 149, 49};
    r.Chimei = {0x00A0B0C0, 0x00D0E0F0, 3, 1};
    SoundRec& s = r.Sound;
    s.KeitouSound = QStringLiteral("k.wav");
    s.ResetSound = QStringLiteral("r.wav");
    s.StepAlways = 0;
    s.StepByCol = -1;
    s.StepSync = -1;
    s.StepAsync = 0;
    s.StepSound = QStringLiteral("step.mp3");
    s.StepCol = 120;
    s.StepSound1 = QStringLiteral("s1.wav");
    s.StepSound2 = QStringLiteral("s2.wav");
    s.StepSound3 = QStringLiteral("s3.mid");
    s.TapeSync = 0;
    s.TapeAsync = -1;
    s.TapeAlways = 0;
    s.TapeByFlag = -1;
    s.TapeSound = QStringLiteral("t.wav");
    s.TapeSound1 = QStringLiteral("t1.wav");
    s.TapeSound2 = QStringLiteral("t2.wav");
    s.TapeSound3 = QStringLiteral("t3.wav");
    r.Preview = {1, QStringLiteral("/plug/a.4SP"), 0, 0, -1, QStringLiteral("2011/03/04")};
    return r;
}

} // namespace

class tst_frmOption : public testsupport::DoublesFixture {
    Q_OBJECT

private Q_SLOTS:
    void firstStartState();
    void namesAndCaptions();
    void pageButtonsBringTheirPage();
    void pageCaptionsBreakWhereTheirBlanksAre();
    void scrollWarningSitsWithThePreAnnouncementSettings();
    void everyPageFitsAnSvgaScreenUnclipped();
    void enablingFollowsBoxesAfterRepeatedToggling();
    void panelChoiceHidesFramesButKeepsChoices();
    void okRightAfterStart();
    void okAppliesSchemeAndBacklightColour();
    void setThenGetGivesBackEveryField();
    void setOptionInfoSideEffects();
    void allOptionButtonsZeroLeavesNoneSelected();
    void rejectedListPositionStopsTheCopy();
    void plugInDescriptionOnThePage();
};

void tst_frmOption::firstStartState() {
    K27Windows w;
    frmOption& o = w.options;

    QCOMPARE(o.windowTitle(), QStringLiteral("オプション"));
    QVERIFY(o.Option1[0]->isChecked());
    QCOMPARE(o.findChild<QStackedWidget*>(QStringLiteral("pages"))->currentWidget(), o.Frame1[0]);
    QVERIFY2(!o.Option1[3]->isEnabled(), "The stop-name page button must stay disabled on this model.");

    QVERIFY(o.Check1->isChecked());
    QVERIFY(o.Frame3->isEnabled());
    for (QCheckBox* c :
         {o.Check2, o.Check3[0], o.Check3[1], o.Check3[2], o.Check3[3], o.Check3[4], o.Check4, o.chkUseSeiriPrev})
        QVERIFY2(!c->isChecked(), qPrintable(c->objectName() + " should start unchecked."));
    for (QGroupBox* f : {o.Frame6[0], o.Frame6[1], o.Frame6[2], o.Frame10, o.Frame7}) {
        QVERIFY2(f->isHidden() && !f->isEnabled(), qPrintable(f->objectName() + " should start hidden and disabled."));
    }
    for (QComboBox* c : o.Combo4)
        QVERIFY2(!c->isEnabled() && c->currentIndex() == 0, qPrintable(c->objectName()));
    QVERIFY(!o.Check3[4]->isEnabled());
    QCOMPARE(o.Combo4[0]->count(), 50);
    QCOMPARE(o.Combo4[3]->itemText(49), QStringLiteral("50"));
    QCOMPARE(o.Combo4[4]->count(), 150);
    QCOMPARE(o.Combo1->count(), 150);
    QCOMPARE(o.Combo1->currentText(), QStringLiteral("1"));

    QCOMPARE(o.Combo2->currentText(), QStringLiteral("1,2,3...50 （既定の表示）"));
    QCOMPARE(o.Combo3->currentIndex(), -1);
    QCOMPARE(o.Combo3->count(), 5);

    QCOMPARE(o.Command5[0]->BackColor(), 0x00008000u);
    QCOMPARE(o.Command5[1]->BackColor(), 0x0000C000u);
    QCOMPARE(o.Command5[2]->BackColor(), 0x0000C000u);
    QCOMPARE(o.Command8[0]->BackColor(), 0x00808080u);
    QCOMPARE(o.Command8[1]->BackColor(), 0x00969696u);
    QCOMPARE(o.Command8[2]->BackColor(), 0x0072D2F8u);
    QCOMPARE(o.Command9[0]->BackColor(), 0x00808080u);
    QCOMPARE(o.Command9[1]->BackColor(), 0x0000FFFFu);

    QCOMPARE(o.M_Degit1->Value().toString(), QStringLiteral("123"));
    QVERIFY(!o.M_Degit1->UserSet());
    QCOMPARE(o.M_Degit1->DegitForeColor(), 0x0072D2F8u);

    // Selected option buttons of every group.
    for (QRadioButton* b : {o.Option3[0], o.Option3[7], o.Option3[3], o.Option3[4], o.Option2[0], o.Option2[2],
                            o.Option6[1], o.Option7[0], o.Option4[0]})
        QVERIFY2(b->isChecked(), qPrintable(b->objectName() + " should be the selected default."));
    QVERIFY(o.Option5[1]->isChecked());
    QCOMPARE(o.findChild<QStackedWidget*>(QStringLiteral("soundPages"))->currentWidget(), o.Frame2[1]);

    for (int i : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10})
        QVERIFY(o.txtSelectSound[size_t(i)]->text().isEmpty());
    QVERIFY(o.txtSelectSound[2] == nullptr && o.cmdSelectSound[2] == nullptr);
    QCOMPARE(o.Label10->text(), QStringLiteral("2026/01/05")); // the virtual clock's date
    for (quint32 c : o.CustColors)
        QCOMPARE(c, 0u);
}

void tst_frmOption::namesAndCaptions() {
    K27Windows w;
    frmOption& o = w.options;
    // Every member of the control arrays is found under its indexed name.
    const QStringList names = {"Option1(5)",
                               "Frame1(4)",
                               "Text2(1)",
                               "Command3(0)",
                               "Command10(1)",
                               "Command5(2)",
                               "Option3(7)",
                               "Frame6(2)",
                               "txtSelectPanel(2)",
                               "Command6(1)",
                               "Frame5(1)",
                               "Command8(2)",
                               "Check3(4)",
                               "Combo4(4)",
                               "Command9(1)",
                               "txtSelectSound(10)",
                               "cmdSelectSound(3)",
                               "Option5(0)",
                               "Frame2(0)",
                               "Option2(3)",
                               "Option6(1)",
                               "Option7(0)",
                               "Option4(2)",
                               "Label10",
                               "Command7",
                               "Command11",
                               "List1",
                               "txtPlginComment",
                               "Frame10",
                               "Frame7",
                               "M_Degit1",
                               "Combo1",
                               "Combo2",
                               "Combo3"};
    for (const QString& n : names)
        QVERIFY2(o.findChild<QWidget*>(n), qPrintable("No control named " + n));

    QCOMPARE(o.Option1[0]->text(), QStringLiteral("運賃データと　放送用データ"));
    QCOMPARE(o.Option1[5]->text(), QStringLiteral("　　整理券　　　プレビュー"));
    QCOMPARE(o.Frame1[4]->title(),
             QStringLiteral("サウンド（鳴らさなくてもいい項目にはファイル名を入れないで下さい）"));
    QCOMPARE(o.Check3[3]->text(),
             QStringLiteral("データの　　　  　　　　　列目の値を、  　　　　　　コマ目に表示する。"));
    QCOMPARE(o.Command11->text(), QStringLiteral("r"));
    QCOMPARE(o.Command4->text(), QStringLiteral("OK"));

    // Exactly twelve schemes; only the first says it is the default.
    QCOMPARE(o.Combo2->count(), 12);
    QCOMPARE(o.Combo2->itemText(1), QStringLiteral("0,1,2...49"));
    QCOMPARE(o.Combo2->itemText(10), QStringLiteral("(無地)、1,2...49"));
    QCOMPARE(o.Combo2->itemText(11), QStringLiteral("(無地)、2,3...50"));
    for (int i = 1; i < 12; ++i)
        QVERIFY(!o.Combo2->itemText(i).contains(QStringLiteral("既定")));
}

void tst_frmOption::pageButtonsBringTheirPage() {
    K27Windows w;
    frmOption& o = w.options;
    o.show();
    auto* pages = o.findChild<QStackedWidget*>(QStringLiteral("pages"));
    for (int k : {5, 1, 2, 4, 0}) {
        QTest::mouseClick(o.Option1[size_t(k)], Qt::LeftButton);
        QCOMPARE(pages->currentWidget(), o.Frame1[size_t(k)]);
        QVERIFY(o.Option1[size_t(k)]->isChecked());
    }
    // The disabled stop-name button cannot bring its page.
    QTest::mouseClick(o.Option1[3], Qt::LeftButton);
    QCOMPARE(pages->currentWidget(), o.Frame1[0]);

    QTest::mouseClick(o.Option1[4], Qt::LeftButton);
    auto* sound = o.findChild<QStackedWidget*>(QStringLiteral("soundPages"));
    QTest::mouseClick(o.Option5[0], Qt::LeftButton);
    QCOMPARE(sound->currentWidget(), o.Frame2[0]);
    QTest::mouseClick(o.Option5[1], Qt::LeftButton);
    QCOMPARE(sound->currentWidget(), o.Frame2[1]);

    // The play-mode buttons sit in a frame inside the sub-page, apart from
    // the choice of sound.
    o.Option2[1]->click();
    o.Option6[0]->click();
    QVERIFY(o.Option2[1]->isChecked() && o.Option6[0]->isChecked() && !o.Option6[1]->isChecked());
}

void tst_frmOption::pageCaptionsBreakWhereTheirBlanksAre() {
    PlatformDoubles doubles;
    K27Windows w;
    frmOption& o = w.options;
    o.show();
    auto lines = [&](int k) { return qobject_cast<PageButton*>(o.Option1[size_t(k)])->lines(); };
    QCOMPARE(lines(0), QStringList({QStringLiteral("運賃データと"), QStringLiteral("放送用データ")}));
    QCOMPARE(lines(5), QStringList({QStringLiteral("整理券"), QStringLiteral("プレビュー")}));
    QCOMPARE(lines(4), QStringList({QStringLiteral("サウンド")}));
    // The long captions without blanks wrap inside the narrow button too,
    // and every line fits the button it is drawn on.
    for (int k = 0; k < 6; ++k) {
        QPushButton* b = o.Option1[size_t(k)];
        const QStringList shown = lines(k);
        QVERIFY2(!shown.isEmpty() && shown.size() <= 2, qPrintable(b->objectName()));
        QCOMPARE(shown.join(QString()), QString(b->text()).remove(QChar(0x3000)));
        for (const QString& line : shown)
            QVERIFY2(b->fontMetrics().horizontalAdvance(line) < b->width() - 8, qPrintable(line));
        QVERIFY(int(shown.size()) * b->fontMetrics().lineSpacing() < b->height());
    }
}

void tst_frmOption::scrollWarningSitsWithThePreAnnouncementSettings() {
    PlatformDoubles doubles;
    K27Windows w;
    frmOption& o = w.options;
    o.show();
    const QString warning = QStringLiteral(
        "「放送前のサウンド」再生時は、停名のスクロールが停止することがありますので、あらかじめご了承ください。");
    QList<QLabel*> found;
    for (QLabel* l : o.findChildren<QLabel*>())
        if (l->text() == warning)
            found << l;
    QCOMPARE(found.size(), 1);
    QVERIFY(o.Frame2[0]->isAncestorOf(found.first()));
    o.Option1_Click(4);
    o.Option5_Click(0);
    QVERIFY(found.first()->isVisible());
    o.Option5_Click(1);
    QVERIFY(!found.first()->isVisible());
}

namespace {
// Every visible control of the window has at least the room it asks for,
// and a wrapped text the height its lines need.
QStringList clippedControls(QWidget* window) {
    QStringList out;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (!c->isVisible() || c->isWindow() || c->inherits("QStackedWidget"))
            continue;
        // Lists placed by hand in the blanks of a sentence take the blank's
        // width; only what the layouts place is measured.
        const bool placedByLayout = c->parentWidget() && c->parentWidget()->layout();
        const QString name = c->objectName().isEmpty() ? QString::fromLatin1(c->metaObject()->className()) +
                                                             QLatin1Char(' ') + c->property("text").toString()
                                                       : c->objectName();
        const QRect inWindow(c->mapTo(window, QPoint(0, 0)), c->size());
        if (!window->rect().contains(inWindow))
            out << name + QStringLiteral(" leaves the window");
        // A size the program set on purpose (the narrow "..." buttons) is
        // taken as it is; otherwise the control's own least size counts.
        const QSize least = c->minimumSizeHint();
        const bool freeWidth = c->minimumWidth() == 0 && c->maximumWidth() == QWIDGETSIZE_MAX;
        const bool freeHeight = c->minimumHeight() == 0 && c->maximumHeight() == QWIDGETSIZE_MAX;
        if (placedByLayout &&
            ((freeWidth && c->width() < least.width()) || (freeHeight && c->height() < least.height())))
            out << name + QStringLiteral(" is squeezed");
        if (c->hasHeightForWidth() && c->height() < c->heightForWidth(c->width()))
            out << name + QStringLiteral(" cuts off its text");
    }
    return out;
}
} // namespace

void tst_frmOption::everyPageFitsAnSvgaScreenUnclipped() {
    PlatformDoubles doubles;
    K27Windows w;
    frmOption& o = w.options;
    // Room for a window frame and title bar on an 800 x 600 screen.
    const QSize screen(800 - 2 * 8, 600 - 40 - 2 * 8);
    o.show();
    for (int page = 0; page < 6; ++page) {
        for (int sub = 0; sub < (page == 4 ? 2 : 1); ++sub) {
            o.Option1_Click(page);
            o.Option5_Click(sub);
            // The largest states of the pages, set as the user sets them:
            // panel pictures chosen one by one, the ticket preview on.
            if (page == 1)
                o.Option3[1]->click();
            if (page == 5)
                o.chkUseSeiriPrev->click();
            QApplication::processEvents(); // the layouts take in what is shown now
            o.resize(o.minimumSize());
            QApplication::processEvents();
            const QString where = QStringLiteral("page %1.%2").arg(page).arg(sub);
            QVERIFY2(o.minimumSize().width() <= screen.width() && o.minimumSize().height() <= screen.height(),
                     qPrintable(
                         where +
                         QStringLiteral(" needs %1 x %2").arg(o.minimumSize().width()).arg(o.minimumSize().height())));
            QCOMPARE(o.size(), o.minimumSize());
            const QStringList clipped = clippedControls(&o);
            QVERIFY2(clipped.isEmpty(), qPrintable(where + QStringLiteral(": ") + clipped.join(QStringLiteral("; "))));
        }
    }
}

void tst_frmOption::enablingFollowsBoxesAfterRepeatedToggling() {
    K27Windows w;
    frmOption& o = w.options;
    o.show();
    o.Option1_Click(2);

    o.Check3[3]->click();
    QVERIFY(!o.Combo4[0]->isEnabled() && !o.Combo4[1]->isEnabled()); // other rows untouched
    o.Check3[3]->click();
    for (int round = 0; round < 5; ++round) {
        o.Check3[3]->click();
        const bool on = o.Check3[3]->isChecked();
        QCOMPARE(o.Combo4[3]->isEnabled(), on);
        QCOMPARE(o.Combo4[4]->isEnabled(), on);

        o.Check3[0]->click();
        QCOMPARE(o.Combo4[0]->isEnabled(), o.Check3[0]->isChecked());
        QCOMPARE(o.Check3[4]->isEnabled(), o.Check3[0]->isChecked());
        o.Check3[1]->click();
        QCOMPARE(o.Combo4[1]->isEnabled(), o.Check3[1]->isChecked());
        o.Check3[2]->click();
        o.Check3[2]->click();
        QVERIFY(!o.Combo4[2]->isEnabled());

        o.Check1->click();
        QCOMPARE(o.Frame3->isEnabled(), o.Check1->isChecked());
        o.chkUseSeiriPrev->click();
        const bool preview = o.chkUseSeiriPrev->isChecked();
        QCOMPARE(o.Frame10->isEnabled(), preview);
        QCOMPARE(o.Frame10->isHidden(), !preview);
        QCOMPARE(o.Frame7->isEnabled(), preview);
        QCOMPARE(o.Frame7->isHidden(), !preview);
    }

    // A disabled check box keeps its value.
    if (!o.Check3[0]->isChecked())
        o.Check3[0]->click();
    o.Check3[4]->click();
    QVERIFY(o.Check3[4]->isChecked());
    o.Check3[0]->click();
    QVERIFY(!o.Check3[4]->isEnabled());
    QVERIFY(o.Check3[4]->isChecked());
}

void tst_frmOption::panelChoiceHidesFramesButKeepsChoices() {
    K27Windows w;
    frmOption& o = w.options;
    o.show();
    o.Option1_Click(1);
    for (int round = 0; round < 3; ++round) {
        o.Option3[1]->click();
        for (QGroupBox* f : o.Frame6)
            QVERIFY(f->isEnabled() && f->isVisible());
        o.Option3[2]->click();
        QVERIFY2(o.Option3[1]->isChecked(), "A choice inside a state frame must not clear the outer choice.");
        o.txtSelectPanel[1]->setText(QStringLiteral("/panels/on1.gif"));
        o.Option3[0]->click();
        for (QGroupBox* f : o.Frame6)
            QVERIFY(!f->isEnabled() && f->isHidden());
        QVERIFY(o.Option3[2]->isChecked());
        QCOMPARE(o.txtSelectPanel[1]->text(), QStringLiteral("/panels/on1.gif"));
    }
}

void tst_frmOption::okRightAfterStart() {
    K27Windows w;
    // Scramble the board first so that "OK" has something to put right.
    for (int n = 1; n <= 50; ++n) {
        w.board.lblSeiriNum[size_t(n)]->hide();
        w.board.lblSeiriNum[size_t(n)]->setText(QStringLiteral("x"));
        w.board.Degit[size_t(n)]->setBackColor(0);
    }
    w.board.ChimeiCtl->setFontMode(2);
    w.options.show();
    QTest::mouseClick(w.options.Command4, Qt::LeftButton);

    QVERIFY(w.options.isHidden());
    for (int n = 1; n <= 50; ++n) {
        QLabel* l = w.board.lblSeiriNum[size_t(n)];
        QVERIFY2(!l->isHidden(), qPrintable(QStringLiteral("label %1 hidden").arg(n)));
        QCOMPARE(l->text(), mdlK27_000::fullWidthNumber(n, false));
        QCOMPARE(labelColour(w.board, n), QColor(0, 128, 0));
        const M_Degit* d = w.board.Degit[size_t(n)];
        QCOMPARE(d->BackColor(), 0x00808080u);
        QCOMPARE(d->BaseForeColor(), 0x00969696u);
        QCOMPARE(d->DegitForeColor(), 0x0072D2F8u);
    }
    for (const M_Degit* t : w.board.TimeDegit)
        QCOMPARE(t->DegitForeColor(), 0x0072D2F8u);
    QCOMPARE(w.board.ChimeiCtl->FontMode(), qint16(-1));
    QCOMPARE(w.board.ChimeiCtl->ForeColor(), 0x0000FFFFu);
    QVERIFY(!w.board.ChimeiCtl->FontBold());
    QVERIFY(d_->messages.shown.isEmpty());
}

void tst_frmOption::okAppliesSchemeAndBacklightColour() {
    K27Windows w;
    frmOption& o = w.options;
    o.Combo2->setCurrentIndex(3);
    o.Check2->setChecked(true);
    o.Command5[2]->setBackColor(0x000000FF);
    w.panel.Option4[2]->click();
    o.Check1->click(); // numbers off
    o.Command4_Click();

    QCOMPARE(w.board.lblSeiriNum[1]->text(), QStringLiteral("な し"));
    QCOMPARE(w.board.lblSeiriNum[2]->text(), QStringLiteral("０２"));
    QVERIFY(w.board.lblSeiriNum[50]->isHidden());
    QCOMPARE(labelColour(w.board, 30), QColor(255, 0, 0));
}

void tst_frmOption::setThenGetGivesBackEveryField() {
    K27Windows w;
    const OptionRecords in = unusualRecords();
    w.options.SetOptionInfo(in);
    OptionRecords out;
    w.options.GetOptionInfo(out);

    // Record by record, so a failure names the record that lost a field.
    QCOMPARE(out.Folder, in.Folder);
    QCOMPARE(out.Panel, in.Panel);
    QCOMPARE(out.Degit, in.Degit);
    QCOMPARE(out.Chimei, in.Chimei);
    QCOMPARE(out.Sound, in.Sound);
    QCOMPARE(out.Preview, in.Preview);
    QCOMPARE(out, in);

    // The defaults come back as they went in too.
    K27Windows fresh;
    OptionRecords defaults;
    fresh.options.GetOptionInfo(defaults);
    K27Windows other;
    other.options.SetOptionInfo(unusualRecords());
    other.options.SetOptionInfo(defaults);
    OptionRecords again;
    other.options.GetOptionInfo(again);
    QCOMPARE(again, defaults);
    QCOMPARE(again.Panel.SeiriColorOn2, 0x0000C000u);
    QCOMPARE(again.Chimei.ChimeiFontMode, qint16(-1));
    QCOMPARE(again.Sound.StepAsync, qint16(-1));
    QCOMPARE(again.Sound.StepSync, qint16(0));
}

void tst_frmOption::setOptionInfoSideEffects() {
    K27Windows w;
    frmOption& o = w.options;
    w.panel.Option4[1]->click(); // ON1 on the control panel
    o.SetOptionInfo(unusualRecords());

    // Enabled and visible states follow the new values.
    QVERIFY(!o.Frame3->isEnabled());
    for (QComboBox* c : o.Combo4)
        QVERIFY(c->isEnabled());
    QVERIFY(o.Frame10->isEnabled() && !o.Frame10->isHidden());
    for (QGroupBox* f : o.Frame6)
        QVERIFY(f->isEnabled() && !f->isHidden());
    // The backlight handler ran again for ON1 with the new ON1 colour.
    QCOMPARE(labelColour(w.board, 1), platform::toQColor(0x00445566));
    // The sample digit shows the new digit colours; the board does not yet.
    QCOMPARE(o.M_Degit1->BackColor(), 0x00010203u);
    QCOMPARE(o.M_Degit1->BaseForeColor(), 0x00040506u);
    QCOMPARE(o.M_Degit1->DegitForeColor(), 0x00070809u);
    QCOMPARE(w.board.Degit[1]->BackColor(), M_Degit::kDefaultBackColor);
    // The plug-in named in the record was asked to describe itself.
    QVERIFY(d_->helper.calls.contains(QStringLiteral("VX4_GetPlgInfo(/plug/a.4SP)")));
}

void tst_frmOption::allOptionButtonsZeroLeavesNoneSelected() {
    K27Windows w;
    OptionRecords r;
    w.options.GetOptionInfo(r);
    r.Panel.PanelAuto = r.Panel.PanelManual = 0;
    r.Sound.StepSync = r.Sound.StepAsync = 0;
    r.Preview.DateEachPrint = r.Preview.DateAtReset = r.Preview.DateFixed = 0;
    w.options.SetOptionInfo(r);
    QVERIFY(!w.options.Option3[0]->isChecked() && !w.options.Option3[1]->isChecked());
    QVERIFY(!w.options.Option6[0]->isChecked() && !w.options.Option6[1]->isChecked());
    for (QRadioButton* b : w.options.Option4)
        QVERIFY(!b->isChecked());
    // Without automatic assignment selected the per-state frames show.
    QVERIFY(!w.options.Frame6[0]->isHidden());
    // The groups still work as groups afterwards.
    w.options.Option4[1]->click();
    w.options.Option4[2]->click();
    QVERIFY(!w.options.Option4[1]->isChecked());
}

void tst_frmOption::rejectedListPositionStopsTheCopy() {
    K27Windows w;
    OptionRecords r = unusualRecords();
    r.Degit.InfoStopKoma = 50; // one beyond the list
    bool thrown = false;
    try {
        w.options.SetOptionInfo(r);
    } catch (const core::RuntimeError& e) {
        thrown = true;
        QCOMPARE(e.number(), 380);
    }
    QVERIFY2(thrown, "A list position beyond its list must be refused.");
    // What came before the bad value was applied, what came after was not.
    QVERIFY(w.options.Check3[0]->isChecked());
    QCOMPARE(w.options.Combo4[0]->currentIndex(), 0);
    QVERIFY(!w.options.Check3[4]->isChecked());
    QVERIFY(w.options.txtSelectSound[0]->text().isEmpty());
    // The enabled states follow the boxes that were set before the refusal,
    // and follow the user's clicks afterwards.
    QVERIFY(!w.options.Frame3->isEnabled());
    QVERIFY(w.options.Combo4[0]->isEnabled());
    w.options.Check1->click();
    QVERIFY(w.options.Frame3->isEnabled());
    w.options.Check3[0]->click();
    QVERIFY(!w.options.Combo4[0]->isEnabled());

    r = unusualRecords();
    r.Panel.AutoSeiriNum = 5;
    QVERIFY_THROWS_EXCEPTION(core::RuntimeError, w.options.SetOptionInfo(r));
}

void tst_frmOption::plugInDescriptionOnThePage() {
    K27Windows w;
    frmOption& o = w.options;
    o.chkUseSeiriPrev->click();
    d_->helper.plgInfoResult = 1;
    d_->helper.plgInfo.CanDate = 2;
    d_->helper.plgInfo.CanBarcode = 1;
    d_->helper.plgInfo.BarcodeCount = 3;
    d_->helper.plgInfo.KeitouMax = 999;
    d_->helper.plgInfo.StopFrom = 1;
    d_->helper.plgInfo.StopTo = 300;
    QCOMPARE(o.SetPlgin(QStringLiteral("/p/x.4SP")), 2);
    QCOMPARE(o.List1->count(), 10);
    QCOMPARE(o.List1->item(0)->text(), QStringLiteral("日付の印字 ---> 不可"));
    QCOMPARE(o.List1->item(4)->text(), QStringLiteral("バーコード印字 ---> 可能"));
    QCOMPARE(o.List1->item(6)->text(), QStringLiteral("バーコード系統方式 ---> 系統番号＋往復フラグ"));
    QCOMPARE(o.List1->item(9)->text(), QStringLiteral("社名切り替え:---> 不可"));

    // Clearing empties the choice and its description.
    o.txtSeiriPlgDir->setText(QStringLiteral("/p/x.4SP"));
    o.Command11->click();
    QVERIFY(o.txtSeiriPlgDir->text().isEmpty());
    QCOMPARE(o.List1->count(), 0);

    // A rejected file keeps the previous plug-in and says why.
    o.txtSeiriPlgDir->setText(QStringLiteral("/p/good.4SP"));
    d_->helper.plgInfoResult = 0;
    d_->helper.fileDlgAnswer = QStringLiteral("/p/bad.4SP");
    o.Command1->click();
    QCOMPARE(o.txtSeiriPlgDir->text(), QStringLiteral("/p/good.4SP"));
    QCOMPARE(d_->messages.shown.size(), 1);
    QCOMPARE(d_->messages.shown[0].title, QStringLiteral("プラグインロードエラー"));
    QCOMPARE(d_->messages.shown[0].prompt, QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"));

    // Cancelling the choice is no load error.
    d_->helper.fileDlgAnswer.clear();
    o.Command1->click();
    QCOMPARE(d_->messages.shown.size(), 1);
    QCOMPARE(o.txtSeiriPlgDir->text(), QStringLiteral("/p/good.4SP"));
}

QTEST_MAIN(tst_frmOption)
#include "tst_frmOption.moc"
