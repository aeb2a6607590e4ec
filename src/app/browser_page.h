#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class Lesson;
class QWidget;

// What differs when the program runs in a web page (Qt for WebAssembly) rather than as a
// desktop window. Everything else is the same program.
namespace BrowserPage {

#ifdef Q_OS_WASM
constexpr bool isBrowser = true;
#else
constexpr bool isBrowser = false;
#endif

// Sets up what the browser's Qt needs before the window is made; nothing on the desktop.
void prepare();

// Tells the page that the program has ended, so that it says so and offers to start the
// program again; a desktop program simply exits.
void programEnded();

// A screen reader finds the window's controls, but cannot read its drawings: where the
// figure stands is also written into the page, where one can.
void announce(const QString &text);

// Follows the exposes of the window, once it is shown:
// - Qt's browser platform raises the window at every press of the pointer, and raising
//   exposes it anew, twice: each time the whole window went to the canvas again, though
//   nothing in it had changed. An expose at the size and pixel ratio the window was
//   last exposed at is passed over.
// - The first one paints the window: the page is told then, so that what it can put off
//   (keeping the lesson for offline use) does not slow the start.
void watchExposes(QWidget *window);

// The page's address (empty on the desktop, which has none) and its fragment, the part
// after '#', where a figure is carried.
QString address();
QString fragment();
// Puts the fragment into the page's address in place, without a history entry per
// change, so that Back leaves the lesson rather than undoing drops; an empty one takes
// the fragment away.
void replaceFragment(const QString &fragment);

// What the program keeps between runs, under a name: a pupil's practice. In a browser the
// page's own storage keeps it across reloads; on the desktop Qt's settings, across restarts.
void keep(const QString &name, const QString &value);
QString kept(const QString &name);

// Hands a file the program made to the user of a page: to the device's share sheet where
// there is one (an iPad's, a Chromebook's), else as a download. True when a share sheet took
// it. Call it while the click or key press that asked for it is handled: a browser opens the
// share sheet for nothing else. The desktop has neither and asks where to save
// (LessonCommands): there it does nothing.
bool hand(const QByteArray &bytes, const QString &fileName, const QString &mimeType);
// Hands a file the program made to the user of a page as a download, saved under its name.
// The desktop asks where to save instead (LessonCommands): there it does nothing.
void download(const QByteArray &bytes, const QString &fileName, const QString &mimeType);

// Follows the lesson: where the figure stands is announced for screen readers after every
// change, and the page's address carries the figure composed now, so that it can be passed
// on as it is (the initial screen takes a figure away and leaves anything else there alone).
void followLesson(const Lesson &lesson);

} // namespace BrowserPage
