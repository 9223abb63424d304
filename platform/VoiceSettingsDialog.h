#pragma once
// "音声の調節": speed, pitch and volume of the announcements.
#include <QDialog>

class QLabel;
class QSlider;

namespace platform {

struct VoiceSettings {
    double speed = 1.0; // speaking rate, 0.5 .. 2.0 (1.0 normal)
    int pitch = 0;      // half-tones up or down, -12 .. 12
    int volume = 100;   // percent, 0 .. 100

    bool operator==(const VoiceSettings&) const = default;
    // The same settings brought into their ranges.
    VoiceSettings clamped() const;
};

class VoiceSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit VoiceSettingsDialog(const VoiceSettings& settings, QWidget* owner = nullptr);

    VoiceSettings settings() const;

private:
    void showValues();

    QSlider* speed_;
    QSlider* pitch_;
    QSlider* volume_;
    QLabel* speedValue_;
    QLabel* pitchValue_;
    QLabel* volumeValue_;
};

} // namespace platform
