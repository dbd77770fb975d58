#pragma once
// What sanitizer builds of the game, its tools and its tests need so that LeakSanitizer reports
// only the game's own leaks. Plain builds get a function that does nothing.

// Keeps the GL driver libraries loaded until exit. A driver unloaded before LeakSanitizer looks
// leaves nameless frames that no suppression can match. Call before the first GL context.
void pinGLDrivers();
