#!/usr/bin/python3
"""The web site as nginx serves it with web/nginx.conf.in (what `scripts/lesson web` and
the browser tests use): every file of the site, asked for with and without gzip, comes
with the type a browser needs and, where the browser accepts it, as its .gz copy, which
holds the same bytes as the file.

    tst_web_server.py --site build-web/site
"""
import argparse
import gzip
import os
import sys
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import serve  # noqa: E402

# What a browser needs to be told: a program it may compile while it streams in, scripts it
# runs, a manifest it installs from.
TYPES = {
    ".html": "text/html", ".js": "application/javascript", ".wasm": "application/wasm",
    ".webmanifest": "application/manifest+json", ".svg": "image/svg+xml", ".png": "image/png",
    ".ttf": "font/ttf", ".txt": "text/plain", ".py": "text/plain",
}


def fetch(address, accept_gzip):
    request = urllib.request.Request(address, headers={"Accept-Encoding": "gzip"} if accept_gzip else {})
    with urllib.request.urlopen(request) as response:
        return response.headers, response.read()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    args = parser.parse_args()
    site = os.path.abspath(args.site)
    files = sorted(os.path.relpath(os.path.join(d, f), site) for d, _, fs in os.walk(site) for f in fs)
    served = [f for f in files if not f.endswith(".gz")]
    failures = []

    def expect(condition, what):
        if not condition:
            failures.append(what)

    with serve(site) as address:
        for name in served + [""]:
            path = os.path.join(site, name or "index.html")
            plain = open(path, "rb").read()
            compressed = path + ".gz" if os.path.exists(path + ".gz") else None
            # Every file but the PNG pictures has a .gz copy, and it is the file's own bytes.
            expect((compressed is None) == name.endswith(".png"), "%s: .gz copy %s" % (name, compressed))
            if compressed:
                expect(gzip.decompress(open(compressed, "rb").read()) == plain, "%s.gz is not the file" % name)
            for accept_gzip in (False, True):
                headers, body = fetch(address + name, accept_gzip)
                kind = headers.get_content_type()
                expect(kind == TYPES[os.path.splitext(path)[1]], "%s is sent as %s" % (name, kind))
                encoded = accept_gzip and compressed is not None
                expect(headers.get("Content-Encoding") == ("gzip" if encoded else None),
                       "%s, gzip %s accepted: Content-Encoding %s" % (name, "" if accept_gzip else "not",
                                                                       headers.get("Content-Encoding")))
                wanted = open(compressed, "rb").read() if encoded else plain
                expect(body == wanted, "%s, gzip %saccepted: other bytes than the site's" % (name, "" if accept_gzip else "not "))
                expect(not compressed or "Accept-Encoding" in headers.get("Vary", ""), "%s: no Vary" % name)
        headers, _ = fetch(address + "service-worker.js", True)
        expect(headers.get("Cache-Control") == "no-cache", "the service worker may be kept in a cache")

    for failure in failures:
        print("FAIL!  " + failure)
    print("%d files served with and without gzip" % len(served))
    print("Totals: %d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
