#pragma once

#include <QtGlobal>

// What differs when the program runs in a web page (Qt for WebAssembly) rather than as a
// desktop window. Everything else is the same program.
namespace BrowserPage {

#ifdef Q_OS_WASM
constexpr bool isBrowser = true;
#else
constexpr bool isBrowser = false;
#endif

// Tells the page that the program has ended, so that it says so and offers to start the
// program again; a desktop program simply exits.
void programEnded();

} // namespace BrowserPage
