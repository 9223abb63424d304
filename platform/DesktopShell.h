#pragma once
#include "platform/Shell.h"

namespace platform {

class DesktopShell : public Shell {
public:
    bool openFolder(QWidget* owner, const QString& path) override;
};

} // namespace platform
