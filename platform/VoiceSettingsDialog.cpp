#include "platform/VoiceSettingsDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace platform {

VoiceSettings VoiceSettings::clamped() const {
    VoiceSettings v = *this;
    v.speed = std::isfinite(speed) ? qBound(0.5, speed, 2.0) : 1.0;
    v.pitch = qBound(-12, pitch, 12);
    v.volume = qBound(0, volume, 100);
    return v;
}

namespace {
QSlider* makeSlider(QWidget* parent, const char* name, int min, int max, int value) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QLatin1String(name));
    s->setRange(min, max);
    s->setValue(value);
    s->setMinimumWidth(180);
    return s;
}
} // namespace

VoiceSettingsDialog::VoiceSettingsDialog(const VoiceSettings& settings, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("dlgVoiceSettings"));
    setWindowTitle(QStringLiteral("音声の調節"));
    const VoiceSettings v = settings.clamped();
    // The speed slider works in tenths: 5 .. 20 is 0.5 .. 2.0 times.
    speed_ = makeSlider(this, "sldSpeed", 5, 20, int(std::lround(v.speed * 10)));
    pitch_ = makeSlider(this, "sldPitch", -12, 12, v.pitch);
    volume_ = makeSlider(this, "sldVolume", 0, 100, v.volume);
    speedValue_ = new QLabel(this);
    pitchValue_ = new QLabel(this);
    volumeValue_ = new QLabel(this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("速さ"), this), 0, 0);
    grid->addWidget(speed_, 0, 1);
    grid->addWidget(speedValue_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("高さ"), this), 1, 0);
    grid->addWidget(pitch_, 1, 1);
    grid->addWidget(pitchValue_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("音量"), this), 2, 0);
    grid->addWidget(volume_, 2, 1);
    grid->addWidget(volumeValue_, 2, 2);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("標準に戻す"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this, [this] {
        const VoiceSettings d;
        speed_->setValue(int(std::lround(d.speed * 10)));
        pitch_->setValue(d.pitch);
        volume_->setValue(d.volume);
    });
    for (QSlider* s : {speed_, pitch_, volume_})
        connect(s, &QSlider::valueChanged, this, &VoiceSettingsDialog::showValues);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    showValues();
}

VoiceSettings VoiceSettingsDialog::settings() const {
    VoiceSettings v;
    v.speed = speed_->value() / 10.0;
    v.pitch = pitch_->value();
    v.volume = volume_->value();
    return v;
}

void VoiceSettingsDialog::showValues() {
    speedValue_->setText(QStringLiteral("%1 倍").arg(speed_->value() / 10.0, 0, 'f', 1));
    pitchValue_->setText(QStringLiteral("%1%2").arg(pitch_->value() > 0 ? "+" : "").arg(pitch_->value()));
    volumeValue_->setText(QStringLiteral("%1 %").arg(volume_->value()));
}

} // namespace platform
