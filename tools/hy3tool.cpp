// hy3tool: fare files (<route>.hy3) for route designers. Prints a fare file
// as CSV text, builds a fare file from CSV text, and tells whether K27
// accepts a fare file. Built on the same reader and writer as K27 itself.
#include "control/FareCsv.h"
#include "control/FareData.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

// Larger inputs are refused unread: the largest fare file K27 can read
// (301 stops with 65535-byte names) is under 20 MiB.
constexpr qint64 kMaxInputBytes = 64 * 1024 * 1024;

enum ExitCode { exitOk = 0, exitProblem = 1, exitUsage = 2 };

const char kUsage[] = R"(Usage: hy3tool dump FILE.hy3
       hy3tool build FILE.csv -o FILE.hy3
       hy3tool check FILE.hy3
       hy3tool --help | --version

Fare files for K27, the route-bus fare board simulator.

  dump   Print the fare file as CSV text (UTF-8) on standard output: a header
         line, then one stop a line: stop name, ticket number, data columns
         1 to 150 (columns 1 to 50 are the fares under ticket numbers 1 to 50;
         -1 marks a column without a fare).
  build  Read CSV text in that form (FILE.csv may be - for standard input)
         and write the fare file. Every problem is reported with its line and
         column; when there is any, nothing is written.
  check  Tell whether K27 accepts the fare file and from which sections,
         or why it refuses it.

FILE may be - (standard input) for dump and check too.
Exit status: 0 success, 1 a problem with the data or a file, 2 wrong usage.
)";

void print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

void say(const QString& text) {
    print(stdout, text + u'\n');
}

void complain(const QString& text) {
    print(stderr, QStringLiteral("hy3tool: ") + text + u'\n');
}

int usageError(const QString& text) {
    complain(text);
    complain(QStringLiteral("try 'hy3tool --help'"));
    return exitUsage;
}

QString displayName(const QString& path) {
    return path == u'-' ? QStringLiteral("<stdin>") : path;
}

