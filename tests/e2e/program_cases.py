"""lorvik.exe itself on the PC namespace: it finds tokend on the gateway by itself, is
clicked with xdotool on the virtual display, and its window is compared pixel for pixel with
skinshot's picture of the main skin (XML resource 101) with the labels set as the program
sets them. trayprobe.exe stands in for the notification area, which nobody shows here."""
import contextlib
import os
import shutil
import subprocess
import time

from cafe import GW_ADDR, Tokend, expect, wait_for

CODE = "482913"
# Places in the 800 x 600 window (the main skin's layout; scripts/lorvik-window.sh has the
# same button for the shell scripts).
NEW_TOKEN = (400, 520)   # "btn_newtoken", 200 x 50 centred in the body's last row
CLOSE = (778, 9)         # "closebtn", 43 x 18 at the top right
AWAY = (5, 5)            # off the centred window: nothing hot, no tooltip
TRAY_LEFT, TRAY_DOUBLE, TRAY_RIGHT = 0x201, 0x203, 0x204

TIP_COUNTDOWN = "验证码将在{f 1}{c #FF0000}%d{/c}{/f}秒后过期"
TIP_NETWORK = "{c #FF0000}通信异常，请检查您的网络。{/c}"


class Lorvik:
    """lorvik.exe started from a folder of its own (no authipconf.ini: the gateway is found)."""

    def __init__(self, work, name):
        self.folder = os.path.join(work, name)
        os.makedirs(self.folder, exist_ok=True)
        self.exe = os.path.join(self.folder, "lorvik.exe")
        shutil.copy(os.environ["E2E_LORVIK"], self.exe)
        self.proc = self.start()
        try:
            expect(wait_for(lambda: self.window_handle() is not None, 30), "the main window appears")
            self.handle = self.window_handle()
            self.x_window = self.visible_x_window(30)
            expect(self.x_window, "the main window is shown on the display")
            geometry = dict(line.split("=", 1) for line in
                            xdotool("getwindowgeometry", "--shell", self.x_window).splitlines() if "=" in line)
        except BaseException:
            self.end()
            raise
        self.x, self.y = int(geometry["X"]), int(geometry["Y"])
        self.size = (int(geometry["WIDTH"]), int(geometry["HEIGHT"]))

    def start(self):
        return subprocess.Popen(["wine", self.exe], cwd=self.folder, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    @staticmethod
    def window_handle():
        result = trayprobe("--window")
        return result.stdout.split()[0] if result.returncode == 0 else None

    @staticmethod
    def window_count():
        result = trayprobe("--window")
        return int(result.stdout.split()[1]) if result.returncode == 0 else 0

    @staticmethod
    def visible_x_window(seconds=0.0):
        found = []

        def look():
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Lorvik"],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            found[:] = result.stdout.split()
            return bool(found)
        wait_for(look, seconds, 0.1)
        return found[0] if found else None

    def click(self, place):
        xdotool("mousemove", str(self.x + place[0]), str(self.y + place[1]), "click", "1")
        xdotool("mousemove", str(AWAY[0]), str(AWAY[1]))

    def tray(self, mouse_message):
        expect(trayprobe("--post", self.handle, str(mouse_message)).returncode == 0, "the tray callback posted")

    def has_tray_icon(self):
        return trayprobe("--icon", self.handle).returncode == 0

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (self.size + (self.x, self.y)),
                        "+repage", path], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def looks_like(self, work, name, settings, attempts=6):
        """The window matches skinshot's picture with settings, within about 3 s (the paint
        follows the message that changed the labels)."""
        expected = skinshot(work, name, settings)
        for _ in range(attempts):
            difference = compare(self.screenshot(os.path.join(work, name + "-window.png")), expected)
            if difference is None:
                return None
            time.sleep(0.5)
        return difference

    def end(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        # A window left behind by a killed program would answer the next case's search.
        wait_for(lambda: self.window_handle() is None, 10)


def xdotool(*args):
    return subprocess.run(["xdotool"] + list(args), check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True).stdout


def trayprobe(*args):
    return subprocess.run(["wine", os.environ["E2E_TRAYPROBE"]] + list(args), stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True, timeout=30)


def skinshot(work, name, settings):
    path = os.path.join(work, name + "-expected.png")
    args = ["wine", os.environ["E2E_SKINSHOT"], "--res", "101", "--out", path]
    for setting in settings:
        args += ["--set", setting]
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, timeout=60)
    expect(result.returncode == 0, "skinshot renders the main skin", result.stdout.strip())
    return path


def pixels(path):
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, stdout=subprocess.PIPE).stdout


