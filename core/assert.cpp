#include "core/assert.h"

#include <cstdio>
#include <cstdlib>

void tdAssertFailed(const char* condition, const char* file, int line) {
    fprintf(stderr, "%s:%d: assertion failed: %s\n", file, line, condition);
    fflush(stderr);
    abort();
}
