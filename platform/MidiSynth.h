#pragma once
// MIDI files play through GStreamer's FluidSynth element, which needs a
// General MIDI SoundFont. Left to itself it takes the first file it finds in
// the system's SoundFont folder and reads it again for every file it opens:
// with the 148 MB FluidR3 set that is over a second per open and 160 MB per
// open channel. Here the SoundFont is chosen on purpose and kept loaded, so
// that an open only sets up a synthesiser.
#include <QString>
#include <QStringList>

namespace platform::midi {

// SoundFont files in order of preference, relative to a data folder. The
// small TimGM6mb set (6 MB) opens in a few tens of milliseconds and plays the
// General MIDI instruments; the large sets follow for systems without it.
QStringList soundFontCandidates();

// The first candidate found in the given data folders (tried in order for
// each candidate), or empty text.
QString chooseSoundFont(const QStringList& dataFolders);

// The SoundFont MIDI files play with on this system: the choice among the
// system's data folders, or empty text when none is installed.
QString soundFont();

// Makes every FluidSynth element the media back end creates use soundFont(),
// and keeps that SoundFont loaded for the rest of the run so that each later
// open finds its samples in memory. Cheap after the first call. False when
// MIDI cannot be set up this way (no SoundFont, no FluidSynth element, or
// built without GStreamer); MIDI files then play as the back end decides.
bool prepare();

// How many FluidSynth elements have been given the SoundFont so far.
int synthsConfigured();

} // namespace platform::midi