def compare(actual, expected):
    """None when the pictures are equal but for the corners the window's round region cuts off;
    else what differs."""
    size = subprocess.run(["identify", "-format", "%w %h", expected], check=True, stdout=subprocess.PIPE,
                          text=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    a, b = pixels(actual), pixels(expected)
    if len(a) != len(b):
        return "sizes differ"
    corner = 3
    box = None
    count = 0
    for offset in range(0, len(a), 3):
        if a[offset:offset + 3] == b[offset:offset + 3]:
            continue
        x, y = (offset // 3) % width, (offset // 3) // width
        if (x < corner or x >= width - corner) and (y < corner or y >= height - corner):
            continue
        count += 1
        box = (x, y, x, y) if box is None else (min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y))
    return None if count == 0 else "%d pixels differ within %s" % (count, box)


def code_settings(code, countdown):
    labels = ["lbl_token%d.text= %s" % (i + 1, c) for i, c in enumerate(code)]
    return labels + ["lbl_tokentip.text=" + TIP_COUNTDOWN % countdown, "btn_newtoken.enabled=false"]


@contextlib.contextmanager
def cafe(work, name, *tokend_args):
    """tokend on the gateway with tokend_args, and lorvik.exe started on the PC; both end
    with the case."""
    server = Tokend(work, name, "--bind", GW_ADDR, *tokend_args)
    lorvik = None
    try:
        lorvik = Lorvik(work, name)
        yield server, lorvik
    finally:
        if lorvik:
            lorvik.end()
        server.stop()


def case_program_shows_and_checks_a_code(work):
    lifetime, revoke = 60, 6
    tokend_args = ("--code", CODE, "--lifetime", str(lifetime), "--revoke-after", str(revoke))
    with cafe(work, "program-code", *tokend_args) as (server, lorvik):
        expect(lorvik.size == (800, 600), "the window is 800 x 600", lorvik.size)
        expect(wait_for(lambda: server.requests("login"), 15), "the program logs in to the gateway")
        difference = lorvik.looks_like(work, "program-idle", [])
        expect(difference is None, "the idle window is the skin's picture", difference)
        lorvik.click(NEW_TOKEN)
        expect(wait_for(lambda: "Token-TTL" in server.text(), 5), "a code answered after the click")
        answered = time.time()
        expect(len(server.requests("gimmeatoken")) == 1, "one get-token request", server.requests("gimmeatoken"))
        # The labels and the countdown: the tick the screenshot caught is one of three.
        matched = None
        for _ in range(3):
            elapsed = int(time.time() - answered)
            for countdown in (lifetime - elapsed, lifetime - elapsed - 1, lifetime - elapsed + 1):
                if lorvik.looks_like(work, "program-code-%d" % countdown, code_settings(CODE, countdown), 1) is None:
                    matched = countdown
                    break
            if matched:
                break
        expect(matched, "the window shows the code and its countdown as the skin's picture with them")
        expect(wait_for(lambda: "Token-Valid:false" in server.text(), revoke + 3), "the server revoked the code")
        checks = [t for t, _, _ in server.timed_requests("checktoken")]
        gaps = [b - a for a, b in zip(checks, checks[1:])]
        expect(len(checks) >= revoke - 1 and all(0.7 <= gap <= 1.6 for gap in gaps),
               "a check about every second while the code is shown", gaps)
        difference = lorvik.looks_like(work, "program-revoked", [])
        expect(difference is None, "a revoked code gives the idle window back", difference)


def case_program_without_answers(work):
    with cafe(work, "program-silent", "--silent", "gimmeatoken") as (server, lorvik):
        expect(wait_for(lambda: server.requests("login"), 15), "the program logs in to the gateway")
        lorvik.click(NEW_TOKEN)
        expect(wait_for(lambda: len(server.requests("gimmeatoken")) == 4, 5), "the request sent four times")
        difference = lorvik.looks_like(work, "program-silent", ["lbl_tokentip.text=" + TIP_NETWORK])
        expect(difference is None, "the network text and an enabled button", difference)


def case_program_hides_shows_and_runs_once(work):
    with cafe(work, "program-tray") as (server, lorvik):
        expect(wait_for(lorvik.has_tray_icon, 10), "the tray icon is added")
        lorvik.click(CLOSE)
        expect(wait_for(lambda: lorvik.visible_x_window() is None, 5), "the close button hides the window")
        expect(lorvik.proc.poll() is None, "the program keeps running")
        lorvik.tray(TRAY_LEFT)
        expect(lorvik.visible_x_window(5), "a left click on the tray icon shows it again")
        lorvik.tray(TRAY_LEFT)
        expect(wait_for(lambda: lorvik.visible_x_window() is None, 5), "a second left click hides it")
        second = subprocess.run(["wine", lorvik.exe], cwd=lorvik.folder, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=30)
        expect(second.returncode == 0, "the second start ends with 0", second.returncode)
        expect(lorvik.visible_x_window(5), "the second start shows the hidden window")
        expect(Lorvik.window_count() == 1, "the second start makes no window of its own", Lorvik.window_count())
        lorvik.tray(TRAY_LEFT)
        expect(wait_for(lambda: lorvik.visible_x_window() is None, 5),
               "after the second start one tray click hides the window again")
        expect(lorvik.has_tray_icon(), "the icon stays while the program runs")


def case_program_ends_from_the_tray_menu(work):
    with cafe(work, "program-menu") as (server, lorvik):
        expect(wait_for(lorvik.has_tray_icon, 10), "the tray icon is added")
        # The menu opens where the mouse is; its one item is 25 pixels high.
        xdotool("mousemove", "300", "300")
        lorvik.tray(TRAY_RIGHT)
        time.sleep(1.0)
        xdotool("mousemove", "360", "312", "click", "1")
        expect(wait_for(lambda: lorvik.proc.poll() is not None, 10), "the menu's item ends the program")
        expect(lorvik.proc.returncode == 0, "exit status 0", lorvik.proc.returncode)
        expect(not lorvik.has_tray_icon(), "the tray icon is gone")


CASES = [case_program_shows_and_checks_a_code, case_program_without_answers,
         case_program_hides_shows_and_runs_once, case_program_ends_from_the_tray_menu]
