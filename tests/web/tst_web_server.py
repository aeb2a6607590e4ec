#!/usr/bin/python3
"""Every file of the web site as nginx serves it with web/nginx.conf.in, asked for with and
without gzip: the type a browser needs, the .gz copy (which unpacks to the file) exactly
when gzip is accepted and a copy exists, and a copy for every file but the PNG icons.

    tst_web_server.py --site build-web/site
"""
import gzip
import os
import sys
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import serve  # noqa: E402

TYPES = {".html": "text/html", ".js": "application/javascript", ".wasm": "application/wasm",
         ".webmanifest": "application/manifest+json", ".svg": "image/svg+xml", ".png": "image/png",
         ".ttf": "font/ttf", ".txt": "text/plain", ".py": "text/plain"}


def main():
    site = os.path.abspath(sys.argv[sys.argv.index("--site") + 1])
    names = sorted(os.path.relpath(os.path.join(d, f), site) for d, _, fs in os.walk(site) for f in fs)
    served = [n for n in names if not n.endswith(".gz")]
    failures = []
    with serve(site) as address:
        for name in served:
            plain = open(os.path.join(site, name), "rb").read()
            copy = open(os.path.join(site, name + ".gz"), "rb").read() if name + ".gz" in names else None
            if (copy is None) != name.endswith(".png") or (copy and gzip.decompress(copy) != plain):
                failures.append("%s: its .gz copy is missing, needless or not the file" % name)
            for accept in (False, True):
                request = urllib.request.Request(address + name, headers={"Accept-Encoding": "gzip"} if accept else {})
                with urllib.request.urlopen(request) as response:
                    got = (response.headers.get_content_type(), response.headers.get("Content-Encoding"), response.read())
                wanted = (TYPES[os.path.splitext(name)[1]], "gzip", copy) if accept and copy else \
                    (TYPES[os.path.splitext(name)[1]], None, plain)
                if got != wanted:
                    failures.append("%s, gzip%s accepted: %s, %s, %d bytes" % (name, "" if accept else " not", got[0],
                                                                               got[1], len(got[2])))
    for failure in failures:
        print("FAIL!  " + failure)
    print("%d files served with and without gzip" % len(served))
    print("Totals: %d passed, %d failed" % (not failures, bool(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
