// Faces asked for by their Windows names resolve to installed faces that
// carry the Japanese text, widgets keep the name they were given, and the
// application's default face draws Japanese without a fallback.
#include "platform/Fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

class TestFonts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowsFacesResolveToInstalledJapaneseFaces() {
        const QStringList installed = QFontDatabase::families();
        for (const QString& face :
             {platform::kFaceGothic, platform::kFaceMincho, platform::kFacePGothic, platform::kFaceTicketNumber}) {
            const QString family = platform::installedFace(face);
            QVERIFY2(installed.contains(family), qPrintable(face + QStringLiteral(" -> ") + family));
            // The font is drawn with the face it names, not with a fallback,
            // and that face has the board's characters.
            const QFont f = platform::faceFont(face, 12, true);
            QCOMPARE(QFontInfo(f).family(), family);
            QVERIFY(f.bold());
            QCOMPARE(f.pixelSize(), 16);
            const QFontMetrics fm(f);
            for (const QChar c : QStringLiteral("整理券運賃ゴシック１"))
                QVERIFY2(fm.inFont(c), qPrintable(face + QStringLiteral(": ") + c));
        }
        // The Gothic and the Mincho stay different faces: the stop-name
        // display's font options tell them apart.
        QVERIFY(platform::installedFace(platform::kFaceGothic) != platform::installedFace(platform::kFaceMincho));
    }

    void installedAndUnknownNamesAreKept() {
        const QString installed = platform::installedFace(platform::kFaceGothic);
        QVERIFY(installed != platform::kFaceGothic);
        QCOMPARE(platform::installedFace(installed), installed);
        QCOMPARE(platform::installedFace(installed.toUpper()), installed.toUpper());
        const QString unknown = QStringLiteral("K27 存在しない書体");
        QCOMPARE(platform::installedFace(unknown), unknown);
        QCOMPARE(platform::faceFont(unknown, 9).family(), unknown);
    }

    void widgetsKeepTheFaceNameTheyWereGiven() {
        QLabel label;
        QCOMPARE(platform::faceName(label), label.font().family());

        platform::useFaceFont(label, platform::kFaceTicketNumber, 12.75, true);
        QCOMPARE(platform::faceName(label), platform::kFaceTicketNumber);
        QCOMPARE(label.font().pixelSize(), 17);

        // Changing the face keeps size and weight.
        platform::setFace(label, platform::kFacePGothic);
        QCOMPARE(platform::faceName(label), platform::kFacePGothic);
        QCOMPARE(label.font().family(), platform::installedFace(platform::kFacePGothic));
        QCOMPARE(label.font().pixelSize(), 17);
        QVERIFY(label.font().bold());
    }

    void applicationFontDrawsJapaneseInOneFace() {
        const QFont before = QApplication::font();
        platform::installApplicationFont();
        QLabel label(QStringLiteral("データ送り ABC"));
        const QString family = platform::installedFace(platform::kFacePGothic);
        QCOMPARE(QFontInfo(label.font()).family(), family);
        QCOMPARE(label.font().pixelSize(), 12);
        const QFontMetrics fm(label.font());
        for (const QChar c : label.text())
            QVERIFY2(fm.inFont(c), qPrintable(QString(c)));
        QApplication::setFont(before);
    }

    // Waiting twice, or never, is safe: a second wait returns at once and
    // the destructor joins a thread nobody waited for.
    void fontConfigPreloadIsSafeToWaitForOrDrop() {
        {
            platform::FontConfigPreload preload;
            preload.wait();
            preload.wait();
        }
        { platform::FontConfigPreload dropped; }
        QVERIFY(!QFontDatabase::families().isEmpty());
    }
};

// As the program starts: the font configuration loads while the application
// is made, and every test then uses the configuration read ahead.
int main(int argc, char* argv[]) {
    platform::FontConfigPreload fonts;
    QApplication app(argc, argv);
    fonts.wait();
    TestFonts test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_Fonts.moc"
