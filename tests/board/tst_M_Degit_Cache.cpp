// Digits that show the same thing share one drawn picture. A digit that
// differs in anything its picture depends on must never get another's.
#include "board/degit/M_Degit.h"
#include "tests/support/TestSupport.h"

#include <QTest>

#include <functional>

class tst_M_Degit_Cache : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void picturesFollowEveryDrawingInput() {
        PlatformDoubles doubles;
        const QList<std::function<void(M_Degit&)>> changes = {
            [](M_Degit& d) { d.setBackColor(0x0000FF); },
            [](M_Degit& d) { d.setBaseForeColor(0x00FF00); },
            [](M_Degit& d) { d.setDegitForeColor(0xFF0000); },
            [](M_Degit& d) { d.setDegitStyle(1); },
            [](M_Degit& d) { d.setDegitSize(1); },
            [](M_Degit& d) { d.setValue(231); },
        };
        for (int i = 0; i < changes.size(); ++i) {
            M_Degit plain, changed;
            plain.setValue(230);
            changed.setValue(230);
            QCOMPARE(changed.surface(), plain.surface());
            changes[i](changed);
            changed.setValue(changed.Value().toInt() == 231 ? 231 : 230);
            QVERIFY2(changed.surface() != plain.surface(), qPrintable(QString::number(i)));
            // Drawn again after the change, the plain digit keeps its own picture.
            plain.setValue(230);
            M_Degit fresh;
            fresh.setValue(230);
            QCOMPARE(plain.surface(), fresh.surface());
        }
    }
};

QTEST_MAIN(tst_M_Degit_Cache)
#include "tst_M_Degit_Cache.moc"
