#pragma once
// The program's one way of telling the player about a failure: printf-style text in a modal
// message box with an empty caption. Texts longer than 999 characters are cut.
#if defined(__GNUC__)
#define TD_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define TD_PRINTF(f, a)
#endif

void errorBox(const char* format, ...) TD_PRINTF(1, 2);
