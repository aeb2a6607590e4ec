#!/usr/bin/python3
"""scripts/lesson's apt-get, while another process holds one of apt's or dpkg's locks: it says
it waits, is still waiting while the lock is held, and succeeds once it is released. apt runs
on a folder of its own (APT_CONFIG, no sources), so no root and no network are needed, and the
locks are real fcntl locks held by this process, as apt and dpkg hold them.

    tst_apt_lock_wait.py <source folder>
"""
import fcntl
import os
import subprocess
import sys
import tempfile
import time

HELD = 1.5  # seconds a lock is held before it is released
# (name, lock held or None, command, what the script does before the command, released or kept)
CASES = [
    ("update, lists", "lists/lock", "apt_get update", "", True),
    ("install, dpkg frontend", "dpkg/lock-frontend", "apt_get install -y", "", True),
    ("install, dpkg", "dpkg/lock", "apt_get install -y", "", True),
    ("install, downloads", "cache/archives/lock", "apt_get install -y", "", True),
    # A lock taken just after the script looked: apt's own timeout has to cover it.
    ("taken after the check", "dpkg/lock-frontend", "apt_get install -y", "apt_lock_holder() { return 1; }", True),
    # bash counts SECONDS in whole seconds of the clock: a timeout of 2 is over 1 s.
    ("gives up", "lists/lock", "apt_get update", "apt_lock_timeout=2", False),
    ("no other installation", None, "apt_get update", "", True),
]


def apt_folder(folder):
    for sub in ("dpkg", "lists/partial", "cache/archives/partial", "etc/apt.conf.d"):
        os.makedirs(os.path.join(folder, sub))
    for name in ("dpkg/status", "etc/sources.list"):
        open(os.path.join(folder, name), "w").close()
    config = os.path.join(folder, "apt.conf")
    with open(config, "w") as f:
        f.write('Dir::State::status "%s/dpkg/status";\nDir::State::Lists "%s/lists";\n'
                'Dir::Cache "%s/cache";\nDir::Etc "%s/etc";\nDir::Log "%s";\n' % ((folder,) * 5))
    return config


def run(source, config, lock, command, before, released):
    """The failures of one case."""
    env = dict(os.environ, APT_CONFIG=config)
    script = 'source "$1"/scripts/lesson; as_root=(); %s\n%s' % (before, command)
    fd = None
    if lock:
        fd = os.open(os.path.join(os.path.dirname(config), lock), os.O_RDWR | os.O_CREAT, 0o640)
        fcntl.lockf(fd, fcntl.LOCK_EX | fcntl.LOCK_NB)
    started = time.monotonic()
    child = subprocess.Popen(["bash", "-c", script, "bash", source], env=env, text=True,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    failures = []
    if fd is not None and released:
        time.sleep(HELD)
        if child.poll() is not None:
            failures.append("ended (%s) while the lock was held" % child.returncode)
        os.close(fd)
    try:
        output, _ = child.communicate(timeout=30)
    except subprocess.TimeoutExpired:
        child.kill()
        output, _ = child.communicate()
        failures.append("still running after 30 s")
    took = time.monotonic() - started
    if fd is not None and not released:
        os.close(fd)
        if took < 1:
            failures.append("gave up after %.1f s, before its timeout" % took)
    if (child.returncode == 0) != released:
        failures.append("exit status %s" % child.returncode)
    comm = open("/proc/self/comm").read().strip()
    told = "Waiting for another installation to finish (%s, process %d)" % (comm, os.getpid())
    if (told in output) != (lock is not None and "return 1" not in before):
        failures.append("the waiting line is %s" % ("there" if told in output else "missing"))
    if lock is None and took > 10:
        failures.append("took %.1f s with no lock held" % took)
    return ["%s\n%s" % (failure, output.rstrip()) for failure in failures]


def main():
    failures = []
    for name, lock, command, before, released in CASES:
        with tempfile.TemporaryDirectory() as folder:
            for failure in run(sys.argv[1], apt_folder(folder), lock, command, before, released):
                failures.append("%s: %s" % (name, failure))
    for failure in failures:
        print("FAIL!  " + failure)
    passed = len(CASES) - len({failure.split(":")[0] for failure in failures})
    print("Totals: %d passed, %d failed" % (passed, len(CASES) - passed))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
