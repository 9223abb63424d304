#pragma once
// The timed scroll of a long stop name, worked out from a millisecond clock
// alone, so that it runs the same whether it is asked every frame, once a
// second or after the column was hidden for an hour.
//
// A run starts with a pause (ScrollStartWait) in which the name stands at
// the top. Then every millisecond is one step: the name moves Speed / 200
// pixels upwards (downwards for a negative Speed). When its bottom is one
// frame height above the frame's top (for a downward run: when it has moved
// the same distance down), it goes back to the top and pauses again.
//
// The model only counts; whoever owns it asks for the position at a time and
// decides when to look again (nextWakeIn).
#include <QtGlobal>

class ChimeiScroll {
public:
    enum class Phase { Idle, Pausing, Moving };

    static constexpr qint16 kDefaultSpeed = 5;
    static constexpr qint32 kDefaultStartWait = 1500;

    // Settings. They are plain stores: to change one in the middle of a run
    // so that it applies from the next step on, call rebase(now) first.
    qint16 speed() const { return speed_; }
    void setSpeed(qint16 v) { speed_ = v; }
    qint32 startWait() const { return startWait_; }
    void setStartWait(qint32 v) { startWait_ = v; }
    // The name's height and the frame's height decide where it wraps.
    void setSurfaceHeight(int h) { surfaceHeight_ = h; }
    void setFrameHeight(int h) { frameHeight_ = h; }

    // Starts a run at time now with the start pause.
    void start(qint64 now);
    // Back to the top, standing.
    void stop();

    // Brings the position up to time now. Returns true when Speed was 0 at
    // the end of the start pause and has been raised to 1.
    bool advanceTo(qint64 now);
    // Advances to now and restarts the moving stretch there, so that a new
    // speed, pause length or height takes effect from the next step on.
    // Returns what advanceTo returned.
    bool rebase(qint64 now);

    Phase phase() const { return phase_; }
    // The name's top inside the frame: 0 at rest, negative while scrolled up.
    int top() const { return top_; }

    // How long until the position needs looking at again: the end of a
    // pause; while moving, the time the name takes to move one pixel, but no
    // less than frameIntervalMs and no more than a second, and no later
    // than the wrap. -1 when nothing will change by itself (idle, or moving
    // at Speed 0).
    qint64 nextWakeIn(qint64 now, int frameIntervalMs) const;

    // The first step, counted from a moving stretch that starts at position
    // p0, after which the name has travelled far enough to wrap.
    qint64 wrapStep(double p0) const;

private:
    double stepSize() const { return speed_ / 200.0; }
    // A negative pause is no pause: it would otherwise be a wait of about
    // 49 days as an unsigned millisecond count.
    qint64 pauseLength() const { return startWait_ > 0 ? startWait_ : 0; }
    int wrapDistance() const { return surfaceHeight_ + frameHeight_; }

    qint16 speed_ = kDefaultSpeed;
    qint32 startWait_ = kDefaultStartWait;
    int surfaceHeight_ = 192;
    int frameHeight_ = 196;

    // During Pausing the name stands at the top until pauseEnd_; during
    // Moving its position is p0_ minus one step per millisecond since t0_.
    Phase phase_ = Phase::Idle;
    bool firstPause_ = false;
    qint64 pauseEnd_ = 0;
    qint64 t0_ = 0;
    double p0_ = 0;
    int top_ = 0;
};
