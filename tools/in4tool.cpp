// in4tool: K27's settings file (K27.in4) as JSON text and back, built on the
// program's own settings reader and writer.
#include "app/DemoSettings.h"
#include "app/SettingsFile.h"
#include "app/SettingsJson.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

enum ExitCode { exitOk = 0, exitProblem = 1, exitUsage = 2 };

// A settings source or file larger than this is not one.
constexpr qint64 kMaxInputBytes = 8 * 1024 * 1024;

const char kUsage[] = R"(Usage: in4tool dump FILE.in4
       in4tool build SETTINGS.json -o FILE.in4 [--keep]
       in4tool demo [DEMO_FOLDER] -o FILE.in4 [--keep]
       in4tool fields
       in4tool --help | --version

Settings files for K27, the route-bus fare board simulator.

  dump    Print the settings file as JSON text (UTF-8) on standard output:
          every field of every record by name, in the file's order.
  build   Write the settings file that the JSON text describes. Every field
          must be given; every problem is reported and nothing is written
          while there is any. Paths are stored as written: a relative one is
          taken from the folder K27 is started in.
  demo    Write the demo's settings (DEMO_FOLDER/settings.json) with every
          relative path made absolute against DEMO_FOLDER, so K27 finds the
          demo wherever it is started. DEMO_FOLDER defaults to the demo
          installed beside this program.
  fields  List the names of all fields.

--keep leaves an existing FILE.in4 untouched (and says so).
FILE may be - (standard input or output) for dump and build.
Exit status: 0 success, 1 a problem with the data or a file, 2 wrong usage.
)";

void print(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

void complain(const QString& text) {
    print(stderr, (QStringLiteral("in4tool: ") + text + u'\n').toUtf8());
}

int usageError(const QString& text) {
    complain(text);
    complain(QStringLiteral("try 'in4tool --help'"));
    return exitUsage;
}

std::optional<QByteArray> readInput(const QString& path) {
    QFile file;
    const bool opened =
        path == u'-' ? file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        complain(QStringLiteral("%1: %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.read(kMaxInputBytes + 1);
    if (bytes.size() > kMaxInputBytes) {
        complain(QStringLiteral("%1: larger than %2 bytes").arg(path).arg(kMaxInputBytes));
        return std::nullopt;
    }
    return bytes;
}

int writeOutput(const QString& path, const QByteArray& bytes, bool keep) {
    if (path == u'-') {
        print(stdout, bytes);
        return exitOk;
    }
    if (keep && QFileInfo::exists(path)) {
        print(stdout, (path + QStringLiteral(": kept as it is\n")).toUtf8());
        return exitOk;
    }
    try {
        mdlIniIo::writeSettingsFile(path, bytes);
    } catch (const core::RuntimeError& e) {
        complain(QStringLiteral("%1: %2 (error %3)").arg(path, e.description()).arg(e.number()));
        return exitProblem;
    }
    print(stdout, (path + QStringLiteral(": written\n")).toUtf8());
    return exitOk;
}

int reportProblems(const QString& source, const QStringList& problems) {
    for (const QString& p : problems)
        complain(source + QStringLiteral(": ") + p);
    return exitProblem;
}

int dump(const QString& path) {
    const auto bytes = readInput(path);
    if (!bytes)
        return exitProblem;
    const mdlIniIo::DecodedSettings decoded = mdlIniIo::decodeSettings(*bytes);
    print(stdout, SettingsJson::write(decoded.record));
    // The text describes what K27 would read; say where that differs from
    // the bytes, as building it again would then not give the same file.
    if (!decoded.complete)
        complain(QStringLiteral("%1: the file ends early; missing values are shown as 0 and empty").arg(path));
    else if (decoded.bytesUsed < bytes->size())
        complain(QStringLiteral("%1: %2 bytes after the last item are ignored")
                     .arg(path)
                     .arg(bytes->size() - decoded.bytesUsed));
    else if (mdlIniIo::encodeSettings(decoded.record) != *bytes)
        complain(QStringLiteral("%1: some texts are not valid Shift-JIS and are shown as read").arg(path));
    return exitOk;
}

int build(const QString& source, const QString& out, bool keep) {
    const auto bytes = readInput(source);
    if (!bytes)
        return exitProblem;
    const SettingsJson::ReadResult result = SettingsJson::read(*bytes);
    if (!result.problems.isEmpty())
        return reportProblems(source, result.problems);
    return writeOutput(out, mdlIniIo::encodeSettings(result.record), keep);
}

int demo(QString folder, const QString& out, bool keep) {
    if (folder.isEmpty()) {
        folder = DemoSettings::installedDemoFolder(QCoreApplication::applicationFilePath());
        if (folder.isEmpty()) {
            complain(QStringLiteral("no demo is installed beside this program; name the demo folder"));
            return exitProblem;
        }
    }
    const SettingsJson::ReadResult result = DemoSettings::anchoredDemoSettings(folder);
    if (!result.problems.isEmpty())
        return reportProblems(folder, result.problems);
    return writeOutput(out, mdlIniIo::encodeSettings(result.record), keep);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QStringLiteral("--help") || command == QStringLiteral("-h")) {
        print(stdout, kUsage);
        return exitOk;
    }
    if (command == QStringLiteral("--version")) {
        print(stdout, "in4tool " K27_VERSION "\n");
        return exitOk;
    }

    QString out;
    bool keep = false;
    QStringList operands;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("-o") && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == QStringLiteral("--keep"))
            keep = true;
        else if (args[i].startsWith(u'-') && args[i] != u'-')
            return usageError(QStringLiteral("unknown option %1").arg(args[i]));
        else
            operands << args[i];
    }

    if (command == QStringLiteral("fields") && operands.isEmpty() && out.isEmpty()) {
        print(stdout, (SettingsJson::fieldNames().join(u'\n') + u'\n').toUtf8());
        return exitOk;
    }
    if (command == QStringLiteral("dump") && operands.size() == 1 && out.isEmpty())
        return dump(operands[0]);
    if (command == QStringLiteral("build") && operands.size() == 1 && !out.isEmpty())
        return build(operands[0], out, keep);
    if (command == QStringLiteral("demo") && operands.size() <= 1 && !out.isEmpty())
        return demo(operands.value(0), out, keep);
    return usageError(QStringLiteral("wrong use of '%1'").arg(command));
}
