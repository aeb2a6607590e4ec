#!/usr/bin/python3
"""The lesson in the browser: the web site served on 127.0.0.1, driven by mouse, touch
and keys in headless Chromium or in WebKit (Safari's engine, as WebKitGTK), and checked
by its pixels, against the desktop program's own pictures where they must be the same,
by the status line it writes into the page, and for errors of the page's scripts.

    tst_web_browsers.py --engine chromium|webkit --site build-web/site --reference build/tests/web_reference
"""
import argparse
import asyncio
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, serve  # noqa: E402
from webkit import WebKit, problem_recorder  # noqa: E402
from lesson_page import (BLUE, COVER, FORM, GREEN, GREY, KEYPAD, PANEL, RED, TRAY, WHITE,  # noqa: E402
                         LessonPage, client_size, scaled)
from PIL import Image, ImageChops  # noqa: E402

# The window at 100 %: the page is as large as its client area.
SMALL = client_size(False, False)
CHROMEBOOK = (1366, 657)   # 1366 × 768 less the browser's own bars
IPAD = (1024, 703)         # landscape, less Safari's bars
IPAD_PORTRAIT = (768, 959)

TESTS = []
ENGINES = {"chromium": Browser, "webkit": WebKit}


def test(function=None, engines=tuple(ENGINES)):
    """A test of the suite, run in each of the engines named."""
    if function is None:
        return lambda f: test(f, engines)
    TESTS.append((function, engines))
    return function


def check(condition, what):
    if not condition:
        raise AssertionError(what)


async def check_page_problems(engine):
    """Nothing the page's scripts threw or left unhandled since the last look."""
    problems = await engine.take_problems()
    check(not problems, "the page's scripts failed: %s" % "; ".join(problems)[:2000])


def tally(counter, methods, amount="1"):
    """A script for the page: each call of one of `methods` ("Type.method") adds `amount`,
    an expression of the call's arguments `a`, to window.tallies[counter]."""
    script = "window.tallies = window.tallies || {}; tallies[%s] = 0;" % json.dumps(counter)
    for method in methods:
        kind, name = method.split(".")
        script += """
        if (window.%(kind)s) {
            const called = %(kind)s.prototype.%(name)s;
            %(kind)s.prototype.%(name)s = function (...a) { tallies[%(counter)s] += %(amount)s; return called.apply(this, a); };
        }""" % dict(kind=kind, name=name, counter=json.dumps(counter), amount=amount)
    return script


@test
async def window_appears_with_its_colours(browser, site, reference):
    page = LessonPage(browser, site, *SMALL)
    started = time.monotonic()
    await page.open()
    shot = await page.shot()
    check(page.colour(shot, page.board_point(100, 250)) == GREEN, "the blackboard is green")
    check(page.colour(shot, page.board_point(100, 40)) == TRAY, "the tray is dark green")
    check(page.colour(shot, (4, 4)) == FORM, "the form is light green")
    check(page.colour(shot, page.centre("susumu", dx=-0.4)) == (255, 255, 0), "出す is yellow")
    check(page.colour(shot, page.centre("modoru", dx=-0.4)) == (0, 255, 255), "戻す is cyan")
    check(page.colour(shot, page.board_point(300, 240)) == WHITE, "edge AB is white")
    check(await browser.evaluate("document.title") == "関数の利用", "the page's title")
    check(await page.status() == "χ = 0 cm, y = 0 cm²", "the status line at the start")
    window, layer = reference_pictures(reference, [0, 0, 0, 0, 0], 0)
    differ = differing_layer_pixels(shot, window, layer)
    check(differ == 0, "%d pixels of the blackboard's drawing differ from the desktop's" % differ)
    # Every caption stands where the desktop puts it and is as wide: the faces carry the
    # same widths, so each fits its control as it does there.
    for name, background in [("Command1", (255, 255, 192)), ("end", (192, 192, 255)), ("jidou", (0, 255, 0)),
                             ("susumu", (255, 255, 0)), ("modoru", (0, 255, 255)), ("Command2", (255, 192, 128)),
                             ("Check1", FORM), ("Check3", FORM), ("Check2", FORM)]:
        shown, desktop = ink_box(shot, page.control(name), background), ink_box(window, page.control(name), background)
        check(shown is not None and all(abs(a - b) <= 1 for a, b in zip(shown, desktop)),
              "the caption of %s spans %s, on the desktop %s" % (name, shown, desktop))
    return "painted %.2f s after navigation" % (time.monotonic() - started)


@test
async def step_moves_p_and_writes_the_distance(browser, site, reference):
    page = LessonPage(browser, site, *SMALL)
    await page.open()
    # P's dot, above the red marker of x that grows from B to it.
    dot = lambda at: page.board_point(at + 2, 297)
    check(page.colour(await page.shot(), dot(300)) == RED, "P's dot on B")
    # What the click copies into the canvas's pixels: what changed, not the whole window.
    await browser.evaluate(tally("uploaded", ["Uint8ClampedArray.set"], amount="a[0].length / 4"))
    await page.click("susumu")
    await page.until_status("χ = 0.5 cm")
    shot = await page.until(lambda s: page.colour(s, dot(290)) == RED)
    check(page.colour(shot, dot(300)) != RED, "P left B")
    uploaded, whole = await browser.evaluate("tallies.uploaded"), page.screen[0] * page.screen[1]
    check(0 < uploaded < whole / 10, "the step sent %d pixels to the canvas, of %d" % (uploaded, whole))
    # The distance box reads " 0.5": its digits stand where the desktop's stand.
    window, _ = reference_pictures(reference, [0, 0, 0, 0, 0], 1)
    left, top, _, _ = page.control("kokuban")
    box = (left + 2 + 264, top + 2 + 360, 65, 33)  # Text1, inside the board
    shown, desktop = ink_box(shot, box, WHITE), ink_box(window, box, WHITE)
    check(shown is not None and all(abs(a - b) <= 1 for a, b in zip(shown, desktop)),
          "the distance spans %s, on the desktop %s" % (shown, desktop))


@test(engines=("chromium",))
async def paints_and_steps_without_webgl(browser, site, reference):
    # As on a thin client or a remote desktop without a graphics chip, where Chromium gives
    # no WebGL at all.
    async with Browser(webgl=False) as bare:
        check(not await bare.evaluate("!!document.createElement('canvas').getContext('webgl')"), "WebGL is off")
        columns = [3, 1, 2, 0, 3]
        page = LessonPage(bare, site + "index.html#figure=31203", *SMALL)
        await page.open()
        for _ in range(3):
            await page.click("susumu")
        await page.until_status_is("χ = 1.5 cm, y = %s cm²" % plain(area_at(columns, 1.5)))
        shot = await page.shot()
        window, layer = reference_pictures(reference, columns, 3, opened=True)
        differ = differing_layer_pixels(shot, window, layer)
        check(differ == 0, "%d pixels of the blackboard's drawing differ from the desktop's" % differ)
        await check_page_problems(bare)


