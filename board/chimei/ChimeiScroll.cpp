#include "board/chimei/ChimeiScroll.h"

#include <algorithm>
#include <climits>
#include <cmath>

void ChimeiScroll::start(qint64 now) {
    top_ = 0;
    phase_ = Phase::Pausing;
    firstPause_ = true;
    pauseEnd_ = now + pauseLength();
}

void ChimeiScroll::stop() {
    phase_ = Phase::Idle;
    firstPause_ = false;
    top_ = 0;
}

// Upwards the name wraps when its bottom is a frame height above the
// frame's top; downwards, for a negative speed, when it has moved the same
// distance below its starting place, so that it never drifts away for ever.
qint64 ChimeiScroll::wrapStep(double p0) const {
    const double s = stepSize();
    const int d = wrapDistance();
    auto reached = [&](qint64 k) {
        const long top = std::lround(p0 - double(k) * s);
        return s > 0 ? top <= -d : top >= d;
    };
    // The estimate is exact but for rounding; walk to the first step that
    // really reaches the distance.
    const double estimate = s > 0 ? (p0 + d - 0.5) / s : (d - 0.5 - p0) / -s;
    qint64 k = std::max<qint64>(1, qint64(std::ceil(estimate)));
    while (k > 1 && reached(k - 1))
        --k;
    while (!reached(k))
        ++k;
    return k;
}

bool ChimeiScroll::advanceTo(qint64 now) {
    bool speedRaised = false;
    const qint64 wait = pauseLength();
    while (phase_ != Phase::Idle) {
        if (phase_ == Phase::Pausing) {
            if (now < pauseEnd_) {
                top_ = 0;
                break;
            }
            if (firstPause_) {
                firstPause_ = false;
                if (speed_ == 0) {
                    speed_ = 1;
                    speedRaised = true;
                }
            } else if (speed_ != 0) {
                // Every round after a wrap is alike: skip the whole ones.
                const qint64 cycle = wrapStep(0) + wait;
                pauseEnd_ += (now - pauseEnd_) / cycle * cycle;
            }
            phase_ = Phase::Moving;
            t0_ = pauseEnd_;
            p0_ = 0;
        }

        const qint64 steps = now - t0_;
        if (speed_ == 0 || steps <= 0) {
            top_ = int(std::lround(p0_));
            break;
        }
        const qint64 k = wrapStep(p0_);
        if (k <= steps) {
            phase_ = Phase::Pausing;
            pauseEnd_ = t0_ + k + wait;
            p0_ = 0;
            top_ = 0;
            continue;
        }
        top_ = int(std::lround(p0_ - double(steps) * stepSize()));
        break;
    }
    return speedRaised;
}

bool ChimeiScroll::rebase(qint64 now) {
    if (phase_ == Phase::Idle)
        return false;
    const bool speedRaised = advanceTo(now);
    if (phase_ == Phase::Moving) {
        p0_ -= double(now - t0_) * stepSize();
        t0_ = now;
    }
    return speedRaised;
}

qint64 ChimeiScroll::nextWakeIn(qint64 now, int frameIntervalMs) const {
    qint64 delay = 0;
    switch (phase_) {
    case Phase::Idle: return -1;
    case Phase::Pausing: delay = pauseEnd_ - now; break;
    case Phase::Moving: {
        const double s = std::fabs(stepSize());
        if (s == 0)
            return -1; // standing still: nothing to do until Speed changes
        // Once per pixel moved, but not more often than the screen shows
        // frames, and in time for the wrap.
        const qint64 perPixel = qint64(std::ceil(1.0 / s));
        delay = std::clamp<qint64>(perPixel, frameIntervalMs, 1000);
        delay = std::min(delay, t0_ + wrapStep(p0_) - now);
        break;
    }
    }
    return std::clamp<qint64>(delay, 0, INT_MAX);
}
