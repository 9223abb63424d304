// The real helper library's string operations and its file-filter form.
#include "platform/QtVXB4Res.h"

#include <QTest>

using namespace platform;

class TestQtVXB4Res : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void byteOperationsCountShiftJisBytes() {
        QtVXB4Res lib;
        const QString name = QStringLiteral("市役所前");
        QCOMPARE(lib.LenB_ASCII(name), 8);
        QCOMPARE(lib.MidB_ASCII(name, 3, 4), QStringLiteral("役所"));
    }

    void fileFilterBecomesQtForm() {
        const QString filter = QStringLiteral("Waveサウンド(*.wav)") + QChar(0) + "*.wav" + QChar(0) +
                               QStringLiteral("MP3サウンド(*.mp3)") + QChar(0) + "*.mp3" + QChar(0) + QChar(0);
        // Labels that already end in their pattern are complete Qt filters.
        QCOMPARE(qtFileFilter(filter), QStringLiteral("Waveサウンド(*.wav);;MP3サウンド(*.mp3)"));
        const QString bare = QStringLiteral("画像") + QChar(0) + "*.bmp;*.gif" + QChar(0) + QChar(0);
        QCOMPARE(qtFileFilter(bare), QStringLiteral("画像 (*.bmp *.gif)"));
        QCOMPARE(qtFileFilter(QString()), QString());
    }
};

QTEST_MAIN(TestQtVXB4Res)
#include "tst_QtVXB4Res.moc"