@test(engines=("chromium",))
async def screen_readers_find_every_control(browser, site, reference):
    page = LessonPage(browser, site, *CHROMEBOOK)
    await page.open()
    # What the desktop's Qt gives a screen reader: each control's role, name and place.
    listed = subprocess.run([reference, "controls"], check=True, capture_output=True, text=True,
                            env={**os.environ, "QT_QPA_PLATFORM": "offscreen"}).stdout
    desktop = [(role, name, tuple(map(int, place))) for role, name, *place in
               (line.split("\t") for line in listed.splitlines())]
    check(desktop and all(name for _, name, _ in desktop), "the desktop names each control: %s" % desktop)
    factor, origin = page.fit()
    wanted = [(role, name, tuple(a + b for a, b in zip(scaled(place, factor), (*origin, 0, 0))))
              for role, name, place in desktop]
    # What Chromium's accessibility tree holds once the page has switched Qt's elements on,
    # but for Qt's own element that takes typing (focused only while a box is).
    await browser.page("Accessibility.enable")
    await browser.page("DOM.getDocument", depth=-1, pierce=True)
    typing = await browser.page("Runtime.evaluate", expression="document.querySelector('body > input')")
    typing = (await browser.page("DOM.describeNode", objectId=typing["result"]["objectId"]))["node"]["backendNodeId"]

    async def shown():
        found = []
        for node in (await browser.page("Accessibility.getFullAXTree"))["nodes"]:
            role, name = node.get("role", {}).get("value"), node.get("name", {}).get("value", "")
            if node.get("ignored") or role not in ("button", "checkbox", "textbox") or node["backendDOMNodeId"] == typing:
                continue
            quad = (await browser.page("DOM.getBoxModel", backendNodeId=node["backendDOMNodeId"]))["model"]["border"]
            found.append((role, name, (quad[0], quad[1], quad[4] - quad[0], quad[5] - quad[1])))
        return found

    def inside(point, rect):
        return rect[0] <= point[0] <= rect[0] + rect[2] and rect[1] <= point[1] <= rect[1] + rect[3]

    def same(a, b):
        """The same control: role and name (spaces collapse in a page), each centred in the other."""
        centre = lambda r: (r[0] + r[2] / 2, r[1] + r[3] / 2)
        return (a[0], a[1].split()) == (b[0], b[1].split()) and inside(centre(a[2]), b[2]) and inside(centre(b[2]), a[2])

    for _ in range(50):
        found = await shown()
        if len(found) >= len(wanted):
            break
        await asyncio.sleep(0.1)
    missing = [w for w in wanted if not any(same(w, f) for f in found)]
    extra = [f for f in found if not any(same(w, f) for w in wanted)]
    check(not missing, "not in the browser's accessibility tree as on the desktop: %s; found %s" % (missing, found))
    check(not extra, "in the browser's accessibility tree but not the desktop's: %s" % extra)


@test
async def piece_dragged_from_the_tray_fills_its_column(browser, site, reference):
    page = LessonPage(browser, site, *CHROMEBOOK)
    await page.open()
    await page.drag_piece(3, 0)
    shot = await page.until(lambda s: page.colour(s, page.board_point(335, 200)) == GREY)
    check(page.colour(shot, page.board_point(335, 290)) == GREY, "column 0 is grey to the bottom")
    check(page.colour(shot, page.board_point(375, 290)) == GREEN, "column 1 stays empty")


# WebKitGTK, with no touch screen, turns WebDriver's touch into the mouse: touch is Chromium's.
@test(engines=("chromium",))
async def touch_drag_fills_a_column(browser, site, reference):
    page = LessonPage(browser, site, *IPAD)
    await browser.touch_screen(True)
    try:
        await page.open()
        await page.drag_piece(2, 1, touch=True)
        shot = await page.until(lambda s: page.colour(s, page.board_point(375, 240)) == GREY)
        check(page.colour(shot, page.board_point(375, 210)) == GREEN, "a kind-2 piece is 4 cm high")
        # A tap works a button as a click does.
        await browser.tap(*page.centre("susumu"))
        await page.until_status("χ = 0.5 cm")
    finally:
        await browser.touch_screen(False)


# The panels are the program's own drawing, the same in every engine; one engine's time.
@test(engines=("chromium",))
async def graph_enlarges_the_window_and_draws_its_first_segment(browser, site, reference):
    page = LessonPage(browser, site, *CHROMEBOOK)
    await page.open()
    await page.drag_piece(3, 0)
    await page.until(lambda s: page.colour(s, page.board_point(335, 290)) == GREY)
    await page.tick("Check2")
    shot = await page.until(lambda s: page.colour(s, page.panel_point("gamen", 200, 200)) == PANEL)
    await page.click("susumu")
    await page.until_status("χ = 0.5 cm, y = 3 cm²")
    # The segment from (0, 0) to (0.5, 3): panel pixels (35, 480) to (50, 457.5).
    shot = await page.until(lambda s: BLUE in page.colours_around(s, page.panel_point("gamen", 42.5, 468.75)))
    check(BLUE not in page.colours_around(shot, page.panel_point("gamen", 80, 400)), "nothing further along")


# The panels are the program's own drawing, the same in every engine; one engine's time.
@test(engines=("chromium",))
async def table_and_cover(browser, site, reference):
    page = LessonPage(browser, site, *CHROMEBOOK)
    await page.open()
    await page.tick("Check3")
    await page.tick("Check2")
    await page.until(lambda s: page.colour(s, page.panel_point("hyo", 300, 90)) == PANEL)
    await page.tick("Check5")
    shot = await page.until(lambda s: page.colour(s, page.board_point(100, 250)) == COVER)
    check(page.colour(shot, page.board_point(100, 40)) == TRAY, "the tray stays in view")
    await page.tick("Check5")
    await page.until(lambda s: page.colour(s, page.board_point(100, 250)) == GREEN)


@test
async def automatic_play_runs_to_the_end_and_stops(browser, site, reference):
    page = LessonPage(browser, site, *CHROMEBOOK)
    await page.open()
    await page.drag_piece(1, 4)
    await page.choose_speed(" 0")  # no pause at all
    await page.click("jidou")
    await page.until_status("χ = 10 cm, y = 4 cm²", timeout=5)

    await page.click("Command2")
    await page.until_status("χ = 0 cm")
    await page.choose_speed("10")  # 50 ms pauses
    started = time.monotonic()
    await page.click("jidou")
    await page.until_status("χ = 10 cm", timeout=20)
    took = time.monotonic() - started
    check(took >= 19 * 0.05, "twenty steps with their pauses took %.2f s" % took)
    await asyncio.sleep(0.3)  # the pause after the last step

    # ストップ ends a run after the pause under way; 最初に in between keeps it usable.
    await page.choose_speed("100")  # 500 ms pauses
    await page.click("jidou")  # from the end: back to the start first
    await page.until_status("χ = 1 cm", timeout=10)
    await page.click("Command2")
    await page.until_status("χ = 0 cm")
    await page.until_status("χ = 0.5 cm", timeout=5)
    await page.click("tomeru")
    stopped = await page.status()
    await asyncio.sleep(1.5)
    check(await page.status() == stopped, "no step after ストップ (%s, then %s)" % (stopped, await page.status()))
    return "20 steps at speed 10 took %.2f s" % took


