#!/usr/bin/python3
"""What the browser build costs a classroom: the bytes a browser downloads, the time from
navigation to the painted window, and a step's own work in the page. Not a test: run it
by hand and read the figures (see the README).

    bench/web_bench.py build-web/site [runs]
"""
import asyncio
import base64
import gzip
import io
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from browser import Browser, serve  # noqa: E402
from lesson_page import GREEN, LessonPage  # noqa: E402
from PIL import Image  # noqa: E402

# What the page fetches: itself, Qt's loader, the program and its icon.
FETCHED = ["index.html", "qtloader.js", "function-lesson.js", "function-lesson.wasm", "function-lesson.svg"]


def sizes(site):
    plain = compressed = 0
    for name in FETCHED:
        path = os.path.join(site, name)
        plain += os.path.getsize(path)
        compressed += os.path.getsize(path + ".gz") if os.path.exists(path + ".gz") else len(
            gzip.compress(open(path, "rb").read(), 9))
    return plain, compressed


async def time_to_window(browser, address):
    """From the navigation to the first frame that shows the blackboard, from the frames
    the browser itself reports with their times."""
    page = LessonPage(browser, address, 1366, 657)
    await browser.viewport(1366, 657)
    await browser.page("Page.navigate", url="about:blank")
    await asyncio.sleep(0.3)
    browser.events.clear()
    await browser.page("Page.startScreencast", format="png", everyNthFrame=1)
    navigated = time.time()
    await browser.page("Page.navigate", url=address)
    await browser.wait_for("document.body && document.body.dataset.ready === 'true'", 60)
    origin = await browser.evaluate("performance.timeOrigin") / 1000.0
    seen = 0
    deadline = time.monotonic() + 20
    first = None
    while first is None and time.monotonic() < deadline:
        frames = [e for e in browser.events if e.get("method") == "Page.screencastFrame"][seen:]
        for frame in frames:
            seen += 1
            params = frame["params"]
            await browser.page("Page.screencastFrameAck", sessionId=params["sessionId"])
            picture = Image.open(io.BytesIO(base64.b64decode(params["data"]))).convert("RGB")
            page.screen = (1366, 657)
            x, y = page.board_point(100, 250)
            if picture.getpixel((int(x), int(y))) == GREEN:
                first = params["metadata"]["timestamp"]
                break
        await asyncio.sleep(0.02)
    await browser.page("Page.stopScreencast")
    return (first - origin) if first else None, navigated


async def step_work(browser, address):
    """The time between the status lines of a run at " 0", which takes its steps one
    after the other without a pause: a step's own work, grid, table and graph on."""
    page = LessonPage(browser, address, 1366, 657)
    await page.open()
    for column, kind in enumerate([3, 1, 2, 2, 3]):
        await page.drag_piece(kind, column)
    for name in ("Check1", "Check3", "Check2"):
        await page.tick(name)
    await page.choose_speed(" 0")
    await browser.evaluate("""(() => { window.stamps = []; const shown = lessonStatus;
        window.lessonStatus = t => { window.stamps.push(performance.now()); shown(t); }; })()""")
    gaps = []
    for _ in range(10):
        await browser.evaluate("window.stamps = []")
        await page.click("jidou")
        await page.until_status("χ = 10 cm")
        stamps = await browser.evaluate("window.stamps")
        gaps += [b - a for a, b in zip(stamps, stamps[1:])]
        await asyncio.sleep(0.2)
    return gaps


async def main():
    site = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    plain, compressed = sizes(site)
    print("downloaded by a browser: %.2f MB, %.2f MB gzip-compressed (%s)"
          % (plain / 1e6, compressed / 1e6, ", ".join(FETCHED)))
    with serve(site) as address:
        async with Browser() as browser:
            times = []
            for _ in range(runs):
                painted, _ = await time_to_window(browser, address)
                if painted is not None:
                    times.append(painted)
            print("navigation to the painted window: median %.2f s, worst %.2f s over %d loads"
                  % (statistics.median(times), max(times), len(times)))
            gaps = await step_work(browser, address)
            print("forward step in the browser (grid, table, graph, five pieces): median %.3f ms, worst %.3f ms "
                  "over %d steps" % (statistics.median(gaps), max(gaps), len(gaps)))


if __name__ == "__main__":
    asyncio.run(main())
