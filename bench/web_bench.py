#!/usr/bin/python3
"""What the browser build costs a classroom: the bytes a browser downloads, the time from
navigation to the painted window, and what a click on 出す or 戻す, and one on practice's
確定 that checks an answer, cost the page's script (JavaScript and WebAssembly, as Chromium
counts it), against a click that changes nothing; then the same on a Chromebook-class machine (the CPU four times slower, 20 Mbit/s with 40 ms
latency). Not a test: run it by hand and read the figures (see the README).

    bench/web_bench.py build-web/site [--loads N]
    bench/web_bench.py build-web/site --profile steps.cpuprofile

The site is served by nginx as `scripts/lesson web` serves it (its pre-compressed copies
where the browser takes gzip). --profile instead records Chromium's profile of ten steps out and back
and prints where their time went; build with -DLESSON_WEB_PROFILING=ON to see the program's
function names.
"""
import argparse
import asyncio
import collections
import contextlib
import gzip
import json
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from browser import Browser, serve  # noqa: E402
from lesson_page import GREEN, LessonPage  # noqa: E402

# What the page fetches: itself, Qt's loader, the program and its icon.
FETCHED = ["index.html", "qtloader.js", "function-lesson.js", "function-lesson.wasm", "function-lesson.svg"]
CHROMEBOOK = (1366, 657)  # 1366 × 768 less the browser's own bars
ROUNDS = 4                # of 20 steps out and 20 back, and 5 clicks that change nothing at each end


def sizes(site):
    plain = compressed = 0
    for name in FETCHED:
        path = os.path.join(site, name)
        plain += os.path.getsize(path)
        compressed += os.path.getsize(path + ".gz") if os.path.exists(path + ".gz") else len(
            gzip.compress(open(path, "rb").read(), 9))
    return plain, compressed


async def chromebook(browser, on):
    """A Chromebook-class machine: its CPU four times slower than this one's, and a school's
    20 Mbit/s line with 40 ms latency."""
    await browser.page("Emulation.setCPUThrottlingRate", rate=4 if on else 1)
    rate = 20e6 / 8 if on else -1
    await browser.page("Network.emulateNetworkConditions", offline=False, latency=40 if on else 0,
                       downloadThroughput=rate, uploadThroughput=rate)


# Watches the canvas's drawing from the start of each page: after each of Qt's draws, the
# pixel where the blackboard shows; the first frame that draws it green is the painted
# window, shown when the next frame begins. (Frames taken by the DevTools' screencast would
# come late: Chromium sends the next only when the last is acknowledged, and encodes each.)
WATCH_DRAWING = """
(function () {
  const board = %s;
  const canvas = function () { return document.getElementById("screen"); };
  const seen = function () {
    window.lessonPainted = -1;
    requestAnimationFrame(function (shown) { window.lessonPainted = shown; });
  };
  // Qt 6.8 puts the window's pixels into a 2D canvas of its own inside the screen.
  const putImageData = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image) {
    putImageData.apply(this, arguments);
    if (window.lessonPainted || !canvas().contains(this.canvas.getRootNode().host || null)
        || getComputedStyle(canvas()).visibility !== "visible" || image.width <= board[0])
      return;
    const at = (board[1] * image.width + board[0]) * 4;
    if (image.data[at] === %d && image.data[at + 1] === %d && image.data[at + 2] === %d)
      seen();
  };
  // Qt 6.4 composes it through WebGL on the screen's canvas.
  for (const type of [window.WebGLRenderingContext, window.WebGL2RenderingContext]) {
    if (!type) continue;
    const drawArrays = type.prototype.drawArrays;
    type.prototype.drawArrays = function () {
      drawArrays.apply(this, arguments);
      if (window.lessonPainted || this.canvas !== canvas() || getComputedStyle(this.canvas).visibility !== "visible")
        return;
      const pixel = new Uint8Array(4);
      this.readPixels(board[0], this.drawingBufferHeight - 1 - board[1], 1, 1, this.RGBA, this.UNSIGNED_BYTE, pixel);
      if (pixel[0] === %d && pixel[1] === %d && pixel[2] === %d)
        seen();
    };
  }
})();
"""


