#include "platform/MediaBackend.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

// Resolved when the program links k27media; null otherwise.
extern "C" platform::MediaBackend* k27_media_backend() __attribute__((weak));

namespace platform {

namespace {
const QString kModuleName = QStringLiteral("libk27media.so");
} // namespace

MediaBackend* loadMediaModule() {
    QStringList tried;
    for (const QString& path : mediaModuleCandidates()) {
        if (!QFileInfo(path).isFile())
            continue;
        QLibrary module(path);
        // Kept loaded for the rest of the run: its players and GStreamer's
        // state outlive any object here.
        using Entry = MediaBackend* (*)();
        if (auto entry = reinterpret_cast<Entry>(module.resolve("k27_media_backend"))) {
            if (MediaBackend* backend = entry())
                return backend;
        }
        tried << path + QStringLiteral(": ") + module.errorString();
    }
    qWarning("K27: no sound module could be loaded, sounds and speech stay silent (%s)",
             qPrintable(tried.isEmpty() ? QStringLiteral("%1 not found").arg(kModuleName) : tried.join(u"; ")));
    return nullptr;
}

QStringList mediaModuleCandidates() {
    QStringList paths;
    if (QCoreApplication::instance())
        paths << QCoreApplication::applicationDirPath() + QLatin1Char('/') + kModuleName;
#ifdef K27_MEDIA_MODULE_INSTALLED
    paths << QStringLiteral(K27_MEDIA_MODULE_INSTALLED);
#endif
#ifdef K27_MEDIA_MODULE_BUILT
    paths << QStringLiteral(K27_MEDIA_MODULE_BUILT);
#endif
    paths.removeDuplicates();
    return paths;
}

MediaBackend* mediaBackend() {
    static MediaBackend* const backend = k27_media_backend ? k27_media_backend() : loadMediaModule();
    return backend;
}

bool mediaBackendAvailable() {
    if (k27_media_backend)
        return true;
    for (const QString& path : mediaModuleCandidates())
        if (QFileInfo(path).isFile())
            return true;
    return false;
}

qint32 LazyMultimedia::mciSendString(const QString& command) {
    const QString verb = command.trimmed().section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty).toLower();
    if (!inUse_ && verb == u"open")
        inUse_ = true;
    if (inUse_) {
        MediaBackend* backend = mediaBackend();
        return backend ? backend->multimedia().mciSendString(command) : mci::kInvalidDeviceName;
    }
    // Nothing is open yet: every alias is unknown.
    if (verb == u"play" || verb == u"stop" || verb == u"close") {
        const QStringList words = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2)
            return mci::kMissingParameter;
        if (verb == u"close" && words.at(1).compare(u"all", Qt::CaseInsensitive) == 0)
            return mci::kOk;
        return mci::kInvalidDeviceName;
    }
    return mci::kUnrecognizedCommand;
}

} // namespace platform
