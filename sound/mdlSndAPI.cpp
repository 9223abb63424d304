#include "sound/mdlSndAPI.h"

#include "platform/Clock.h"
#include "platform/Multimedia.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace mdlSndAPI {

QString deviceAlias(const QString& key) {
    QString base;
    if (QCoreApplication::instance())
        base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("K27");
    return base + key;
}

void PlaySoundFile(const QString& path, const QString& key, bool wait, qint16 pause) {
    // Only an existing file reaches the device; a directory is no sound file.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    const QString alias = deviceAlias(key);
    platform::Multimedia& mm = platform::multimedia();
    mm.mciSendString(QStringLiteral("close ") + alias);

    // The device type follows the last three characters of the name.
    const QString ending = path.right(3).toUpper().trimmed();
    QString type;
    if (ending == u"WAV")
        type = QStringLiteral("waveaudio");
    else if (ending == u"MP3")
        type = QStringLiteral("mpegvideo");
    else if (ending == u"MID")
        type = QStringLiteral("sequencer");
    else
        return;

    const QString open = QStringLiteral("open \"") + path + QStringLiteral("\" type ") + type +
                         QStringLiteral(" alias ") + alias + QStringLiteral(" wait");
    if (mm.mciSendString(open) != 0)
        return;

    if (wait) {
        mm.mciSendString(QStringLiteral("play ") + alias + QStringLiteral(" from 0 wait"));
        platform::clock().Sleep(pause);
    } else {
        mm.mciSendString(QStringLiteral("stop ") + alias);
        mm.mciSendString(QStringLiteral("play ") + alias + QStringLiteral(" from 0"));
        platform::clock().Sleep(0);
    }
}

void CloseAllSounds() {
    for (const char* key : {"S1", "S2", "S3", "S4"})
        platform::multimedia().mciSendString(QStringLiteral("close ") + deviceAlias(QLatin1String(key)));
}

} // namespace mdlSndAPI
