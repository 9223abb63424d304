// Shift-JIS conversion and the byte-wise string operations.
#include "core/ShiftJis.h"

#include <QTest>

using namespace core;

class TestShiftJis : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTripsJapaneseText() {
        const QString text = QStringLiteral("次は、市役所前です。ｱｲｳ ABC １２３");
        const QByteArray bytes = sjis::encode(text);
        QCOMPARE(sjis::decode(bytes), text);
        QCOMPARE(sjis::encode(QStringLiteral("市")), QByteArray("\x8E\x73"));
        QCOMPARE(sjis::encode(QStringLiteral("ｱ")), QByteArray("\xB1"));
        QCOMPARE(sjis::encode(QStringLiteral("～")), QByteArray("\x81\x60"));
    }

    void unrepresentableCharactersBecomeOneQuestionMark() {
        // An emoji (outside the BMP) and a Hangul syllable have no code here.
        const QString text = QStringLiteral("A") + QString::fromUcs4(U"\U0001F68C") + QStringLiteral("한B");
        QCOMPARE(sjis::encode(text), QByteArray("A??B"));
        QCOMPARE(lenB(text), 4);
    }

    void unencodableNamesEachMissingCharacterOnce() {
        const QString bus = QString::fromUcs4(U"\U0001F68C");
        // Accents, emoji (a surrogate pair, one entry), Hangul; repeats once.
        QCOMPARE(sjis::unencodable(QStringLiteral("/snd/caf\u00E9/") + bus + QStringLiteral("한\u00E9.wav")),
                 QStringList({QStringLiteral("\u00E9"), bus, QStringLiteral("한")}));
        // Everything code page 932 has, half-width kana and NEC extensions included.
        QVERIFY(sjis::unencodable(QStringLiteral("C:\\データ\\ｱｲｳ①～")).isEmpty());
        QVERIFY(sjis::unencodable(QString()).isEmpty());
        // Characters with a customary form are stored meaningfully.
        QVERIFY(sjis::unencodable(QStringLiteral("C:¥データ〜")).isEmpty());
    }

    void charactersWithACustomaryFormKeepTheirMeaning() {
        // A yen sign typed as the path separator stays the separator byte.
        QCOMPARE(sjis::encode(QStringLiteral("C:¥K27¥運賃")), QByteArray("C:\\K27\\\x89\x5E\x92\xC0"));
        // The JIS forms of these signs take the code page's neighbours: the
        // bytes are those of the fullwidth forms, which decode back to them.
        const struct {
            const char16_t* from;
            const char16_t* to;
        } pairs[] = {{u"〜", u"～"}, {u"−", u"－"}, {u"‖", u"∥"}, {u"—", u"―"},
                     {u"¬", u"￢"},  {u"¢", u"￠"}, {u"£", u"￡"}};
        for (const auto& p : pairs) {
            const QString from = QString::fromUtf16(p.from), to = QString::fromUtf16(p.to);
            QCOMPARE(sjis::encode(from), sjis::encode(to));
            QCOMPARE(sjis::encode(from).size(), 2);
            QCOMPARE(sjis::decode(sjis::encode(from)), to);
        }
        // Mixed with characters that have no form at all, only those become '?',
        // and byte counts follow the substitutes.
        QCOMPARE(sjis::encode(QStringLiteral("¥100〜한")), QByteArray("\\100\x81\x60?"));
        QCOMPARE(lenB(QStringLiteral("¥100〜한")), 7);
    }

    void brokenBytesAreDroppedNotReplaced() {
        QCOMPARE(sjis::decode(QByteArray("AB\x8E")), QStringLiteral("AB"));
        QCOMPARE(sjis::decode(QByteArray("\x8E\x73\x82")), QStringLiteral("市"));
        QCOMPARE(sjis::decode(QByteArray()), QString());
    }

    void lengthInBytes() {
        QCOMPARE(lenB(QStringLiteral("市役所前")), 8);
        QCOMPARE(lenB(QStringLiteral("ABC")), 3);
        QCOMPARE(lenB(QStringLiteral("ｼﾔｸｼｮ")), 5);
        QCOMPARE(lenB(QStringLiteral("A市")), 3);
        QCOMPARE(lenB(QString()), 0);
    }

    void midByBytes() {
        const QString name = QStringLiteral("市役所前");
        QCOMPARE(midB(name, 1, 2), QStringLiteral("市"));
        QCOMPARE(midB(name, 7, 2), QStringLiteral("前"));
        QCOMPARE(midB(name, 9, 2), QString());             // beyond the end
        QCOMPARE(midB(name, 7, 10), QStringLiteral("前")); // clipped
        QCOMPARE(midB(QStringLiteral("AB市"), 1, 2), QStringLiteral("AB"));
        QCOMPARE(midB(QStringLiteral("AB市"), 3, 2), QStringLiteral("市"));
        // A piece that starts inside a character keeps what can be read.
        QCOMPARE(midB(QStringLiteral("A市"), 1, 2), QStringLiteral("A"));
        QCOMPARE(midB(QStringLiteral("A市"), 3, 2), QStringLiteral("s"));
        QCOMPARE(midB(name, 0, 2), QString());
        QCOMPARE(midB(name, 1, 0), QString());
    }
};

QTEST_GUILESS_MAIN(TestShiftJis)
#include "tst_ShiftJis.moc"
