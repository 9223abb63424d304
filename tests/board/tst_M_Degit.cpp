// The seven-segment digit control: setter corrections, what the picture
// shows for every zero mode, zero-fill, shift and cut, the lamp test and
// blanking, persistence and the settings dialog.
#include "board/degit/M_Degit.h"
#include "core/PropertyBag.h"
#include "tests/board/DegitProbe.h"
#include "tests/support/TestSupport.h"

#include <QSignalSpy>
#include <QTest>

using degitprobe::litText;

namespace {
constexpr quint32 kLit = 0x0000FF;   // red
constexpr quint32 kUnlit = 0xFF0000; // blue
constexpr quint32 kBack = 0x000000;

// A four-digit control in colours that are easy to tell apart.
std::unique_ptr<M_Degit> makeDegit() {
    auto d = std::make_unique<M_Degit>();
    d->setBackColor(kBack);
    d->setBaseForeColor(kUnlit);
    d->setDegitForeColor(kLit);
    return d;
}

QVariant num(double v) {
    return v;
}
QVariant text(const char* s) {
    return QString::fromUtf8(s);
}
} // namespace

class TestM_Degit : public testsupport::DoublesFixture {
    Q_OBJECT

private Q_SLOTS:
    void settersCorrectOutOfRangeValues() {
        auto d = makeDegit();
        d->setKeta(0);
        QCOMPARE(d->Keta(), qint16(4));
        QCOMPARE(d->size(), QSize(52, 20)); // 780 x 300 twips
        d->setKeta(16);
        QCOMPARE(d->Keta(), qint16(4));
        d->setKeta(2);
        QCOMPARE(d->width(), 26);

        d->setDegitSize(7);
        QCOMPARE(d->DegitSize(), qint16(0));
        d->setDegitSize(1);
        QCOMPARE(d->size(), QSize(34, 26)); // 2 x 255, 390 twips
        d->setKeta(4);
        d->setDegitSize(3);
        QCOMPARE(d->size(), QSize(44, 15));
        d->setDegitSize(0);

        d->setZeroMode(5);
        QCOMPARE(d->ZeroMode(), qint16(0));
        d->setZeroMode(4);
        QCOMPARE(d->ZeroMode(), qint16(0));
        d->setZeroMode(-1);
        QCOMPARE(d->ZeroMode(), qint16(-1));
        d->setZeroMode(3);
        QCOMPARE(d->ZeroMode(), qint16(3));

        d->setFillZero(9);
        QCOMPARE(d->FillZero(), qint16(4));
        d->setFillZero(-2); // not prevented; draws no zeros
        QCOMPARE(d->FillZero(), qint16(-2));

        d->setShift(10);
        QCOMPARE(d->Shift(), qint16(3));
        d->setShift(-2);
        QCOMPARE(d->Shift(), qint16(0));

        d->setDegitStyle(9); // stored unchanged, drawn in face A
        QCOMPARE(d->DegitStyle(), qint16(9));
    }

    void setterNotifiesHost() {
        M_Degit d;
        QSignalSpy spy(&d, &M_Degit::PropertyChanged);
        d.setKeta(3);
        d.setValue(12);
        d.setUserSet(false);
        QCOMPARE(spy.size(), 3);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Keta"));
        QCOMPARE(spy.at(2).at(0).toString(), QStringLiteral("UserSet"));
    }