async def watch_drawing(browser, address):
    """Installs the watch on every page to come, for the blackboard's place at a
    Chromebook's size."""
    await browser.viewport(*CHROMEBOOK)
    page = LessonPage(browser, address, *CHROMEBOOK)
    await page.open(timeout=120)
    board = [int(v) for v in page.board_point(100, 250)]
    await browser.page("Page.addScriptToEvaluateOnNewDocument", source=WATCH_DRAWING % (board, *GREEN, *GREEN))


async def time_to_window(browser, address):
    """From the navigation to the frame that first shows the blackboard, as on a first
    visit: nothing of the site in the browser's cache or storage."""
    await browser.page("Page.navigate", url=address + "fonts/README.txt")
    await browser.wait_for("document.readyState === 'complete'")
    await browser.page("Storage.clearDataForOrigin", origin=address.rstrip("/"), storageTypes="all")
    await browser.page("Network.clearBrowserCache")
    await asyncio.sleep(0.3)
    await browser.page("Page.navigate", url=address)
    await browser.wait_for("window.lessonPainted > 0", 120)
    return await browser.evaluate("window.lessonPainted") / 1000.0


async def loads(browser, address, count):
    return [await time_to_window(browser, address) for _ in range(count)]


async def script_seconds(browser):
    metrics = await browser.page("Performance.getMetrics")
    return {m["name"]: m["value"] for m in metrics["metrics"]}["ScriptDuration"]


async def composed_page(browser, address):
    """The lesson at a Chromebook's size with five pieces, the grid, the table and the graph."""
    page = LessonPage(browser, address, *CHROMEBOOK)
    await page.open(timeout=120)
    for column, kind in enumerate([3, 1, 2, 2, 3]):
        await page.drag_piece(kind, column)
    for name in ("Check1", "Check3", "Check2"):
        await page.tick(name)
    await page.measure()
    await asyncio.sleep(1)
    return page


async def timed_click(browser, x, y):
    """The script time of a click as a user's: a press, a release a moment later, and time
    for the frame it causes; in ms."""
    await browser.mouse("mouseMoved", x, y, button="none", buttons=0)
    await asyncio.sleep(0.05)
    before = await script_seconds(browser)
    await browser.mouse("mousePressed", x, y)
    await asyncio.sleep(0.08)
    await browser.mouse("mouseReleased", x, y)
    await asyncio.sleep(0.25)
    return (await script_seconds(browser) - before) * 1000


async def click_costs(browser, page):
    """The script time of each click on 出す and 戻す, and of clicks that change nothing."""
    async def click(name):
        return await timed_click(browser, *page.centre(name))

    steps, idle = [], []
    for _ in range(ROUNDS):
        for _ in range(5):
            idle.append(await click("modoru"))
        for _ in range(20):
            steps.append(await click("susumu"))
        for _ in range(5):
            idle.append(await click("susumu"))
        for _ in range(20):
            steps.append(await click("modoru"))
    status = await page.status()
    if not status.startswith("χ = 0 cm"):
        raise RuntimeError("the steps did not end at the start: %r" % status)
    return steps, idle


PRACTISED = [3, 2, 2, 0, 0]
SHEETS = 3  # practice sheets, each of ten answers checked and ten clicks that change nothing


async def answer_costs(browser, address):
    """The script time of a click on the keypad's 確定 that checks an answer typed into the
    table's cell (the right y, so that the marks and the focus move), against a click on the
    keypad's ⌫ while the cell is still empty, which changes nothing (and, as every key of
    the keypad, leaves the focus in the cell); a fresh sheet on the same figure, opened by
    練習, each time, at a Chromebook's size."""
    checked, idle = [], []
    for _ in range(SHEETS):
        await browser.page("Storage.clearDataForOrigin", origin=address.rstrip("/"), storageTypes="local_storage")
        page = LessonPage(browser, address + "index.html#figure=%s" % "".join(map(str, PRACTISED)), *CHROMEBOOK)
        await page.open(timeout=120)
        await page.click("renshu")
        page.graph = page.table = True  # practice takes the whole window
        await page.until_status("x=1 のときの y")
        left, top, width, height = page.practice_key("確定")
        for x in range(1, 11):
            backspace = page.practice_key("⌫")
            idle.append(await timed_click(browser, backspace[0] + backspace[2] / 2, backspace[1] + backspace[3] / 2))
            y = sum(2 * kind * max(0, min(x, 2 * i + 2) - 2 * i) for i, kind in enumerate(PRACTISED))
            await browser.type(str(y))
            await asyncio.sleep(0.3)
            checked.append(await timed_click(browser, left + width / 2, top + height / 2))
        status = await page.status()
        if not status.startswith("x=10 のときの y %d ○" % y):
            raise RuntimeError("the answers were not all checked right: %r" % status)
    return checked, idle


