#pragma once
// A failure with the number and description shown to the user. Numbers
// follow the classic runtime numbering (53 file not found, 481 invalid
// picture, ...), so messages read the same whatever raised them.
#include <QString>

#include <stdexcept>

namespace core {

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Every error number the program raises or reports, in one place.
namespace errors {
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kOutOfStackSpace = 28;
inline constexpr int kInternal = 51;
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIo = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kObjectNotSet = 91;
inline constexpr int kNoSuchControl = 340;
inline constexpr int kInvalidPropertyValue = 380;
inline constexpr int kInvalidPicture = 481;
} // namespace errors

} // namespace core
