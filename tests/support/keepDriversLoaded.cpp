// LeakSanitizer reports the GL driver's own start-up allocations at exit. When the driver has been
// unloaded by then its frames are nameless and cannot be suppressed, so sanitizer builds pin the
// driver libraries in memory and the suppressions file names them.
#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>

namespace {
struct KeepDriversLoaded {
    KeepDriversLoaded() {
        const char* libraries[] = {
            "libEGL_mesa.so.0", "libGLX_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
            "libLLVM-15.so.1", "libgallium_dri.so",
        };
        for (const char* name : libraries) dlopen(name, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    }
} keepDriversLoaded;
}  // namespace
#endif
