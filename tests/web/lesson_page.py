"""The lesson's window as the browser shows it: where each control of the layout lands on
the page at the scale that fits the page, the program's status line, and pictures of it."""
import asyncio
import math


def lround(value):
    return int(math.floor(value + 0.5))


def pixels(twips):
    return lround(twips / 15)


def layout_rect(left, top, width, height):
    return (pixels(left), pixels(top), pixels(width), pixels(height))


# The controls the tests use, in the layout's twips, as the window lays them out.
CONTROLS = {
    "kokuban": layout_rect(240, 960, 9015, 6135),
    "gamen": layout_rect(9480, 240, 5895, 7695),
    "hyo": layout_rect(120, 8400, 9135, 1695),
    "Command1": layout_rect(3240, 240, 1215, 495),
    "end": layout_rect(8040, 240, 1215, 495),
    "renshu": layout_rect(6960, 240, 975, 495),
    "jidou": layout_rect(240, 7320, 1695, 735),
    "tomeru": layout_rect(2160, 7560, 975, 495),
    "susumu": layout_rect(4560, 7320, 975, 735),
    "modoru": layout_rect(5640, 7320, 975, 735),
    "Command2": layout_rect(6720, 7560, 855, 495),
    "Check1": layout_rect(5640, 360, 1215, 390),
    "Check3": layout_rect(7800, 7200, 735, 390),
    "Check2": layout_rect(7800, 7680, 1335, 390),
    "Check5": layout_rect(9600, 8160, 2535, 495),
    "Check6": layout_rect(12360, 8160, 735, 495),
    "Check7": layout_rect(13200, 8160, 1035, 495),
    "Combo1": layout_rect(3360, 7680, 735, 315),
    "renshu": layout_rect(6960, 240, 975, 495),
    # Practice's, over the window with both panels' size.
    "save result": layout_rect(11400, 8160, 1695, 615),
}
BOARD_BORDER = 2

# Practice takes the whole window with both panels; beside its board, where the graph
# stands in the lesson, a panel without a border holds the keypad at its foot (the keys 62
# by 60 px, 4 px apart; 確定 spans the rest of the last row), and under it the table holds an
# answer cell under each whole x, 42 by 30 px from (83, 63) on, 45 px apart.
KEYPAD = [["7", "8", "9", "x", "⌫"], ["4", "5", "6", "+", "−"], ["1", "2", "3", "=", "."], ["0", "確定"]]
KEY_SIZE, KEY_GAP = (62, 60), 4
KEYPAD_TOP = pixels(7695) - 4 * (KEY_SIZE[1] + KEY_GAP) - 2

GREEN = (0, 128, 0)
TRAY = (0, 64, 0)
WHITE = (255, 255, 255)
GREY = (192, 192, 192)
BLUE = (0, 0, 255)
FORM = (192, 255, 192)
PANEL = (255, 255, 192)
COVER = (128, 255, 128)
RED = (255, 0, 0)


def client_size(graph, table):
    """The window's client area for its outer size, less the nominal frame."""
    return (pixels(15700 if graph else 9700) - 16, pixels(10800 if table else 8800) - 39)


def scaled(rect, zoom):
    left, top, width, height = rect
    x0, y0 = lround(left * zoom), lround(top * zoom)
    return (x0, y0, lround((left + width) * zoom) - x0, lround((top + height) * zoom) - y0)


