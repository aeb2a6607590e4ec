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
        try {
            localStorage.setItem(UTF8ToString($0), UTF8ToString($1));
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
        try {
            const value = localStorage.getItem(UTF8ToString($0));
            return value === null ? 0 : allocateUTF8(value);
        } catch (e) {
            return 0;
        }
    }, key.constData()));
    const QString value = text ? QString::fromUtf8(text) : QString();
    free(text);
    return value;
#else
    return QSettings().value(name).toString();
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
