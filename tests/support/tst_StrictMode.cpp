// Strict mode: every test executable starts with strict stand-ins for the
// platform, so a test that forgot a double fails at once, naming the call,
// instead of opening a dialog, playing sound or waiting for real.
#include "board/Form1.h"
#include "board/degit/M_Degit.h"
#include "platform/RealPlatform.h"
#include "platform/doubles/StrictPlatform.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QProcess>
#include <QTest>

#include <functional>

namespace {

// Set in the child process that runs tst_ForgottenDouble.
const char* const kChildVariable = "K27_STRICT_MODE_CHILD";

struct Reach {
    const char* tag;
    const char* call; // the name the failure must give
    std::function<void()> action;
};

// One forgotten double per row, most of them the way the program itself
// gets there.
const QList<Reach>& reaches() {
    static const QList<Reach> all = {
        {"digit settings dialog", "VXB4Res::Call_dlg100", [] { M_Degit().ShowSetDlg(); }},
        {"double-click on a fare digit", "VXB4Res::Call_dlg100",
         [] {
             Form1 board;
             QTest::mouseDClick(board.Degit[7], Qt::LeftButton);
         }},
        {"version dialog", "VXB4Res::Call_dlg110", [] { platform::helper().Call_dlg110(nullptr, 1, "K27"); }},
        {"date dialog", "VXB4Res::Call_dlg111",
         [] {
             platform::DateRecord date;
             platform::helper().Call_dlg111(nullptr, date);
         }},
        {"file dialog", "VXB4Res::Vx3FileDlg",
         [] { platform::helper().Vx3FileDlg(nullptr, 0, QString(), QString(), QString()); }},
        {"folder dialog", "VXB4Res::Vx3FolderDlg", [] { platform::helper().Vx3FolderDlg(nullptr, QString()); }},
        {"colour dialog", "VXB4Res::Vx3ChooseColor",
         [] {
             quint32 colour = 0;
             platform::CustomColors custom{};
             platform::helper().Vx3ChooseColor(nullptr, colour, custom);
         }},
        {"plug-in", "VXB4Res::VX4_GetPlgInfo",
         [] {
             platform::PlgInfo info;
             platform::helper().VX4_GetPlgInfo("a.4SP", info);
         }},
        {"ticket drawing", "VXB4Res::VX4_DrawSeiriken",
         [] {
             QImage image(10, 10, QImage::Format_RGB32);
             QPainter p(&image);
             platform::helper().VX4_DrawSeiriken("a.4SP", p, QString(), QString(), QString(), 0, 1, 0, 0);
         }},
        {"sound", "Multimedia::mciSendString", [] { mdlSndAPI::CloseAllSounds(); }},
        {"speech", "SpeechFactory::create",
         [] {
             mdlM_Tape::InitSpeech();
             mdlM_Tape::reset();
         }},
        {"pause", "Clock::Sleep", [] { platform::clock().Sleep(60000); }},
        {"today", "Clock::now", [] { platform::clock().now(); }},
        {"animation clock", "Clock::elapsedMs", [] { platform::clock().elapsedMs(); }},
        {"file browser", "Shell::openFolder", [] { platform::shell().openFolder(nullptr, "/"); }},
        {"clipboard", "Clipboard::setImage", [] { platform::clipboard().setImage(QImage()); }},
        {"clipboard cleared", "Clipboard::clear", [] { platform::clipboard().clear(); }},
        {"message box", "MessageBox::MsgBox",
         [] {
             platform::messageBox().MsgBox(nullptr, "?", platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                                           "K27");
         }},
    };
    return all;
}

template <class Strict, class Interface> bool isStrict(Interface& current) {
    return dynamic_cast<Strict*>(&current) != nullptr;
}

} // namespace

class tst_StrictMode : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyInterfaceStartsStrict() {
        QVERIFY(isStrict<platform::StrictVXB4Res>(platform::helper()));
        QVERIFY(isStrict<platform::StrictMultimedia>(platform::multimedia()));
        QVERIFY(isStrict<platform::StrictSpeechFactory>(platform::speechFactory()));
        QVERIFY(isStrict<platform::StrictClock>(platform::clock()));
        QVERIFY(isStrict<platform::StrictShell>(platform::shell()));
        QVERIFY(isStrict<platform::StrictClipboard>(platform::clipboard()));
        QVERIFY(isStrict<platform::StrictMessageBox>(platform::messageBox()));
    }

    // The byte operations and the system query are computed, not shown, and
    // every window uses them while it is built.
    void pureHelperOperationsStayReal() {
        const qsizetype before = platform::strictViolations().size();
        platform::VXB4Res& helper = platform::helper();
        QCOMPARE(helper.LenB_ASCII(QStringLiteral("市役所前")), 8);
        QCOMPARE(helper.MidB_ASCII(QStringLiteral("市役所前"), 3, 4), QStringLiteral("役所"));
        QVERIFY(!helper.GetOsInfo().isEmpty());
        QCOMPARE(helper.GetVersionEx().platformId, 0);
        M_Degit digit; // reads GetVersionEx while it is made
        QCOMPARE(platform::strictViolations().size(), before);
    }

    // Doubles and real implementations replace strict mode for their scope
    // only; it is back afterwards, not the real implementation.
    void installsLastForTheirScope() {
        {
            PlatformDoubles doubles;
            QCOMPARE(&platform::clock(), &doubles.clock);
            QCOMPARE(&platform::messageBox(), &doubles.messages);
            platform::clock().Sleep(60000);
            QCOMPARE(doubles.clock.sleeps, QList<int>{60000});
        }
        QVERIFY(isStrict<platform::StrictClock>(platform::clock()));
        QVERIFY(isStrict<platform::StrictMessageBox>(platform::messageBox()));
        {
            platform::ScopedInstall<platform::Clock> realTime{platform::realClock()};
            QCOMPARE(&platform::clock(), &platform::realClock());
            const qint64 start = platform::clock().elapsedMs();
            platform::clock().Sleep(20);
            QVERIFY(platform::clock().elapsedMs() - start >= 15);
        }
        QVERIFY(isStrict<platform::StrictClock>(platform::clock()));
    }

    void forgottenDoublesFailTheTest() {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromUtf8(child.readAll());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        // Every row failed, each naming its call, and none waited for a
        // user (a real dialog would have kept the child running).
        QVERIFY2(child.exitCode() == reaches().size(), qPrintable(output));
        for (const Reach& r : reaches()) {
            const QString line = QStringLiteral("FAIL!  : tst_ForgottenDouble::reachesTheRealOne(%1) a test reached "
                                                "the real %2 without a double")
                                     .arg(QLatin1String(r.tag), QLatin1String(r.call));
            QVERIFY2(output.contains(line), qPrintable(line + QStringLiteral("\nis not in\n") + output));
        }
    }
};

// What a test that forgot its doubles looks like: run by
// forgottenDoublesFailTheTest in a child process of this executable, where
// each row reaches one real implementation and must fail.
class tst_ForgottenDouble : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reachesTheRealOne_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < reaches().size(); ++i)
            QTest::newRow(reaches()[i].tag) << i;
    }
    void reachesTheRealOne() {
        QFETCH(int, index);
        reaches()[index].action();
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kChildVariable)) {
        tst_ForgottenDouble child;
        return QTest::qExec(&child, argc, argv);
    }
    tst_StrictMode test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_StrictMode.moc"
