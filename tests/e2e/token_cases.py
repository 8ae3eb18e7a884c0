"""The token client alone: tokenprobe.exe under Wine on the PC namespace, against tokend on
the gateway."""
import json
import os
import re
import shutil
import subprocess
import time

from cafe import GW_ADDR, OTHER_ADDR, Tokend, expect


def probe(work, name, args, config=None, background=False):
    """Runs tokenprobe.exe from a folder of its own (with authipconf.ini when config is set)."""
    folder = os.path.join(work, name)
    os.makedirs(folder, exist_ok=True)
    exe = os.path.join(folder, "tokenprobe.exe")
    shutil.copy(os.environ["E2E_PROBE"], exe)
    if config is not None:
        with open(os.path.join(folder, "authipconf.ini"), "wb") as f:
            f.write(config)
    cmd = ["wine", exe, "--json"] + args
    if background:
        return subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    result = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=90)
    return result.returncode, parse(result.stdout)


def parse(output):
    events = []
    for line in output.splitlines():
        line = line.strip()
        if line.startswith("{"):
            events.append(json.loads(line))
    return events


def tokens(events, kind):
    return [e for e in events if e.get("event") == "token" and e["kind"] == kind]


def logins(events):
    """The answers to the session's own logins, in order."""
    return [e["result"] for e in events if e.get("event") == "login"]


def case_gateway_discovery(work):
    server = Tokend(work, "gateway", "--bind", GW_ADDR)
    try:
        status, events = probe(work, "gateway", ["--get", "--check", "2"])
        expect(events and events[0] == {"t_ms": events[0]["t_ms"], "event": "server", "address": GW_ADDR,
                                         "source": "gateway"}, "server found through the gateway", events[:1])
        got, checks = tokens(events, 3), tokens(events, 4)
        expect(len(got) == 1 and got[0]["result"] == 0 and re.fullmatch(r"\d{6}", got[0]["token"]),
               "a six-digit code", got)
        expect(len(checks) == 2 and all(c["result"] == 0 and c["value"] == 1 for c in checks),
               "two checks say valid", checks)
        expect(status == 0, "exit status 0", status)
        expect([seq for seq, _ in server.requests("login")] == ["0"], "one login with Seq 0",
               server.requests("login"))
    finally:
        server.stop()


def case_config_file(work):
    gateway = Tokend(work, "config-gateway", "--bind", GW_ADDR)
    other = Tokend(work, "config-other", "--bind", OTHER_ADDR)
    try:
        status, events = probe(work, "config", ["--get"], config=b"serverip=" + OTHER_ADDR.encode() + b"\r\n")
        expect(events and events[0]["address"] == OTHER_ADDR and events[0]["source"] == "config",
               "server named by authipconf.ini", events[:1])
        expect(status == 0 and tokens(events, 3)[0]["result"] == 0, "a code from the configured server", events)
        expect(other.requests("gimmeatoken") and not gateway.requests("login"),
               "only the configured server was asked")
    finally:
        gateway.stop()
        other.stop()


def case_silent_server(work):
    server = Tokend(work, "silent", "--bind", GW_ADDR, "--silent", "gimmeatoken")
    try:
        status, events = probe(work, "silent", ["--get"])
        got = tokens(events, 3)
        expect(len(got) == 1 and got[0]["result"] == -1, "kind 3 result -1", got)
        sendings = server.requests("gimmeatoken")
        expect(len(sendings) == 4 and len({s for s, _ in sendings}) == 1,
               "four sendings with one Seq", sendings)
        waited = got[0]["t_ms"] - events[0]["t_ms"]
        expect(800 <= waited <= 1700, "given up about a second after the request", waited)
        expect(status != 0, "exit status not 0", status)
    finally:
        server.stop()


