#include "tests/support/TestSupport.h"

#include <QDir>

namespace testsupport {

QColor pixel(const QImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return {};
    return QColor::fromRgb(image.pixel(x, y));
}

QString sourcePath(const QString& relative) {
    const QByteArray root = qgetenv("K27_SOURCE_DIR");
    return QDir(QString::fromLocal8Bit(root)).filePath(relative);
}

} // namespace testsupport
