#include "app/browser_page.h"

#ifdef Q_OS_WASM
#include <emscripten.h>
#endif

namespace BrowserPage {

void programEnded()
{
#ifdef Q_OS_WASM
    // The page's own function; a page without it (opened some other way) keeps quiet.
    EM_ASM({
        if (typeof lessonEnded === "function")
            lessonEnded();
    });
#endif
}

} // namespace BrowserPage
