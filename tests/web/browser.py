"""Drives Debian's Chromium, headless, over the DevTools protocol: the page's size and
pixel ratio, the mouse, touch and keys as a user's, and screenshots read as pictures."""
import asyncio
import base64
import contextlib
import io
import json
import os
import re
import shutil
import socket
import subprocess
import tempfile
import threading
import time

import websockets
from PIL import Image

SERVE_SITE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web", "serve_site.sh")


@contextlib.contextmanager
def serve(folder):
    """Serves a folder with nginx as `scripts/lesson web` does (web/serve_site.sh), on a
    free port of 127.0.0.1; yields the address. Each call is an origin of its own."""
    run = tempfile.mkdtemp(prefix="lesson-nginx-")
    server = None
    try:
        for _ in range(5):
            with socket.socket() as probe:
                probe.bind(("127.0.0.1", 0))
                port = probe.getsockname()[1]
            server = subprocess.Popen(["bash", SERVE_SITE, folder, str(port), run])
            if _answers(server, port):
                break
            server = None  # another program took the port in between
        else:
            raise RuntimeError("nginx did not start")
        yield "http://127.0.0.1:%d/" % port
    finally:
        if server:
            server.terminate()
            server.wait(10)
        shutil.rmtree(run, ignore_errors=True)


def _answers(server, port, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if server.poll() is not None:
            return False
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return True
        except OSError:
            time.sleep(0.05)
    server.kill()
    server.wait()
    return False


# Chromium gives no WebGL on a machine without a usable graphics chip unless told to draw
# it in software; the lesson needs none, which a browser without WEBGL_FLAGS shows.
WEBGL_FLAGS = ["--enable-unsafe-swiftshader", "--use-angle=swiftshader"]
NO_WEBGL_FLAGS = ["--disable-webgl", "--disable-3d-apis"]
CHROMIUM_FLAGS = [
    "--headless=new", "--no-sandbox",
    "--no-first-run", "--no-default-browser-check", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--disable-quic", "--mute-audio",
    "--remote-debugging-port=0", "--hide-scrollbars", "--window-size=1400,1100",
]


def path(start, end, steps):
    """The points of a straight drag from start to end, in steps moves."""
    return [(start[0] + (end[0] - start[0]) * i / steps, start[1] + (end[1] - start[1]) * i / steps)
            for i in range(steps + 1)]


class Engine:
    """What every engine's driver does alike, over its own evaluate()."""

    # What evaluate() raises that waiting goes on through (WebDriver's page between two).
    transient = ()

    async def wait_for(self, expression, timeout=60.0):
        loop = asyncio.get_running_loop()
        deadline = loop.time() + timeout
        while loop.time() < deadline:
            try:
                if await self.evaluate(expression):
                    return True
            except self.transient:
                pass
            await asyncio.sleep(0.05)
        raise TimeoutError(expression)

    async def frames(self, count=3):
        """Lets the page paint a few frames."""
        await self.evaluate("new Promise(r => { let n = %d; const f = () => --n ? requestAnimationFrame(f) : r(); "
                            "requestAnimationFrame(f); })" % count)


class Browser(Engine):
    """One Chromium with one page. Use as `async with Browser() as b:`."""

    engine = "chromium"

    def __init__(self, webgl=True):
        self.flags = CHROMIUM_FLAGS + (WEBGL_FLAGS if webgl else NO_WEBGL_FLAGS)
        self.profile = tempfile.mkdtemp(prefix="lesson-chromium-")
        self.process = None
        self.socket = None
        self.next_id = 0
        self.pending = {}
        self.events = []
        self.console = []
        self.problems = []
        self.downloads = None
        self.workers = set()
        self.reader = None

    async def __aenter__(self):
        self.process = subprocess.Popen(
            ["chromium", *self.flags, "--user-data-dir=" + self.profile, "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        address = None
        for line in self.process.stderr:
            found = re.search(r"DevTools listening on (ws://\S+)", line)
            if found:
                address = found.group(1)
                break
        if address is None:
            raise RuntimeError("Chromium did not start")
        threading.Thread(target=lambda: [None for _ in self.process.stderr], daemon=True).start()
        # The browser's endpoint; the page is one of its targets.
        self.socket = await websockets.connect(address, max_size=None)
        self.reader = asyncio.ensure_future(self._read())
        targets = await self.call("Target.getTargets")
        page = next(t for t in targets["targetInfos"] if t["type"] == "page")
        attached = await self.call("Target.attachToTarget", targetId=page["targetId"], flatten=True)
        self.session = attached["sessionId"]
        await self.page("Page.enable")
        await self.page("Runtime.enable")
        self.version = (await self.call("Browser.getVersion"))["product"].split("/")[-1]
        return self

    async def __aexit__(self, *exc):
        self.reader.cancel()
        await self.socket.close()
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.profile, ignore_errors=True)
        if self.downloads:
            shutil.rmtree(self.downloads, ignore_errors=True)

    async def _read(self):
        async for message in self.socket:
            data = json.loads(message)
            if "id" in data and data["id"] in self.pending:
                self.pending.pop(data["id"]).set_result(data)
            elif data.get("method") == "Runtime.consoleAPICalled":
                args = data["params"]["args"]
                self.console.append(" ".join(str(a.get("value", a.get("description", ""))) for a in args))
            elif data.get("method") == "Runtime.exceptionThrown":
                details = data["params"]["exceptionDetails"]
                self.console.append("exception: " + json.dumps(details)[:400])
                self.problems.append(details.get("exception", {}).get("description") or details.get("text"))
            elif data.get("method") == "Target.attachedToTarget" and "sessionId" not in data:
                asyncio.ensure_future(self._worker_started(data["params"]))
            else:
                self.events.append(data)

    async def watch_workers(self, on=True):
        """Reports the network events of service workers as they start, as the page's are
        once Network.enable is called; a worker waits until that is done."""
        self.workers = set()
        await self.call("Target.setAutoAttach", autoAttach=on, waitForDebuggerOnStart=on, flatten=True)

    async def _worker_started(self, params):
        session = params["sessionId"]
        if params["targetInfo"]["type"] == "service_worker":
            self.workers.add(session)
            await self.call("Network.enable", session=session)
        if params.get("waitingForDebugger"):
            await self.call("Runtime.runIfWaitingForDebugger", session=session)

    async def call(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        future = asyncio.get_running_loop().create_future()
        self.pending[self.next_id] = future
        await self.socket.send(json.dumps(message))
        reply = await asyncio.wait_for(future, 60)
        if "error" in reply:
            raise RuntimeError("%s: %s" % (method, reply["error"]))
        return reply.get("result", {})

    async def page(self, method, **params):
        return await self.call(method, session=self.session, **params)

    # ---------------------------------------------------------------- the page

    async def viewport(self, width, height, ratio=1.0, mobile=False):
        await self.page("Emulation.setDeviceMetricsOverride", width=width, height=height,
                        deviceScaleFactor=ratio, mobile=mobile)

    async def open(self, address):
        await self.page("Page.navigate", url=address)

    async def reload(self):
        await self.page("Page.reload")

    async def take_problems(self):
        """The errors and unhandled rejections of the page's scripts since the last call."""
        found, self.problems = self.problems, []
        return found

    async def forget_storage(self, site):
        await self.page("Storage.clearDataForOrigin", origin=site.rstrip("/"), storageTypes="local_storage")

    async def download_folder(self):
        """Where the page's downloads land."""
        if self.downloads is None:
            self.downloads = tempfile.mkdtemp(prefix="lesson-downloads-")
            await self.call("Browser.setDownloadBehavior", behavior="allow", downloadPath=self.downloads)
        return self.downloads

    async def offline(self, on):
        await self.page("Network.emulateNetworkConditions", offline=on, latency=0,
                        downloadThroughput=-1, uploadThroughput=-1)

    async def evaluate(self, expression):
        result = await self.page("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(result["exceptionDetails"])
        return result["result"].get("value")

    async def screenshot(self):
        shot = await self.page("Page.captureScreenshot", format="png", captureBeyondViewport=False)
        return Image.open(io.BytesIO(base64.b64decode(shot["data"]))).convert("RGB")

    async def touch_screen(self, on):
        """A screen that takes fingers: touch events, and the page told of touch points."""
        await self.page("Emulation.setTouchEmulationEnabled", enabled=on, maxTouchPoints=5)

    async def allow_clipboard(self, site):
        await self.call("Browser.grantPermissions", permissions=["clipboardReadWrite", "clipboardSanitizedWrite"],
                        origin=site.rstrip("/"))

    async def clipboard_picture(self):
        """The picture on the clipboard, as the page reads it."""
        data = await self.evaluate("""navigator.clipboard.read().then(items => items[0].getType('image/png'))
            .then(blob => new Promise(r => { const f = new FileReader(); f.onload = () => r(f.result); f.readAsDataURL(blob); }))""")
        return Image.open(io.BytesIO(base64.b64decode(data.split(",", 1)[1])))

    # ---------------------------------------------------------------- input

    async def mouse(self, kind, x, y, button="left", buttons=1):
        await self.page("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                        buttons=buttons if kind != "mouseReleased" else 0, clickCount=1)

    async def click(self, x, y, button="left"):
        await self.mouse("mouseMoved", x, y, button="none", buttons=0)
        await self.mouse("mousePressed", x, y, button=button, buttons={"left": 1, "right": 2}[button])
        await self.mouse("mouseReleased", x, y, button=button)

    async def drag(self, start, end, steps=6):
        await self.mouse("mouseMoved", *start, button="none", buttons=0)
        await self.mouse("mousePressed", *start)
        for x, y in path(start, end, steps)[1:]:
            await self.mouse("mouseMoved", x, y)
        await self.mouse("mouseReleased", *end)

    async def touch_drag(self, start, end, steps=6):
        await self.page("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": start[0], "y": start[1]}])
        for x, y in path(start, end, steps)[1:]:
            await self.page("Input.dispatchTouchEvent", type="touchMove", touchPoints=[{"x": x, "y": y}])
        await self.page("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    async def tap(self, x, y):
        await self.page("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        await self.page("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    async def key(self, key, code, key_code, modifiers=0, text=None):
        down = dict(type="keyDown" if text is None else "keyDown", key=key, code=code,
                    windowsVirtualKeyCode=key_code, modifiers=modifiers)
        if text is not None:
            down["text"] = text
        await self.page("Input.dispatchKeyEvent", **down)
        await self.page("Input.dispatchKeyEvent", type="keyUp", key=key, code=code,
                        windowsVirtualKeyCode=key_code, modifiers=modifiers)

    # The keys of a US keyboard for what answers are typed with: (key code, code, Shift).
    TYPED_KEYS = {**{str(d): (48 + d, "Digit%d" % d, False) for d in range(10)},
                  **{c: (ord(c.upper()), "Key" + c.upper(), False) for c in "xy"},
                  ".": (190, "Period", False), "-": (189, "Minus", False), "=": (187, "Equal", False),
                  "+": (187, "Equal", True)}

    async def type(self, text):
        """Types text key by key, as a hardware keyboard sends it: each key down with its
        character, and up."""
        for character in text:
            key_code, code, shift = self.TYPED_KEYS[character]
            await self.key(character, code, key_code, modifiers=8 if shift else 0, text=character)


def colour(image, x, y):
    return image.getpixel((int(x), int(y)))
