#pragma once
#include "platform/WindowShape.h"

#include <QList>
#include <QPointer>
#include <QWidget>

namespace platform {

// Records every request for a system move and answers as told; refusing by
// default, as the offscreen platform does, so the window follows the mouse.
class RecordingWindowMover : public WindowMover {
public:
    QList<QPointer<QWidget>> requests;
    bool accept = false;
    bool startSystemMove(QWidget* window) override {
        requests << window;
        return accept;
    }
};

} // namespace platform
