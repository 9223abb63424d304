// The dialogs of the helper library as the user sees them: what they show
// when they open, what they hand back, and that cancelling changes nothing.
#include "platform/QtVXB4Res.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace {

// Runs action on the first visible top-level dialog of type T once the
// dialog under test is up.
template <class T> void whenShown(std::function<void(T*)> action) {
    QTimer::singleShot(0, [action] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<T*>(w); d && d->isVisible()) {
                action(d);
                return;
            }
        QFAIL("The dialog did not show.");
    });
}

// The header as read from left to right: the visible texts of the calendar's
// navigation bar in the order they stand.
QString calendarHeader(QCalendarWidget* calendar) {
    QList<QToolButton*> buttons;
    for (QToolButton* b : calendar->findChildren<QToolButton*>())
        if (b->isVisible() && !b->text().isEmpty())
            buttons << b;
    std::sort(buttons.begin(), buttons.end(), [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    QString text;
    for (QToolButton* b : buttons)
        text += b->text();
    return text;
}

} // namespace

class tst_dialogs : public testsupport::DoublesFixture {
    Q_OBJECT

private Q_SLOTS:
    void dateDialogReturnsTheChosenDay();
    void dateDialogCancelled();
    void dateDialogHeaderReadsYearThenMonth();
    void fileDialogShowsFiltersAndTitle();
    void fileDialogCancelled();
    void folderDialog();
    void colourDialogKeepsCustomColours();
    void colourDialogCancelled();
};

void tst_dialogs::dateDialogReturnsTheChosenDay() {
    platform::QtVXB4Res helper;
    platform::DateRecord date;
    QDate shown;
    whenShown<QDialog>([&](QDialog* d) {
        auto* calendar = d->findChild<QCalendarWidget*>(QStringLiteral("calendar"));
        shown = calendar->selectedDate();
        calendar->setSelectedDate(QDate(2010, 12, 1));
        d->accept();
    });
    QCOMPARE(helper.Call_dlg111(nullptr, date), 1);
    QCOMPARE(shown, d_->clock.now().date()); // opens on today
    QCOMPARE(date.wYear, qint16(2010));
    QCOMPARE(date.wMonth, qint16(12));
    QCOMPARE(date.wDay, qint16(1));
    QCOMPARE(date.wDayOfWeek, qint16(3)); // a Wednesday
}

void tst_dialogs::dateDialogCancelled() {
    platform::QtVXB4Res helper;
    platform::DateRecord date;
    whenShown<QDialog>([](QDialog* d) { d->reject(); });
    QCOMPARE(helper.Call_dlg111(nullptr, date), 0);
    QCOMPARE(date.wYear, qint16(0));
    QCOMPARE(date.wDay, qint16(0));
}

void tst_dialogs::dateDialogHeaderReadsYearThenMonth() {
    PlatformDoubles doubles;
    doubles.clock.current = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    platform::QtVXB4Res helper;
    platform::DateRecord date;
    QStringList headers;
    bool weekNumbers = true;
    whenShown<QDialog>([&](QDialog* d) {
        auto* calendar = d->findChild<QCalendarWidget*>(QStringLiteral("calendar"));
        QApplication::processEvents();
        headers << calendarHeader(calendar);
        calendar->showNextMonth();
        QApplication::processEvents();
        headers << calendarHeader(calendar);
        calendar->showPreviousYear();
        QApplication::processEvents();
        headers << calendarHeader(calendar);
        weekNumbers = calendar->verticalHeaderFormat() != QCalendarWidget::NoVerticalHeader;
        d->reject();
    });
    helper.Call_dlg111(nullptr, date);
    QCOMPARE(headers,
             QStringList({QStringLiteral("2026年12月"), QStringLiteral("2027年1月"), QStringLiteral("2026年1月")}));
    QVERIFY(!weekNumbers);
}

void tst_dialogs::fileDialogShowsFiltersAndTitle() {
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("panel.gif"));
    QFile(picture).open(QIODevice::WriteOnly);
    platform::QtVXB4Res helper;
    const QString filter = QStringLiteral("ビットマップ(*.bmp)") + QChar(0) + QStringLiteral("*.bmp") + QChar(0) +
                           QStringLiteral("GIF画像(*.gif)") + QChar(0) + QStringLiteral("*.gif") + QChar(0) + QChar(0);
    QStringList filters;
    QString title;
    whenShown<QFileDialog>([&](QFileDialog* d) {
        filters = d->nameFilters();
        title = d->windowTitle();
        d->setDirectory(dir.path());
        d->selectFile(picture);
        static_cast<QDialog*>(d)->accept();
    });
    QCOMPARE(helper.Vx3FileDlg(nullptr, 0, filter, QString(), QStringLiteral("パネル画像の選択")), picture);
    QCOMPARE(title, QStringLiteral("パネル画像の選択"));
    QCOMPARE(filters, QStringList({QStringLiteral("ビットマップ(*.bmp)"), QStringLiteral("GIF画像(*.gif)")}));
    // A label without its pattern gets it appended.
    QCOMPARE(platform::qtFileFilter(QStringLiteral("Sounds") + QChar(0) + QStringLiteral("*.wav;*.mp3") + QChar(0)),
             QStringLiteral("Sounds (*.wav *.mp3)"));
}

