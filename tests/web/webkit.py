"""Drives WebKit, the engine of Safari and of every browser on an iPad, as Debian packages
it: WebKitGTK's MiniBrowser through its WebDriver (WebKitWebDriver) with Selenium, in a
window on the X screen that DISPLAY names. The same calls as the Chromium driver in
browser.py, so that one suite runs in both. What WebDriver cannot do (a device's pixel
ratio, the network switched off, scripts before a page's own) the tests that need it leave
to Chromium, and touch too: with no touch screen, WebKitGTK turns WebDriver's touch into
the mouse."""
import asyncio
import io
import os
import shutil
import subprocess
import tempfile

from PIL import Image
from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.actions.pointer_input import PointerInput
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.remote.remote_connection import RemoteConnection
from selenium.webdriver.webkitgtk.options import Options

from browser import Engine, path

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"

# WebDriver has no way to hear a page's errors: the page served to WebKit records them
# itself, from its first script on (see problem_recorder), for the tests to read.
PROBLEM_RECORDER = """<script>
  window.lessonProblems = [];
  addEventListener("error", e => lessonProblems.push("error: " + e.message + " (" + e.filename + ":" + e.lineno + ")"));
  addEventListener("unhandledrejection", e => lessonProblems.push("unhandled rejection: " + (e.reason && e.reason.stack || e.reason)));
</script>"""

# The keys the tests press, by their DOM names.
KEYS = {"PageDown": Keys.PAGE_DOWN, "PageUp": Keys.PAGE_UP, "Home": Keys.HOME, "End": Keys.END,
        "ArrowRight": Keys.ARROW_RIGHT, "ArrowLeft": Keys.ARROW_LEFT, "ArrowUp": Keys.ARROW_UP,
        "ArrowDown": Keys.ARROW_DOWN, "Enter": Keys.ENTER, "Escape": Keys.ESCAPE, "Tab": Keys.TAB,
        "Backspace": Keys.BACKSPACE}


def problem_recorder(site, folder):
    """A copy of the site in the folder whose page records its own errors and unhandled
    rejections in window.lessonProblems; the page's compressed copy goes, so that the
    server sends the changed one."""
    served = os.path.join(folder, "site")
    shutil.copytree(site, served)
    index = os.path.join(served, "index.html")
    text = open(index, encoding="utf-8").read().replace("<head>", "<head>\n" + PROBLEM_RECORDER, 1)
    open(index, "w", encoding="utf-8").write(text)
    os.remove(index + ".gz")
    return served


