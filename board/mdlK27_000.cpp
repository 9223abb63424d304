#include "board/mdlK27_000.h"

#include "board/Form1.h"
#include "board/degit/M_Degit.h"
#include "core/RuntimeError.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"

#include <QLabel>

namespace mdlK27_000 {

void InitBoardDegits(Form1& board) {
    for (int n = 1; n <= 50; ++n)
        board.Degit[size_t(n)]->ResetDegit(false);
}

QString fullWidthNumber(int k, bool twoDigit) {
    QString text = QString::number(k);
    if (twoDigit && k >= 0 && text.size() < 2)
        text.prepend(QLatin1Char('0'));
    QString wide;
    for (QChar c : text)
        wide += (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? QChar(c.unicode() - '0' + 0xFF10)
                : c == QLatin1Char('-')                          ? QChar(0xFF0D)
                                                                 : c;
    return wide;
}

namespace {

QString firstCellWord(qint16 scheme) {
    switch (scheme) {
    case 2:
    case 3: return QStringLiteral("な し");
    case 4:
    case 5: return QStringLiteral("無 券");
    case 6:
    case 7: return QStringLiteral("券なし");
    case 8:
    case 9: return QStringLiteral("券無し");
    default: return QString(); // 10, 11 and anything above
    }
}

QLabel& label(Form1& board, int n) {
    QLabel* l = board.lblSeiriNum[size_t(n)];
    if (!l)
        throw core::RuntimeError(core::errors::kObjectNotSet,
                                 QStringLiteral("オブジェクト変数または With ブロック変数が設定されていません。"));
    return *l;
}

void numberCaptions(Form1& board, qint16 scheme, bool twoDigit) {
    // Cell 1 of schemes 0 and 1 carries a number too.
    if (scheme == 0 || scheme == 1)
        label(board, 1).setText(fullWidthNumber(scheme == 0 ? 1 : 0, twoDigit));
    // Even schemes from 2 and scheme 1 count from 1 in cell 2; the others
    // show each cell's own number.
    const bool countFromOne = scheme == 1 || (scheme % 2 == 0 && scheme >= 2);
    for (int n = 2; n <= 50; ++n)
        label(board, n).setText(fullWidthNumber(countFromOne ? n - 1 : n, twoDigit));
}

} // namespace

void SeirikenNumSet(Form1& board, qint16 scheme, qint16 twoDigit) {
    try {
        if (scheme < 2) {
            platform::setFace(label(board, 1), platform::kFaceTicketNumber);
        } else {
            platform::setFace(label(board, 1), platform::kFacePGothic);
            label(board, 1).setText(firstCellWord(scheme));
        }
        if (scheme < 0 || scheme > 11)
            return;
        numberCaptions(board, scheme, twoDigit != 0);
    } catch (const core::RuntimeError& e) {
        platform::messageBox().MsgBox(
            &board,
            QStringLiteral("エラーです！\n\nコード：%1\n\n内容：%2\n\nモジュール：IniIO-SeirikenNumSet( )")
                .arg(e.number())
                .arg(e.description()),
            platform::MsgButtons::Ok, platform::MsgIcon::Critical, QStringLiteral("エラー！"));
    }
}

ModelPresets modelPresets() {
    ModelPresets p;
    p.autoSeiriNum = true;
    // This model shows no stop names.
    p.chimeiPageEnabled = false;
    p.seiriColors = {0x00008000, 0x0000C000, 0x0000C000};
    return p;
}

void SetModelDefaults(Form1& board) {
    const QPixmap panel = board.imgRes[0]->pixmap();
    board.setPicture(panel);
    board.imgRes[1]->setPixmap(panel);
    board.imgRes[2]->setPixmap(panel);
}

} // namespace mdlK27_000