void tst_dialogs::fileDialogCancelled() {
    platform::QtVXB4Res helper;
    whenShown<QFileDialog>([](QFileDialog* d) { d->reject(); });
    QVERIFY(helper.Vx3FileDlg(nullptr, 0, QString(), QString(), QStringLiteral("サウンドの選択")).isEmpty());
}

void tst_dialogs::folderDialog() {
    QTemporaryDir dir;
    platform::QtVXB4Res helper;
    QString title;
    whenShown<QFileDialog>([&](QFileDialog* d) {
        title = d->windowTitle();
        d->setDirectory(dir.path());
        d->selectFile(dir.path());
        static_cast<QDialog*>(d)->accept();
    });
    const QString chosen = helper.Vx3FolderDlg(nullptr, QStringLiteral("フォルダーを選択してください"));
    QCOMPARE(title, QStringLiteral("フォルダーを選択してください"));
    QCOMPARE(QDir(chosen).canonicalPath(), QDir(dir.path()).canonicalPath());
    QVERIFY(!chosen.endsWith(QLatin1Char('/')));

    whenShown<QFileDialog>([](QFileDialog* d) { d->reject(); });
    QVERIFY(helper.Vx3FolderDlg(nullptr, QStringLiteral("フォルダーを選択してください")).isEmpty());
}

void tst_dialogs::colourDialogKeepsCustomColours() {
    platform::QtVXB4Res helper;
    platform::CustomColors custom{};
    custom[0] = 0x00010203;
    custom[16] = 0x00ABCDEF;
    quint32 colour = 0x0072D2F8; // R F8, G D2, B 72
    QColor shown;
    QColor firstCustom;
    whenShown<QColorDialog>([&](QColorDialog* d) {
        shown = d->currentColor();
        firstCustom = QColorDialog::customColor(0);
        QColorDialog::setCustomColor(5, QColor(10, 20, 30));
        d->setCurrentColor(QColor(0x12, 0x34, 0x56));
        d->accept();
    });
    QCOMPARE(helper.Vx3ChooseColor(nullptr, colour, custom), 1);
    QCOMPARE(shown, QColor(0xF8, 0xD2, 0x72));
    QCOMPARE(firstCustom, QColor(3, 2, 1));
    QCOMPARE(colour, 0x00563412u);
    QCOMPARE(custom[5], 0x001E140Au);
    QCOMPARE(custom[0], 0x00010203u);
    QCOMPARE(custom[16], 0x00ABCDEFu);
}

void tst_dialogs::colourDialogCancelled() {
    platform::QtVXB4Res helper;
    platform::CustomColors custom{};
    quint32 colour = 0x00008000;
    whenShown<QColorDialog>([](QColorDialog* d) {
        d->setCurrentColor(Qt::red);
        d->reject();
    });
    QCOMPARE(helper.Vx3ChooseColor(nullptr, colour, custom), 0);
    QCOMPARE(colour, 0x00008000u);
}

QTEST_MAIN(tst_dialogs)
#include "tst_dialogs.moc"