class LessonPage:
    """One load of the lesson in a browser page of a given size and pixel ratio."""

    def __init__(self, browser, address, width, height, ratio=1.0):
        self.browser = browser
        self.address = address
        self.viewport = (width, height)
        self.ratio = ratio
        self.graph = False
        self.table = False

    async def open(self, timeout=60):
        await self.browser.viewport(*self.viewport, ratio=self.ratio)
        # Another figure for the page already open changes only the part after '#', which
        # the page answers by loading itself again: opened afresh instead, as from a link.
        here = await self.browser.evaluate("location.href")
        if here != self.address and here.split("#")[0] == self.address.split("#")[0]:
            await self.browser.open("about:blank")
        await self.browser.open(self.address)
        await self.browser.wait_for("document.body && document.body.dataset.ready === 'true'", timeout)
        await self.measure()
        # Painted: the blackboard's green shows where the layout puts it.
        await self.until(lambda shot: self.colour(shot, self.board_point(100, 250)) == GREEN)

    # ---------------------------------------------------------------- geometry

    async def measure(self):
        """The program's screen, which the page sizes in whole device pixels."""
        size = await self.browser.evaluate(
            "(() => { const r = document.getElementById('screen').getBoundingClientRect(); return [r.width, r.height]; })()")
        self.screen = (int(size[0]), int(size[1]))

    def fit(self):
        client = client_size(self.graph, self.table)
        screen = getattr(self, "screen", self.viewport)
        factor = min(screen[0] / client[0], screen[1] / client[1])
        shown = scaled((0, 0, *client), factor)
        origin = ((screen[0] - shown[2]) // 2, (screen[1] - shown[3]) // 2)
        return factor, origin

    def control(self, name):
        """Where a control lands on the page, in CSS pixels: left, top, width, height."""
        factor, origin = self.fit()
        left, top, width, height = scaled(CONTROLS[name], factor)
        return (left + origin[0], top + origin[1], width, height)

    def centre(self, name, dx=0.0):
        left, top, width, height = self.control(name)
        return (left + width / 2 + dx * width, top + height / 2)

    def check_box(self, name):
        """The box of a check box, left of its caption."""
        left, top, width, height = self.control(name)
        factor, _ = self.fit()
        return (left + 8 * factor, top + height / 2)

    def window_point(self, x, y):
        """A point of the window, in its logical pixels, on the page."""
        factor, origin = self.fit()
        return (origin[0] + x * factor, origin[1] + y * factor)

    def board_point(self, x, y):
        """A point of the blackboard's drawing, in its own pixels, on the page."""
        factor, _ = self.fit()
        left, top, _, _ = self.control("kokuban")
        corner = lround(BOARD_BORDER * factor)
        return (left + corner + x * factor, top + corner + y * factor)

    def panel_point(self, name, x, y):
        factor, _ = self.fit()
        left, top, _, _ = self.control(name)
        corner = lround(BOARD_BORDER * factor)
        return (left + corner + x * factor, top + corner + y * factor)

    def practice_key(self, caption):
        """Where the layout puts a key of practice's keypad on the page: left, top, width, height."""
        row = next(r for r, keys in enumerate(KEYPAD) if caption in keys)
        column = KEYPAD[row].index(caption)
        width = KEY_SIZE[0] if caption != "確定" else (5 - column) * (KEY_SIZE[0] + KEY_GAP) - KEY_GAP
        factor, _ = self.fit()
        left, top, _, _ = self.control("gamen")
        x, y = 8 + column * (KEY_SIZE[0] + KEY_GAP), KEYPAD_TOP + row * (KEY_SIZE[1] + KEY_GAP)
        return (left + x * factor, top + y * factor, width * factor, KEY_SIZE[1] * factor)

    def answer_cell(self, x):
        """The table's answer cell under a whole x, on the page: left, top, width, height."""
        factor, _ = self.fit()
        left, top = self.panel_point("hyo", 83 + 45 * (x - 1), 63)
        return (left, top, 42 * factor, 30 * factor)

    # ---------------------------------------------------------------- pictures

    async def shot(self):
        return await self.browser.screenshot()

    def colour(self, shot, point):
        x, y = point
        return shot.getpixel((int(x * self.ratio), int(y * self.ratio)))

    def colours_around(self, shot, point, radius=2):
        x, y = int(point[0] * self.ratio), int(point[1] * self.ratio)
        found = set()
        for dy in range(-radius, radius + 1):
            for dx in range(-radius, radius + 1):
                found.add(shot.getpixel((x + dx, y + dy)))
        return found

    async def until(self, condition, timeout=20.0):
        loop = asyncio.get_running_loop()
        deadline = loop.time() + timeout
        while True:
            shot = await self.shot()
            if condition(shot):
                return shot
            if loop.time() > deadline:
                raise AssertionError("the page never showed what was waited for")
            await asyncio.sleep(0.1)

    # ---------------------------------------------------------------- the program's state

    async def status(self):
        return await self.browser.evaluate("document.getElementById('status').textContent")

    async def until_status(self, prefix, timeout=30.0):
        loop = asyncio.get_running_loop()
        deadline = loop.time() + timeout
        while loop.time() < deadline:
            text = await self.status()
            if text.startswith(prefix):
                return text
            await asyncio.sleep(0.02)
        raise AssertionError("status never began with %r (it says %r)" % (prefix, await self.status()))

    async def until_status_is(self, text, timeout=10.0):
        """Waits for the status line to read exactly the text, and to go on reading it for a
        few frames, as a screen reader would hear it last."""
        loop = asyncio.get_running_loop()
        deadline = loop.time() + timeout
        while loop.time() < deadline:
            if await self.status() == text:
                await self.browser.frames(3)
                if await self.status() == text:
                    return
            await asyncio.sleep(0.02)
        raise AssertionError("the status says %r where %r was due" % (await self.status(), text))

    async def reload(self, timeout=60):
        """Reloads the page as its reload button does, until the new one has started."""
        await self.browser.evaluate("window.before = true")
        await self.browser.reload()
        loop = asyncio.get_running_loop()
        deadline = loop.time() + timeout
        while loop.time() < deadline:
            try:
                if await self.browser.evaluate("!window.before && !!document.body && document.body.dataset.ready === 'true'"):
                    return
            except RuntimeError:
                pass  # between the two pages
            await asyncio.sleep(0.05)
        raise TimeoutError("the page did not load again")

    # ---------------------------------------------------------------- actions

    async def click(self, name, dx=0.0):
        await self.browser.click(*self.centre(name, dx))

    async def tick(self, name):
        await self.browser.click(*self.check_box(name))
        if name == "Check2":
            self.graph = not self.graph
        elif name == "Check3":
            self.table = not self.table

    async def drag_piece(self, kind, column, touch=False):
        start = self.board_point(300 + 50 * kind + 20, 100)
        end = self.board_point(320 + 40 * column, 250)
        if touch:
            await self.browser.touch_drag(start, end)
        else:
            await self.browser.drag(start, end)

    SPEEDS = [" 0", "10", "20", "50", "100", "200"]

    async def menu(self, at, keys):
        """Opens the window's menu with the right button and works it with the keys."""
        await self.browser.click(*at, button="right")
        await asyncio.sleep(0.3)
        codes = {"ArrowDown": 40, "ArrowRight": 39, "Enter": 13}
        for key in keys:
            await self.browser.key(key, key, codes[key], text="\r" if key == "Enter" else None)
            await asyncio.sleep(0.1)

    async def choose_speed(self, text):
        """Chooses a speed of the list with the arrow keys, as a teacher may."""
        if not hasattr(self, "speed"):
            self.speed = self.SPEEDS.index("50")
        await self.browser.click(*self.centre("Combo1", dx=-0.25))
        wanted = self.SPEEDS.index(text)
        while self.speed != wanted:
            if wanted < self.speed:
                await self.browser.key("ArrowUp", "ArrowUp", 38)
                self.speed -= 1
            else:
                await self.browser.key("ArrowDown", "ArrowDown", 40)
                self.speed += 1