def case_server_restart(work):
    first = Tokend(work, "restart-1", "--bind", GW_ADDR)
    second = None
    try:
        running = probe(work, "restart", ["--get", "--check", "5"], background=True)
        deadline = time.time() + 30
        while "Token-TTL" not in first.text() and time.time() < deadline:
            time.sleep(0.05)
        expect("Token-TTL" in first.text(), "a code before the restart")
        time.sleep(0.3)
        first.stop()
        second = Tokend(work, "restart-2", "--bind", GW_ADDR)
        output, _ = running.communicate(timeout=60)
        events = parse(output)
        log = [l for l in second.text().splitlines() if " in  " in l or " out " in l]
        refused = next((i for i, l in enumerate(log) if " out " in l and re.search(r" 4 Seq:", l)), None)
        expect(refused is not None, "the restarted server answers 4", log[:4])
        expect(any(" in  " in l and " login " in l for l in log[refused:]), "a new login after result 4", log)
        after = [c for c in tokens(events, 4) if c["result"] != 0]
        expect(not after, "every check answered (the one refused with 4 repeated)", tokens(events, 4))
        expect(len(tokens(events, 4)) == 5, "five checks", tokens(events, 4))
    finally:
        first.stop()
        if second:
            second.stop()


def case_loss(work):
    # Stale and doubled answers come in the same burst as the right one.
    server = Tokend(work, "loss", "--bind", GW_ADDR, "--drop", "30", "--stale", "30", "--dup", "30", "--seed", "3")
    try:
        _, events = probe(work, "loss", ["--get", "--check", "3"])
        got = tokens(events, 3)
        expect(got and got[0]["result"] == 0, "a code through 30% loss", got)
        expect(sum(1 for c in tokens(events, 4) if c["result"] == 0) >= 2, "checks through 30% loss",
               tokens(events, 4))
        server.stop()
        expect(re.search(r"dropped in [1-9]", server.text()) or re.search(r"dropped out [1-9]", server.text()),
               "the server dropped datagrams")
        expect(re.search(r"duplicated [1-9]", server.text()) and re.search(r"stale [1-9]", server.text()),
               "the server sent stale and doubled answers")
    finally:
        server.stop()


def case_long_watch(work):
    server = Tokend(work, "watch", "--bind", GW_ADDR)
    try:
        # Idle time between requests is not a request left unanswered.
        status, events = probe(work, "watch", ["--watch", "3", "--give-up", "1"])
        expect(not [e for e in events if e.get("event") == "gave_up"], "no give-up while idle", events)
        expect(logins(events) == [0], "logged in once", events)
        expect(status == 0, "exit status 0", status)
    finally:
        server.stop()


def case_refused_logins(work):
    server = Tokend(work, "refused", "--bind", GW_ADDR, "--max-pcs", "0")  # every login answered 1
    try:
        # The get request is answered 4 after each login; the client still answers it, as
        # unanswered, 3 s after it was asked. The watch keeps the client running meanwhile.
        status, events = probe(work, "refused", ["--get", "--watch", "6", "--give-up", "8"])
        expect(not [e for e in events if e.get("event") == "gave_up"], "no request left waiting", events)
        got = tokens(events, 3)
        expect(len(got) == 1 and got[0]["result"] == -1, "the get-token request answered -1", got)
        waited = got[0]["t_ms"] - events[0]["t_ms"] if got else None
        expect(got and 2800 <= waited <= 4000, "answered 3 s after the request", waited)
        expect(status != 0, "exit status not 0", status)
        # The logins wait between half and the whole of 1, 2, 4 and 8 s after each refusal.
        sent = server.requests("login")
        expect(3 <= len(sent) <= 6, "four or five logins in 9 s, not a flood", len(sent))
        expect(len(logins(events)) >= 3 and set(logins(events)) == {1}, "each refusal told", events)
        # Staying logged in is what a watch promises: refused, it fails.
        status, events = probe(work, "refused-watch", ["--watch", "2"])
        expect(logins(events) and 0 not in logins(events), "the watch's logins refused", events)
        expect(status != 0, "the watch's exit status not 0", status)
    finally:
        server.stop()


def case_no_default_route(work):
    subprocess.run(["ip", "route", "del", "default"], check=True)
    try:
        status, events = probe(work, "noroute", ["--get"])
    finally:
        subprocess.run(["ip", "route", "add", "default", "via", GW_ADDR], check=True)
    expect(events == [{"t_ms": events[0]["t_ms"], "event": "start_failed", "code": -102}] if events else False,
           "start failure -102 and nothing else", events)
    expect(status != 0, "exit status not 0", status)


CASES = [case_gateway_discovery, case_config_file, case_silent_server, case_server_restart, case_loss,
         case_long_watch, case_refused_logins, case_no_default_route]