def report_answers(label, checked, idle):
    answer, nothing = statistics.median(checked), statistics.median(idle)
    print("%s: click on 確定 that checks an answer, script median %.2f ms (worst %.2f) over %d clicks; click that "
          "changes nothing %.2f ms; a checked answer beyond its click %.2f ms" % (label, answer, max(checked),
                                                                                 len(checked), nothing, answer - nothing))


def report_clicks(label, steps, idle):
    step, nothing = statistics.median(steps), statistics.median(idle)
    print("%s: click on 出す or 戻す, script median %.2f ms (worst %.2f) over %d clicks; click that changes "
          "nothing %.2f ms; a step beyond its click %.2f ms" % (label, step, max(steps), len(steps), nothing,
                                                               step - nothing))


async def profile_steps(browser, page, out):
    """Chromium's sampling profile of ten steps out and back; prints the functions that
    took most of it by their own time."""
    await browser.page("Profiler.enable")
    await browser.page("Profiler.setSamplingInterval", interval=50)
    await browser.page("Profiler.start")
    for name in ["susumu"] * 10 + ["modoru"] * 10:
        await page.click(name)
        await asyncio.sleep(0.15)
    profile = (await browser.page("Profiler.stop"))["profile"]
    with open(out, "w") as f:
        json.dump(profile, f)
    nodes = {n["id"]: n for n in profile["nodes"]}
    own = collections.Counter()
    for sample, delta in zip(profile["samples"], profile["timeDeltas"][1:] + [0]):
        frame = nodes[sample]["callFrame"]
        own[frame["functionName"] or "(%s)" % os.path.basename(frame["url"] or "program")] += delta / 1000
    total = sum(t for name, t in own.items() if name not in ("(idle)", "(program)"))
    print("profile of 20 steps (%s): %.1f ms of script and rendering; by own time:" % (out, total))
    for name, ms in own.most_common(25):
        if name != "(idle)":
            print("  %8.2f ms  %s" % (ms, name[:110]))


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("site")
    parser.add_argument("--loads", type=int, default=9)
    parser.add_argument("--profile")
    args = parser.parse_args()
    with serve(args.site) as address:
        async with Browser() as browser:
            if args.profile:
                await profile_steps(browser, await composed_page(browser, address), args.profile)
                return
            plain, compressed = sizes(args.site)
            print("downloaded by a browser: %.2f MB, %.2f MB gzip-compressed (%s)"
                  % (plain / 1e6, compressed / 1e6, ", ".join(FETCHED)))
            await browser.page("Performance.enable")
            await watch_drawing(browser, address)
            times = await loads(browser, address, args.loads)
            print("navigation to the painted window: median %.2f s, worst %.2f s over %d loads"
                  % (statistics.median(times), max(times), len(times)))
            page = await composed_page(browser, address)
            report_clicks("this machine", *await click_costs(browser, page))
            report_answers("this machine", *await answer_costs(browser, address))

            await chromebook(browser, True)
            times = await loads(browser, address, max(3, args.loads // 3))
            print("Chromebook-class: navigation to the painted window: median %.2f s, worst %.2f s over %d loads"
                  % (statistics.median(times), max(times), len(times)))
            page = await composed_page(browser, address)
            report_clicks("Chromebook-class", *await click_costs(browser, page))
            report_answers("Chromebook-class", *await answer_costs(browser, address))
            await chromebook(browser, False)


if __name__ == "__main__":
    asyncio.run(main())
