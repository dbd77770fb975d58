#pragma once
// TD_ASSERT(cond): a check of the program's own invariants, for values that only a bug can make
// wrong. Data from outside (files, the clock, the command line) is validated where it enters
// instead, because a release build compiles these checks out. In a debug build a failed check
// names the condition and its place on stderr and aborts.
#ifdef NDEBUG
// sizeof keeps the condition's names used (no unused-variable warnings) without evaluating it.
#define TD_ASSERT(cond) ((void)sizeof(!(cond)))
#else
#define TD_ASSERT(cond) ((cond) ? (void)0 : tdAssertFailed(#cond, __FILE__, __LINE__))
#endif

[[noreturn]] void tdAssertFailed(const char* condition, const char* file, int line);
