#include "platform/DesktopShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace platform {

bool DesktopShell::openFolder(QWidget*, const QString& path) {
    if (path.isEmpty() || !QDir(path).exists())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(path).absolutePath()));
}

} // namespace platform