@test
async def presenter_keys_step(browser, site, reference):
    page = LessonPage(browser, site, *CHROMEBOOK)
    await page.open()
    await page.click("Command2")  # the window has the keyboard
    await browser.key("PageDown", "PageDown", 34)
    await browser.key("ArrowRight", "ArrowRight", 39)
    await page.until_status("χ = 1 cm")
    await browser.key("PageUp", "PageUp", 33)
    await page.until_status("χ = 0.5 cm")
    await browser.key("Home", "Home", 36)
    await page.until_status("χ = 0 cm")


# The page's notice, the same in every engine; one engine's time.
@test(engines=("chromium",))
async def end_stops_everything_and_says_so(browser, site, reference):
    page = LessonPage(browser, site, *CHROMEBOOK)
    await page.open()
    await page.click("jidou")  # speed 50: a step every 250 ms
    await page.until_status("χ = 0.5 cm")
    await page.click("end")
    await browser.wait_for("!document.getElementById('ended').hidden", 5)
    at_end = await page.status()
    await asyncio.sleep(1.0)
    check(await page.status() == at_end, "a step ran after 終了")
    check(await browser.evaluate("document.getElementById('ended').innerText.includes('もう一度はじめる')"),
          "the page offers to start again")


# WebKit's pixels are checked against the desktop's on the figure from the address.
@test(engines=("chromium",))
async def blackboard_is_the_desktops_pixel_for_pixel(browser, site, reference):
    page = LessonPage(browser, site, *SMALL)
    await page.open()
    await page.tick("Check1")
    for column, kind in enumerate([3, 1, 2, 0, 3]):
        if kind:
            await page.drag_piece(kind, column)
    await page.until_status("χ = 0 cm")
    for _ in range(7):
        await page.click("susumu")
    await page.until_status("χ = 3.5 cm")
    shot = await page.shot()
    window, layer = reference_pictures(reference, [3, 1, 2, 0, 3], 7, grid=True)
    differ = differing_layer_pixels(shot, window, layer)
    check(differ == 0, "%d pixels of the blackboard's drawing differ from the desktop's" % differ)


# Pixel ratios of classroom screens, which only Chromium's DevTools set.
@test(engines=("chromium",))
async def sizes_of_classroom_screens(browser, site, reference):
    notes = []
    for size, ratio in [(CHROMEBOOK, 1.0), (IPAD, 2.0), (IPAD_PORTRAIT, 2.0), ((1920, 1080), 1.0)]:
        page = LessonPage(browser, site, *size, ratio=ratio)
        await page.open()
        shot = await page.shot()
        factor, origin = page.fit()
        left, top, width, height = page.control("kokuban")
        # The window is centred at the largest scale that fits, on the form's colour.
        check(page.colour(shot, (origin[0] / 2, size[1] / 2)) == FORM or origin[0] == 0, "form colour at the side")
        check(page.colour(shot, page.board_point(100, 250)) == GREEN, "the board at its place")
        check(page.colour(shot, (left + width + 3 * factor, top + height / 2)) == FORM, "nothing beyond the client")
        # Sharp at the page's pixel ratio: the envelope's edge is exact white, its
        # neighbours exact green, nothing blended between them.
        edge = page.board_point(300, 240)
        check(page.colour(shot, edge) == WHITE, "AB is white at %s" % (size,))
        blend = {page.colour(shot, (edge[0] + d / ratio / 2, edge[1])) for d in range(-12, 13)}
        check(blend <= {WHITE, GREEN}, "only white and green across AB at %s×%g: %s" % (size, ratio, blend))
        notes.append("%d×%d@%g: %.0f %%" % (size[0], size[1], ratio, factor * 100))
    return ", ".join(notes)


# The browser's zoom as a pixel ratio, which only Chromium's DevTools set.
@test(engines=("chromium",))
async def page_zoom_keeps_the_window_sharp(browser, site, reference):
    # The browser's zoom at 150 %: the same screen holds fewer, larger CSS pixels, at a
    # pixel ratio of 1.5; the program fits the window again and draws it at that ratio.
    page = LessonPage(browser, site, int(SMALL[0] * 1.5), int(SMALL[1] * 1.5), ratio=1.0)
    await page.open()
    page.viewport, page.ratio = SMALL, 1.5
    await browser.viewport(*SMALL, ratio=1.5)
    await asyncio.sleep(0.3)
    await page.measure()
    check(page.screen[0] * 1.5 == int(page.screen[0] * 1.5), "the screen is %s CSS pixels" % (page.screen,))
    shot = await page.until(lambda s: page.colour(s, page.board_point(100, 250)) == GREEN
                            and page.colour(s, page.board_point(300, 240)) == WHITE)
    edge = page.board_point(300, 240)
    across = {page.colour(shot, (edge[0] + d / 3, edge[1])) for d in range(-12, 13)}
    check(across <= {WHITE, GREEN}, "only white and green across AB at 150 %%: %s" % across)


@test
async def worksheets_and_pictures_download(browser, site, reference):
    page = LessonPage(browser, site, *CHROMEBOOK)
    await page.open()
    columns = [3, 2, 2, 0, 0]
    for column, kind in enumerate(columns):
        if kind:
            await page.drag_piece(kind, column)
    await page.until(lambda s: page.colour(s, page.board_point(415, 290)) == GREY)
    folder = await browser.download_folder()
    background = page.window_point(200, 30)
    notes = []
    # The menu: コピー, 画像として保存…, ワークシートを印刷 ▸, ワークシートをPDFで保存 ▸ (問題, 解答).
    for sheet, keys, name in [("problem", ["ArrowDown"] * 4 + ["ArrowRight", "Enter"], "関数の利用-問題.pdf"),
                              ("answer", ["ArrowDown"] * 4 + ["ArrowRight", "ArrowDown", "Enter"], "関数の利用-解答.pdf"),
                              ("picture", ["ArrowDown"] * 2 + ["Enter"], "関数の利用.png")]:
        before = set(os.listdir(folder))
        await page.menu(background, keys)
        path = await downloaded(folder, before)
        check(os.path.basename(path) == name, "downloaded as " + os.path.basename(path))
        if sheet == "picture":
            picture = Image.open(path)
            check(picture.size == tuple(2 * v for v in client_size(False, False)),
                  "the picture is %s, twice the window" % (picture.size,))
            notes.append("picture %d×%d" % picture.size)
            continue
        result = subprocess.run([reference, "check-pdf", path, ",".join(map(str, columns)), sheet],
                                env={**os.environ, "QT_QPA_PLATFORM": "offscreen"}, capture_output=True, text=True)
        check(result.returncode == 0, "the %s sheet: %s" % (sheet, result.stderr.strip()))
        notes.append("%s sheet %d bytes" % (sheet, os.path.getsize(path)))
    return ", ".join(notes)


