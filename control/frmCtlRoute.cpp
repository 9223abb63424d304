// The route work of the control panel: the reset that loads a route, the
// board refresh, stepping, the keypad and digit lists, and blanking.
#include "control/frmCtl.h"

#include "board/Form1.h"
#include "board/chimei/ChimeiCtl_A.h"
#include "board/degit/M_Degit.h"
#include "control/SeirikenPreview.h"
#include "options/frmOption.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/VXB4Res.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <array>
#include <optional>

namespace {

constexpr int kLampTestMs = 3000;
constexpr int kMaxKukan = 300;
// The largest fare file that can hold 301 records: every name at its
// 65535-byte limit. Nothing beyond it can belong to the records.
constexpr qint64 kMaxHy3Bytes = 2 + qint64(kStopTableRows) * (2 + 65535 + 2 + 2 * kDataColumns);
// What a fare digit shows when the doubled late-night fare leaves 16 bits:
// no number rather than a wrong one.
const QString kFareOutOfRange = QStringLiteral("----");

bool isChecked(const QCheckBox* box) {
    return box->checkState() == Qt::Checked;
}

QString todayText() {
    return platform::clock().now().date().toString(QStringLiteral("MM-dd-yyyy"));
}

// The fare a digit shows: doubled at night except for -1 (no fare).
QVariant fareValue(qint16 v, bool lateNight) {
    if (!lateNight || v == -1)
        return QVariant::fromValue<qint16>(v);
    const int doubled = 2 * int(v);
    if (doubled < -32768 || doubled > 32767)
        return kFareOutOfRange;
    return QVariant::fromValue<qint16>(qint16(doubled));
}

} // namespace

void frmCtl::operatorMessage(const QString& text) {
    platform::messageBox().MsgBox(this, text, platform::MsgButtons::Ok, platform::MsgIcon::None, kMessageTitle);
}

void frmCtl::playKeySound(int slot) {
    if (options_)
        mdlSndAPI::PlaySoundFile(options_->soundFile(slot), QStringLiteral("S1"), false, 0);
}

void frmCtl::readEntry(int index, QString& keitou, QString& section) const {
    keitou.clear();
    section.clear();
    if (index == 0) {
        auto selected = [](const QListWidget* list) {
            const QList<QListWidgetItem*> items = list->selectedItems();
            return items.isEmpty() ? QString() : items.first()->text();
        };
        for (const QListWidget* list : List2)
            keitou += selected(list);
        for (const QListWidget* list : List3)
            section += selected(list);
    } else {
        keitou = Label2[0]->text();
        section = Label2[2]->text();
    }
}

// ---- Reset -------------------------------------------------------------------

