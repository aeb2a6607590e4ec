#include "app/browser_page.h"

#include "lesson/figure_address.h"
#include "lesson/lesson.h"

#include <QByteArray>
#include <QSettings>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <optional>
#include <utility>

#ifdef Q_OS_WASM
#include <QLoggingCategory>
#include <emscripten.h>
#include <emscripten/val.h>
#endif

#ifdef Q_OS_WASM
// Emscripten's runtime helpers that the scripts below call, which it includes only when told.
// (allocateUTF8, which kept() used before, is gone from emscripten 3.1.69's runtime: its
// ReferenceError, caught as a refusing storage's, lost every pupil's practice at a reload.)
EM_JS_DEPS(browserPage, "$stringToNewUTF8,$UTF8ToString");

// The one place a page gives away a file. Shared where asked and a share sheet takes the
// file (1 returned); downloaded otherwise (0), and also when the share sheet refuses it.
// A download is a link to the file clicked, which every browser saves under the name given:
// Qt 6.8's QFileDialog::saveFileContent opens Chromium's save dialog instead, and leaves the
// dialog's cancelling an unhandled rejection. (At file scope: the page finds the script by
// the function's C name.)
EM_JS(int, handOverFile, (const char *data, int size, const char *name, const char *type, const char *title, int share), {
    const fileName = UTF8ToString(name);
    const options = { type: UTF8ToString(type) };
    // A copy: the program's memory is used again once this returns.
    const bytes = HEAPU8.slice(data, data + size);
    const download = function (blob) {
        const link = document.createElement("a");
        link.href = URL.createObjectURL(blob);
        link.download = fileName;
        link.click();
        setTimeout(function () { URL.revokeObjectURL(link.href); }, 60000);
    };
    let file = null;
    try {
        if (share && navigator.canShare)
            file = new File([bytes], fileName, options);
    } catch (e) {
    }
    if (!file || !navigator.canShare({ files: [file] })) {
        download(new Blob([bytes], options));
        return 0;
    }
    navigator.share({ files: [file], title: UTF8ToString(title) }).catch(function (error) {
        // Closed by the user: done. Refused (the gesture was not seen after all, or no app
        // takes the file): downloaded instead, as without a share sheet.
        if (error.name !== "AbortError")
            download(file);
    });
    return 1;
});
#endif

namespace BrowserPage {

void prepare()
{
#ifdef Q_OS_WASM
    // Qt makes an element for screen readers of each control of every window, and warns
    // in the page's console of each in a window not shown yet (practice's), for which it
    // has no place: some fifty lines at each start.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.accessibility.warning=false"));
    // Ctrl+C and Ctrl+X: where the browser has its clipboard API, Qt writes what the program
    // copies through it while the key is handled; the copy event the browser fires next
    // would have Qt write it once more into the event, which Safari takes for a second
    // request, refusing the first. Qt needs the event only where that API is missing.
    EM_ASM({
        if (navigator.clipboard && navigator.clipboard.write) {
            for (const kind of ["copy", "cut"]) {
                window.addEventListener(kind, function (event) {
                    event.stopImmediatePropagation();
                    event.preventDefault();
                }, true);
            }
        }
    });
#endif
}

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

#ifdef Q_OS_WASM
namespace {

class ExposeWatch : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Expose)
            return false;
        const auto *window = static_cast<QWindow *>(watched);
        // Qt has marked the window exposed or not before it is told.
        if (!window->isExposed()) {
            m_last.reset();
            return false;
        }
        const Exposed now { window->size(), window->devicePixelRatio() };
        if (m_last == now)
            return true;
        // The window paints as it is exposed; the page acts on it a moment later.
        if (!std::exchange(m_painted, true)) {
            EM_ASM({
                if (typeof lessonShown === "function")
                    lessonShown();
            });
        }
        m_last = now;
        return false;
    }

private:
    struct Exposed
    {
        QSize size;
        qreal ratio = 0;
        bool operator==(const Exposed &) const = default;
    };
    std::optional<Exposed> m_last;
    bool m_painted = false;
};

} // namespace
#endif

void watchExposes(QWidget *window)
{
#ifdef Q_OS_WASM
    window->windowHandle()->installEventFilter(new ExposeWatch(window));
#else
    Q_UNUSED(window);
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

void keep(const QString &name, const QString &value)
{
#ifdef Q_OS_WASM
    // The page's storage answers at once, where Qt 6.4's settings in a browser are written
    // in the background; a browser that refuses storage (a private window) keeps nothing.
    const QByteArray key = (QStringLiteral("function-lesson/") + name).toUtf8(), text = value.toUtf8();
    EM_ASM({
        const key = UTF8ToString($0);
        const value = UTF8ToString($1);
        try {
            localStorage.setItem(key, value);
        } catch (e) {
        }
    }, key.constData(), text.constData());
#else
    // Under the application's names, which main() sets, so that tests keep theirs apart.
    QSettings().setValue(name, value);
#endif
}

QString kept(const QString &name)
{
#ifdef Q_OS_WASM
    const QByteArray key = (QStringLiteral("function-lesson/") + name).toUtf8();
    char *text = reinterpret_cast<char *>(EM_ASM_INT({
        const key = UTF8ToString($0);
        let value = null;
        // Only the storage's own refusal is caught: a fault of the script itself shows.
        try {
            value = localStorage.getItem(key);
        } catch (e) {
        }
        return value === null ? 0 : stringToNewUTF8(value);
    }, key.constData()));
    const QString value = text ? QString::fromUtf8(text) : QString();
    free(text);
    return value;
#else
    return QSettings().value(name).toString();
#endif
}

#ifdef Q_OS_WASM
namespace {

bool handOver(const QByteArray &bytes, const QString &fileName, const QString &mimeType, bool share)
{
    const QByteArray name = fileName.toUtf8(), type = mimeType.toUtf8();
    const QByteArray title = fileName.section(QLatin1Char('.'), 0, -2).toUtf8();
    return handOverFile(bytes.constData(), int(bytes.size()), name.constData(), type.constData(), title.constData(), share);
}

} // namespace
#endif

bool hand(const QByteArray &bytes, const QString &fileName, const QString &mimeType)
{
#ifdef Q_OS_WASM
    // On an iPad or a Chromebook a download lands in a folder pupils rarely open; the share
    // sheet hands the file on to where they turn work in (Files, Drive, Classroom, AirDrop).
    // The browser opens it only within a user's gesture: Qt delivers the pointer's and the
    // touches' events synchronously from the page's own handlers, so a button's click and a
    // menu's choice run inside that gesture, and the share starts before they return.
    return handOver(bytes, fileName, mimeType, true);
#else
    Q_UNUSED(bytes);
    Q_UNUSED(fileName);
    Q_UNUSED(mimeType);
    return false;
#endif
}

void download(const QByteArray &bytes, const QString &fileName, const QString &mimeType)
{
#ifdef Q_OS_WASM
    handOver(bytes, fileName, mimeType, false);
#else
    Q_UNUSED(bytes);
    Q_UNUSED(fileName);
    Q_UNUSED(mimeType);
#endif
}

void followLesson(const Lesson &lesson)
{
    QObject::connect(&lesson, &Lesson::changed, &lesson, [&lesson](Lesson::Change change) {
        announce(lesson.whereText());
        if (change == Lesson::Change::Dropped
            || (change == Lesson::Change::InitialScreen && FigureAddress::parse(fragment())))
            replaceFragment(FigureAddress::fragment(lesson.columns()));
    });
}

} // namespace BrowserPage
