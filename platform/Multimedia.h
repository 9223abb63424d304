#pragma once
// Multimedia command strings: "open "<path>" type <device> alias <name> wait",
// "play <name> from 0 [wait]", "stop <name>", "close <name>". The result is 0
// on success and a non-zero error code otherwise.
#include <QString>
#include <QtGlobal>

namespace platform {

// Result codes, numbered as the platform's multimedia interface numbers them.
namespace mci {
inline constexpr qint32 kOk = 0;
inline constexpr qint32 kInvalidDeviceName = 263; // unknown alias or device type
inline constexpr qint32 kUnrecognizedCommand = 261;
inline constexpr qint32 kMissingParameter = 273;
inline constexpr qint32 kFileNotFound = 275;
inline constexpr qint32 kDuplicateAlias = 289;
inline constexpr qint32 kInvalidFile = 296;   // not a sound this back end can decode
inline constexpr qint32 kNoApplication = 262; // no Qt application to run players in
} // namespace mci

class Multimedia {
public:
    virtual ~Multimedia() = default;
    virtual qint32 mciSendString(const QString& command) = 0;
};

} // namespace platform