void frmCtl::ResetRoute(int index) {
    if (index < 0 || index > 1 || !board_ || !options_)
        return;
    Form1& board = *board_;
    const frmOption& o = *options_;
    const QString fareFolder = o.Text2[0]->text();
    const QString tapeFolder = folderWithSeparator(o.Text2[1]->text());

    // The route-setting sound answers every press, also a refused one.
    playKeySound(0);

    QString keitou, section;
    readEntry(index, keitou, section);
    fare_->KeitouText = keitou;
    fare_->StartKukan = qint16(qBound(1, section.toInt(), kMaxKukan));
    const QString number = QString::number(routeNumber(keitou));

    mdlM_Tape::LoadTape(tapeFolder, number);

    // The fare file. Nothing of the fare state changes until the whole file
    // has been read: a refused or broken file leaves the route that was set.
    const QString path = hy3FileName(fareFolder, keitou);
    if (!fareFolder.isEmpty() && !QFileInfo(folderWithSeparator(fareFolder)).isDir()) {
        operatorMessage(QStringLiteral("運賃データのフォルダーが見つかりません。\r\n") + fareFolder);
        return;
    }
    if (!QFileInfo::exists(path)) {
        operatorMessage(QStringLiteral("指定した系統のデータがありません..."));
        return;
    }
    QByteArray bytes;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            operatorMessage(
                QStringLiteral("運賃データのファイルを開けません。\r\n%1\r\n%2").arg(path, file.errorString()));
            return;
        }
        bytes = file.read(kMaxHy3Bytes);
        if (file.error() != QFileDevice::NoError) {
            operatorMessage(
                QStringLiteral("運賃データのファイルを読めません。\r\n%1\r\n%2").arg(path, file.errorString()));
            return;
        }
    }

    // An empty file holds no stops at all, as a count of 0 says.
    const Hy3File head = bytes.isEmpty() ? Hy3File{} : readHy3Count(bytes);
    if (head.error != Hy3Error::None) {
        operatorMessage(hy3ErrorText(head));
        return;
    }
    if (head.count == 0) {
        operatorMessage(QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります..."));
        return;
    }
    // At least StartKukan + 1 stops: the starting stop and one to go to.
    if (head.count - 1 < fare_->StartKukan) {
        operatorMessage(
            QStringLiteral("指定した区間はデータの数よりも多いです...\r\n  解決法：正しい区間を入力して下さい."));
        return;
    }
    const Hy3File route = readHy3(bytes);
    if (route.error != Hy3Error::None) {
        operatorMessage(hy3ErrorText(route));
        return;
    }
    fare_->replaceRows(route.records);
    fare_->DataCount = route.count;
    fare_->CurStop = qint16(fare_->StartKukan - 1);

    // Lamp test: every segment of the fifty fare digits for three seconds,
    // with "系統設定" on the stop-name display. A refresh that this
    // interrupts must not put its stop name back afterwards.
    newBoardGeneration();
    setStopName(QStringLiteral("系統設定"));
    for (int i = 1; i <= 50; ++i)
        board.Degit[size_t(i)]->ResetDegit(true);
    QCoreApplication::processEvents();
    platform::clock().Sleep(kLampTestMs);

    const bool fixedDate = o.Option4[2]->isChecked();
    KeitouSetDate = fixedDate ? o.Label10->text() : todayText();
    // The board was blanked while the lamps were lit: it stays dark, and
    // showing it again brings up the new route.
    if (Check1->isChecked())
        return;

    for (int i = 1; i <= 50; ++i)
        board.Degit[size_t(i)]->setValue(QVariant::fromValue<qint16>(0));
    Command2[0]->setEnabled(true);
    Command2[1]->setEnabled(true);
    Check1->setEnabled(true);
    DispData(qint16(fare_->CurStop + 1));
}

// ---- Board refresh -------------------------------------------------------------

void frmCtl::DispData(qint16 nIndex) {
    if (!board_ || !options_)
        return;
    Form1& board = *board_;
    const frmOption& o = *options_;
    const quint64 generation = newBoardGeneration();
    const int n = nIndex;
    const StopRecord& row = fare_->row(n);
    const QString chimei = row.Chimei;

    // 1. Fares from the starting section up; digits below it stay as the
    // reset left them.
    std::array<std::optional<QVariant>, 51> shown{};
    const bool lateNight = isChecked(Check2);
    for (int i = std::max<int>(fare_->StartKukan, 1); i <= 50; ++i)
        shown[size_t(i)] = fareValue(row.col(i), lateNight);

    // 2. Information digits, in this order, each in place of the fare at its
    // position.
    auto position = [&o](int combo) { return o.Combo4[size_t(combo)]->currentIndex() + 1; };
    auto info = [&shown](int pos, const QVariant& v) {
        if (pos >= 1 && pos <= 50)
            shown[size_t(pos)] = v;
    };
    if (isChecked(o.Check3[0]))
        info(position(0), QVariant::fromValue<qint16>(qint16(isChecked(o.Check3[4]) ? n - 1 : n)));
    if (isChecked(o.Check3[1]))
        info(position(1), QVariant::fromValue<qint16>(row.SeiriNum));
    if (isChecked(o.Check3[2]))
        info(position(2), fare_->KeitouText);
    if (isChecked(o.Check3[3]))
        info(position(3), QVariant::fromValue<qint16>(row.col(o.Combo4[4]->currentIndex() + 1)));
    // Each digit is drawn once, with what it finally shows.
    for (int i = 1; i <= 50; ++i)
        if (shown[size_t(i)])
            board.Degit[size_t(i)]->setValue(*shown[size_t(i)]);

    // 3. The ticket date.
    QString date;
    if (o.Option4[0]->isChecked())
        date = todayText();
    else if (o.Option4[1]->isChecked())
        date = KeitouSetDate;
    else
        date = o.Label10->text();

    // 4, 5. The ticket preview, cleared every time, drawn when it is on.
    picSeirikenPrev->clear();
    if (isChecked(o.chkUseSeiriPrev) && !picSeirikenPrev->image().isNull()) {
        const QString time = platform::clock().now().time().toString(QStringLiteral("HH:mm:ss"));
        {
            QPainter painter(&picSeirikenPrev->image());
            platform::helper().VX4_DrawSeiriken(o.txtSeiriPlgDir->text(), painter, chimei, date, time,
                                                routeNumber(fare_->KeitouText), row.SeiriNum, qint16(n),
                                                qint16(Combo1->currentIndex()));
        }
        picSeirikenPrev->update();
    }

    // 6. Queued events run here, a second stepping click among them. When
    // one of them changed the board it has shown its own row completely,
    // stop name included; this refresh then ends without touching it.
    QCoreApplication::processEvents();
    if (generation != boardGeneration_ || !board_)
        return;

    // 7. The stop name last.
    showStopName(chimei);
}

