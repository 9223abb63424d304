#pragma once
// The desktop shell: open a folder in the file browser. Failures are the
// caller's to ignore.
#include <QString>

class QWidget;

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;
    virtual bool openFolder(QWidget* owner, const QString& path) = 0;
};

} // namespace platform
