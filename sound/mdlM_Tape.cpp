#include "sound/mdlM_Tape.h"

#include "platform/Platform.h"
#include "platform/ShiftJis.h"
#include "sound/SoundSettings.h"
#include "sound/mdlSndAPI.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPointer>
#include <QPushButton>

#include <memory>

namespace mdlM_Tape {

namespace {

constexpr qint64 kMaxTapeFileBytes = 16 * 1024 * 1024;
const char* const kButtons[] = {"cmdTapeSet", "cmdTapeBack", "cmdTapeNext", "cmdTapeStop"};

struct State {
    QList<TapeRow> rows; // TapeRows(1..n) at 0..n-1
    qint32 pos = 0;      // TapePos
    bool speechAvailable = false;
    std::unique_ptr<platform::SpeechEngine> engine;
    QPointer<QGroupBox> panel;
    const SoundSettings* settings = nullptr;
};

State& state() {
    static State s;
    return s;
}

bool speechBlockedBySystem() {
    return platform::helper().GetOsInfo() == QStringLiteral("Windows Vista");
}

void setButtonsEnabled(bool enabled) {
    if (!state().panel)
        return;
    for (const char* name : kButtons)
        if (auto* b = state().panel->findChild<QPushButton*>(QLatin1String(name)))
            b->setEnabled(enabled);
}

void showUnavailable() {
    State& s = state();
    s.speechAvailable = false;
    if (s.panel) {
        s.panel->setTitle(QStringLiteral("音合使用不可"));
        s.panel->setEnabled(false);
    }
}

void loadFailed() {
    State& s = state();
    // Nothing of a failed file stays reachable: the frame may be enabled again
    // by the blank command, so the buttons go off and the table is emptied.
    s.rows.clear();
    s.pos = 0;
    if (s.panel)
        s.panel->setEnabled(false);
    setButtonsEnabled(false);
}

void playSlot(int slot, const QString& key) {
    const SoundSettings* settings = state().settings;
    if (!settings)
        return;
    mdlSndAPI::PlaySoundFile(settings->SoundFile(slot), key, settings->TapeSync(), 0);
}

int slotForSoundFlag(qint16 flag) {
    return flag >= 1 && flag <= 3 ? 3 + flag : -1;
}

// A flag field: blank reads 0, a whole decimal number is taken when it fits
// in 16 bits, anything else that is not a number reads 0.
std::optional<qint16> readFlag(QStringView field) {
    field = field.trimmed();
    if (field.isEmpty())
        return qint16(0);
    qsizetype i = 0;
    if (field.front() == u'+' || field.front() == u'-')
        ++i;
    if (i == field.size())
        return qint16(0);
    for (qsizetype j = i; j < field.size(); ++j)
        if (field[j] < u'0' || field[j] > u'9')
            return qint16(0);
    // Leading zeros do not count toward the size of the number.
    QStringView digits = field.mid(i);
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    if (digits.size() > 6)
        return std::nullopt;
    const qint64 magnitude = digits.toLongLong();
    const qint64 value = field.front() == u'-' ? -magnitude : magnitude;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

} // namespace

void SetPanel(QGroupBox* grpM_Tape) {
    state().panel = grpM_Tape;
}
void SetSoundSettings(const SoundSettings* settings) {
    state().settings = settings;
}

void InitSpeech() {
    State& s = state();
    s.engine.reset();
    if (speechBlockedBySystem()) {
        showUnavailable();
        return;
    }
    s.engine = platform::speechFactory().create();
    if (!s.engine) {
        showUnavailable();
        return;
    }
    if (s.panel) {
        s.panel->setEnabled(true);
        s.panel->setTitle(QStringLiteral("音合使用可"));
    }
    s.speechAvailable = true;
}

QString TapeFileName(const QString& number) {
    // The route number as a number and back: leading zeros and anything
    // after the digits are dropped, an empty text is route 0.
    const QString t = number.trimmed();
    qsizetype end = 0;
    while (end < t.size() && t[end] >= u'0' && t[end] <= u'9')
        ++end;
    QStringView digits = QStringView(t).left(end);
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    return (digits.isEmpty() ? QStringLiteral("0") : digits.toString()) + QStringLiteral("tp.csv");
}

QString FindTapeFile(const QString& folder, const QString& number) {
    const QDir dir = folder.isEmpty() ? QDir::current() : QDir(folder);
    const QString name = TapeFileName(number);
    const QFileInfo exact(dir, name);
    if (exact.isFile())
        return exact.filePath();
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

QStringList SplitTapeLines(const QByteArray& bytes) {
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        lines << platform::sjis::decode(QByteArrayView(bytes).sliced(start, stop - start));
        start = next;
    }
    return lines;
}

std::optional<TapeRow> ReadTapeLine(const QString& line) {
    TapeRow row;
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    qsizetype rest;
    if (i < line.size() && line[i] == u'"') {
        ++i;
        for (;;) {
            if (i >= line.size()) // unterminated: the text runs to the end
                break;
            if (line[i] == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    row.Text += u'"';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            row.Text += line[i++];
        }
        // Whatever stands between the closing quote and the comma is dropped.
        const qsizetype comma = line.indexOf(u',', i);
        rest = comma < 0 ? line.size() : comma + 1;
    } else {
        const qsizetype comma = line.indexOf(u',', i);
        row.Text = line.mid(i, comma < 0 ? -1 : comma - i).trimmed();
        rest = comma < 0 ? line.size() : comma + 1;
    }
    const QStringList flags = line.mid(rest).split(u',');
    const auto step = readFlag(flags.value(0));
    const auto sound = readFlag(flags.value(1));
    if (!step || !sound)
        return std::nullopt;
    row.StepFlag = *step;
    row.SoundFlag = *sound;
    return row;
}

std::optional<QList<TapeRow>> ReadTape(const QByteArray& bytes) {
    const QStringList lines = SplitTapeLines(bytes);
    if (lines.isEmpty())
        return std::nullopt;
    QList<TapeRow> rows;
    rows.reserve(lines.size());
    for (const QString& line : lines) {
        auto row = ReadTapeLine(line);
        if (!row)
            return std::nullopt;
        rows << *row;
    }
    return rows;
}

void LoadTape(const QString& folder, const QString& number) {
    if (speechBlockedBySystem())
        return;
    State& s = state();
    const QString path = FindTapeFile(folder, number);
    if (path.isEmpty())
        return loadFailed();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTapeFileBytes)
        return loadFailed();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return loadFailed();
    file.close();
    auto rows = ReadTape(bytes);
    if (!rows)
        return loadFailed();
    s.rows = std::move(*rows);
    s.pos = 0;
    if (s.speechAvailable) {
        if (s.panel)
            s.panel->setEnabled(true);
        setButtonsEnabled(true);
    }
}

void AnnounceNext() {
    State& s = state();
    ++s.pos;
    if (s.pos > s.rows.size()) {
        s.pos = qint32(s.rows.size());
        return;
    }
    int slot = -1;
    if (s.settings && s.settings->TapeAlways())
        slot = 3;
    else
        slot = slotForSoundFlag(GetSoundFlag(s.pos));
    if (slot >= 0)
        playSlot(slot, QStringLiteral("S3"));
    SpeakRow(s.pos);
}

void AnnounceBack() {
    State& s = state();
    --s.pos;
    if (s.pos < 1) {
        s.pos = 1;
        return;
    }
    const int slot = slotForSoundFlag(GetSoundFlag(s.pos));
    if (slot >= 0)
        playSlot(slot, QStringLiteral("S2"));
    SpeakRow(s.pos);
}

void SpeakRow(qint32 pos) {
    State& s = state();
    if (!s.engine || pos < 1 || pos > s.rows.size())
        return;
    s.engine->Stop();
    s.engine->Speak(s.rows.at(pos - 1).Text);
    if (s.engine->Status() == -1)
        s.engine->Stop();
}

qint32 GetTapePos() {
    return state().pos;
}

qint16 GetStepFlag(qint32 pos) {
    const State& s = state();
    return pos >= 1 && pos <= s.rows.size() ? s.rows.at(pos - 1).StepFlag : qint16(0);
}

qint16 GetSoundFlag(qint32 pos) {
    const State& s = state();
    return pos >= 1 && pos <= s.rows.size() ? s.rows.at(pos - 1).SoundFlag : qint16(0);
}

void StopSpeech() {
    if (state().engine)
        state().engine->Stop();
}

void ShowVoiceSettings() {
    State& s = state();
    if (s.engine)
        s.engine->ShowVoiceSettings(s.panel ? s.panel->window() : nullptr);
}

void ReleaseSpeech() {
    state().engine.reset();
}

bool SpeechAvailable() {
    return state().speechAvailable;
}
qint32 TapeRowCount() {
    return qint32(state().rows.size());
}
QList<TapeRow> TapeRows() {
    return state().rows;
}
platform::SpeechEngine* Engine() {
    return state().engine.get();
}

} // namespace mdlM_Tape