# A share sheet as an iPad's or a Chromebook's: it keeps what it is handed, whether a user's
# gesture was active then and which event the page was handling; it takes the file, refuses
# it, or is not there, as window.shareSheet says.
SHARE_SHEET = """
    window.shareSheet = "takes";
    // The event the page is handling, as the window's capture sees it first: Qt's windows
    // stand in a shadow tree, where window.event tells nothing.
    window.handling = null;
    for (const type of ["pointerdown", "pointerup", "touchstart", "touchend", "mousedown", "mouseup", "click"]) {
        window.addEventListener(type, (e) => {
            window.handling = e.type + (e.pointerType ? " " + e.pointerType : "");
            setTimeout(() => { window.handling = null; });
        }, true);
    }
    navigator.canShare = (data) => window.shareSheet !== "none" && !!(data.files && data.files.length);
    navigator.share = (data) => {
        window.shared = { file: data.files[0], title: data.title, active: navigator.userActivation.isActive,
                          during: window.handling };
        return window.shareSheet === "takes" ? Promise.resolve()
                                             : Promise.reject(new DOMException("refused", "NotAllowedError"));
    };"""


# A share sheet put into the page ahead of its scripts, which WebDriver cannot.
@test(engines=("chromium",))
async def result_is_handed_over_within_the_click(browser, site, reference):
    sheet = await browser.page("Page.addScriptToEvaluateOnNewDocument", source=SHARE_SHEET)
    try:
        page = LessonPage(browser, site + "#figure=31203", *CHROMEBOOK)
        await page.open()
        await page.click("renshu")
        page.graph = page.table = True
        await page.until(lambda s: page.colour(s, page.centre("save result", dx=-0.45)) == (192, 255, 255))
        folder = await browser.download_folder()
        notes = []
        # PDFで保存 clicked, 画像で保存 tapped; the sheet takes one, refuses one, is missing once.
        for item, touch, answer, name in [(0, False, "takes", "関数の利用-練習の結果.pdf"),
                                          (1, True, "refuses", "関数の利用-練習の結果.png"),
                                          (0, False, "none", "関数の利用-練習の結果.pdf")]:
            await browser.evaluate("window.shared = null; window.shareSheet = %s" % json.dumps(answer))
            await page.click("save result")
            # The choice opens under the button: its items, one above the other, down to the form.
            left, top, width, height = page.control("save result")
            below = (left + 8, top + height + 3)
            shot = await page.until(lambda s: page.colour(s, below) != FORM)
            bottom = below[1]
            while page.colour(shot, (below[0], bottom + 1)) != FORM:
                bottom += 1
            # Longer than Chromium keeps the activation of a click (5 s): the share must come
            # within the gesture that chooses.
            await asyncio.sleep(5.5)
            check(not await browser.evaluate("navigator.userActivation.isActive"), "no gesture active before the choice")
            point = (below[0] + 10, below[1] + (bottom - below[1]) * (0.25 if item == 0 else 0.75))
            before = set(os.listdir(folder))
            if touch:
                await browser.tap(*point)
            else:
                await browser.click(*point)
            shared = None
            if answer != "none":
                for _ in range(100):
                    shared = await browser.evaluate(
                        "window.shared && window.shared.file.arrayBuffer().then(b => ({ name: shared.file.name, "
                        "type: shared.file.type, head: Array.from(new Uint8Array(b.slice(0, 5))), bytes: b.byteLength, "
                        "title: shared.title, active: shared.active, during: shared.during }))")
                    if shared:
                        break
                    await asyncio.sleep(0.1)
                check(shared is not None, "the share sheet was offered the result")
                # Qt 6.8 takes a finger, like the mouse, from the pointer's events.
                check(shared["active"] and shared["during"] == "pointerup " + ("touch" if touch else "mouse"),
                      "shared during %s, the gesture %s" % (shared["during"], "active" if shared["active"] else "gone"))
                check(shared["name"] == name and shared["title"] == name.rsplit(".", 1)[0],
                      "the file is %s, titled %s" % (shared["name"], shared["title"]))
                check(shared["type"] == ("application/pdf" if item == 0 else "image/png"), "its type is " + shared["type"])
                check(bytes(shared["head"]) == (b"%PDF-" if item == 0 else b"\x89PNG\r"), "it holds a PDF or a PNG")
                notes.append("%s shared (%d bytes)" % (name, shared["bytes"]))
            if answer == "takes":
                await asyncio.sleep(1)
                check(set(os.listdir(folder)) == before, "a file the share sheet took is not downloaded too")
                continue
            path = await downloaded(folder, before)
            check(os.path.basename(path) == name, "downloaded as " + os.path.basename(path))
            if item == 0:
                check(open(path, "rb").read(5) == b"%PDF-", "the download is a PDF")
            else:
                check(Image.open(path).size == (1240, 1754), "the picture is A4 at 150 dpi")
            notes.append("%s downloaded %s" % (name, "after the sheet refused it" if answer == "refuses" else "without a sheet"))
        return ", ".join(notes)
    finally:
        await browser.page("Page.removeScriptToEvaluateOnNewDocument", identifier=sheet["identifier"])


@test
async def copy_puts_the_window_on_the_clipboard(browser, site, reference):
    page = LessonPage(browser, site, *CHROMEBOOK)
    await page.open()
    await browser.allow_clipboard(site)
    await page.click("susumu")  # the window has the keyboard, not a text box
    await browser.key("c", "KeyC", 67, modifiers=2)
    await asyncio.sleep(0.5)
    size = (await browser.clipboard_picture()).size
    # The lesson's client area as the page shows it, at the page's pixel ratio of 1.
    factor, _ = page.fit()
    shown = [round(v * factor) for v in client_size(False, False)]
    check(all(abs(a - b) <= 1 for a, b in zip(size, shown)), "the clipboard holds %s, the window shows %s" % (size, shown))


# ---------------------------------------------------------------- one figure on every device

@test
async def figure_in_the_address_opens_and_follows_the_drops(browser, site, reference):
    page = LessonPage(browser, site + "index.html#figure=31203", *SMALL)
    await page.open()
    shot = await page.until(lambda s: page.colour(s, page.board_point(335, 200)) == GREY)
    window, layer = reference_pictures(reference, [3, 1, 2, 0, 3], 0, opened=True)
    differ = differing_layer_pixels(shot, window, layer)
    check(differ == 0, "%d pixels of the figure opened from its address differ from the desktop's" % differ)
    await page.until_status("χ = 0 cm, y = 0 cm²")

    # Each drop writes the figure into the address in place: Back still leaves the lesson.
    entries = await browser.evaluate("history.length")
    await page.drag_piece(2, 3)
    await page.until(lambda s: page.colour(s, page.board_point(455, 230)) == GREY)
    check(await browser.evaluate("location.hash") == "#figure=31223", "the address follows the drop")
    await browser.drag(page.board_point(480, 250), page.board_point(480, 100))  # column 4 taken out
    await page.until(lambda s: page.colour(s, page.board_point(495, 290)) == GREEN)
    check(await browser.evaluate("location.hash") == "#figure=31220", "the address follows the piece taken out")
    await page.click("Command1")
    await page.until(lambda s: page.colour(s, page.board_point(335, 290)) == GREEN)
    check(await browser.evaluate("location.href") == site + "index.html", "初期画面 takes the figure away")
    check(await browser.evaluate("history.length") == entries, "no history entry per change")
    # Another link followed in the same tab starts the lesson on its figure.
    await browser.evaluate("window.before = true; location.hash = '#figure=00300'")
    await browser.wait_for("!window.before && document.body && document.body.dataset.ready === 'true'")
    await page.until(lambda s: page.colour(s, page.board_point(375 + 40, 200)) == GREY
                     and page.colour(s, page.board_point(335, 290)) == GREEN)


