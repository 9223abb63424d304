// The announcement module reads its sounds and their options from the
// options window, at the moment it needs them.
#include "options/frmOption.h"
#include "sound/mdlM_Tape.h"
#include "tests/support/K27Windows.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

class TestTapeOptions : public testsupport::DoublesFixture {
    Q_OBJECT

private Q_SLOTS:
    // The module lets go of the engine (made by the doubles) and of the
    // options window before the doubles go.
    void cleanup() {
        mdlM_Tape::reset();
        DoublesFixture::cleanup();
    }

    void forwardAnnouncementUsesTheOptionsWindowsSlots() {
        QTemporaryDir dir;
        auto touch = [&](const QString& name, const QByteArray& bytes) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        touch(QStringLiteral("chime.wav"), "RIFF");
        touch(QStringLiteral("bell.wav"), "RIFF");
        touch(QStringLiteral("5tp.csv"), QByteArray("\x8E\x9F\x82\xCD,0,2\r\n"));

        K27Windows w;
        mdlM_Tape::setSoundSettings(&w.options);
        mdlM_Tape::InitSpeech();
        mdlM_Tape::LoadTape(dir.path() + QLatin1Char('/'), QStringLiteral("5"));
        QCOMPARE(mdlM_Tape::tapeRowCount(), 1);

        // Always slot 3, played to its end before the speech.
        w.options.txtSelectSound[3]->setText(dir.filePath(QStringLiteral("chime.wav")));
        w.options.txtSelectSound[5]->setText(dir.filePath(QStringLiteral("bell.wav")));
        w.options.Option2[2]->setChecked(true);
        w.options.Option7[0]->setChecked(true);
        mdlM_Tape::AnnounceNext();
        QString opened = d_->multimedia.commands.filter(QStringLiteral("open")).join('|');
        QVERIFY2(opened.contains(QStringLiteral("chime.wav")), qPrintable(opened));
        QVERIFY(d_->multimedia.commands.filter(QStringLiteral("wait")).size() >= 2);
        QCOMPARE(d_->speech.log.last(), QStringLiteral("speak:次は"));

        // By the row's flag (2 → slot 5), without waiting.
        d_->multimedia.commands.clear();
        w.options.Option2[3]->setChecked(true);
        w.options.Option7[1]->setChecked(true);
        QVERIFY(!w.options.tapeAlways());
        QVERIFY(!w.options.tapeSync());
        mdlM_Tape::SpeakRow(1);
        mdlM_Tape::AnnounceBack(); // at row 1: stays, plays nothing
        QVERIFY(d_->multimedia.commands.filter(QStringLiteral("open")).isEmpty());
        QCOMPARE(w.options.soundFile(5), dir.filePath(QStringLiteral("bell.wav")));
        QCOMPARE(w.options.soundFile(2), QString()); // no such slot
        QCOMPARE(w.options.soundFile(42), QString());
    }
};

QTEST_MAIN(TestTapeOptions)
#include "tst_TapeOptions.moc"
