// Writes the seed corpus of fuzz_settings with the settings file's own
// writer: an all-default file, one with every field set (Japanese texts
// included), and the ways a file goes wrong.
//   make_settings_corpus <folder>
#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cstdio>

namespace {

SettingsRecord everyFieldSet() {
    SettingsRecord r;
    auto& o = r.Options;
    o.Folder = {QStringLiteral("/home/運転士/運賃"), QStringLiteral("/home/運転士/放送")};
    o.Panel = {1,
               0x000000FF,
               0x0000FF00,
               0x00FF0000,
               11,
               1,
               0,
               -1,
               0,
               -1,
               -1,
               0,
               0,
               -1,
               QStringLiteral("/pic/消灯.bmp"),
               QStringLiteral("/pic/on1.gif"),
               QStringLiteral("/pic/点灯２.jpg")};
    o.Degit = {0x00102030, 0x00405060, 0x8000000F, 1, 49, 1, 1, 48, 1, 47, 1, 149, 46};
    o.Chimei = {0x00000000, 0x0000FFFF, -1, 1};
    o.Sound = {QStringLiteral("/snd/系統.wav"),
               QStringLiteral("/snd/reset.wav"),
               0,
               -1,
               0,
               -1,
               QStringLiteral("/snd/step.mp3"),
               149,
               QStringLiteral("/snd/ﾁｬｲﾑ1.mid"),
               QStringLiteral("/snd/チャイム2.wav"),
               QStringLiteral("/snd/3.wav"),
               -1,
               0,
               0,
               -1,
               QStringLiteral("/snd/前.wav"),
               QStringLiteral("/snd/t1.wav"),
               QStringLiteral("/snd/t2.wav"),
               QStringLiteral("/snd/t3.wav")};
    o.Preview = {1, QStringLiteral("/plugin/整理券.4SP"), 0, 0, -1, QStringLiteral("2010/12/01")};
    r.CtlPanel = {1, 2000, 500, 1, 1, 14400, 9000};
    r.BoardPos = {-1500, 30};
    for (size_t i = 0; i < r.CustColors.size(); ++i)
        r.CustColors[i] = quint32(0x00010101 * i);
    for (size_t i = 0; i < r.DegitModes.size(); ++i)
        r.DegitModes[i] = {qint16(i % 3), qint16(i % 4), qint16(i % 2)};
    return r;
}

bool save(const QString& folder, const char* name, const QByteArray& bytes) {
    QFile f(folder + QLatin1Char('/') + QLatin1String(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        return false;
    std::printf("%s %lld bytes\n", name, static_cast<long long>(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_settings_corpus <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder))
        return 1;

    const QByteArray defaults = mdlIniIo::encodeSettings(SettingsRecord{});
    const QByteArray full = mdlIniIo::encodeSettings(everyFieldSet());
    QByteArray otherCount = full;
    qToLittleEndian<quint16>(0x7FFF, otherCount.data() + otherCount.size() - 302);
    // Texts with bytes that form no Shift-JIS character: a lone lead byte,
    // a bad trail byte, bytes no character starts with.
    QByteArray broken = defaults;
    broken.replace(0, 2, QByteArray::fromHex("0500") + QByteArray::fromHex("8120FF80A0"));
    broken.replace(7, 2, QByteArray::fromHex("0300") + QByteArray::fromHex("41E0") + QByteArray("\x00", 1));
    broken.append(QByteArray::fromHex("82"));

    const bool ok = save(folder, "defaults.in4", defaults) && save(folder, "full.in4", full) &&
                    save(folder, "cut-in-text.in4", full.left(30)) &&
                    save(folder, "cut-in-modes.in4", full.left(full.size() - 7)) &&
                    save(folder, "text-past-end.in4", QByteArray::fromHex("FFFF") + QByteArray("/data")) &&
                    save(folder, "other-count.in4", otherCount) &&
                    save(folder, "trailing.in4", full + QByteArray("extra")) &&
                    save(folder, "broken-shift-jis.in4", broken) && save(folder, "empty.in4", QByteArray());
    return ok ? 0 : 1;
}
