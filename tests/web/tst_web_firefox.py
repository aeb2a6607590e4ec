#!/usr/bin/python3
"""Smoke test: Firefox renders the lesson too, in a window on a virtual X screen (Xvfb)
photographed with ImageMagick; and headless, with WebAssembly switched off, the page says
plainly that it cannot run there.

    tst_web_firefox.py --site build-web/site
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import serve  # noqa: E402
from lesson_page import FORM, GREEN, TRAY  # noqa: E402
from PIL import Image  # noqa: E402

PREFERENCES = """
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("browser.aboutwelcome.enabled", false);
user_pref("app.update.disabledForTesting", true);
"""


def counts(image):
    found = {}
    for colour in image.getdata():
        found[colour] = found.get(colour, 0) + 1
    return found


def without_webassembly(site):
    """A browser without WebAssembly: the page must say plainly that it cannot run there."""
    profile = tempfile.mkdtemp(prefix="lesson-firefox-")
    try:
        with open(os.path.join(profile, "user.js"), "w") as prefs:
            prefs.write(PREFERENCES + 'user_pref("javascript.options.wasm", false);\n')
        shot = os.path.join(profile, "headless.png")
        with serve(site) as address:
            subprocess.run(["firefox-esr", "--headless", "--no-remote", "--profile", profile, "--screenshot", shot,
                            "--window-size=900,600", address], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=120, check=True)
        found = counts(Image.open(shot).convert("RGB"))
    finally:
        shutil.rmtree(profile, ignore_errors=True)
    # The notice's title on its blue band, on the form's colour; no blackboard.
    if found.get((0, 0, 255), 0) > 3000 and found.get(FORM, 0) > 300000 and found.get(GREEN, 0) == 0:
        print("PASS   without WebAssembly the page says the program cannot run there")
        return 0
    print("FAIL!  without WebAssembly: colours seen %s" % sorted(found.items(), key=lambda kv: -kv[1])[:6])
    return 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--timeout", type=float, default=90)
    args = parser.parse_args()

    profile = tempfile.mkdtemp(prefix="lesson-firefox-")
    with open(os.path.join(profile, "user.js"), "w") as prefs:
        prefs.write(PREFERENCES)
    failed = without_webassembly(args.site)
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1100x800x24", "-nolisten", "tcp"],
                            pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    display = ":" + os.read(read, 16).decode().strip()
    env = {**os.environ, "DISPLAY": display}
    firefox = None
    try:
        with serve(args.site) as address:
            firefox = subprocess.Popen(["firefox-esr", "--no-remote", "--profile", profile, "--kiosk", address],
                                       env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            started = time.monotonic()
            shot_path = os.path.join(profile, "screen.png")
            found = {}
            while time.monotonic() - started < args.timeout:
                time.sleep(1)
                subprocess.run(["import", "-window", "root", "-depth", "8", shot_path], env=env, check=True)
                found = counts(Image.open(shot_path).convert("RGB"))
                # The blackboard, its tray and the form around them, in their exact colours.
                if found.get(GREEN, 0) > 100000 and found.get(TRAY, 0) > 40000 and found.get(FORM, 0) > 20000:
                    shutil.copyfile(shot_path, os.path.join(tempfile.gettempdir(), "lesson-firefox.png"))
                    print("PASS   Firefox shows the window %.1f s after it started" % (time.monotonic() - started))
                    return failed
            print("FAIL!  Firefox never showed the blackboard; colours seen: %s"
                  % sorted(found.items(), key=lambda kv: -kv[1])[:6])
            return 1
    finally:
        if firefox:
            firefox.terminate()
            try:
                firefox.wait(10)
            except subprocess.TimeoutExpired:
                firefox.kill()
        xvfb.terminate()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
