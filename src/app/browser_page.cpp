#include "app/browser_page.h"

#include <QByteArray>

#ifdef Q_OS_WASM
#include <emscripten.h>
#include <emscripten/val.h>
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

QString address()
{
#ifdef Q_OS_WASM
    return QString::fromStdString(emscripten::val::global("location")["href"].as<std::string>());
#else
    return {};
#endif
}

QString fragment()
{
#ifdef Q_OS_WASM
    // location.hash keeps what the address says, percent-encoding included, so that
    // nothing decoded on the way can pass for a figure.
    return QString::fromStdString(emscripten::val::global("location")["hash"].as<std::string>());
#else
    return {};
#endif
}

void replaceFragment(const QString &fragment)
{
#ifdef Q_OS_WASM
    const QByteArray utf8 = fragment.toUtf8();
    EM_ASM({
        const fragment = UTF8ToString($0);
        const address = location.pathname + location.search + (fragment ? "#" + fragment : "");
        history.replaceState(history.state, "", address);
    }, utf8.constData());
#else
    Q_UNUSED(fragment);
#endif
}

} // namespace BrowserPage
