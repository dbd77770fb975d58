// Every test program pins the GL drivers before its first test (sanitizer builds only; see
// core/sanitizerSupport.h), which also brings LeakSanitizer the suppressions.
#include "core/sanitizerSupport.h"

namespace {
struct KeepDriversLoaded {
    KeepDriversLoaded() { pinGLDrivers(); }
} keepDriversLoaded;
}  // namespace
