"""What the end-to-end cases share: the cafe's addresses, tokend on the gateway namespace,
and the verdicts."""
import os
import re
import signal
import subprocess
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
GW_ADDR, PC_ADDR, OTHER_ADDR = "10.77.0.1", "10.77.0.2", "10.78.0.1"


def run(*args, check=True, **kw):
    return subprocess.run(list(args), check=check, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, **kw)


class Failed(Exception):
    pass


def expect(condition, what, detail=""):
    if not condition:
        raise Failed(what + (": " + str(detail) if detail else ""))


def wait_for(condition, seconds, step=0.05):
    """True once condition() holds, False when seconds pass first."""
    deadline = time.time() + seconds
    while True:
        if condition():
            return True
        if time.time() >= deadline:
            return False
        time.sleep(step)


class Tokend:
    """tokend in the gateway namespace, logging to a file."""

    def __init__(self, work, name, *args):
        self.log_path = os.path.join(work, name + ".log")
        self.log = open(self.log_path, "w")
        self.proc = subprocess.Popen(["ip", "netns", "exec", os.environ["E2E_GW"], os.environ["E2E_TOKEND"]]
                                     + list(args), stdout=self.log, stderr=subprocess.STDOUT)
        deadline = time.time() + 10
        while "listening" not in self.text() and time.time() < deadline:
            if self.proc.poll() is not None:
                raise RuntimeError("tokend ended: " + self.text())
            time.sleep(0.02)

    def text(self):
        with open(self.log_path) as f:
            return f.read()

    def requests(self, verb):
        """(seq, note) of every datagram of verb the server received."""
        return [(seq, note) for _, seq, note in self.timed_requests(verb)]

    def timed_requests(self, verb):
        """(seconds, seq, note) of every datagram of verb the server received."""
        found = []
        for line in self.text().splitlines():
            m = re.match(r"tokend: (\S+) in  \S+ (\S+)(?: .*?)?(?: Seq:(-?\d+))?( \[\w+\])?$", line)
            if m and m.group(2) == verb:
                found.append((float(m.group(1)), m.group(3), m.group(4) or ""))
        return found

    def stop(self):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.log.close()
