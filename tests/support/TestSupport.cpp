#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

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

namespace {
template <class T> void append(QByteArray& out, T value) {
    const T le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}
} // namespace

bool writeToneWav(const QString& path, int ms, int hz) {
    constexpr int kRate = 22050;
    const int samples = qMax(0, ms) * kRate / 1000;
    // 10 ms fades, so the tone starts and ends without a click.
    const int fade = kRate / 100;
    QByteArray pcm;
    pcm.reserve(samples * 2);
    for (int i = 0; i < samples; ++i) {
        const double envelope = std::min({1.0, double(i) / fade, double(samples - 1 - i) / fade});
        const double s = 0.5 * envelope * std::sin(2 * std::numbers::pi * hz * i / kRate);
        append(pcm, qint16(std::lround(s * 32767)));
    }
    QByteArray wav("RIFF");
    append(wav, quint32(36 + pcm.size()));
    wav += "WAVEfmt ";
    append(wav, quint32(16));
    append(wav, quint16(1)); // PCM
    append(wav, quint16(1)); // mono
    append(wav, quint32(kRate));
    append(wav, quint32(kRate * 2));
    append(wav, quint16(2));
    append(wav, quint16(16));
    wav += "data";
    append(wav, quint32(pcm.size()));
    wav += pcm;
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(wav) == wav.size();
}

} // namespace testsupport
