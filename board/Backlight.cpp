#include "board/Backlight.h"

#include "board/Form1.h"
#include "options/OptionWidgets.h"
#include "options/frmOption.h"
#include "platform/ColorRef.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace Backlight {

namespace {

constexpr int kOutOfMemory = 7;
constexpr int kFileAccess = 75;
constexpr int kDeviceIo = 57;

// The "ユーザーパネル" button of each state.
QRadioButton* userChoice(const frmOption& options, int index) {
    static constexpr int kUserButton[3] = {6, 2, 5};
    return options.Option3[size_t(kUserButton[index])];
}

void colourNumbers(Form1& board, quint32 colour) {
    const QColor c = platform::toQColor(colour);
    for (int i = 1; i <= 50; ++i) {
        QLabel* l = board.lblSeiriNum[size_t(i)];
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, c);
        l->setPalette(pal);
    }
}

} // namespace

QImage loadPicture(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw platform::RuntimeError(platform::errors::kFileNotFound, QStringLiteral("ファイルが見つかりません。"));
    if (!info.isFile() || !info.isReadable())
        throw platform::RuntimeError(kFileAccess, QStringLiteral("パス名が無効です。"));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (!image.isNull())
        return image;
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
        throw platform::RuntimeError(platform::errors::kFileNotFound, QStringLiteral("ファイルが見つかりません。"));
    case QImageReader::DeviceError:
        throw platform::RuntimeError(kDeviceIo, QStringLiteral("デバイス I/O エラーです。"));
    default: throw platform::RuntimeError(platform::errors::kInvalidPicture, QStringLiteral("ピクチャが不正です。"));
    }
}

QString errorMessage(int code) {
    QString explanation;
    switch (code) {
    case kOutOfMemory:
    case 28:
    case platform::errors::kInternal:
        explanation =
            QStringLiteral("　内部的なエラーです。ミラドへ報告してください。エラー場所：frmCtl.Option4_Click()");
        break;
    case platform::errors::kFileNotFound:
    case kFileAccess:
    case platform::errors::kPathNotFound:
        explanation = QStringLiteral("　画像ファイルが見つからないか、指定している場所が不正です。");
        break;
    case kDeviceIo:
    case 68: explanation = QStringLiteral("　デバイスエラーもしくは準備が出来ていません。"); break;
    case platform::errors::kInvalidPicture:
        explanation = QStringLiteral("　指定した画像の内容が不正です。この部分では扱えません。");
        break;
    default: break;
    }
    return QStringLiteral("エラーです。\n\nエラーコード：%1").arg(code) + explanation;
}

void apply(Form1& board, const frmOption& options, qint16 index, QWidget* owner) {
    if (index < 0 || index > 2)
        return;
    const quint32 colour = options.Command5[size_t(index)]->BackColor();
    try {
        if (options.Option3[1]->isChecked() && userChoice(options, index)->isChecked()) {
            const QString path = options.txtSelectPanel[size_t(index)]->text();
            // A user picture that is not there leaves the panel as it is.
            if (QFileInfo(path).isFile()) {
                const QImage picture = loadPicture(path);
                board.setPicture(QPixmap::fromImage(picture));
            }
        } else {
            board.setPicture(board.imgRes[size_t(index)]->pixmap());
        }
    } catch (const platform::RuntimeError& e) {
        platform::messageBox().MsgBox(owner, errorMessage(e.number()), platform::MsgButtons::Ok,
                                      platform::MsgIcon::Critical, QStringLiteral("エラー"));
    } catch (const std::bad_alloc&) {
        platform::messageBox().MsgBox(owner, errorMessage(kOutOfMemory), platform::MsgButtons::Ok,
                                      platform::MsgIcon::Critical, QStringLiteral("エラー"));
    }
    colourNumbers(board, colour);
}

} // namespace Backlight