BAD_FRAGMENTS = ["figure=", "figure=3120", "figure=312033", "figure=31204", "figure=3120a", "figure=-1203",
                 "figure=3%20203", "figure=%33%31%32%30%33", "figure%3D31203", "FIGURE=31203", "31203",
                 "figure=31203&figure=12312", "figure=31203figure=12312", "figure=31203#figure=12312",
                 "%3Cimg%20src=x%20onerror=alert(1)%3E", "<b>figure=31203</b>", "figure=%EF%BC%93%EF%BC%91%EF%BC%92%EF%BC%90%EF%BC%93",
                 "figure=0x1f3", "figure=3.120", "figure=+3120", "figure=" + "3" * 9993, "javascript:alert(1)"]


# The program's own reading of the address, the same in every engine.
@test(engines=("chromium",))
async def what_is_not_a_figure_opens_the_initial_screen(browser, site, reference):
    for fragment in BAD_FRAGMENTS:
        page = LessonPage(browser, site + "index.html#" + fragment, *SMALL)
        await page.open()
        status = await page.until_status("χ = 0 cm, y = 0 cm²")
        shot = await page.shot()
        full = [i for i in range(5) if page.colour(shot, page.board_point(320 + 40 * i, 290)) != GREEN]
        check(not full, "#%s… filled columns %s" % (fragment[:20], full))
        check(status == "χ = 0 cm, y = 0 cm²", "#%s… says %r" % (fragment[:20], status))
    return "%d fragments" % len(BAD_FRAGMENTS)


