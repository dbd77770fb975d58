// Every test program pins the GL drivers before its first test (sanitizer builds only; see
// app/sanitizerSupport.h), which also brings LeakSanitizer the suppressions.
#include "app/sanitizerSupport.h"

namespace {
struct KeepDriversLoaded {
    KeepDriversLoaded() { pinGLDrivers(); }
} keepDriversLoaded;
}  // namespace
