#include "core/errorBox.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>

#include "core/platform.h"

void errorBox(const char* format, ...) {
    // A loader that reports a failure may still look at errno afterwards: neither the
    // formatting nor the box may change it.
    int savedErrno = errno;
    char text[1000];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    platform().messageBox(text, "", MB_OK);
    errno = savedErrno;
}
