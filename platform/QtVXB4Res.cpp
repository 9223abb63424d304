#include "platform/QtVXB4Res.h"

#include "core/ShiftJis.h"

#include "platform/Clock.h"
#include "platform/ColorRef.h"
#include "platform/DigitSettingsDialog.h"
#include "platform/Platform.h"
#include "platform/TicketRenderer.h"

#include <QCalendarWidget>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSysInfo>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace platform {

namespace {
// Qt's calendar header reads "12月 2026" with week numbers down the side; a
// Japanese calendar reads "2026年12月" and shows no week numbers.
void useJapaneseHeader(QCalendarWidget* calendar) {
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    auto* bar = calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
    auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    auto* year = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_yearbutton"));
    auto* yearEdit = calendar->findChild<QSpinBox*>(QStringLiteral("qt_calendar_yearedit"));
    auto* layout = bar ? qobject_cast<QBoxLayout*>(bar->layout()) : nullptr;
    if (!month || !year || !yearEdit || !layout)
        return; // another Qt: keep its header as it is
    layout->removeWidget(month);
    layout->insertWidget(layout->indexOf(year) + 1, month);
    // The calendar rewrites the year button on every page and after the
    // year has been typed; these run after it and add the 年.
    auto showYear = [calendar, year] { year->setText(QString::number(calendar->yearShown()) + QStringLiteral("年")); };
    QObject::connect(calendar, &QCalendarWidget::currentPageChanged, year, showYear);
    QObject::connect(yearEdit, &QSpinBox::editingFinished, year, showYear);
    showYear();
}
} // namespace

qint32 QtVXB4Res::Call_dlg100(QWidget* window, qint16 keta, qint16& zeroMode, qint16& shift, qint16& fillZero) {
    DigitSettingsDialog dlg(window ? window->window() : nullptr, keta, zeroMode, shift, fillZero);
    if (dlg.exec() != QDialog::Accepted)
        return 0; // the three values go back as they came
    zeroMode = dlg.zeroMode();
    shift = dlg.shift();
    fillZero = dlg.fillZero();
    return 1;
}

void QtVXB4Res::Call_dlg110(QWidget* window, qint32, const QString& text) {
    QDialog dlg(window ? window->window() : nullptr);
    dlg.setObjectName(QStringLiteral("dlg110"));
    dlg.setWindowTitle(QStringLiteral("バージョン情報"));
    auto* label = new QLabel(text, &dlg);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dlg);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dlg);
    layout->addWidget(label);
    layout->addWidget(buttons);
    dlg.exec();
}

qint32 QtVXB4Res::Call_dlg111(QWidget* window, DateRecord& date) {
    QDialog dlg(window ? window->window() : nullptr);
    dlg.setObjectName(QStringLiteral("dlg111"));
    dlg.setWindowTitle(QStringLiteral("日付の選択"));
    auto* calendar = new QCalendarWidget(&dlg);
    calendar->setObjectName(QStringLiteral("calendar"));
    calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setSelectedDate(clock().now().date());
    useJapaneseHeader(calendar);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    QObject::connect(calendar, &QCalendarWidget::activated, &dlg, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dlg);
    layout->addWidget(calendar);
    layout->addWidget(buttons);
    if (dlg.exec() != QDialog::Accepted)
        return 0; // the record stays as it came
    const QDate d = calendar->selectedDate();
    date.wYear = qint16(d.year());
    date.wMonth = qint16(d.month());
    date.wDayOfWeek = qint16(d.dayOfWeek() % 7); // Sunday is 0
    date.wDay = qint16(d.day());
    return 1;
}