@test
async def qr_code_is_the_address_of_the_figure(browser, site, reference):
    zbar = shutil.which("zbarimg")
    check(zbar, "zbarimg (zbar-tools) reads the code back")
    page = LessonPage(browser, site + "index.html#figure=31203", *CHROMEBOOK)
    await page.open()
    await page.until(lambda s: page.colour(s, page.board_point(335, 200)) == GREY)
    # The menu's last item, after コピー, 画像として保存…, the two worksheet menus.
    await page.menu(page.window_point(200, 30), ["ArrowDown"] * 5 + ["Enter"])
    shot = await page.until(lambda s: page.colour(s, (page.viewport[0] // 2, page.viewport[1] // 3)) in {(0, 0, 0), (255, 255, 255)}
                            and page.colour(s, (4, 4)) != FORM)
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "code.png")
        shot.save(path)
        read = subprocess.run([zbar, "--raw", "-q", "--set", "*.disable", "--set", "qrcode.enable", path],
                              capture_output=True, text=True)
    address = await browser.evaluate("location.href")
    check(read.stdout.strip() == address, "the code reads %r, the page is %r" % (read.stdout.strip(), address))
    await browser.key("Escape", "Escape", 27)
    await page.until(lambda s: page.colour(s, (4, 4)) == FORM)


# WebKitGTK, with no touch screen, turns WebDriver's touch into the mouse: touch is Chromium's.
@test(engines=("chromium",))
async def prediction_tapped_then_played_to_the_end(browser, site, reference):
    page = LessonPage(browser, site + "index.html#figure=31203", *CHROMEBOOK)
    await browser.touch_screen(True)
    try:
        await page.open()
        await page.tick("Check2")
        await page.tick("Check3")
        await page.tick("Check7")
        # y = 12 at x = 2 is right, y = 20 at x = 4 is not (it is 16).
        point = lambda x, y: page.panel_point("gamen", 35 + 30 * x, 480 - 7.5 * y)
        await browser.tap(*point(2, 12.4))
        await browser.tap(*point(4, 20.6))
        orange = (255, 128, 0)
        await page.until(lambda s: orange in page.colours_around(s, point(4, 20), 2))
        await page.choose_speed(" 0")
        await page.click("jidou")
        await page.until_status("χ = 10 cm")
        # A ring around the right point, a cross beside the true point of the wrong one.
        factor, _ = page.fit()
        ring = (point(2, 12)[0] + 9 * factor, point(2, 12)[1])
        cross = (point(4, 16)[0] + 11 * factor, point(4, 16)[1] + 11 * factor)
        await page.until(lambda s: orange in page.colours_around(s, ring, 2) and orange in page.colours_around(s, cross, 2))
    finally:
        await browser.touch_screen(False)


# ---------------------------------------------------------------- practice on a tablet

TABLET = (1024, 768)
TABLET_PORTRAIT = (768, 1024)


def area_at(columns, x):
    """The figure's area out of the envelope at x, as a pupil counts it: each column's
    height (2 cm a kind) times the part of its 2 cm that has come out."""
    return sum(2 * kind * max(0.0, min(x, 2 * i + 2) - 2 * i) for i, kind in enumerate(columns))


def plain(value):
    return "%.10g" % value


def practice_questions(columns):
    """A figure's questions, as the status line reads them, each with its answer: y at x = 1
    to 10; each run of neighbouring columns of one height from the left, as (slope,
    intercept); y half a centimetre past the middle of the first rising run, and the x half a
    centimetre before the middle of the last."""
    questions = [("x=%d のときの y" % x, area_at(columns, x)) for x in range(1, 11)]
    runs = []
    for i, kind in enumerate(columns):
        if runs and runs[-1][2] == 2 * kind:
            runs[-1][1] = 2 * i + 2
        else:
            runs.append([2 * i, 2 * i + 2, 2 * kind])
    for start, end, slope in runs:
        questions.append(("%d≦x≦%d のときの式" % (start, end), (slope, area_at(columns, start) - slope * start)))
    rising = [run for run in runs if run[2] > 0]
    if rising:
        x = (rising[0][0] + rising[0][1]) / 2 + 0.5
        questions.append(("x=%s のときの y" % plain(x), area_at(columns, x)))
        x = (rising[-1][0] + rising[-1][1]) / 2 - 0.5
        questions.append(("y=%s のときの x" % plain(area_at(columns, x)), x))
    return questions


def written(answer):
    """An answer as a pupil writes it: "16", "3.5", "y=4x+4", "y=28"."""
    if not isinstance(answer, tuple):
        return plain(answer)
    slope, intercept = answer
    if slope == 0:
        return "y=" + plain(intercept)
    text = "y=" + ("" if slope == 1 else plain(slope)) + "x"
    return text + ("" if intercept == 0 else ("+" if intercept > 0 else "-") + plain(abs(intercept)))


def reading(text):
    """What the forms a pupil types here mean: a number, or y = a·x + b; None for anything else."""
    number = r"-?\d+(?:\.\d+)?"
    if re.fullmatch(number, text):
        return float(text)
    found = re.fullmatch(r"y=(%s)" % number, text)
    if found:
        return (0.0, float(found.group(1)))
    found = re.fullmatch(r"y=(-?\d*(?:\.\d+)?)x((?:[+-]\d+(?:\.\d+)?)?)", text)
    if found:
        slope = {"": 1.0, "-": -1.0}.get(found.group(1)) or float(found.group(1))
        return (slope, float(found.group(2) or 0))
    return None


class Sheet:
    """What a pupil's sheet says by the rules the pupil is told: Enter checks the question
    with the focus; a right answer and a second wrong one move the focus to the next open
    question (after this one, then from the top), a first wrong one keeps it there, and
    what cannot be read is no try at all; Tab moves the focus without checking."""

    def __init__(self, columns):
        self.questions = practice_questions(columns)
        count = len(self.questions)
        self.typed, self.marks, self.first = [""] * count, [None] * count, [False] * count
        self.current = 0

    def open(self, q):
        return self.marks[q] in (None, "wrong")

    def finished(self):
        return not any(self.open(q) for q in range(len(self.questions)))

    def count(self):
        return "正解 %d / %d" % (sum(self.first), len(self.questions))

    def status(self):
        return self.count() if self.finished() else self.questions[self.current][0]

    def answer_now(self):
        return written(self.questions[self.current][1])

    def type(self, text):
        self.typed[self.current] += text

    def backspace(self, count):
        self.typed[self.current] = self.typed[self.current][:-count]

    def tab(self):
        self.current += 1
        return self.status()

    def enter(self):
        q = self.current
        text, answer = self.questions[q]
        value = reading(self.typed[q])
        if value is None:
            return "%s: 数か x の式で答えましょう" % text
        if isinstance(answer, tuple) and not isinstance(value, tuple):
            value = (0.0, value)
        line = "%s %s " % (text, self.typed[q])
        if value == answer:
            self.first[q] = self.marks[q] is None
            self.marks[q] = "right"
            line += "○"
        elif self.marks[q] is None:
            self.marks[q] = "wrong"
            return line + "×"
        else:
            self.marks[q] = "shown"
            line += "×。答えは " + written(answer)
        following = [(q + step) % len(self.questions) for step in range(1, len(self.questions))]
        self.current = next((n for n in following if self.open(n)), q)
        return line + ("。" + self.count() if self.finished() else "。次は " + self.questions[self.current][0])


def practice_cell(page, q):
    """The answer cell of a question on the page: the table's ten, then the rows beside the
    board (26 px apart from 72 down, 140 by 23 px at 196)."""
    if q < 10:
        return page.answer_cell(q + 1)
    factor, _ = page.fit()
    left, top, _, _ = page.control("gamen")
    return (left + 196 * factor, top + (72 + 26 * (q - 10)) * factor, 140 * factor, 23 * factor)


def ink(shot, page, rect, like):
    """How many pixels inside a rectangle of the page are like a colour."""
    left, top, width, height = (int(v * page.ratio) for v in rect)
    box = shot.crop((left, top, left + width, top + height))
    return sum(1 for c in box.getdata() if like(c))


def differing(shot, before, page, apart):
    """How many pixels differ between two pictures of the page, but in the rectangle apart
    (the cell with the focus, whose cursor blinks)."""
    left, top, width, height = apart
    box = tuple(int(v * page.ratio) for v in (left - 3, top - 3, left + width + 3, top + height + 3))
    a, b = shot.copy(), before.copy()
    a.paste((0, 0, 0), box)
    b.paste((0, 0, 0), box)
    return ImageChops.difference(a, b).convert("L").point(lambda v: 255 if v else 0).histogram()[255]


@test
async def practice_by_keys_outlasts_a_reload(browser, site, reference):
    columns = [3, 2, 2, 0, 0]
    sheet = Sheet(columns)
    await browser.forget_storage(site)
    page = LessonPage(browser, site + "index.html#figure=32200&practice", *TABLET)
    page.graph = page.table = True  # practice takes the whole window
    await page.open()
    entries = await browser.evaluate("history.length")
    await page.until_status_is(sheet.status())

    async def enter(typed="", erased=0):
        for _ in range(erased):
            await browser.key("Backspace", "Backspace", 8)
        await browser.type(typed)
        sheet.backspace(erased)
        sheet.type(typed)
        await browser.key("Enter", "Enter", 13, text="\r")
        await page.until_status_is(sheet.enter())

    # Right; wrong, then wrong again, which shows the answer; unreadable, then right; Tab
    # on past a question; right. The first cell has the keys from the start.
    await enter(sheet.answer_now())
    await enter(plain(sheet.questions[1][1] + 1))
    await enter(plain(sheet.questions[1][1] - 1), erased=2)
    await enter(sheet.answer_now() + "+")
    await enter(erased=1)
    await browser.key("Tab", "Tab", 9)
    await page.until_status_is(sheet.tab())
    await enter(sheet.answer_now())

    async def marks_kept(before=None):
        """The sheet as the page shows it: a red mark under each table cell checked and
        none under the others, the answer shown in blue where it was shown, and, after a
        reload, the same pixels as before it."""
        factor, _ = page.fit()

        def faults(shot):
            found = []
            if before is not None:
                differ = differing(shot, before, page, practice_cell(page, sheet.current))
                if differ:
                    found.append("%d pixels differ from the page before the reload" % differ)
            for q in range(10):
                left, top, width, height = page.answer_cell(q + 1)
                red = ink(shot, page, (left, top + height + factor, width, 16 * factor),
                          lambda c: c[0] > 150 and c[1] < 90 and c[2] < 90)
                blue = ink(shot, page, (left, top, width, height), lambda c: c[2] > 150 and c[0] < 90 and c[1] < 90)
                if (red > 0) != (sheet.marks[q] is not None) or (blue > 0) != (sheet.marks[q] == "shown"):
                    found.append("x=%d, marked %s: %d red pixels under its cell, %d blue in it" % (q + 1, sheet.marks[q], red, blue))
            return found

        try:
            shot = await page.until(lambda s: not faults(s), timeout=10)
        except AssertionError:
            shot = await page.shot()
            shot.save("/tmp/web-practice.png")
            raise AssertionError("; ".join(faults(shot))) from None
        check(await browser.evaluate("location.hash") == "#figure=32200&practice", "the address says %r"
              % await browser.evaluate("location.hash"))
        return shot

    before = await marks_kept()
    await page.reload()
    await page.until_status_is(sheet.status())
    await marks_kept(before)
    check(await browser.evaluate("history.length") == entries, "practice added entries to the history")

    # Every question answered, the expressions and the x typed as the table's y were.
    while not sheet.finished():
        await enter(sheet.answer_now())
    before = await marks_kept()
    await page.reload()
    await page.until_status_is(sheet.count())
    await marks_kept(before)
    return "%d questions, %s" % (len(sheet.questions), sheet.count())


def key_extent(page, shot, caption):
    """A key of the keypad as the picture shows it, in CSS pixels: from where the layout puts
    its middle, along a line a fifth down from its top (above its caption) and down a line
    near its left edge, back over its face to the white of its raised edge, which is its
    first row and column, and on to the panel's colour (or the form's) after it. Above the
    top row a cell may stand right against the keys: only the white edge ends them there."""
    left, top, width, height = page.practice_key(caption)
    ratio = page.ratio

    def run(x, y, dx, dy):
        x, y = int(x * ratio), int(y * ratio)
        face = shot.getpixel((x, y))
        start = (x, y)
        for colours in ({face}, {WHITE}):
            while shot.getpixel(start) in colours and x - start[0] + y - start[1] < 400:
                start = (start[0] - dx, start[1] - dy)
        end = (x, y)
        while shot.getpixel(end) not in (PANEL, FORM) and end[0] - x + end[1] - y < 400:
            end = (end[0] + dx, end[1] + dy)
        return (end[0] - start[0] + end[1] - start[1] - 1) / ratio

    return run(left + width / 2, top + height / 5, 1, 0), run(left + width / 8, top + height / 2, 0, 1)


# A tablet's pixel ratio of 2, which only Chromium's DevTools set.
@test(engines=("chromium",))
async def keypad_keys_are_a_fingers_size_on_tablets(browser, site, reference):
    columns = [3, 1, 2, 0, 3]
    sheet = Sheet(columns)
    await browser.forget_storage(site)
    await browser.touch_screen(True)
    page = LessonPage(browser, site + "index.html#figure=31203&practice", *TABLET_PORTRAIT, ratio=2.0)
    page.graph = page.table = True
    notes = []
    try:
        await page.open()
        await page.until_status_is(sheet.status())
        for size in (TABLET_PORTRAIT, TABLET):
            if size != page.viewport:  # the tablet turned
                page.viewport = size
                await browser.viewport(*size, ratio=page.ratio)
                await asyncio.sleep(0.3)
                await page.measure()

            def faults(shot):
                found = []
                for caption in (c for row in KEYPAD for c in row):
                    shown, laid_out = key_extent(page, shot, caption), page.practice_key(caption)[2:]
                    # Where it is laid out and as large: no neighbour run into.
                    if not all(abs(a - b) <= 1.5 for a, b in zip(shown, laid_out)) or min(shown) < 44:
                        found.append("the key %s shows %s CSS px, laid out %s" % (caption, shown, laid_out))
                return found

            try:
                shot = await page.until(lambda s: not faults(s), timeout=10)
            except AssertionError:
                raise AssertionError("at %d×%d: %s" % (*size, "; ".join(faults(await page.shot())))) from None
            extents = [key_extent(page, shot, c) for row in KEYPAD for c in row]
            # The keys found are the ones that work: the answer tapped on them, and 確定.
            for digit in sheet.answer_now():
                await browser.tap(*centre(page.practice_key(digit)))
            sheet.type(sheet.answer_now())
            await browser.tap(*centre(page.practice_key("確定")))
            await page.until_status_is(sheet.enter())
            notes.append("%d×%d: keys at least %g × %g CSS px" % (*size, *(min(e[i] for e in extents) for i in (0, 1))))
    finally:
        await browser.touch_screen(False)
    return ", ".join(notes)


def centre(rect):
    left, top, width, height = rect
    return (left + width / 2, top + height / 2)


# ---------------------------------------------------------------- served, kept, installed

SITE_FOLDER = None  # the site's folder; the tests above get its address
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def header(response, name):
    return next((v for k, v in response["headers"].items() if k.lower() == name.lower()), None)


async def worker_ready(browser):
    """The service worker is active, with the site's files in its cache; its cache's names."""
    await browser.wait_for("navigator.serviceWorker.ready.then(r => r.active.state === 'activated')", 60)
    return await browser.evaluate("caches.keys()")


def first_visit_transfers(browser, address):
    """What the first visit's page and its service worker downloaded, from Chromium's
    network events: the program compressed, as application/wasm, the whole under 5 MB."""
    sessions = {browser.session} | browser.workers
    events = [e for e in browser.events if e.get("sessionId") in sessions]
    sent = sum(e["params"]["encodedDataLength"] for e in events if e["method"] == "Network.loadingFinished")
    by_worker = sum(e["params"]["encodedDataLength"] for e in events
                    if e["method"] == "Network.loadingFinished" and e["sessionId"] in browser.workers)
    check(by_worker > 0, "the service worker's own downloads are counted")
    wasm = [e["params"] for e in events if e["method"] == "Network.responseReceived"
            and e["params"]["response"]["url"].endswith("/function-lesson.wasm")]
    check(wasm, "the page fetched the program")
    response = wasm[0]["response"]
    check(header(response, "Content-Encoding") == "gzip", "the program came gzip-compressed: %s" % response["headers"])
    check(response["mimeType"] == "application/wasm", "the program came as %s" % response["mimeType"])
    check(sent < 5e6, "the first visit transferred %.2f MB" % (sent / 1e6))
    program = next(e["params"]["encodedDataLength"] for e in events if e["method"] == "Network.loadingFinished"
                   and e["params"]["requestId"] == wasm[0]["requestId"])
    compressed = os.path.getsize(os.path.join(SITE_FOLDER, "function-lesson.wasm.gz"))
    check(compressed <= program < compressed + 4096, "the program took %d bytes, its .gz copy has %d"
          % (program, compressed))
    return "first visit transferred %.2f MB, the program %.2f MB of it, the service worker %.2f MB" % (
        sent / 1e6, program / 1e6, by_worker / 1e6)


@test
async def first_visit_is_compressed_then_works_offline(browser, site, reference):
    # What crossed the network and whether the page is installable, Chromium's DevTools
    # tell; the cache and the lesson offline are checked in every engine.
    chromium = browser.engine == "chromium"
    if chromium:
        await browser.watch_workers()
        await browser.page("Network.enable")
        browser.events.clear()
    note = None
    try:
        # A server of its own: an origin the browser has never seen, like a pupil's first visit.
        with serve(SITE_FOLDER) as address:
            page = LessonPage(browser, address, *CHROMEBOOK)
            await page.open()
            names = await worker_ready(browser)
            if chromium:
                await asyncio.sleep(0.5)  # the last loadingFinished events
                note = first_visit_transfers(browser, address)

            # Every file of the site is kept, in one cache named for this build.
            build = re.search(r'const BUILD = "(\w+)"', open(os.path.join(SITE_FOLDER, "service-worker.js")).read())
            check(names == ["function-lesson-" + build.group(1)], "the caches are %s" % names)
            kept = await browser.evaluate("caches.open(%s).then(c => c.keys()).then(k => k.map(r => r.url))"
                                          % json.dumps(names[0]))
            files = {os.path.relpath(os.path.join(d, f), SITE_FOLDER) for d, _, fs in os.walk(SITE_FOLDER) for f in fs}
            wanted = {f for f in files if not f.endswith(".gz")} - {"service-worker.js"}
            check({k[len(address):] for k in kept} == wanted, "kept %s, the site has %s" % (sorted(kept), sorted(wanted)))

            # The second visit is the worker's: the page is installable, its manifest found.
            await page.open()
            check(await browser.evaluate("!!navigator.serviceWorker.controller"), "the worker serves the page")
            if chromium:
                errors = (await browser.page("Page.getInstallabilityErrors"))["installabilityErrors"]
                check(errors == [], "installability errors: %s" % errors)
                manifest = await browser.page("Page.getAppManifest")
                check(manifest["url"] == address + "manifest.webmanifest" and not manifest["errors"],
                      "the manifest: %s" % {k: manifest[k] for k in ("url", "errors")})
        # The server is gone and the network off: the lesson opens all the same, also under
        # an address that carries a figure, and the program arrives as application/wasm.
        await browser.offline(True)
        await page.reload()
        page.address = address + "index.html#figure=31203"
        await page.open()
        check(await browser.evaluate("location.hash") == "#figure=31203", "the figure stays in the address")
        await page.until(lambda s: page.colour(s, page.board_point(335, 200)) == GREY)
        kind = await browser.evaluate("fetch('function-lesson.wasm').then(r => r.headers.get('Content-Type'))")
        check(kind == "application/wasm", "offline the program comes as %s" % kind)
        return note
    finally:
        await browser.offline(False)
        if chromium:
            await browser.page("Network.disable")
            await browser.watch_workers(False)


# The service worker's update, the same script in every engine; one engine's time.
@test(engines=("chromium",))
async def new_build_replaces_the_kept_one(browser, site, reference):
    folder = tempfile.mkdtemp(prefix="lesson-builds-")
    served = os.path.join(folder, "site")
    try:
        shutil.copytree(SITE_FOLDER, served)
        with serve(served) as address:
            page = LessonPage(browser, address, *CHROMEBOOK)
            await page.open()
            first = await worker_ready(browser)
            # A new build whose page differs, put together as every build is.
            changed = os.path.join(folder, "source")
            os.makedirs(os.path.join(changed, "data", "icons"))
            shutil.copytree(os.path.join(SOURCE, "web"), os.path.join(changed, "web"))
            for icon in ("function-lesson.svg", "function-lesson-32.png"):
                shutil.copy(os.path.join(SOURCE, "data", "icons", icon), os.path.join(changed, "data", "icons"))
            index = os.path.join(changed, "web", "index.html")
            text = open(index, encoding="utf-8").read().replace("<head>", '<head>\n<meta name="build" content="new">')
            open(index, "w", encoding="utf-8").write(text)
            subprocess.run(["bash", os.path.join(SOURCE, "web", "assemble_site.sh"), served, SITE_FOLDER, changed,
                            os.path.join(SITE_FOLDER, "fonts"), SITE_FOLDER], check=True)
            # The next visit with the network still shows the kept build, and brings the new.
            await page.open()
            await browser.wait_for("caches.keys().then(k => k.length === 1 && k[0] !== %s)" % json.dumps(first[0]), 60)
            await page.open()
            check(await browser.evaluate("document.querySelector('meta[name=build]') !== null"),
                  "the visit after shows the new build")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


async def downloaded(folder, before, timeout=20.0):
    """The file that a download put into the folder, once it is complete."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        new = [name for name in set(os.listdir(folder)) - before if not name.endswith((".crdownload", ".wkdownload"))]
        if new:
            await asyncio.sleep(0.2)
            return os.path.join(folder, new[0])
        await asyncio.sleep(0.1)
    raise AssertionError("nothing was downloaded")


# ---------------------------------------------------------------- the desktop's pictures

def reference_pictures(program, columns, steps, grid=False, opened=False):
    """The desktop's window and the blackboard's drawing layer in it, for a lesson composed
    by dragging pieces, or opened on the figure as from a page's address."""
    with tempfile.TemporaryDirectory() as folder:
        window, layer = os.path.join(folder, "window.png"), os.path.join(folder, "layer.png")
        arguments = [program, window, layer, ",".join(map(str, columns)), str(steps)] + (["grid"] if grid else []) \
            + (["opened"] if opened else [])
        subprocess.run(arguments, check=True, env={**os.environ, "QT_QPA_PLATFORM": "offscreen"},
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return Image.open(window).convert("RGB"), Image.open(layer).convert("RGB")


def differing_layer_pixels(shot, window, layer, margin=3):
    """How many pixels of the blackboard's drawing layer differ between the page (at 100 %)
    and the desktop, wherever the desktop shows the layer: not under a control, a label's
    text or near one, where the faces' rasterisers may differ by a pixel."""
    width, height = layer.size
    covered = set()
    for y in range(height):
        for x in range(width):
            wanted = layer.getpixel((x, y))
            if wanted != (1, 2, 3) and window.getpixel((x, y)) != wanted:
                covered.add((x, y))
    hidden = {(x + dx, y + dy) for (x, y) in covered for dx in range(-margin, margin + 1) for dy in range(-margin, margin + 1)}
    differ = 0
    for y in range(height):
        for x in range(width):
            wanted = layer.getpixel((x, y))
            if wanted == (1, 2, 3) or (x, y) in hidden:
                continue
            if shot.getpixel((x, y)) != wanted:
                differ += 1
    if differ:
        shot.save("/tmp/web-differs-browser.png")
        window.save("/tmp/web-differs-desktop.png")
    return differ


def ink_box(image, rect, background, inset=3):
    """The bounding box of what is not the background inside a control's rectangle."""
    left, top, width, height = rect
    xs, ys = [], []
    for y in range(top + inset, top + height - inset):
        for x in range(left + inset, left + width - inset):
            if image.getpixel((x, y)) != background:
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs), max(ys)) if xs else None


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--engine", choices=ENGINES, default="chromium")
    parser.add_argument("--site", required=True)
    parser.add_argument("--reference", required=True)
    parser.add_argument("only", nargs="*")
    args = parser.parse_args()
    global SITE_FOLDER
    SITE_FOLDER = os.path.abspath(args.site)
    folder = tempfile.mkdtemp(prefix="lesson-site-")
    if args.engine == "webkit":
        SITE_FOLDER = problem_recorder(SITE_FOLDER, folder)
    chosen = [(f, e) for f, e in TESTS if args.engine in e and (not args.only or f.__name__ in args.only)]
    failures = 0
    try:
        with serve(SITE_FOLDER) as address:
            async with ENGINES[args.engine]() as browser:
                print("%s %s" % (args.engine, browser.version), flush=True)
                for function, _ in chosen:
                    started = time.monotonic()
                    try:
                        note = await function(browser, address, args.reference)
                        # Nothing the page's scripts threw or left unhandled, from start to end.
                        await check_page_problems(browser)
                        print("PASS   %s (%.1f s)%s" % (function.__name__, time.monotonic() - started,
                                                      ": " + note if note else ""), flush=True)
                    except Exception:
                        failures += 1
                        await browser.take_problems()
                        print("FAIL!  %s" % function.__name__, flush=True)
                        traceback.print_exc()
                        for line in browser.console[-15:]:
                            print("   console: " + line)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("Totals: %d passed, %d failed" % (len(chosen) - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(asyncio.run(main()))
