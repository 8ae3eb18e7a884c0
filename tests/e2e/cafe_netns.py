#!/usr/bin/env python3
"""End-to-end tests in a simulated cafe network.

A "gateway" network namespace runs tokend; a "PC" namespace, whose default route goes
through the gateway, runs the Windows programs under Wine with a Wine server and a virtual
display of their own: tokenprobe.exe (token_cases.py) and lorvik.exe itself, driven with
clicks and compared with skinshot's pictures (program_cases.py). Both namespaces are made
here with unique names and removed on every exit path. Nothing is sent outside them. Skips
(exit 77, saying why) where namespaces cannot be made.

usage: cafe_netns.py [HOST_BUILD [WIN_BUILD]]   (defaults build/host, build/win64)
       E2E_ONLY=WORD runs the cases whose names hold WORD; E2E_KEEP=1 keeps the logs.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # the case modules leave no __pycache__ in the source tree
sys.stdout.reconfigure(line_buffering=True)  # each line before the Wine programs' output
SKIPPED = 77  # the exit status of a run that could not be made here
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from cafe import GW_ADDR, OTHER_ADDR, PC_ADDR, ROOT, Failed, run  # noqa: E402


# ---------------------------------------------------------------- outer: the namespaces

class Namespaces:
    def __init__(self):
        tag = str(os.getpid())
        self.gw, self.pc = "lorvik-gw-" + tag, "lorvik-pc-" + tag
        self.made = []

    def make(self):
        veth_pc, veth_gw = "lvp" + str(os.getpid()), "lvg" + str(os.getpid())
        steps = [
            ["ip", "netns", "add", self.gw], ["ip", "netns", "add", self.pc],
            ["ip", "link", "add", veth_pc, "type", "veth", "peer", "name", veth_gw],
            ["ip", "link", "set", veth_pc, "netns", self.pc],
            ["ip", "link", "set", veth_gw, "netns", self.gw],
            ["ip", "-n", self.gw, "addr", "add", GW_ADDR + "/24", "dev", veth_gw],
            ["ip", "-n", self.gw, "addr", "add", OTHER_ADDR + "/32", "dev", "lo"],
            ["ip", "-n", self.gw, "link", "set", veth_gw, "up"],
            ["ip", "-n", self.gw, "link", "set", "lo", "up"],
            ["ip", "-n", self.pc, "addr", "add", PC_ADDR + "/24", "dev", veth_pc],
            ["ip", "-n", self.pc, "link", "set", veth_pc, "up"],
            ["ip", "-n", self.pc, "link", "set", "lo", "up"],
            ["ip", "-n", self.pc, "route", "add", "default", "via", GW_ADDR],
        ]
        for step in steps:
            result = run(*step, check=False)
            if step[1:3] == ["netns", "add"] and result.returncode == 0:
                self.made.append(step[3])
            if result.returncode != 0:
                return "'%s' failed: %s" % (" ".join(step), result.stdout.strip())
        return None

    def remove(self):
        for ns in reversed(self.made):
            run("ip", "netns", "del", ns, check=False)
        self.made = []


def outer(host_build, win_build):
    programs = {
        "E2E_TOKEND": os.path.join(host_build, "tools", "tokend"),
        "E2E_PROBE": os.path.join(win_build, "tools", "tokenprobe.exe"),
        "E2E_LORVIK": os.path.join(win_build, "app", "lorvik.exe"),
        "E2E_SKINSHOT": os.path.join(win_build, "tools", "skinshot", "skinshot.exe"),
        "E2E_TRAYPROBE": os.path.join(win_build, "tests", "trayprobe.exe"),
    }
    for path in programs.values():
        if not os.path.exists(path):
            print("e2e: missing %s (build both presets first)" % path)
            return 1
    if os.geteuid() != 0 or not shutil.which("ip"):
        print("e2e: SKIPPED: network namespaces need root and iproute2 (ip netns)")
        return SKIPPED
    ns = Namespaces()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    try:
        problem = ns.make()
        if problem:
            print("e2e: SKIPPED: network namespaces cannot be made here: " + problem)
            return SKIPPED
        prefix = os.path.join(win_build, "wineprefix-netns")
        if not os.path.isdir(os.path.join(prefix, "drive_c")):
            print("e2e: creating the Wine prefix for namespaces (once, about 20 s)", flush=True)
        env = dict(os.environ, E2E_GW=ns.gw, E2E_PC=ns.pc,
                   **{name: os.path.abspath(path) for name, path in programs.items()})
        inner_cmd = ["ip", "netns", "exec", ns.pc, os.path.join(ROOT, "scripts", "with-wine"), prefix,
                     sys.executable, os.path.abspath(__file__), "--inner"]
        return subprocess.run(inner_cmd, env=env).returncode
    finally:
        ns.remove()


# ---------------------------------------------------------------- inner: the cases, in the PC namespace

def inner():
    import program_cases
    import token_cases

    cases = token_cases.CASES + program_cases.CASES
    only = os.environ.get("E2E_ONLY")
    if only:
        cases = [case for case in cases if only in case.__name__]
    work = tempfile.mkdtemp(prefix="lorvik-e2e-")
    failed = 0
    try:
        for case in cases:
            start = time.time()
            name = case.__name__[5:].replace("_", " ")
            try:
                case(work)
                print("e2e: PASS %-30s (%.1f s)" % (name, time.time() - start))
            except (Failed, RuntimeError, subprocess.TimeoutExpired) as problem:
                failed += 1
                print("e2e: FAIL %-30s %s" % (name, problem))
            sys.stdout.flush()
        print("e2e: %d of %d passed" % (len(cases) - failed, len(cases)))
    finally:
        if os.environ.get("E2E_KEEP"):
            print("e2e: logs kept in " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    if sys.argv[1:2] == ["--inner"]:
        sys.exit(inner())
    args = sys.argv[1:]
    sys.exit(outer(os.path.abspath(args[0] if args else os.path.join(ROOT, "build", "host")),
                   os.path.abspath(args[1] if len(args) > 1 else os.path.join(ROOT, "build", "win64"))))
