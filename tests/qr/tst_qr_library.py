#!/usr/bin/python3
"""Debian's QR code library as the lesson links it: the code of each address, drawn as a
phone's camera sees it, reads back as that address (zbarimg); the browser build's library,
run under Node.js, gives the very same modules.

    tst_qr_library.py build/tests/qr_modules [build-web/qr_modules.js]
"""
import os
import subprocess
import sys
import tempfile

from PIL import Image

# Local and a school's, with a percent-encoded Japanese folder, up to a large code.
ADDRESSES = [
    "http://127.0.0.1:8080/index.html#figure=31203",
    "http://192.168.10.20/%E9%96%A2%E6%95%B0%E3%81%AE%E5%88%A9%E7%94%A8/index.html#figure=12321",
    "https://intranet.school.example/" + "/".join("year-%d" % n for n in range(1, 30)) + "/index.html#figure=33333",
]


def modules(command, address):
    return subprocess.run(command + [address], check=True, capture_output=True, text=True).stdout.split()


def read_back(rows, path, quiet=4, scale=4):
    picture = Image.new("L", ((len(rows) + 2 * quiet) * scale,) * 2, 255)
    for y, row in enumerate(rows):
        for x in (x for x, module in enumerate(row) if module == "#"):
            picture.paste(0, ((x + quiet) * scale, (y + quiet) * scale, (x + quiet + 1) * scale, (y + quiet + 1) * scale))
    picture.save(path)
    return subprocess.run(["zbarimg", "--quiet", "--raw", path], capture_output=True, text=True).stdout.rstrip("\n")


def main():
    browser = ["node", sys.argv[2]] if len(sys.argv) > 2 else None
    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        for address in ADDRESSES:
            rows = modules([sys.argv[1]], address)
            problems = [] if read_back(rows, os.path.join(folder, "code.png")) == address else ["does not read back"]
            if browser and modules(browser, address) != rows:
                problems.append("the browser build's library gives other modules")
            failed += bool(problems)
            print("%s  %d×%d  %s  %s" % ("FAIL!" if problems else "PASS ", len(rows), len(rows), address, "; ".join(problems)))
    if not browser:
        print("(no browser build given to compare)")
    print("Totals: %d passed, %d failed" % (len(ADDRESSES) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
