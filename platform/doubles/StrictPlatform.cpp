#include "platform/doubles/StrictPlatform.h"

#include "platform/Platform.h"

#include <QTest>

namespace platform {

namespace {
// Any failure code: the sound module then skips the sound.
constexpr qint32 kMciRefused = 1;
} // namespace

QStringList& strictViolations() {
    static QStringList calls;
    return calls;
}

void strictViolation(const char* call) {
    strictViolations() << QString::fromLatin1(call);
    const QByteArray message = QByteArray("a test reached the real ") + call +
                               " without a double: install PlatformDoubles, or ScopedInstall the real "
                               "implementation (platform/RealPlatform.h) where the test means to use it";
    if (QTest::currentTestFunction())
        QTest::qFail(message.constData(), __FILE__, __LINE__);
    else
        qFatal("%s", message.constData());
}

qint32 StrictVXB4Res::Call_dlg100(QWidget*, qint16, qint16&, qint16&, qint16&) {
    strictViolation("VXB4Res::Call_dlg100");
    return 0;
}
void StrictVXB4Res::Call_dlg110(QWidget*, qint32, const QString&) {
    strictViolation("VXB4Res::Call_dlg110");
}
qint32 StrictVXB4Res::Call_dlg111(QWidget*, DateRecord&) {
    strictViolation("VXB4Res::Call_dlg111");
    return 0;
}
QString StrictVXB4Res::Vx3FileDlg(QWidget*, qint32, const QString&, const QString&, const QString&) {
    strictViolation("VXB4Res::Vx3FileDlg");
    return {};
}
QString StrictVXB4Res::Vx3FolderDlg(QWidget*, const QString&) {
    strictViolation("VXB4Res::Vx3FolderDlg");
    return {};
}
qint32 StrictVXB4Res::Vx3ChooseColor(QWidget*, quint32&, CustomColors&) {
    strictViolation("VXB4Res::Vx3ChooseColor");
    return 0;
}
qint32 StrictVXB4Res::VX4_GetPlgInfo(const QString&, PlgInfo&) {
    strictViolation("VXB4Res::VX4_GetPlgInfo");
    return 0;
}
void StrictVXB4Res::VX4_SetPlgComment(const QString&, QWidget*) {
    strictViolation("VXB4Res::VX4_SetPlgComment");
}
void StrictVXB4Res::VX4_SetCorpAddList(const QString&, QWidget*) {
    strictViolation("VXB4Res::VX4_SetCorpAddList");
}
void StrictVXB4Res::VX4_DrawSeiriken(const QString&, QPainter&, const QString&, const QString&, const QString&, qint32,
                                     qint16, qint16, qint16) {
    strictViolation("VXB4Res::VX4_DrawSeiriken");
}

qint32 StrictMultimedia::mciSendString(const QString&) {
    strictViolation("Multimedia::mciSendString");
    return kMciRefused;
}

std::unique_ptr<SpeechEngine> StrictSpeechFactory::create() {
    strictViolation("SpeechFactory::create");
    return nullptr;
}

void StrictClock::Sleep(int) {
    strictViolation("Clock::Sleep");
}
QDateTime StrictClock::now() const {
    strictViolation("Clock::now");
    return QDateTime(QDate(2000, 1, 1), QTime(0, 0));
}
qint64 StrictClock::elapsedMs() const {
    strictViolation("Clock::elapsedMs");
    return 0;
}

bool StrictShell::openFolder(QWidget*, const QString&) {
    strictViolation("Shell::openFolder");
    return false;
}

void StrictClipboard::clear() {
    strictViolation("Clipboard::clear");
}
void StrictClipboard::setImage(const QImage&) {
    strictViolation("Clipboard::setImage");
}

MsgResult StrictMessageBox::MsgBox(QWidget*, const QString&, MsgButtons buttons, MsgIcon, const QString&) {
    strictViolation("MessageBox::MsgBox");
    switch (buttons) {
    case MsgButtons::Ok: return MsgResult::Ok;
    case MsgButtons::YesNo: return MsgResult::No;
    default: return MsgResult::Cancel;
    }
}

void installStrictPlatform() {
    // Made once and never destroyed: the slots may be read until the very
    // end of the process.
    static const bool installed = [] {
        install(new StrictVXB4Res);
        install(new StrictMultimedia);
        install(new StrictSpeechFactory);
        install(new StrictClock);
        install(new StrictShell);
        install(new StrictClipboard);
        install(new StrictMessageBox);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace platform
