// The pickers of the options window: folders, sound and picture files, the
// ticket plug-in, the fixed ticket date, and opening a data folder in the
// desktop's file browser. Each writes only its own box; a cancelled dialog
// changes nothing.
#include "options/frmOption.h"

#include "control/frmCtl.h"
#include "core/ShiftJis.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "platform/VXB4Res.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

// A file-dialog filter: label NUL pattern NUL ... NUL NUL.
QString filter(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    QString f;
    for (const auto& [label, pattern] : pairs)
        f += QString::fromUtf8(label) + QChar(0) + QString::fromUtf8(pattern) + QChar(0);
    return f + QChar(0);
}

// The settings file keeps paths in Shift-JIS: a chosen path with characters
// that code page 932 lacks works for this run but comes back mangled at the
// next start. Say so at once, naming the characters (with their code point,
// as some are hard to tell apart or invisible).
void warnIfNotStorable(QWidget* owner, const QString& path) {
    const QStringList missing = core::sjis::unencodable(path);
    if (missing.isEmpty())
        return;
    QStringList named;
    for (const QString& ch : missing) {
        const QString code = QString::number(ch.toUcs4().value(0), 16).toUpper().rightJustified(4, QLatin1Char('0'));
        named << ch + QStringLiteral("\u00A0(U+") + code + QLatin1Char(')');
    }
    platform::messageBox().MsgBox(
        owner,
        QStringLiteral("選択したパス名には設定ファイルに保存できない文字（") + named.join(QStringLiteral("、")) +
            QStringLiteral("）が含まれています。\r\n今回は使えますが、次回起動時には使えません。"),
        platform::MsgButtons::Ok, platform::MsgIcon::Exclamation, QStringLiteral("保存できない文字"));
}

} // namespace

QString frmOption::GetPathString(const QString&) {
    return platform::helper().Vx3FolderDlg(this, QStringLiteral("フォルダーを選択してください"));
}

void frmOption::Command3_Click(int index) {
    QLineEdit* box = Text2.at(size_t(index));
    const QString folder = GetPathString(QString());
    if (folder.isEmpty())
        return;
    box->setText(folder);
    warnIfNotStorable(this, folder);
}

void frmOption::Command10_Click(int index) {
    // A failure to open is of no concern to the user here.
    platform::shell().openFolder(this, Text2.at(size_t(index))->text());
}

void frmOption::cmdSelectSound_Click(int index) {
    QLineEdit* box = txtSelectSound.at(size_t(index));
    if (!box)
        return;
    const QString path = platform::helper().Vx3FileDlg(
        this, 0,
        filter({{"Waveサウンド(*.wav)", "*.wav"}, {"MP3サウンド(*.mp3)", "*.mp3"}, {"MIDIシーケンス(*.mid)", "*.mid"}}),
        QString(), QStringLiteral("サウンドの選択"));
    if (path.isEmpty())
        return;
    box->setText(path);
    warnIfNotStorable(this, path);
}

void frmOption::Command6_Click(int index) {
    QLineEdit* box = txtSelectPanel.at(size_t(index));
    const QString path = platform::helper().Vx3FileDlg(
        this, 0, filter({{"ビットマップ(*.bmp)", "*.bmp"}, {"GIF画像(*.gif)", "*.gif"}, {"JPEG画像(*.jpg)", "*.jpg"}}),
        QString(), QStringLiteral("パネル画像の選択"));
    if (path.isEmpty())
        return;
    box->setText(path);
    warnIfNotStorable(this, path);
}

void frmOption::Command1_Click() {
    const QString path = platform::helper().Vx3FileDlg(this, 0, filter({{"整理券プラグイン(*.4SP)", "*.4SP"}}),
                                                       QString(), QStringLiteral("プラグインの選択"));
    // Cancelling is not a failed load: it changes nothing and says nothing.
    if (path.isEmpty())
        return;
    // The new plug-in brings its own company names, or none.
    if (panel_)
        panel_->Combo1->clear();
    if (SetPlgin(path) != 0) {
        txtSeiriPlgDir->setText(path);
        warnIfNotStorable(this, path);
        return;
    }
    platform::messageBox().MsgBox(this, QStringLiteral("指定したファイルはプラグインでないか、内容が不正です"),
                                  platform::MsgButtons::Ok, platform::MsgIcon::Critical,
                                  QStringLiteral("プラグインロードエラー"));
}

void frmOption::Command7_Click() {
    platform::DateRecord date;
    if (platform::helper().Call_dlg111(this, date) == 0)
        return;
    Label10->setText(QStringLiteral("%1/%2/%3")
                         .arg(date.wYear)
                         .arg(date.wMonth, 2, 10, QLatin1Char('0'))
                         .arg(date.wDay, 2, 10, QLatin1Char('0')));
}

void frmOption::Command11_Click() {
    txtSeiriPlgDir->clear();
    List1->clear();
    txtPlginComment->clear();
}
