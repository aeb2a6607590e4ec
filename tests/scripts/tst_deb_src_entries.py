#!/usr/bin/python3
"""scripts/deb-src-entries.awk on a school's apt sources, read back by apt itself: apt then
has a deb-src entry for exactly the bookworm suites (main) of the deb entries that had
none, and reads it all without an error or a warning, so each Signed-By agrees too.

    tst_deb_src_entries.py <source folder>
"""
import os
import subprocess
import sys
import tempfile

KEY = "/usr/share/keyrings/debian-archive-keyring.gpg"
SOURCES = {
    # Options, a comment, a line that has its deb-src, a trusted mirror, lines to pass over.
    "sources.list": """\
deb [arch=amd64 signed-by=%s] http://mirror.school.example/debian bookworm main contrib # ours
  deb http://mirror.school.example/debian-security bookworm-security main
deb-src http://mirror.school.example/debian-security bookworm-security main
# deb http://mirror.school.example/debian bookworm-backports main
deb [ trusted=yes ] http://nas.school.example/debian bookworm-updates main
deb http://old.example/debian bullseye main
deb https://vendor.example/linux/debian bookworm stable
""" % KEY,
    # Folded suites, both types in one stanza, a disabled stanza, an inline key.
    "sources.list.d/debian.sources": """\
Types: deb
# a comment
URIs: http://deb.example/debian
Suites: bookworm
  bookworm-updates
Components: main
Signed-By: %s

types: deb deb-src
uris: http://both.example/debian
suites: bookworm
components: main

Types: deb
URIs: http://off.example/debian
Suites: bookworm
Components: main
Enabled: no

Types: deb
URIs: http://inline.example/debian
Suites: bookworm-security
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mDMEZSchoolKey
 -----END PGP PUBLIC KEY BLOCK-----
""" % KEY,
}


def targets(folder):
    """(type, address, suite, component) as apt reads the folder's sources, and its complaints."""
    result = subprocess.run(
        ["apt-get", "indextargets", "--no-release-info", "--format", "$(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT)",
         "-o", "Dir::Etc::SourceList=%s/sources.list" % folder, "-o", "Dir::Etc::SourceParts=%s/sources.list.d" % folder,
         "-o", "Dir::State::Lists=%s" % folder], capture_output=True, text=True)
    return {tuple(line.split()) for line in result.stdout.splitlines()}, result.stderr.strip()


def main():
    with tempfile.TemporaryDirectory() as folder:
        os.makedirs(os.path.join(folder, "sources.list.d"))
        for name, text in SOURCES.items():
            open(os.path.join(folder, name), "w").write(text)
        before, _ = targets(folder)
        written = subprocess.run(["awk", "-v", "codename=bookworm", "-f", os.path.join(sys.argv[1], "scripts", "deb-src-entries.awk")]
                                 + [os.path.join(folder, name) for name in SOURCES], check=True, capture_output=True, text=True).stdout
        open(os.path.join(folder, "sources.list.d", "function-lesson-sources.sources"), "w").write(written)
        after, complaints = targets(folder)
    wanted = {("deb-src",) + t[1:] for t in before if t[0] == "deb" and t[3] == "main"
              and t[2] in ("bookworm", "bookworm-updates", "bookworm-security")} - before
    failures = ["apt complains: " + complaints] if complaints else []
    if after - before != wanted or not wanted:
        failures.append("deb-src entries written for %s, wanted for %s" % (sorted(after - before), sorted(wanted)))
    for failure in failures:
        print("FAIL!  " + failure)
    print("%d deb-src entries written" % len(after - before))
    print("Totals: %d passed, %d failed" % (not failures, bool(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
