#include "app/SettingsFile.h"

#include "core/ShiftJis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

#include <cerrno>

namespace mdlIniIo {

namespace {

constexpr qsizetype kMaxTextBytes = 0xFFFF;

// Appends the items.
class Writer {
public:
    QByteArray bytes;

    void operator()(qint16 value) { append<quint16>(quint16(value)); }
    void operator()(qint32 value) { append<quint32>(quint32(value)); }
    void operator()(quint32 colour) { append<quint32>(colour); }
    void operator()(const QString& text) {
        // Most texts are empty: no converter for them.
        QByteArray encoded = text.isEmpty() ? QByteArray() : core::sjis::encode(text);
        if (encoded.size() > kMaxTextBytes)
            encoded.truncate(wholeCharacters(encoded, kMaxTextBytes));
        append<quint16>(quint16(encoded.size()));
        bytes += encoded;
    }
    void degitCount(qint16) { (*this)(kDegitCount); }

private:
    template <class T> void append(T value) {
        const T le = qToLittleEndian(value);
        bytes.append(reinterpret_cast<const char*>(&le), sizeof le);
    }

    // Bytes of the whole characters of a Shift-JIS text that fit into limit.
    static qsizetype wholeCharacters(const QByteArray& sjis, qsizetype limit) {
        qsizetype end = 0;
        while (end < sjis.size()) {
            const qsizetype len = core::sjis::isLeadByte(static_cast<unsigned char>(sjis[end])) ? 2 : 1;
            if (end + len > limit)
                break;
            end += len;
        }
        return end;
    }
};

// Takes the items back; past the end every value is 0 and every text empty.
class Reader {
public:
    explicit Reader(QByteArrayView data) : data_(data) {}

    void operator()(qint16& value) { value = qint16(take<quint16>()); }
    void operator()(qint32& value) { value = qint32(take<quint32>()); }
    void operator()(quint32& colour) { colour = take<quint32>(); }
    void operator()(QString& text) {
        const quint16 count = take<quint16>();
        if (cut_ || data_.size() - pos_ < count) {
            cutHere();
            text.clear();
            return;
        }
        text = count == 0 ? QString() : core::sjis::decode(data_.sliced(pos_, count));
        pos_ += count;
    }
    void degitCount(qint16& count) {
        (void)take<quint16>();
        count = kDegitCount;
    }

