// Compiled into every test executable that links k27testsupport (an
// INTERFACE source, so no linker can drop it): the strict platform is in
// place before main(), and only what a test installs replaces it.
#include "platform/doubles/StrictPlatform.h"

namespace {
[[maybe_unused]] const bool strictPlatformInstalled = [] {
    platform::installStrictPlatform();
    return true;
}();
} // namespace