class WebKit(Engine):
    """One MiniBrowser with one page. Use as `async with WebKit() as b:`."""

    engine = "webkit"
    # Between two pages, or before the page has its body, evaluating fails: waiting goes on.
    transient = (RuntimeError,)

    def __init__(self):
        self.home = tempfile.mkdtemp(prefix="lesson-webkit-")
        self.downloads = self.home  # MiniBrowser saves downloads in the home folder
        self.driver = None
        self.problems = []
        self.console = []

    async def __aenter__(self):
        # On the X screen the tests run under (xvfb-run, whose server says when it is ready).
        if not os.environ.get("DISPLAY"):
            raise RuntimeError("WebKitGTK needs an X screen: run under xvfb-run")
        os.environ["HOME"] = self.home
        options = Options()
        options.binary_location = MINIBROWSER
        options.add_argument("--automation")
        # A browser that cannot start leaves the driver waiting for it for ever: every
        # command fails after this instead.
        RemoteConnection.set_timeout(120)
        self.driver = webdriver.WebKitGTK(options=options, executable_path="/usr/bin/WebKitWebDriver")
        self.version = self.driver.capabilities.get("browserVersion")
        return self

    async def __aexit__(self, *exc):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.home, ignore_errors=True)

    # ---------------------------------------------------------------- the page

    async def viewport(self, width, height, ratio=1.0, mobile=False):
        if ratio != 1.0:
            raise NotImplementedError("WebDriver sets no device pixel ratio")
        # The window is the page and the browser's bars around it; the page takes its new
        # size a moment after the window.
        loop = asyncio.get_running_loop()
        deadline = loop.time() + 10
        while True:
            size = self.driver.get_window_size()
            inner = self.driver.execute_script("return [innerWidth, innerHeight]")
            if inner == [width, height]:
                return
            if loop.time() > deadline:
                raise RuntimeError("the page stays %s, not %d×%d" % (inner, width, height))
            wanted = (width + size["width"] - inner[0], height + size["height"] - inner[1])
            if wanted != (size["width"], size["height"]):
                self.driver.set_window_size(*wanted)
            await asyncio.sleep(0.05)

    async def open(self, address):
        await self._keep_problems()
        self.driver.get(address)

    async def reload(self):
        await self._keep_problems()
        self.driver.refresh()

    async def _keep_problems(self):
        """What the page recorded, kept before it goes."""
        try:
            found = self.driver.execute_script("return window.lessonProblems || []")
        except WebDriverException:
            found = []
        self.problems += found
        if found:
            self.driver.execute_script("window.lessonProblems = []")

    async def take_problems(self):
        await self._keep_problems()
        found, self.problems = self.problems, []
        return found

    async def evaluate(self, expression):
        # As the DevTools protocol's evaluation with awaitPromise: a promise's value.
        try:
            result = self._evaluate(expression)
        except WebDriverException as error:  # between two pages
            raise RuntimeError(error.msg) from None
        if "error" in result:
            raise RuntimeError(result["error"])
        return result.get("value")

    def _evaluate(self, expression):
        return self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            try {
                Promise.resolve(eval(arguments[0])).then(v => done({ value: v }), e => done({ error: String(e) }));
            } catch (e) { done({ error: String(e) }); }""", expression)

    async def screenshot(self):
        return Image.open(io.BytesIO(self.driver.get_screenshot_as_png())).convert("RGB")

    async def forget_storage(self, site):
        """No sheet kept from before: the page's storage of the site emptied, from a file
        of the site that is not the lesson."""
        self.driver.get(site + "manifest.webmanifest")
        self.driver.execute_script("localStorage.clear()")

    async def download_folder(self):
        return self.downloads

    async def offline(self, on):
        """Nothing to switch: the tests take the server away, and the page is on 127.0.0.1."""

    async def allow_clipboard(self, site):
        """Nothing to allow: WebKit asks no permission for a copy within a key press."""

    async def clipboard_picture(self):
        """The picture on the X screen's clipboard, where WebKitGTK puts what a page copies."""
        data = subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-o"],
                              capture_output=True, check=True, timeout=10).stdout
        return Image.open(io.BytesIO(data))

    # ---------------------------------------------------------------- input

    def _pointer(self, kind, points, button=0):
        actions = ActionBuilder(self.driver, mouse=PointerInput(kind, kind))
        pointer = actions.pointer_action
        pointer.move_to_location(round(points[0][0]), round(points[0][1]))
        pointer.pointer_down(button=button)
        for x, y in points[1:]:
            pointer.move_to_location(round(x), round(y))
        pointer.pointer_up(button=button)
        actions.perform()

    async def click(self, x, y, button="left"):
        if button == "left":
            self._pointer(interaction.POINTER_MOUSE, [(x, y)])
            return
        # WebKitGTK's driver lets the right button go as the left one (a mouseup of button
        # 0, no pointerup), and the page then holds the right button down for ever, deaf to
        # the next right press: the right click is the page's own events instead.
        self.driver.execute_script("""
            const [x, y] = arguments;
            // Into the shadow trees Qt puts its window in, as the browser's own events go.
            let target = document.elementFromPoint(x, y);
            while (target.shadowRoot && target.shadowRoot.elementFromPoint(x, y) !== target)
                target = target.shadowRoot.elementFromPoint(x, y);
            const at = { bubbles: true, cancelable: true, composed: true, view: window, clientX: x, clientY: y,
                         button: 2 };
            const pointer = { ...at, pointerId: 1, pointerType: "mouse", isPrimary: true };
            target.dispatchEvent(new PointerEvent("pointerdown", { ...pointer, buttons: 2 }));
            target.dispatchEvent(new MouseEvent("mousedown", { ...at, buttons: 2 }));
            target.dispatchEvent(new MouseEvent("contextmenu", { ...at, buttons: 2 }));
            target.dispatchEvent(new PointerEvent("pointerup", { ...pointer, buttons: 0 }));
            target.dispatchEvent(new MouseEvent("mouseup", { ...at, buttons: 0 }));
            """, x, y)

    async def drag(self, start, end, steps=6):
        self._pointer(interaction.POINTER_MOUSE, path(start, end, steps))

    async def key(self, key, code=None, key_code=None, modifiers=0, text=None):
        chain = ActionChains(self.driver)
        held = [k for bit, k in ((2, Keys.CONTROL), (8, Keys.SHIFT)) if modifiers & bit]
        for k in held:
            chain.key_down(k)
        chain.send_keys(KEYS.get(key, key))
        for k in reversed(held):
            chain.key_up(k)
        chain.perform()

    async def type(self, text):
        ActionChains(self.driver).send_keys(text).perform()