    qsizetype position() const { return pos_; }
    bool cut() const { return cut_; }

private:
    template <class T> T take() {
        if (cut_ || data_.size() - pos_ < qsizetype(sizeof(T))) {
            cutHere();
            return 0;
        }
        const T value = qFromLittleEndian<T>(data_.data() + pos_);
        pos_ += qsizetype(sizeof(T));
        return value;
    }
    void cutHere() {
        cut_ = true;
        pos_ = data_.size();
    }

    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool cut_ = false;
};

// Every field of the file, in file order, handed to io. One list serves
// both directions, so writing and reading cannot drift apart.
template <class Io, class Record> void items(Io& io, Record& r) {
    auto& folder = r.Options.Folder;
    io(folder.FareDataDir);
    io(folder.TapeDataDir);

    auto& panel = r.Options.Panel;
    io(panel.AutoSeiriNum);
    io(panel.SeiriColorOff);
    io(panel.SeiriColorOn1);
    io(panel.SeiriColorOn2);
    io(panel.SeiriNumStyle);
    io(panel.SeiriZeroPad);
    io(panel.PanelAuto);
    io(panel.PanelManual);
    io(panel.OffBuiltIn);
    io(panel.OffUser);
    io(panel.On1BuiltIn);
    io(panel.On1User);
    io(panel.On2BuiltIn);
    io(panel.On2User);
    io(panel.OffPanelFile);
    io(panel.On1PanelFile);
    io(panel.On2PanelFile);

    auto& degit = r.Options.Degit;
    io(degit.DegitBackColor);
    io(degit.DegitBaseColor);
    io(degit.DegitLitColor);
    io(degit.InfoStopOn);
    io(degit.InfoStopKoma);
    io(degit.InfoStopFromZero);
    io(degit.InfoSeiriOn);
    io(degit.InfoSeiriKoma);
    io(degit.InfoKeitouOn);
    io(degit.InfoKeitouKoma);
    io(degit.InfoColOn);
    io(degit.InfoCol);
    io(degit.InfoColKoma);

    auto& chimei = r.Options.Chimei;
    io(chimei.ChimeiBackColor);
    io(chimei.ChimeiForeColor);
    io(chimei.ChimeiFontMode);
    io(chimei.ChimeiBold);

    auto& sound = r.Options.Sound;
    io(sound.KeitouSound);
    io(sound.ResetSound);
    io(sound.StepAlways);
    io(sound.StepByCol);
    io(sound.StepSync);
    io(sound.StepAsync);
    io(sound.StepSound);
    io(sound.StepCol);
    io(sound.StepSound1);
    io(sound.StepSound2);
    io(sound.StepSound3);
    io(sound.TapeSync);
    io(sound.TapeAsync);
    io(sound.TapeAlways);
    io(sound.TapeByFlag);
    io(sound.TapeSound);
    io(sound.TapeSound1);
    io(sound.TapeSound2);
    io(sound.TapeSound3);

    auto& preview = r.Options.Preview;
    io(preview.UsePreview);
    io(preview.PluginFile);
    io(preview.DateEachPrint);
    io(preview.DateAtReset);
    io(preview.DateFixed);
    io(preview.FixedDate);

    auto& ctl = r.CtlPanel;
    io(ctl.PanelIndex);
    io(ctl.ScrollSpeed);
    io(ctl.ScrollWait);
    io(ctl.LateNight);
    io(ctl.PreviewOpen);
    io(ctl.CtlLeft);
    io(ctl.CtlTop);

    io(r.BoardPos.BoardLeft);
    io(r.BoardPos.BoardTop);

    for (auto& colour : r.CustColors)
        io(colour);

    io.degitCount(r.DegitCount);

    for (auto& mode : r.DegitModes) {
        io(mode.Shift);
        io(mode.ZeroMode);
        io(mode.FillZero);
    }
}

QString baseFileName(const QString& executablePath) {
    const QString base = QFileInfo(executablePath).completeBaseName();
    return (base.isEmpty() ? QStringLiteral("K27") : base) + QStringLiteral(".in4");
}

QString besideExecutable(const SettingsPlace& place) {
    return QFileInfo(place.executablePath).absolutePath() + QLatin1Char('/') + baseFileName(place.executablePath);
}

QString inConfigFolder(const SettingsPlace& place) {
    return place.configFolder + QLatin1Char('/') + baseFileName(place.executablePath);
}

core::RuntimeError permissionDenied() {
    return {core::errors::kPermissionDenied, QStringLiteral("書き込みできません。")};
}
core::RuntimeError pathFileAccess() {
    return {core::errors::kPathFileAccess, QStringLiteral("パス名が無効です。")};
}

bool isPermissionError(int systemError) {
    return systemError == EACCES || systemError == EPERM || systemError == EROFS;
}

core::RuntimeError diskFull() {
    return {core::errors::kDiskFull, QStringLiteral("ディスクの空き容量が不足しています。")};
}

// The failure to open the file for replacing. Qt words its own refusals
// (an existing file without write permission) and the system's errors
// alike, so the permissions are looked at as well as the system error. A
// file system without room for one more file refuses the temporary file.
core::RuntimeError openError(int systemError, const QString& path) {
    if (systemError == ENOSPC || systemError == EDQUOT)
        return diskFull();
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (isPermissionError(systemError) || (file.exists() && !file.isWritable()) || !folder.isWritable())
        return permissionDenied();
    return pathFileAccess();
}

// A failed write, flush or commit, by the system error it left behind: Qt's
// text for a write that stopped halfway is only "Unknown error".
core::RuntimeError writeError(int systemError, const QFileDevice& file) {
    if (systemError == ENOSPC || systemError == EFBIG || systemError == EDQUOT ||
        file.error() == QFileDevice::ResourceError)
        return diskFull();
    if (isPermissionError(systemError))
        return permissionDenied();
    return {core::errors::kDeviceIo, QStringLiteral("デバイス I/O エラーです。")};
}

core::RuntimeError badFileName() {
    return {core::errors::kBadFileName, QStringLiteral("ファイル名または番号が不正です。")};
}

} // namespace

QByteArray encodeSettings(const SettingsRecord& record) {
    Writer writer;
    writer.bytes.reserve(kEmptyFileSize + 256);
    items(writer, record);
    return writer.bytes;
}

DecodedSettings decodeSettings(QByteArrayView bytes) {
    DecodedSettings decoded;
    Reader reader(bytes);
    items(reader, decoded.record);
    decoded.bytesUsed = reader.position();
    decoded.complete = !reader.cut();
    return decoded;
}

SettingsPlace currentSettingsPlace() {
    SettingsPlace place;
    place.executablePath = QCoreApplication::applicationFilePath();
    const QFileInfo folder(QFileInfo(place.executablePath).absolutePath());
    place.executableFolderWritable = !place.executablePath.isEmpty() && folder.isDir() && folder.isWritable();
    place.configFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/K27");
    return place;
}

QString settingsFilePath(const SettingsPlace& place) {
    if (place.executableFolderWritable && !place.executablePath.isEmpty())
        return besideExecutable(place);
    return inConfigFolder(place);
}

QString settingsFilePath() {
    return settingsFilePath(currentSettingsPlace());
}

QString settingsLoadPath(const SettingsPlace& place) {
    const QString saved = settingsFilePath(place);
    if (QFileInfo::exists(saved))
        return saved;
    if (!place.executablePath.isEmpty()) {
        const QString other = saved == besideExecutable(place) ? inConfigFolder(place) : besideExecutable(place);
        if (QFileInfo(other).isFile())
            return other;
    }
    return saved;
}

QString settingsLoadPath() {
    return settingsLoadPath(currentSettingsPlace());
}

QByteArray readSettingsFile(const QString& path) {
    if (path.isEmpty())
        throw badFileName();
    const QFileInfo info(path);
    if (!info.exists())
        throw core::RuntimeError(core::errors::kFileNotFound, QStringLiteral("ファイルが見つかりません。"));
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw pathFileAccess();
    QByteArray bytes = file.read(kMaxFileSize);
    if (file.error() != QFileDevice::NoError)
        throw core::RuntimeError(core::errors::kDeviceIo, QStringLiteral("デバイス I/O エラーです。"));
    return bytes;
}

void writeSettingsFile(const QString& path, QByteArrayView bytes) {
    if (path.isEmpty())
        throw badFileName();
    const QFileInfo info(path);
    if (info.isDir())
        throw pathFileAccess();
    if (!QDir().mkpath(info.absolutePath()))
        throw core::RuntimeError(core::errors::kPathNotFound, QStringLiteral("パスが見つかりません。"));

    // errno is cleared before each step and read right after it fails,
    // before anything else can change it.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw openError(errno, path);
    auto fail = [&file](int systemError) {
        const core::RuntimeError error = writeError(systemError, file);
        file.cancelWriting();
        return error;
    };
    // A write may take fewer bytes than offered (a file-size limit, a disk
    // filling up) without reporting an error, and commit() would then put
    // the short file in place: write the rest until every byte is taken or
    // the system names the failure, and flush before committing.
    qsizetype written = 0;
    while (written < bytes.size()) {
        errno = 0;
        const qint64 n = file.write(bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            throw fail(errno);
        written += qsizetype(n);
    }
    errno = 0;
    if (!file.flush())
        throw fail(errno);
    errno = 0;
    if (!file.commit()) {
        const int systemError = errno;
        throw file.error() == QFileDevice::RenameError ? pathFileAccess() : writeError(systemError, file);
    }
}

QString saveErrorText(const core::RuntimeError& error) {
    return QStringLiteral("エラー Code:") + QString::number(error.number()) + QStringLiteral("\r\n内容:") +
           error.description();
}

QString loadErrorText(const core::RuntimeError& error) {
    return saveErrorText(error) + QStringLiteral("\r\nモジュール:mdlIniIo.LoadIni()");
}

} // namespace mdlIniIo