    void zeroModes_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0: zero blank") << 0 << num(0) << "    ";
        QTest::newRow("0: empty blank") << 0 << text("") << "    ";
        QTest::newRow("0: -1 drawn") << 0 << num(-1) << "  -1";
        QTest::newRow("0: text 0 is not zero") << 0 << text("0") << "   0";
        QTest::newRow("1: zero shows 0") << 1 << num(0) << "   0";
        QTest::newRow("1: empty shows 0") << 1 << text("") << "   0";
        QTest::newRow("1: -1 drawn") << 1 << num(-1) << "  -1";
        QTest::newRow("2: -1 shows 0") << 2 << num(-1) << "   0";
        QTest::newRow("2: zero blank") << 2 << num(0) << "    ";
        QTest::newRow("2: empty stays empty") << 2 << text("") << "    ";
        QTest::newRow("3: -1 shows 0") << 3 << num(-1) << "   0";
        QTest::newRow("3: zero shows 0") << 3 << num(0) << "   0";
        QTest::newRow("3: empty shows 0") << 3 << text("") << "   0";
        QTest::newRow("3: text -1 is not -1") << 3 << text("-1") << "  -1";
        QTest::newRow("-1: no substitution") << -1 << num(0) << "   0";
        QTest::newRow("-1: empty blank") << -1 << text("") << "    ";
        for (int mode : {-1, 0, 1, 2, 3})
            QTest::newRow(qPrintable(QStringLiteral("%1: space lights nothing").arg(mode)))
                << mode << text(" ") << "    ";
        QTest::newRow("fare") << 0 << num(230) << " 230";
        QTest::newRow("16-bit fare") << 0 << QVariant::fromValue<qint16>(1230) << "1230";
    }
    void zeroModes() {
        QFETCH(int, mode);
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        auto d = makeDegit();
        d->setZeroMode(qint16(mode));
        d->setValue(value);
        QCOMPARE(litText(*d), shown);
        QVERIFY2(degitprobe::unlitEverywhereElse(*d), "Every segment that is not lit must show the unlit colour.");
    }

    void fillZeroShiftAndCut_data() {
        QTest::addColumn<int>("fill");
        QTest::addColumn<int>("shift");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("fill 2 on 7") << 2 << 0 << num(7) << "  07";
        QTest::newRow("fill 4 on 5") << 4 << 0 << num(5) << "0005";
        QTest::newRow("fill on numeric text") << 3 << 0 << text("5") << " 005";
        QTest::newRow("fill rounds") << 2 << 0 << num(2.5) << "  03";
        QTest::newRow("fill keeps the sign") << 3 << 0 << num(-1) << "-001";
        QTest::newRow("text is not filled") << 2 << 0 << text("ab") << "  ab";
        QTest::newRow("negative fill fills nothing") << -2 << 0 << num(7) << "   7";
        QTest::newRow("shift 1") << 0 << 1 << num(120) << "120 ";
        QTest::newRow("shift 3") << 0 << 3 << num(5) << "5   ";
        QTest::newRow("fill then shift") << 2 << 1 << num(7) << " 07 ";
        QTest::newRow("cut keeps the right") << 0 << 0 << num(12345) << "2345";
        QTest::newRow("shift pushes out the left") << 0 << 2 << num(1234) << "34  ";
    }
    void fillZeroShiftAndCut() {
        QFETCH(int, fill);
        QFETCH(int, shift);
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        auto d = makeDegit();
        d->setFillZero(qint16(fill));
        d->setShift(qint16(shift));
        d->setValue(value);
        QCOMPARE(litText(*d), shown);
    }

    void modesTakeEffectOnlyAtTheNextRedraw() {
        auto d = makeDegit();
        d->setValue(7);
        QCOMPARE(litText(*d), QStringLiteral("   7"));
        d->setFillZero(3);
        d->setShift(1);
        d->setZeroMode(1);
        QCOMPARE(litText(*d), QStringLiteral("   7"));
        d->setValue(d->Value());
        QCOMPARE(litText(*d), QStringLiteral("007 "));
    }

    void lampTestAndBlankingKeepTheModes() {
        auto d = makeDegit();
        d->setFillZero(2);
        d->setShift(1);
        d->setZeroMode(1);
        d->ResetDegit(true);
        QCOMPARE(litText(*d), QStringLiteral("8888"));
        QCOMPARE(d->Value().toString(), QStringLiteral("8888"));
        QCOMPARE(d->FillZero(), qint16(2));
        QCOMPARE(d->Shift(), qint16(1));
        QCOMPARE(d->ZeroMode(), qint16(1));

        // Mode 1 would show an empty value as 0: blanking still blanks.
        d->ResetDegit(false);
        QCOMPARE(litText(*d), QStringLiteral("    "));
        QVERIFY(degitprobe::unlitEverywhereElse(*d));
        QCOMPARE(d->ZeroMode(), qint16(1));
        QCOMPARE(d->FillZero(), qint16(2));
        QCOMPARE(d->Shift(), qint16(1));

        d->setKeta(6);
        d->ResetDegit(true);
        QCOMPARE(litText(*d), QStringLiteral("888888"));
    }

    void everyFaceAndSizeDrawsWholeSegments() {
        for (qint16 style : {0, 1, 2}) {
            for (qint16 size : {0, 1, 2, 3}) {
                auto d = makeDegit();
                d->setDegitStyle(style);
                d->setDegitSize(size);
                d->setValue(QStringLiteral("8-1"));
                QVERIFY2(
                    litText(*d) == QStringLiteral(" 8-1"),
                    qPrintable(QStringLiteral("style %1 size %2 shows '%3'").arg(style).arg(size).arg(litText(*d))));
                QVERIFY(degitprobe::unlitEverywhereElse(*d));
            }
        }
    }

    void colourChangesRedraw() {
        auto d = makeDegit();
        d->setValue(5);
        d->setDegitForeColor(0x00FF00);
        QCOMPARE(degitprobe::segmentsIn(*d, 3, 0x00FF00), SegmentFace::segmentsFor(QLatin1Char('5')));
        d->setBackColor(0x123456);
        QCOMPARE(QColor(d->surface().pixel(0, 0)), platform::toQColor(0x123456));
        QCOMPARE(degitprobe::segmentsIn(*d, 3, 0x00FF00), SegmentFace::segmentsFor(QLatin1Char('5')));
    }

    void persistedPropertiesRoundTrip() {
        M_Degit fresh;
        PropertyBag defaults;
        fresh.WriteProperties(defaults);
        QVERIFY2(defaults.entries().isEmpty(), "Defaults are not stored.");

        M_Degit d;
        d.setKeta(2);
        d.setZeroMode(3);
        d.setValue(QStringLiteral("12"));
        d.setUserSet(false);
        d.setBackColor(0x101010);
        PropertyBag bag;
        d.WriteProperties(bag);
        QStringList keys;
        for (const auto& e : bag.entries())
            keys << e.first;
        QCOMPARE(keys, (QStringList{"zeromode", "keta", "value", "userset", "backcolor"}));

        // Keys are found whatever their case; values are taken as read,
        // without correction or redraw.
        PropertyBag odd;
        odd.WriteProperty(QStringLiteral("KETA"), 20, 4);
        odd.WriteProperty(QStringLiteral("ShIfT"), 9, 0);
        odd.WriteProperty(QStringLiteral("BackColor"), 0x00FF00u, M_Degit::kDefaultBackColor);
        M_Degit r;
        r.setValue(88);
        const QSize before = r.size();
        r.ReadProperties(odd);
        QCOMPARE(r.Keta(), qint16(20));
        QCOMPARE(r.Shift(), qint16(9));
        QCOMPARE(r.size(), before);
        QCOMPARE(r.Value().toInt(), 0);
        QCOMPARE(r.BackColor(), 0x00FF00u);
        QCOMPARE(QColor(r.surface().pixel(r.surface().width() / 2, r.surface().height() / 2)), QColor(0, 255, 0));

        M_Degit copy;
        copy.ReadProperties(bag);
        QCOMPARE(copy.Keta(), qint16(2));
        QCOMPARE(copy.ZeroMode(), qint16(3));
        QCOMPARE(copy.Value().toString(), QStringLiteral("12"));
        QCOMPARE(copy.UserSet(), false);
        QCOMPARE(copy.BackColor(), 0x101010u);
        QCOMPARE(copy.BaseForeColor(), M_Degit::kDefaultBaseForeColor);
    }

    void creationFollowsTheSystemRule() {
        qint32 extra = -1;
        bool bold = false;
        M_Degit::fontRule({1, 4}, extra, bold);
        QCOMPARE(extra, 1);
        QCOMPARE(bold, false);
        M_Degit::fontRule({2, 4}, extra, bold);
        QCOMPARE(extra, 1);
        M_Degit::fontRule({2, 6}, extra, bold);
        QCOMPARE(extra, 0);
        QCOMPARE(bold, true);
        {
            M_Degit linuxDegit;
            QCOMPARE(linuxDegit.CharExtra(), 0);
            QCOMPARE(linuxDegit.BoldFont(), true);
            QCOMPARE(linuxDegit.UserSet(), true);
            QCOMPARE(linuxDegit.BaseForeColor(), M_Degit::kDefaultBaseForeColor);
        }
        // One extra pixel per character moves the lit text left of the
        // unlit cells; both passes still draw.
        d_->helper.osVersion = {1, 4};
        auto old = makeDegit();
        QCOMPARE(old->CharExtra(), 1);
        old->setValue(88);
        const QImage& img = old->surface();
        bool anyLit = false;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                anyLit |= QColor(img.pixel(x, y)) == QColor(255, 0, 0);
        QVERIFY(anyLit);
    }

    void settingsDialogResultIsTakenAsReturned() {
        auto d = makeDegit();
        d->setValue(7);
        d_->helper.dlg100Result = 0;
        d_->helper.dlg100ZeroMode = 9; // out of range, kept as returned
        d_->helper.dlg100Shift = 1;
        d_->helper.dlg100FillZero = 3;
        QCOMPARE(d->ShowSetDlg(), 0);
        QCOMPARE(d_->helper.calls.value(0), QStringLiteral("Call_dlg100(4, 0, 0, 0)"));
        QCOMPARE(d->ZeroMode(), qint16(9));
        QCOMPARE(d->Shift(), qint16(1));
        QCOMPARE(d->FillZero(), qint16(3));
        QCOMPARE(litText(*d), QStringLiteral("007 "));
    }

    void doubleClickRaisesDblClick() {
        M_Degit d;
        QSignalSpy spy(&d, &M_Degit::DblClick);
        QTest::mouseDClick(&d, Qt::LeftButton);
        QCOMPARE(spy.size(), 1);
    }
};

QTEST_MAIN(TestM_Degit)
#include "tst_M_Degit.moc"