void frmCtl::setStopName(const QString& name) {
    stopName_ = name;
    if (board_)
        board_->ChimeiCtl->SetChimei(name);
}

void frmCtl::showStopName(const QString& name) {
    quint64 seen = boardGeneration_;
    setStopName(name);
    // SetChimei lets queued events run before it draws. A command among them
    // that changed the board has finished, its own name included, and this
    // call has just drawn the older name over it.
    while (board_ && seen != boardGeneration_) {
        seen = boardGeneration_;
        board_->ChimeiCtl->SetChimei(stopName_);
    }
}

// ---- Stepping ------------------------------------------------------------------

void frmCtl::Command2_Click(int index) {
    if (index == 0) {
        if (fare_->CurStop <= 0)
            return;
        --fare_->CurStop;
    } else if (index == 1) {
        // No step past the last stop, nor any step before a route is set.
        if (fare_->CurStop + 1 >= fare_->DataCount)
            return;
        ++fare_->CurStop;
    } else {
        return;
    }
    playStepSound();
    DispData(qint16(fare_->CurStop + 1));
}

void frmCtl::playStepSound() {
    if (!options_)
        return;
    const frmOption& o = *options_;
    int slot = -1;
    if (o.Option2[0]->isChecked()) {
        slot = 7;
    } else {
        // The chosen column of the new stop picks slot 8, 9 or 10 by its
        // value 1, 2 or 3; any other value plays nothing.
        const qint16 v = fare_->row(fare_->CurStop + 1).col(o.Combo1->currentIndex() + 1);
        if (v >= 1 && v <= 3)
            slot = 7 + v;
    }
    if (slot < 0)
        return;
    // Played to its end first when the fares are to change after it.
    mdlSndAPI::PlaySoundFile(o.soundFile(slot), QStringLiteral("S2"), o.Option6[0]->isChecked(), 0);
}

// ---- Keypad and digit lists ------------------------------------------------------

void frmCtl::CommandButton1_Click(int index) {
    if (index < 0 || index > 11)
        return;
    playKeySound(1);
    if (index == 10) {
        KeitouInputMode = true;
        Label2[0]->clear();
    } else if (index == 11) {
        KeitouInputMode = false;
        Label2[2]->clear();
    } else {
        QLabel* display = KeitouInputMode ? Label2[0] : Label2[2];
        const int limit = KeitouInputMode ? 5 : 3;
        if (display->text().size() < limit)
            display->setText(display->text() + QString::number(index));
    }
}

void frmCtl::List2_Click(int) {
    playKeySound(1);
}

void frmCtl::List3_Click(int) {
    playKeySound(0);
}

// ---- Blanking ------------------------------------------------------------------

void frmCtl::Check1_Click() {
    if (!board_)
        return;
    Form1& board = *board_;
    const bool blank = Check1->isChecked();
    if (blank) {
        // Also ends any refresh this interrupts: it must not show its stop
        // name on a dark board.
        newBoardGeneration();
        setStopName(QString());
        for (int i = 1; i <= 50; ++i)
            board.Degit[size_t(i)]->ResetDegit(false);
        board.Timer1->stop();
        board.TimeDegit[0]->setValue(QString());
        board.TimeDegit[1]->setValue(QString());
    }
    for (QFrame* f : Frame1)
        f->setEnabled(!blank);
    Command2[0]->setEnabled(!blank);
    Command2[1]->setEnabled(!blank);
    fraLateNight->setEnabled(!blank);
    if (blank) {
        grpM_Tape->setEnabled(false);
        return;
    }
    // The clock is an optional part of the board: it runs only when shown.
    if (!board.TimeDegit[0]->isHidden())
        board.Timer1->start();
    grpM_Tape->setEnabled(mdlM_Tape::SpeechAvailable());
    DispData(qint16(fare_->CurStop + 1));
}
