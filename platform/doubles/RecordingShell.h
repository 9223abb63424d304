#pragma once
#include "platform/Shell.h"

#include <QStringList>

namespace platform {

class RecordingShell : public Shell {
public:
    QStringList opened;
    bool result = true;
    bool openFolder(QWidget*, const QString& path) override {
        opened << path;
        return result;
    }
};

} // namespace platform
