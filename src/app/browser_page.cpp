#include "app/browser_page.h"

#include <QByteArray>

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

void announce(const QString &text)
{
#ifdef Q_OS_WASM
    const QByteArray utf8 = text.toUtf8();
    EM_ASM({
        if (typeof lessonStatus === "function")
            lessonStatus(UTF8ToString($0));
    }, utf8.constData());
#else
    Q_UNUSED(text);
#endif
}

} // namespace BrowserPage
