#pragma once
// The four sound channels "S1".."S4". Each channel plays one sound at a time
// under the device alias <executable base name><key> (K27S1 ...); a new sound
// on a channel cuts the old one. Sounds that cannot be played are skipped
// without a word: the caller always carries on with its own work.
#include <QString>
#include <QtGlobal>

namespace mdlSndAPI {

// Plays the file at path on the channel key. With wait, returns only after
// the sound has ended and then pauses for pause ms; without, the sound goes
// on in the background. An empty path or a missing file sends nothing, so
// the channel's current sound continues.
void PlaySoundFile(const QString& path, const QString& key, bool wait, qint16 pause);

// Closes the four channels; called once at shut-down.
void CloseAllSounds();

// The device alias of a channel: the executable's base name and the key.
QString deviceAlias(const QString& key);

} // namespace mdlSndAPI
