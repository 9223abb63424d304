#pragma once
// The sound settings the announcement module reads at the moment it needs
// them. The options window is the live store of these settings and
// implements this interface; tests give their own.
#include <QString>

class SoundSettings {
public:
    virtual ~SoundSettings() = default;
    // The file name in sound slot k (the options window's txtSelectSound(k));
    // empty for an empty slot or one that does not exist.
    virtual QString soundFile(int slot) const = 0;
    // Option2(2): play slot 3 before every forward announcement.
    virtual bool tapeAlways() const = 0;
    // Option7(0): the pre-announcement sound plays to its end before speech.
    virtual bool tapeSync() const = 0;
};
