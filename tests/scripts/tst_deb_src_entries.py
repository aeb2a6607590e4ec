#!/usr/bin/python3
"""scripts/deb-src-entries.awk on the apt sources of a school's machine, read back by apt
itself: with the entries it writes, apt has a deb-src entry for exactly the deb entries of
Debian 12's suites (main component) that had none, and reads the whole without an error or
a warning (which also holds their Signed-By to the deb entries' own).

    tst_deb_src_entries.py <source folder>
"""
import os
import subprocess
import sys
import tempfile

RELEASE_SUITES = {"bookworm", "bookworm-updates", "bookworm-security"}

# One-line entries: a school's mirror with options, the security archive without, a local
# mirror trusted without a key, a line already with its deb-src, lines to pass over.
SOURCES_LIST = """\
# The school's mirror
deb [arch=amd64 signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://mirror.school.example/debian bookworm main contrib non-free-firmware
  deb http://mirror.school.example/debian-security bookworm-security main # security
# deb http://mirror.school.example/debian bookworm-backports main
deb [ trusted=yes ] http://nas.school.example/debian bookworm-updates main
deb http://old.example/debian bullseye main
deb-src http://mirror.school.example/debian-security bookworm-security main
deb https://vendor.example/linux/debian bookworm stable
"""

# deb822 stanzas: several suites folded over lines, both types in one stanza, a disabled
# stanza, an inline key, a repository of its own suite.
DEBIAN_SOURCES = """\
Types: deb
# a comment inside the stanza
URIs: http://deb.example/debian
Suites: bookworm
  bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

types: deb deb-src
uris: http://both.example/debian
suites: bookworm
components: main

Types: deb
URIs: http://disabled.example/debian
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
 mDMEZSchoolKeyForTheTest
 =abcd
 -----END PGP PUBLIC KEY BLOCK-----
"""

NODESOURCE = """\
Types: deb
URIs: https://node.example/node_20.x
Suites: nodistro
Components: main
"""


def targets(folder):
    """What apt makes of the folder's sources: (type, address, suite, component), and what
    it complained of."""
    result = subprocess.run(
        ["apt-get", "indextargets", "--no-release-info",
         "-o", "Dir::Etc::SourceList=" + os.path.join(folder, "sources.list"),
         "-o", "Dir::Etc::SourceParts=" + os.path.join(folder, "sources.list.d"),
         "-o", "Dir::State::Lists=" + os.path.join(folder, "lists"),
         "--format", "$(TARGET_OF) $(REPO_URI) $(RELEASE) $(COMPONENT)"],
        capture_output=True, text=True)
    return {tuple(line.split()) for line in result.stdout.splitlines() if line.strip()}, result.stderr.strip()


def main():
    source = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        parts = os.path.join(folder, "sources.list.d")
        os.makedirs(parts)
        os.makedirs(os.path.join(folder, "lists"))
        inputs = {os.path.join(folder, "sources.list"): SOURCES_LIST,
                  os.path.join(parts, "debian.sources"): DEBIAN_SOURCES,
                  os.path.join(parts, "nodesource.sources"): NODESOURCE}
        for path, text in inputs.items():
            with open(path, "w") as out:
                out.write(text)
        before, complaints = targets(folder)
        if complaints:
            failures.append("apt does not read the test's own sources: " + complaints)
        written = subprocess.run(["awk", "-v", "codename=bookworm", "-f",
                                  os.path.join(source, "scripts", "deb-src-entries.awk"), *inputs],
                                 check=True, capture_output=True, text=True).stdout
        with open(os.path.join(parts, "function-lesson-sources.sources"), "w") as out:
            out.write(written)
        after, complaints = targets(folder)
        if complaints:
            failures.append("apt complains of the entries written: " + complaints)

        wanted = {("deb-src", uri, suite, "main") for kind, uri, suite, component in before
                  if kind == "deb" and suite in RELEASE_SUITES and component == "main"}
        new = {t for t in after - before}
        if new != wanted - before:
            failures.append("deb-src entries written for %s, wanted for %s" % (sorted(new), sorted(wanted - before)))
        if any(t[0] != "deb-src" for t in new):
            failures.append("entries other than deb-src written: %s" % sorted(t for t in new if t[0] != "deb-src"))
        if not new:
            failures.append("nothing written")
    for failure in failures:
        print("FAIL!  " + failure)
    print("%d deb-src entries written" % len(new))
    print("Totals: %d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
