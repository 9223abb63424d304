#include "board/Backlight.h"

#include "board/Form1.h"
#include "core/RuntimeError.h"
#include "platform/ColorRef.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>

namespace Backlight {

void colourNumbers(Form1& board, quint32 colour) {
    const QColor c = platform::toQColor(colour);
    for (int i = 1; i <= 50; ++i) {
        QLabel* l = board.lblSeiriNum[size_t(i)];
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, c);
        l->setPalette(pal);
    }
}

QImage loadPicture(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw core::RuntimeError(core::errors::kFileNotFound, QStringLiteral("ファイルが見つかりません。"));
    if (!info.isFile() || !info.isReadable())
        throw core::RuntimeError(core::errors::kPathFileAccess, QStringLiteral("パス名が無効です。"));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (!image.isNull())
        return image;
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
        throw core::RuntimeError(core::errors::kFileNotFound, QStringLiteral("ファイルが見つかりません。"));
    case QImageReader::DeviceError:
        throw core::RuntimeError(core::errors::kDeviceIo, QStringLiteral("デバイス I/O エラーです。"));
    default: throw core::RuntimeError(core::errors::kInvalidPicture, QStringLiteral("ピクチャが不正です。"));
    }
}

QString errorMessage(int code) {
    QString explanation;
    switch (code) {
    case core::errors::kOutOfMemory:
    case core::errors::kOutOfStackSpace:
    case core::errors::kInternal:
        explanation =
            QStringLiteral("　内部的なエラーです。ミラドへ報告してください。エラー場所：frmCtl.Option4_Click()");
        break;
    case core::errors::kFileNotFound:
    case core::errors::kPathFileAccess:
    case core::errors::kPathNotFound:
        explanation = QStringLiteral("　画像ファイルが見つからないか、指定している場所が不正です。");
        break;
    case core::errors::kDeviceIo:
    case core::errors::kDeviceUnavailable:
        explanation = QStringLiteral("　デバイスエラーもしくは準備が出来ていません。");
        break;
    case core::errors::kInvalidPicture:
        explanation = QStringLiteral("　指定した画像の内容が不正です。この部分では扱えません。");
        break;
    default: break;
    }
    return QStringLiteral("エラーです。\n\nエラーコード：%1").arg(code) + explanation;
}

void apply(Form1& board, const Choice& choice, qint16 index, QWidget* owner) {
    if (index < 0 || index > 2)
        return;
    try {
        if (choice.userPicture) {
            const QString& path = choice.userFile;
            // A user picture that is not there leaves the panel as it is.
            if (QFileInfo(path).isFile()) {
                const QImage picture = loadPicture(path);
                board.setPicture(QPixmap::fromImage(picture));
            }
        } else {
            board.setPicture(board.imgRes[size_t(index)]->pixmap());
        }
    } catch (const core::RuntimeError& e) {
        platform::messageBox().MsgBox(owner, errorMessage(e.number()), platform::MsgButtons::Ok,
                                      platform::MsgIcon::Critical, QStringLiteral("エラー"));
    } catch (const std::bad_alloc&) {
        platform::messageBox().MsgBox(owner, errorMessage(core::errors::kOutOfMemory), platform::MsgButtons::Ok,
                                      platform::MsgIcon::Critical, QStringLiteral("エラー"));
    }
    colourNumbers(board, choice.numberColor);
}

} // namespace Backlight