// The whole file (or standard input for "-"), at most kMaxInputBytes.
std::optional<QByteArray> readInput(const QString& path) {
    QFile file;
    bool opened;
    if (path == u'-') {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        complain(QStringLiteral("%1: %2").arg(displayName(path), file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = file.read(1 << 16);
        if (chunk.isEmpty())
            break;
        bytes += chunk;
        if (bytes.size() > kMaxInputBytes) {
            complain(QStringLiteral("%1: larger than %2 MiB; this is no fare data")
                         .arg(displayName(path), QString::number(kMaxInputBytes >> 20)));
            return std::nullopt;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        complain(QStringLiteral("%1: %2").arg(displayName(path), file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

// Notes on what a dump or a check cannot carry over.
void noteLosses(const QString& name, const Hy3Check& check) {
    for (int stop : check.namesChangedByText)
        complain(QStringLiteral("note: %1: the name of stop %2 does not come back byte for byte from text "
                                "(broken or duplicate Shift-JIS codes); a file built from the CSV differs there")
                     .arg(name, QString::number(stop)));
    if (check.trailingBytes > 0)
        complain(QStringLiteral("note: %1: %2 bytes after the last stop are not part of the route")
                     .arg(name, QString::number(check.trailingBytes)));
}

int dump(const QString& path) {
    const auto bytes = readInput(path);
    if (!bytes)
        return exitProblem;
    const Hy3Check check = checkHy3(*bytes);
    if (check.file.error != Hy3Error::None) {
        complain(QStringLiteral("%1: %2").arg(displayName(path), hy3ErrorText(check.file)));
        return exitProblem;
    }
    const QByteArray csv = writeFareCsv(check.file.records);
    std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
    noteLosses(displayName(path), check);
    if (!check.accepted)
        complain(
            QStringLiteral("note: %1: K27 refuses this file: %2")
                .arg(displayName(path), QString(check.refusal).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
    return std::fflush(stdout) == 0 ? exitOk : exitProblem;
}

int check(const QString& path) {
    const auto bytes = readInput(path);
    if (!bytes)
        return exitProblem;
    const Hy3Check c = checkHy3(*bytes);
    const QString name = displayName(path);
    if (!c.accepted) {
        say(QStringLiteral("%1: K27 refuses this file:").arg(name));
        say(QStringLiteral("  ") + QString(c.refusal).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        // The reset's words for a count it refuses speak of sections; say
        // what the file holds (often a file that is not a fare file at all).
        if (c.file.error != Hy3Error::TooShort && c.file.count <= 1)
            say(QStringLiteral("  (its first two bytes give %1 stop%2; a route has 2 to 301 stops)")
                    .arg(c.file.count)
                    .arg(c.file.count == 1 ? QString() : QStringLiteral("s")));
        return exitProblem;
    }
    say(QStringLiteral("%1: %2 stops, from %3 to %4")
            .arg(name, QString::number(c.file.count), c.file.records.first().Chimei, c.file.records.last().Chimei));
    if (c.firstSection == c.lastSection)
        say(QStringLiteral("K27 accepts it from section %1 only.").arg(c.firstSection));
    else
        say(QStringLiteral("K27 accepts it from sections %1 to %2.").arg(c.firstSection).arg(c.lastSection));
    noteLosses(name, c);
    return exitOk;
}

int build(const QString& input, const QString& output) {
    const auto bytes = readInput(input);
    if (!bytes)
        return exitProblem;
    const FareCsv csv = readFareCsv(*bytes);
    if (!csv.problems.isEmpty()) {
        for (const FareCsvProblem& p : csv.problems)
            print(stderr, fareCsvProblemText(displayName(input), p) + u'\n');
        complain(
            QStringLiteral("%1 problem%2; nothing written")
                .arg(QString::number(csv.problems.size()), csv.problems.size() == 1 ? QString() : QStringLiteral("s")));
        return exitProblem;
    }
    if (const QString problem = hy3WriteProblem(csv.records); !problem.isEmpty()) {
        complain(QStringLiteral("%1: %2; nothing written").arg(displayName(input), problem));
        return exitProblem;
    }
    const QByteArray hy3 = writeHy3(csv.records);

    // Written beside the target and renamed over it only when every byte
    // is on disk, so a failure never leaves a half-written fare file.
    QSaveFile file(output);
    bool ok = file.open(QIODevice::WriteOnly);
    ok = ok && file.write(hy3) == hy3.size();
    ok = ok && file.flush();
    if (!ok) {
        const QString why = file.errorString();
        file.cancelWriting();
        complain(QStringLiteral("%1: %2; nothing written").arg(output, why));
        return exitProblem;
    }
    if (!file.commit()) {
        complain(QStringLiteral("%1: %2; nothing written").arg(output, file.errorString()));
        return exitProblem;
    }
    say(QStringLiteral("%1: %2 stops written").arg(output, QString::number(csv.records.size())));
    return exitOk;
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (args.isEmpty()) {
        print(stderr, QString::fromUtf8(kUsage));
        return exitUsage;
    }
    const QString command = args.takeFirst();
    if (command == u"--help" || command == u"-h" || command == u"help") {
        print(stdout, QString::fromUtf8(kUsage));
        return exitOk;
    }
    if (command == u"--version") {
        say(QStringLiteral("hy3tool (K27 %1)").arg(QStringLiteral(K27_VERSION)));
        return exitOk;
    }

    if (command == u"dump" || command == u"check") {
        if (args.size() != 1)
            return usageError(QStringLiteral("%1 takes one fare file").arg(command));
        return command == u"dump" ? dump(args[0]) : check(args[0]);
    }

    if (command == u"build") {
        QString input;
        QString output;
        bool haveInput = false;
        for (qsizetype i = 0; i < args.size(); ++i) {
            if (args[i] == u"-o" || args[i] == u"--output") {
                if (i + 1 == args.size())
                    return usageError(QStringLiteral("%1 needs a file name").arg(args[i]));
                output = args[++i];
            } else if (args[i].startsWith(u'-') && args[i] != u'-') {
                return usageError(QStringLiteral("unknown option '%1'").arg(args[i]));
            } else if (haveInput) {
                return usageError(QStringLiteral("build takes one CSV file"));
            } else {
                input = args[i];
                haveInput = true;
            }
        }
        if (!haveInput)
            return usageError(QStringLiteral("build needs a CSV file (or - for standard input)"));
        if (output.isEmpty())
            return usageError(QStringLiteral("build needs -o FILE.hy3"));
        if (output == u'-')
            return usageError(QStringLiteral("the fare file is binary; -o needs a file name"));
        return build(input, output);
    }

    return usageError(QStringLiteral("unknown command '%1'").arg(command));
}