QString qtFileFilter(const QString& nulSeparated) {
    const QStringList parts = nulSeparated.split(QChar(0), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A label that already ends in its pattern ("GIF画像(*.gif)") is a
        // complete Qt filter as it stands.
        if (parts[i].endsWith(QStringLiteral("(%1)").arg(pattern)))
            filters << parts[i];
        else
            filters << QStringLiteral("%1 (%2)").arg(parts[i], pattern);
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtVXB4Res::Vx3FileDlg(QWidget* window, qint32, const QString& filter, const QString& initial,
                              const QString& title) {
    QFileDialog dlg(window ? window->window() : nullptr, title, QString(), qtFileFilter(filter));
    dlg.setObjectName(QStringLiteral("fileDialog"));
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (!initial.isEmpty())
        dlg.selectFile(initial);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

QString QtVXB4Res::Vx3FolderDlg(QWidget* window, const QString& prompt) {
    QFileDialog dlg(window ? window->window() : nullptr, prompt);
    dlg.setObjectName(QStringLiteral("folderDialog"));
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setOption(QFileDialog::ShowDirsOnly);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

qint32 QtVXB4Res::Vx3ChooseColor(QWidget* window, quint32& color, CustomColors& custom) {
    // QColorDialog keeps 16 custom colours; the 17th of the block rides
    // along unchanged.
    const int shared = qMin(QColorDialog::customCount(), int(custom.size()));
    for (int i = 0; i < shared; ++i)
        QColorDialog::setCustomColor(i, toQColor(custom[size_t(i)]));
    QColorDialog dlg(toQColor(color), window ? window->window() : nullptr);
    dlg.setObjectName(QStringLiteral("colorDialog"));
    dlg.setWindowTitle(QStringLiteral("色の設定"));
    const bool accepted = dlg.exec() == QDialog::Accepted;
    // Custom colours the user set are kept even when no colour is chosen.
    for (int i = 0; i < shared; ++i)
        custom[size_t(i)] = fromQColor(QColorDialog::customColor(i));
    if (!accepted)
        return 0;
    color = fromQColor(dlg.selectedColor());
    return 1;
}

QString QtVXB4Res::GetOsInfo() {
    return QSysInfo::prettyProductName();
}

OsVersionInfo QtVXB4Res::GetVersionEx() {
    // Systems outside the original platform's families report family 0 and
    // version 0: none of the older systems' special cases apply to them.
    return {};
}

int QtVXB4Res::LenB_ASCII(const QString& text) {
    return core::lenB(text);
}

QString QtVXB4Res::MidB_ASCII(const QString& text, int start, int count) {
    return core::midB(text, start, count);
}

QtVXB4Res::QtVXB4Res() : plugins_(&ticket::barcodeFitProblem) {}

// Any file that is not a valid plug-in is answered with 0 and leaves the
// record as it came.
qint32 QtVXB4Res::VX4_GetPlgInfo(const QString& plugin, PlgInfo& info) {
    const auto entry = plugins_.get(plugin);
    if (!entry.plugin)
        return 0;
    const ticket::TicketPlugin& p = *entry.plugin;
    info.InfoHead = ticket::kFormatVersion;
    info.PrevWidth = p.previewWidth;
    info.PrevHeight = p.previewHeight;
    info.CanDate = p.printsDate;
    info.CanTime = p.printsTime;
    info.CanKeitou = p.printsRoute;
    info.CanChimei = p.printsStopName;
    info.CanBarcode = p.printsBarcode;
    info.BarcodeCount = p.barcodeCount();
    info.KeitouMax = p.barcode ? p.barcode->routeMax : 0;
    info.BarcodeMode = p.barcode ? p.barcode->mode : 0;
    info.StopFrom = p.barcode ? p.barcode->stopFrom : 0;
    info.StopTo = p.barcode ? p.barcode->stopTo : 0;
    info.CorpCount = qint32(p.companies.size());
    return 1;
}

void QtVXB4Res::VX4_SetPlgComment(const QString& plugin, QWidget* textBox) {
    const auto entry = plugins_.get(plugin);
    if (!entry.plugin)
        return;
    const QString& notes = entry.plugin->notes;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(textBox))
        plain->setPlainText(notes);
    else if (auto* rich = qobject_cast<QTextEdit*>(textBox))
        rich->setPlainText(notes);
    else if (auto* line = qobject_cast<QLineEdit*>(textBox))
        line->setText(QString(notes).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

void QtVXB4Res::VX4_SetCorpAddList(const QString& plugin, QWidget* comboBox) {
    const auto entry = plugins_.get(plugin);
    auto* combo = qobject_cast<QComboBox*>(comboBox);
    if (!entry.plugin || !combo)
        return;
    combo->addItems(entry.plugin->companies);
}

void QtVXB4Res::VX4_DrawSeiriken(const QString& plugin, QPainter& dc, const QString& chimei, const QString& date,
                                 const QString& time, qint32 keitou, qint16 seiriNum, qint16 row, qint16 corp) {
    const auto entry = plugins_.get(plugin);
    if (!entry.plugin || !dc.isActive())
        return;
    ticket::drawTicket(dc, *entry.plugin, ticket::TicketValues{chimei, date, time, keitou, seiriNum, row, corp});
}

} // namespace platform
