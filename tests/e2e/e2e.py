#!/usr/bin/python3
"""The real program under Wine, driven from outside as a person would.

Starts Vestrel-e2e.exe (the program built to ask 127.0.0.1:18230 for its headline) in a fresh copy
of the project's Wine prefix on a private Xvfb screen, clicks and types with xdotool, and checks
what the person would see or keep: note files, registry values, windows and screenshots. Each
step prints one line; the screenshots of every step go to build/e2e/. Exit status 0 when every
step passed.

usage: e2e.py BUILD_DIR   (the Windows build folder, e.g. build/windows)
"""
import datetime
import glob
import http.server
import os
import shutil
import socket
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "windows"))
EXE = os.path.join(BUILD, "tests", "e2e", "Vestrel-e2e.exe")
HELPER = os.path.join(BUILD, "tests", "e2e", "e2e_helper.exe")
OUT = os.path.join(ROOT, "build", "e2e")
PREFIX = os.path.join(OUT, "prefix")
SETTINGS = r"HKCU\SOFTWARE\Orvane\Vestrel"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
STRIP = (50, 80, 90)          # the calendar's top strip
POPUP = (255, 255, 0)         # the note popup's yellow
HEADLINE_TEXT = (0, 0, 208)   # the headline label's text
WIDTH, HEIGHT = 363, 278
SCREEN = (1280, 1024)

env = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all", LC_ALL="zh_CN.UTF-8", LANG="zh_CN.UTF-8")
results = []


def step(name, ok, detail=""):
    results.append(ok)
    print(f"e2e: {name}: {'ok' if ok else 'FAILED'}{' (' + detail + ')' if detail else ''}", flush=True)
    return ok


def run(*args, check=False, timeout=60):
    return subprocess.run(args, env=env, capture_output=True, timeout=timeout, check=check)


def xdo(*args):
    run("xdotool", *[str(a) for a in args])


def click(x, y, button=1):
    xdo("mousemove", x, y)
    time.sleep(0.15)
    xdo("click", button)
    time.sleep(0.4)


def key(*keys):
    for k in keys:
        xdo("key", k)
        time.sleep(0.1)
    time.sleep(0.3)


def shot(name):
    """The screen once it has settled: two grabs in a row alike (a window may still be painting)."""
    path = os.path.join(OUT, name + ".png")
    grab = lambda: run("import", "-window", "root", "-depth", "8", "rgb:-").stdout
    last = grab()
    for _ in range(20):
        time.sleep(0.1)
        now = grab()
        if now == last:
            break
        last = now
    subprocess.run(["convert", "-size", f"{SCREEN[0]}x{SCREEN[1]}", "-depth", "8", "rgb:-", path], input=last,
                   env=env, capture_output=True, timeout=60)
    return path


def pixels(path, x, y, w, h):
    """RGB triples of a rectangle of a screenshot."""
    raw = run("convert", path, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "rgb:-").stdout
    return [tuple(raw[i:i + 3]) for i in range(0, len(raw) - 2, 3)]


def count(path, rect, colour, tolerance=40):
    """Pixels near a colour: smoothed glyphs have few pixels of the exact colour."""
    return sum(1 for p in pixels(path, *rect) if all(abs(a - b) <= tolerance for a, b in zip(p, colour)))


def windows():
    """Visible top-level windows of the program: (id, name, x, y, w, h)."""
    out = run("xdotool", "search", "--onlyvisible", "--classname", "vestrel-e2e.exe").stdout.decode().split()
    found = []
    for wid in out:
        # xwininfo's absolute corner: xdotool counts a window manager's frame in twice.
        info = run("xwininfo", "-id", wid).stdout.decode(errors="replace")
        g = {}
        for line in info.splitlines():
            k, _, v = line.strip().partition(":")
            g[k] = v.strip()
        try:
            geo = (int(g["Absolute upper-left X"]), int(g["Absolute upper-left Y"]), int(g["Width"]), int(g["Height"]))
        except (KeyError, ValueError):
            continue  # gone meanwhile
        name = run("xdotool", "getwindowname", wid).stdout.decode(errors="replace").strip()
        found.append((wid, name) + geo)
    return found


def calendar():
    for w in windows():
        if (w[4], w[5]) == (WIDTH, HEIGHT):
            return w
    return None


def window_named(name):
    return [w for w in windows() if w[1] == name]


def wait_for(condition, seconds=8.0):
    end = time.time() + seconds
    while time.time() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    return condition()


def reg(key_path, value):
    out = run("wine", "reg", "query", key_path, "/v", value).stdout.decode("utf-8", "replace")
    for line in out.splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 2 and parts[0] == value and parts[1].startswith("REG_"):
            return parts[2].strip() if len(parts) > 2 else ""
    return None


def notes_root():
    return glob.glob(os.path.join(PREFIX, "drive_c", "users", "*", "Documents", "我的记事"))


def note_file(*parts):
    for root in notes_root():
        path = os.path.join(root, *parts)
        if os.path.exists(path):
            return path
    return None


def read(path):
    with open(path, "rb") as f:
        return f.read()


class App:
    """One run of the program."""

    def __init__(self):
        self.proc = subprocess.Popen(["wine", EXE], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = wait_for(calendar, 20)

    def alive(self):
        return self.proc.poll() is None

    def end(self):
        """Ends the program through "x" and "结束程序"; kills it if that fails."""
        if self.alive() and calendar():
            w = calendar()
            click(w[2] + WIDTH - 5, w[3] + 4)
            if focus_prompt():
                key("Tab", "Return")  # "结束程序", the tab stop after "点错了，返回"
        try:
            self.proc.wait(8)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            run("wineserver", "-k")


def type_yearly_note(cx, cy, text, picture):
    """Clicks the day at (cx, cy), types text into its dialog's Gregorian-yearly edit and presses
    Enter; the dialog's window (None when none opened)."""
    click(cx, cy)
    dialog = wait_for(lambda: window_named("输入记事"), 5)
    if dialog:
        d = dialog[0]
        shot(picture)
        click(d[2] + d[4] * 61 // 100, d[3] + d[5] * 70 // 100)  # the Gregorian-yearly edit
        xdo("type", "--delay", "60", text)
        key("Return")
    return dialog


def focus_prompt():
    """Waits for the exit prompt (the window manager gives it the key focus)."""
    prompt = wait_for(lambda: window_named("提示"), 5)
    time.sleep(0.3)
    return bool(prompt)


class HeadlineServer(http.server.BaseHTTPRequestHandler):
    requests = 0

    def do_GET(self):
        HeadlineServer.requests += 1
        body = f" *http://news.example/{HeadlineServer.requests}\t第{HeadlineServer.requests}条".encode("gbk")
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


class HolidayServer(http.server.BaseHTTPRequestHandler):
    """127.0.0.1:18231: garbage, a made-up holiday-cn file for the year asked (test data, not a notice:
    元旦, 春节 on 10 ... 12 February, 班 on February's last Saturday), or that file after 30 s."""
    mode, requests = "garbage", []

    def do_GET(self):
        HolidayServer.requests.append(self.path)
        if HolidayServer.mode == "slow":
            time.sleep(30)
        year = int(self.path[1:5]) if self.path[1:5].isdigit() else 1900
        days = [(f"{year}-01-01", "元旦", "true")] + [(f"{year}-02-{d}", "春节", "true") for d in (10, 11, 12)]
        days.append((f"{year}-02-{last_saturday(year):02d}", "春节", "false"))
        entries = ", ".join(f'{{"name": "{n}", "date": "{d}", "isOffDay": {o}}}' for d, n, o in days)
        body = (f'{{"year": {year}, "papers": ["https://www.gov.cn/e2e.htm"], "days": [{entries}]}}'.encode()
                if HolidayServer.mode != "garbage" else b"<html>502 Bad Gateway</html>")
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def hold(port, seconds=60):
    """A socket listening on a loopback port and never answering, once the port is free (None if not)."""
    end = time.time() + seconds
    while True:
        s = socket.socket()
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            s.bind(("127.0.0.1", port))
            s.listen(8)
            return s
        except OSError:
            s.close()
            if time.time() > end:
                return None
            time.sleep(1)


def last_saturday(year):
    end = datetime.date(year, 3, 1) - datetime.timedelta(days=1)
    return (end - datetime.timedelta(days=(end.weekday() - 5) % 7)).day


def fresh_prefix():
    subprocess.run(["bash", os.path.join(ROOT, "scripts", "wine-prefix.sh")], check=True,
                   env=dict(os.environ, VESTREL_WINEPREFIX=os.path.join(ROOT, "build", "wineprefix")))
    shutil.rmtree(PREFIX, ignore_errors=True)
    os.makedirs(OUT, exist_ok=True)
    shutil.copytree(os.path.join(ROOT, "build", "wineprefix"), PREFIX, symlinks=True)
    for root in notes_root():
        shutil.rmtree(root)
    run("wine", "reg", "delete", SETTINGS, "/f")
    # Wine's windows managed by the window manager, as on a person's desktop.
    run("wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "Y", "/f")
    run("wine", "reg", "delete", RUN_KEY, "/v", "Vestrel", "/f")
    # Pages open through a handler that writes the address to a file, not a browser.
    opened = "C:\\\\opened-url.txt"
    run("wine", "reg", "add", r"HKLM\Software\Classes\http\shell\open\command", "/ve", "/d",
        f'C:\\windows\\system32\\cmd.exe /c echo %1> {opened}', "/f")


def main():
    if not os.path.exists(EXE):
        print(f"e2e: {EXE} is not built")
        return 1
    fresh_prefix()
    display = next((f":{n}" for n in range(140, 180) if display_free(n)), None)
    if display is None:
        print("e2e: no free X display between :140 and :179")
        return 1
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env["DISPLAY"] = display
    wait_for(lambda: os.path.exists(f"/tmp/.X11-unix/X{display[1:]}"), 10)
    # A window manager, as on a person's desktop; Wine starts once it runs.
    wm = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(lambda: b"window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout, 10)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 18230), HeadlineServer)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        suite(server)
    finally:
        server.shutdown()
        server.server_close()
        run("wineserver", "-k")
        wm.kill()
        xvfb.terminate()  # a killed Xvfb would leave its lock file behind
        xvfb.wait(10)
    passed = sum(results)
    print(f"e2e: {passed} passed, {len(results) - passed} failed")
    return 0 if all(results) else 1


def display_free(n):
    """True when no X server holds display :n; what one that died left behind is cleared."""
    try:
        with open(f"/tmp/.X{n}-lock") as lock:
            pid = int(lock.read().strip() or 0)
    except FileNotFoundError:
        return True
    except (OSError, ValueError):
        return False
    try:
        os.kill(pid, 0)
        return False
    except ProcessLookupError:
        for stale in (f"/tmp/.X{n}-lock", f"/tmp/.X11-unix/X{n}"):
            try:
                os.remove(stale)
            except OSError:
                pass
        return True
    except PermissionError:
        return False


def suite(server):
    today = datetime.date.today()
    stored_pad = None
    app = App()
    w = app.window
    step("first start: 363 x 278 at (500, 300)", bool(w) and (w[2], w[3]) == (500, 300), str(w))
    if not w:
        return
    x0, y0 = w[2], w[3]
    first = shot("01-first-start")
    step("first start: the top strip is painted", count(first, (x0, y0, WIDTH, 20), STRIP) > 2000)
    run_value = reg(RUN_KEY, "Vestrel") or ""
    step("first start: the start-up value names the program", run_value.strip('"').lower().endswith("vestrel-e2e.exe"),
         run_value)

    grid = (x0, y0 + 22, WIDTH, 236)
    back = (x0 + 255, y0 + 3, 30, 17)   # "返回"
    back_shown = lambda path: count(path, back, (189, 183, 107)) > 10
    step("today's month: no 返回", not back_shown(first))
    click(x0 + 225, y0 + 10)  # "下月"
    nxt = shot("02-next-month")
    step("下月 changes the month", pixels(nxt, *grid) != pixels(first, *grid))
    step("away from today's month 返回 shows", back_shown(nxt))
    click(x0 + 185, y0 + 10)  # "上月"
    prev = shot("03-previous-month")
    step("上月 comes back", pixels(prev, *grid)[2000:] == pixels(first, *grid)[2000:] and not back_shown(prev))
    click(x0 + 225, y0 + 10)
    click(x0 + 225, y0 + 10)
    click(x0 + 268, y0 + 10)  # "返回"
    today_again = shot("04-back-to-today")
    step("返回 brings today's month back", pixels(today_again, *grid)[2000:] == pixels(first, *grid)[2000:])
    # One wheel notch down over the grid shows the next month; Home comes back to today's.
    xdo("mousemove", x0 + 180, y0 + 150)
    time.sleep(0.15)
    xdo("click", 5)
    time.sleep(0.4)
    wheeled = shot("04a-wheel-notch")
    step("a wheel notch down shows the next month", pixels(wheeled, *grid)[2000:] == pixels(nxt, *grid)[2000:])
    key("Home")
    homed = shot("04b-home-key")
    step("Home brings today's month back", pixels(homed, *grid)[2000:] == pixels(first, *grid)[2000:]
         and not back_shown(homed))
    # The month box: its drop-down arrow, one entry up, Enter.
    click(x0 + 139, y0 + 8)
    key("Up", "Return")
    boxed = shot("05-month-box")
    step("choosing a month in the box shows it", pixels(boxed, *grid) != pixels(first, *grid) and back_shown(boxed))
    click(x0 + 268, y0 + 10)
    click(x0 + 75, y0 + 8)  # the year box's arrow
    key("Up", "Return")
    year_boxed = shot("05b-year-box")
    step("choosing a year in the box shows it", pixels(year_boxed, *grid) != pixels(first, *grid) and back_shown(year_boxed))
    click(x0 + 268, y0 + 10)

    # A day: the note dialog, a yearly note typed into the one-line edit, Enter.
    first_weekday = (datetime.date(today.year, today.month, 1).weekday() + 1) % 7  # 0 = Sunday
    day = 15
    row, col = divmod(first_weekday + day - 1, 7)
    cx, cy = x0 + 52 * col + 25, y0 + 22 + 20 + 33 * row + 17
    dialog = type_yearly_note(cx, cy, "abc", "06-day-note-dialog")
    step("clicking a day opens 输入记事", bool(dialog))
    closed = wait_for(lambda: not window_named("输入记事"), 5)
    path = note_file("日历", f"1{today.month:02d}")
    want = b"\x64\x00" + bytes([day, 0, 3, 0, 0, 0, 0, 0]) + b"abc"
    step("Enter in the one-line edit saves exactly the expected bytes",
         closed and path is not None and read(path) == want, repr(read(path)) if path else "no file")
    xdo("mousemove", cx + 60, cy)
    time.sleep(0.3)
    xdo("mousemove", cx, cy)
    time.sleep(0.6)
    hover = shot("07-hover-popup")
    step("hovering the day shows the yellow popup", count(hover, (cx - 80, cy, 160, 60), POPUP) > 40)
    click(x0 + 60, y0 + 22 + 6)  # the header's Monday
    weekly = wait_for(lambda: window_named("每周提示"), 5)
    step("a header click opens 每周提示", bool(weekly))
    if weekly:
        wk = weekly[0]
        shot("08-weekly-dialog")
        click(wk[2] + wk[4] * 40 // 100, wk[3] + wk[5] * 62 // 100)  # its edit
        key("Escape")
        wait_for(lambda: not window_named("每周提示"), 5)

    # The find window: Ctrl+F, a word of a note of another year, Enter: that month and the day's
    # dialog holding the note; Escape closes the window.
    found_note = "看水管工 plumber 13800".encode("gbk")
    with open(os.path.join(notes_root()[0], "日历", "201903"), "wb") as f:
        f.write(b"\x64\x00" + bytes([14, 0, len(found_note), 0, 0, 0, 0, 0]) + found_note)
    key("ctrl+f")
    find = wait_for(lambda: window_named("查找"), 5)
    step("Ctrl+F opens 查找", bool(find))
    if find:
        xdo("type", "--delay", "60", "plumber")
        time.sleep(1.0)
        shot("08a-find-window")
        key("Return")
        found = wait_for(lambda: window_named("输入记事"), 5)
        text = run("wine", HELPER, "text", "输入记事").stdout.decode("gbk", "replace") if found else ""
        shot("08b-found-note")
        step("typing a word of a 2019 note and Enter: March 2019 and the day's dialog holding it",
             "2019年3月14日" in text and found_note.decode("gbk") in text, text[:80])
        key("Escape")
        wait_for(lambda: not window_named("输入记事"), 5)
        f = window_named("查找")[0] if window_named("查找") else find[0]
        click(f[2] + f[4] // 2, f[3] + f[5] // 6)  # its edit
        key("Escape")
        step("Escape closes 查找", bool(wait_for(lambda: not window_named("查找"), 8)))

    # Dragging the calendar by its strip.
    memo_tab_at = lambda: [(t[2], t[3]) for t in windows() if (t[4], t[5]) == (26, 18)]
    tabs_before = memo_tab_at()
    xdo("mousemove", x0 + 162, y0 + 12)  # between the month box and 上月
    xdo("mousedown", 1)
    for i in range(1, 11):
        xdo("mousemove", x0 + 162 + 10 * i, y0 + 12 + 6 * i)
        time.sleep(0.05)
    xdo("mouseup", 1)
    time.sleep(0.8)
    moved = calendar()
    pos = (reg(SETTINGS, "PosX"), reg(SETTINGS, "PosY"))
    step("dragging writes PosX/PosY", moved is not None and pos == (str(moved[2]), str(moved[3]))
         and (moved[2], moved[3]) == (x0 + 100, y0 + 60), f"{pos} window {moved}")
    tabs_after = memo_tab_at()
    step("dragging moves the visible tab along", len(tabs_after) == 1 and len(tabs_before) == 1 and
         (tabs_after[0][0] - tabs_before[0][0], tabs_after[0][1] - tabs_before[0][1]) == (100, 60),
         f"{tabs_before} {tabs_after}")
    shot("09-dragged")
    app.end()
    step("结束程序 ends the process", not app.alive())
    app = App()
    w = app.window
    step("the next start restores the position", bool(w) and (w[2], w[3]) == (x0 + 100, y0 + 60), str(w))
    if not w:
        return
    x0, y0 = w[2], w[3]

    # The memo pad: "本", typing, deleting, its "-".
    memo_tab = (x0 + WIDTH + 10, y0 + HEIGHT - 18)
    click(memo_tab[0] + 8, memo_tab[1] + 8)
    pad = wait_for(lambda: [p for p in windows() if p[4] > 100 and p[5] > 100 and (p[4], p[5]) != (WIDTH, HEIGHT)], 5)
    step("本 shows the memo pad", bool(pad) and reg(SETTINGS, "MemoShow") == "1")
    if pad:
        p = pad[0]
        click(p[2] + p[4] // 2, p[3] + p[5] // 2)
        xdo("type", "--delay", "60", "hello")
        time.sleep(0.5)
        memo = note_file("备忘", "default")
        step("typing creates 备忘\\default with exactly the typed bytes", memo is not None and read(memo) == b"hello")
        shot("10-memo-pad")
        key(*["BackSpace"] * 5)
        time.sleep(0.5)
        step("deleting all text deletes it", note_file("备忘", "default") is None)
        # Dragging the pad by its strip.
        xdo("mousemove", p[2] + 60, p[3] + 4)
        xdo("mousedown", 1)
        for i in range(1, 11):
            xdo("mousemove", p[2] + 60 + 8 * i, p[3] + 4 + 5 * i)
            time.sleep(0.05)
        xdo("mouseup", 1)
        time.sleep(0.8)
        pad_pos = (reg(SETTINGS, "MemoX"), reg(SETTINGS, "MemoY"))
        stored_pad = (p[2] + 80, p[3] + 50)
        step("dragging the pad writes MemoX/MemoY", pad_pos == (str(p[2] + 80), str(p[3] + 50)), str(pad_pos))
        click(p[2] + 80 + p[4] - 6, p[3] + 50 + 5)  # the pad's "-"
        time.sleep(0.5)
        tab_back = [t for t in windows() if (t[4], t[5]) == (26, 18) and (t[2], t[3]) == memo_tab]
        step("the pad's - brings 本 back", bool(tab_back) and reg(SETTINGS, "MemoShow") == "0")
    click(x0 + WIDTH - 28, y0 + 4)  # the calendar's "-"
    hidden = wait_for(lambda: calendar() is None, 8)
    calendar_tab = [t for t in windows() if (t[4], t[5]) == (26, 18) and (t[2], t[3]) == (x0 + WIDTH + 10, y0 + HEIGHT - 54)]
    step("the calendar's - shows 历", bool(hidden) and bool(calendar_tab))
    if calendar_tab:
        click(calendar_tab[0][2] + 8, calendar_tab[0][3] + 8)
    step("历 brings the calendar back", bool(wait_for(calendar, 8)))

    # The headline from the loopback server, "下一篇", and a click on it.
    got = wait_for(lambda: count(shot("11-headline"), (x0, y0 + 258, 200, 20), HEADLINE_TEXT) > 20, 12)
    step("the headline appears under the grid", bool(got), f"{HeadlineServer.requests} requests")
    before = HeadlineServer.requests
    click(x0 + 245, y0 + 268)  # "下一篇"
    step("下一篇 fetches again", bool(wait_for(lambda: HeadlineServer.requests > before, 5)))
    opened = os.path.join(PREFIX, "drive_c", "opened-url.txt")
    if os.path.exists(opened):
        os.remove(opened)
    click(x0 + 20, y0 + 268)  # the headline
    url = wait_for(lambda: os.path.exists(opened) and read(opened).strip(), 8)
    step("a click on the headline opens its link", bool(url) and url.startswith(b"http://news.example/"), repr(url))

    # A second start leaves one calendar.
    second = subprocess.Popen(["wine", EXE], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        second.wait(15)
        ended = True
    except subprocess.TimeoutExpired:
        second.kill()
        ended = False
    time.sleep(0.5)
    step("a second start leaves one calendar", ended and len([c for c in windows() if (c[4], c[5]) == (WIDTH, HEIGHT)]) == 1)

    # "x": Escape and "点错了，返回" keep the calendar; "卸载软件" removes the start-up value and ends.
    for how in ("Escape", "点错了，返回"):
        click(x0 + WIDTH - 5, y0 + 4)
        prompt = focus_prompt()
        if prompt:
            shot("12-exit-prompt")
            if how == "Escape":
                key("Escape")
            else:
                key("Return")  # the focus starts on "点错了，返回", the first tab stop
        time.sleep(0.5)
        step(f"x then {how} keeps the calendar", bool(prompt) and app.alive() and calendar() is not None)
    click(x0 + WIDTH - 5, y0 + 4)
    if focus_prompt():
        key("Tab", "Tab", "Return")  # "卸载软件", after "点错了，返回" and "结束程序"
    try:
        app.proc.wait(8)
    except subprocess.TimeoutExpired:
        pass
    step("卸载软件 removes the start-up value and ends", not app.alive() and reg(RUN_KEY, "Vestrel") is None)
    app.end()

    # With no headline server the calendar still answers clicks (the figure is the time to the new month).
    server.shutdown()
    server.server_close()
    server_less = App()
    if server_less.window:
        sx, sy = server_less.window[2], server_less.window[3]
        click(sx + WIDTH + 10 + 8, sy + HEIGHT - 18 + 8)  # "本"
        pad = wait_for(lambda: [p for p in windows() if p[4] > 100 and p[5] > 100 and (p[4], p[5]) != (WIDTH, HEIGHT)], 5)
        step("the next start puts the pad back where it was dragged", bool(pad) and (pad[0][2], pad[0][3]) == stored_pad,
             f"{pad} {stored_pad}")
        before = pixels(shot("13-no-server"), sx, sy + 22, WIDTH, 236)
        started = time.time()
        click(sx + 225, sy + 10)
        changed = wait_for(lambda: pixels(shot("14-no-server-next"), sx, sy + 22, WIDTH, 236) != before, 10)
        step("the calendar answers clicks without a headline server", bool(changed), f"{time.time() - started:.1f} s")
    server_less.end()
    if server_less.window:
        faults((server_less.window[2], server_less.window[3]))
    long_note_popup()
    other_code_page()
    memo_conflict()
    reminders()
    holidays()


def holidays():
    """The holiday years fetched from HolidayUrl, a loopback server here (every 3 s in this build)."""
    year = datetime.date.today().year + 1
    run("wine", "reg", "add", SETTINGS, "/v", "HolidayUrl", "/d", "http://127.0.0.1:18231/{year}.json", "/f")
    quiet = hold(18230)  # the headline port held without an answer: no headline takes the line
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 18231), HolidayServer)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    shown = lambda: run("wine", HELPER, "shown").stdout.decode("gbk", "replace")  # window texts

    def february(app):
        today = datetime.date.today()
        for _ in range(year * 12 + 2 - (today.year * 12 + today.month)):
            click(app.window[2] + 225, app.window[3] + 10)  # "下月"
        return app.window

    def cell(w, day):  # the top-left corner of a day of February
        row, col = divmod((datetime.date(year, 2, 1).weekday() + 1) % 7 + day - 1, 7)
        return w[2] + 52 * col, w[3] + 22 + 21 + 33 * row

    def marked(path, w, day, colour):  # its 休 (red) or 班 (grey) box is drawn
        return count(path, (cell(w, day)[0] + 38, cell(w, day)[1] + 18, 13, 13), colour, 12) > 60

    marks = lambda path, w: marked(path, w, 10, (220, 40, 40)) and marked(path, w, last_saturday(year), (80, 80, 80))
    line = f"{year}年放假安排未公布"
    app = App()
    if app.window:
        w = february(app)
        wait_for(lambda: len(HolidayServer.requests) >= 2, 10)  # at start, then garbage again
        awaited = shot("40-holidays-awaited")
        step(f"holidays: garbage for {year} changes nothing, February says {line}", app.alive() and line in shown()
             and not marked(awaited, w, 10, (220, 40, 40)) and HolidayServer.requests[0] == f"/{year}.json",
             str(HolidayServer.requests[:2]))
        HolidayServer.mode = "file"
        step(f"holidays: after the next fetch February {year} shows 休 and 班", bool(wait_for(lambda: marks(shot("41-holidays-fetched"), w), 12))
             and line not in shown())
        xdo("mousemove", cell(w, 10)[0] + 20, cell(w, 10)[1] + 15)
        step("holidays: the popup names the holiday", wait_for(lambda: "春节 放假" in shown(), 8))
        click(cell(w, 10)[0] + 20, cell(w, 10)[1] + 15)  # the day-note dialog names the file's notice
        dialog = wait_for(lambda: window_named("输入记事"), 5) and shot("42-holidays-day-note")
        text = run("wine", HELPER, "text", "输入记事").stdout.decode("gbk", "replace") if dialog else ""
        key("Escape")
        step("holidays: the day-note dialog names the source", "春节 放假　来源：https://www.gov.cn/e2e.htm" in text, text[-40:])
    app.end()
    server.shutdown()
    server.server_close()
    app = App()  # no server: the cache
    w = app.window and february(app)
    step("holidays: a restart without the server still shows them", bool(w) and marks(shot("43-holidays-cached"), w))
    app.end()
    HolidayServer.mode, HolidayServer.requests = "slow", []
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 18231), HolidayServer)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    app = App()
    if app.window and wait_for(lambda: HolidayServer.requests, 10):
        w = app.window
        before = pixels(shot("44-slow-server"), w[2], w[3] + 22, WIDTH, 236)
        started = time.time()
        click(w[2] + 225, w[3] + 10)
        changed = wait_for(lambda: pixels(shot("45-slow-server-next"), w[2], w[3] + 22, WIDTH, 236) != before, 10)
        step("holidays: a server answering after 30 s does not delay a month change", bool(changed), f"{time.time() - started:.1f} s")
    app.end()
    server.shutdown()
    server.server_close()
    if quiet:
        quiet.close()


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def faults(server_window):
    """What other programs do to the notes and the desktop while the calendar runs."""
    today = datetime.date.today()
    root = notes_root()[0]
    month_list = os.path.join(root, "日历", f"{today.year}{today.month:02d}")
    yearly_list = os.path.join(root, "日历", f"1{today.month:02d}")
    dentist = b"\x64\x00" + bytes([10, 0, 7, 0, 0, 0, 0, 0]) + b"dentist"
    first_weekday = (datetime.date(today.year, today.month, 1).weekday() + 1) % 7

    def cell(x0, y0, day):
        row, col = divmod(first_weekday + day - 1, 7)
        return x0 + 52 * col + 25, y0 + 22 + 20 + 33 * row + 17

    # A damaged list: the user is told once, in the program's words, which file and where it goes.
    with open(month_list, "wb") as f:
        f.write(dentist + b"\x40\x00\x09")  # a good record, then one cut short
    app = App()
    box = wait_for(lambda: window_named("Vestrel 记事"), 8)
    text = run("wine", HELPER, "text", "Vestrel 记事").stdout.decode("gbk", "replace") if box else ""
    step("a damaged list is told, naming it and its .damaged copy",
         "损坏" in text and f"{today.year}{today.month:02d}.damaged" in text, text[:40])
    shot("15-damage-notice")
    if box:
        close_notice(box[0])
    step("the notice is told once", wait_for(lambda: not window_named("Vestrel 记事"), 8) and
         not wait_for(lambda: window_named("Vestrel 记事"), 2))
    app.end()

    # A list held by a backup while the calendar starts, then an edit of another note of that day.
    with open(month_list, "wb") as f:
        f.write(dentist)
    holder = subprocess.Popen(["wine", HELPER, "hold", windows_path(month_list), "5000"], env=env,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    held = holder.stdout.readline().strip() == b"held"
    app = App()
    holder.wait(20)
    w = app.window
    if held and w:
        cx, cy = cell(w[2], w[3], 10)
        click(cx, cy)
        dialog = wait_for(lambda: window_named("输入记事"), 5)
        if dialog:
            d = dialog[0]
            click(d[2] + d[4] * 61 // 100, d[3] + d[5] * 70 // 100)  # the Gregorian-yearly edit
            xdo("type", "--delay", "60", "party")
            key("Return")
        wait_for(lambda: not window_named("输入记事"), 5)
    kept = os.path.exists(month_list) and read(month_list) == dentist
    step("an edit after a start with a held list keeps the held list's note",
         held and kept and os.path.exists(yearly_list) and b"party" in read(yearly_list))

    # A sync client changes the shown month's list: the grid shows it within about 2 s.
    if w:
        grid = (w[2], w[3] + 22, WIDTH, 236)
        before = pixels(shot("16-before-sync"), *grid)
        temp = month_list + ".sync-tmp"
        with open(temp, "wb") as f:
            f.write(dentist + bytes([20, 0, 4, 0, 0, 0, 0, 0]) + b"sync")
        os.replace(temp, month_list)
        started = time.time()
        changed = wait_for(lambda: pixels(shot("17-after-sync"), *grid) != before, 10)
        step("a list changed by another program shows without a click", bool(changed), f"{time.time() - started:.1f} s")
    app.end()

    # The desktop's shell ends and comes back: the calendar comes back with it.
    flag = os.path.join(PREFIX, "drive_c", "shell-flag")
    shell = subprocess.Popen(["wine", HELPER, "shell", "C:\\shell-flag"], env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    time.sleep(2)
    proc = subprocess.Popen(["wine", EXE], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    x0, y0 = server_window
    where = lambda: run("wine", HELPER, "where").stdout.decode().strip()
    step("the calendar starts under the shell's icon view", wait_for(lambda: where() == "attached", 20) is True)
    shot("18-attached")
    open(flag, "w").close()  # the shell ends
    back = wait_for(calendar, 10)
    step("the shell ends: the calendar comes back where it was", bool(back) and (back[2], back[3]) == (x0, y0)
         and where() == "top", str(back))
    shot("19-shell-gone")
    os.remove(flag)  # a new shell announces itself
    step("a new shell: the calendar goes under its icon view again", wait_for(lambda: where() == "attached", 10) is True)
    open(flag, "w").close()
    wait_for(calendar, 10)
    App.end(type("Run", (), {"proc": proc, "alive": lambda self: proc.poll() is None})())
    try:
        shell.wait(10)
    except subprocess.TimeoutExpired:
        shell.kill()


def long_note_popup():
    """A note of a hundred lines: its popup goes beside the calendar, never over the pointer or the
    calendar's controls, a click on 下月 changes the month, and it goes when the pointer leaves the
    calendar."""
    today = datetime.date.today()
    root = notes_root()[0]
    last_day = (datetime.date(today.year + today.month // 12, today.month % 12 + 1, 1) - datetime.timedelta(days=1)).day
    text = "\r\n".join(f"第{i}行 长记事" for i in range(100)).encode("gbk")
    with open(os.path.join(root, "日历", f"{today.year}{today.month:02d}"), "wb") as f:
        f.write(b"\x64\x00" + bytes([last_day, 0, len(text) & 0xFF, len(text) >> 8, 0, 0, 0, 0]) + text)
    app = App()
    w = app.window
    if not w:
        step("a long note's popup: the calendar starts", False)
        return
    first_weekday = (datetime.date(today.year, today.month, 1).weekday() + 1) % 7
    row, col = divmod(first_weekday + last_day - 1, 7)
    cx, cy = w[2] + 52 * col + 25, w[3] + 22 + 20 + 33 * row + 17
    xdo("mousemove", cx + 60, cy)
    time.sleep(0.3)
    xdo("mousemove", cx, cy)
    time.sleep(0.8)
    popup = shot("24-long-note-popup")
    covered = count(popup, (cx - 3, cy - 3, 7, 7), POPUP, 10)
    # Over the calendar only on its day cells: never on the strip above them or the rows below.
    strip, rows = (w[2], w[3], WIDTH, 43), (w[2], w[3] + 241, WIDTH, HEIGHT - 241)
    on_controls = count(popup, strip, POPUP, 10) + count(popup, rows, POPUP, 10)
    step("a long note's popup shows, never over the pointer or the calendar's controls",
         count(popup, (0, 0, SCREEN[0], SCREEN[1]), POPUP, 10) > 5000 and covered == 0 and on_controls == 0,
         f"{covered} popup pixels at the pointer, {on_controls} on the controls")
    month = lambda: next((t for t in run("wine", HELPER, "shown").stdout.decode("gbk", "replace").split()
                          if t.endswith("月") and t[:-1].isdigit()), "")
    before = month()
    click(w[2] + 230, w[3] + 10)  # 下月
    time.sleep(0.8)
    after = shot("25-long-note-next-month")
    step("下月 changes the month while the popup shows", before == f"{today.month}月" and
         wait_for(lambda: month() == f"{today.month % 12 + 1}月", 8), f"{before} -> {month()}")
    # Tolerance 10: the grid's gold strip is near the popup's yellow.
    step("the popup goes when the pointer leaves the grid", count(after, (0, 0, SCREEN[0], SCREEN[1]), POPUP, 10) < 100)
    app.end()
    os.remove(os.path.join(root, "日历", f"{today.year}{today.month:02d}"))


def other_code_page():
    """An English Windows (code page 1252): the notes the program left on a Chinese one are found,
    a note typed lands in the same file with the same bytes, no other folder appears, and the exit
    prompt reads right."""
    run("wineserver", "-k")
    english = dict(env, LC_ALL="en_US.UTF-8", LANG="en_US.UTF-8")
    today = datetime.date.today()
    root = notes_root()[0]
    documents = os.path.dirname(root)
    for name in os.listdir(os.path.join(root, "日历")):
        os.remove(os.path.join(root, "日历", name))
    old_note = "旧记事".encode("gbk")
    with open(os.path.join(root, "日历", f"{today.year}{today.month:02d}"), "wb") as f:
        f.write(b"\x64\x00" + bytes([12, 0, len(old_note), 0, 0, 0, 0, 0]) + old_note)
    with open(os.path.join(root, "备忘", "default"), "wb") as f:
        f.write("旧备忘 old memo".encode("gbk"))
    run("wine", "reg", "add", SETTINGS, "/v", "MemoShow", "/d", "1", "/f")
    proc = subprocess.Popen(["wine", EXE], env=english, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    w = wait_for(calendar, 20)
    step("en_US: the calendar starts", bool(w))
    if not w:
        proc.kill()
        return
    shot("20-en_US")
    memo = wait_for(lambda: run("wine", HELPER, "memo").stdout.decode("gbk", "replace"), 5) or ""
    step("en_US: the memo the program saved on a Chinese Windows is shown", "旧备忘 old memo" in memo, memo[:40])
    first_weekday = (datetime.date(today.year, today.month, 1).weekday() + 1) % 7

    def cell(day):
        row, col = divmod(first_weekday + day - 1, 7)
        return w[2] + 52 * col + 25, w[3] + 22 + 20 + 33 * row + 17

    cx, cy = cell(12)
    marked = shot("21-en_US-old-note")
    step("en_US: the old dated note marks its day", count(marked, (cx - 20, cy - 12, 40, 24), (135, 206, 250), 10) > 300)
    for day in (16, 12):  # from another cell onto the note's day
        xdo("mousemove", *cell(day))
        time.sleep(0.8)
    popup = count(shot("21-en_US-old-note-popup"), (0, 0) + SCREEN, POPUP, 10)
    step("en_US: the old note's day shows its popup", popup > 200, f"{popup} popup pixels")
    xdo("mousemove", 5, 5)
    cx, cy = cell(16)
    dialog = type_yearly_note(cx, cy, "abc", "22-en_US-day-dialog")
    step("en_US: the day dialog's title reads 输入记事", bool(dialog))
    wait_for(lambda: not window_named("输入记事"), 5)
    yearly = os.path.join(root, "日历", f"1{today.month:02d}")
    want = b"\x64\x00" + bytes([16, 0, 3, 0, 0, 0, 0, 0]) + b"abc"
    step("en_US: a typed note lands in 我的记事\\日历 with the same bytes",
         os.path.exists(yearly) and read(yearly) == want, repr(read(yearly)) if os.path.exists(yearly) else "no file")
    step("en_US: no other folder appears in the documents folder", os.listdir(documents) == ["我的记事"],
         repr(os.listdir(documents)))
    click(w[2] + WIDTH - 5, w[3] + 4)
    prompt = wait_for(lambda: window_named("提示"), 5)
    texts = run("wine", HELPER, "text", "提示").stdout.decode("gbk", "replace") if prompt else ""
    shot("23-en_US-exit-prompt")
    step("en_US: the exit prompt's choices read 结束程序 and 卸载软件", "结束程序" in texts and "卸载软件" in texts,
         texts[:40])
    if prompt:
        time.sleep(0.3)
        key("Tab", "Return")
    try:
        proc.wait(8)
    except subprocess.TimeoutExpired:
        proc.kill()
    run("wineserver", "-k")


def close_notice(n):
    """Clicks "知道了" of the notice window n (a row of windows())."""
    click(n[2] + n[4] - 60 * n[4] // 380, n[3] + n[5] - 26)


def memo_conflict():
    """Typing on while another PC's version of the memo arrives: it is kept as default.conflict,
    the notice shows beside the calendar without taking the keyboard, and no letter is lost."""
    root = notes_root()[0]
    memo = os.path.join(root, "备忘", "default")
    conflict = memo + ".conflict"
    with open(memo, "wb"):
        pass
    if os.path.exists(conflict):
        os.remove(conflict)
    run("wine", "reg", "add", SETTINGS, "/v", "MemoShow", "/d", "1", "/f")
    app = App()
    pad = wait_for(lambda: [p for p in windows() if p[4] > 100 and p[5] > 100 and (p[4], p[5]) != (WIDTH, HEIGHT)], 5)
    if app.window and pad:
        p = pad[0]
        click(p[2] + p[4] // 2, p[3] + p[5] // 2)
        xdo("type", "--delay", "60", "abc")
        time.sleep(0.5)
        # Held by the sync client, which writes its version before letting go: "def" cannot be
        # saved meanwhile, and the next save finds the other version.
        holder = subprocess.Popen(["wine", HELPER, "hold", windows_path(memo), "1500", "other pc"], env=env,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        held = holder.stdout.readline().strip() == b"held"
        xdo("type", "--delay", "60", "def")
        notice = wait_for(lambda: window_named("Vestrel 记事"), 8)
        xdo("type", "--delay", "60", "ghi")
        holder.wait(20)
        time.sleep(0.5)
        shot("26-memo-conflict")
        typed = run("wine", HELPER, "memo").stdout.decode("gbk", "replace")
        told = run("wine", HELPER, "text", "Vestrel 记事").stdout.decode("gbk", "replace") if notice else ""
        other = read(conflict) if os.path.exists(conflict) else None
        step("typing through a memo conflict: every letter in the pad and the memo, the other version kept",
             held and typed == "abcdefghi" and read(memo) == b"abcdefghi" and other == b"other pc",
             f"{typed!r} {other!r}")
        step("the memo conflict is told in a window that leaves the keyboard to the pad",
             bool(notice) and "default.conflict" in told, told[:60])
        if notice:
            close_notice(notice[0])
        step("知道了 closes the notice", bool(wait_for(lambda: not window_named("Vestrel 记事"), 5)))
    app.end()


def reminders():
    """A reminder half an hour ago and one at the coming minute: at start one
    "提醒" window headed 错过的提醒; at the minute another, while the memo pad keeps the typing;
    none after a restart."""
    run("wineserver", "-k")
    root = notes_root()[0]
    for name in os.listdir(os.path.join(root, "日历")):
        os.remove(os.path.join(root, "日历", name))
    with open(os.path.join(root, "备忘", "default"), "wb"):
        pass
    now = datetime.datetime.now()
    if now.second > 30:  # time to start and type before the coming minute
        time.sleep(61 - now.second)
        now = datetime.datetime.now()
    missed = now - datetime.timedelta(minutes=30)
    coming = (now + datetime.timedelta(minutes=1)).replace(second=0, microsecond=0)
    # A dated note half an hour ago, a weekly one on the coming minute's weekday.
    for name, slot, body in ((f"{missed.year}{missed.month:02d}", missed.day, f"{missed:%H:%M} 交报告"),
                             ("week", coming.isoweekday() % 7, f"{coming:%H:%M} 开会")):
        with open(os.path.join(root, "日历", name), "wb") as f:
            f.write(b"\x64\x00" + bytes([slot, 0, len(body.encode("gbk")), 0, 0, 0, 0, 0]) + body.encode("gbk"))
    run("wine", "reg", "add", SETTINGS, "/v", "MemoShow", "/d", "1", "/f")
    app = App()
    shown = wait_for(lambda: window_named("提醒"), 10)
    texts = run("wine", HELPER, "text", "提醒").stdout.decode("gbk", "replace") if shown else ""
    shot("30-missed-reminder")
    step("a reminder of the past hour at start: one 提醒 window headed 错过的提醒",
         len(shown or []) == 1 and "错过的提醒" in texts and f"{missed:%H:%M} 交报告" in texts, texts[:80])
    if shown:
        r = shown[0]
        click(r[2] + r[4] - 182 * r[4] // 380, r[3] + r[5] - 27)  # "知道了"
    step("知道了 closes it", bool(wait_for(lambda: not window_named("提醒"), 5)))
    pad = [p for p in windows() if p[4] > 100 and p[5] > 100 and (p[4], p[5]) != (WIDTH, HEIGHT) and p[1] != "提醒"]
    if pad:
        click(pad[0][2] + pad[0][4] // 2, pad[0][3] + pad[0][5] // 2)
        xdo("type", "--delay", "60", "ab")
    due = wait_for(lambda: window_named("提醒"), max(5.0, (coming - datetime.datetime.now()).total_seconds() + 10))
    texts = run("wine", HELPER, "text", "提醒").stdout.decode("gbk", "replace") if due else ""
    xdo("type", "--delay", "60", "cd")
    time.sleep(0.5)
    shot("31-due-reminder")
    memo = run("wine", HELPER, "memo").stdout.decode("gbk", "replace")
    step("at its minute a 提醒 window lists the line", bool(due) and f"{coming:%H:%M} 开会" in texts
         and "错过" not in texts, texts[:80])
    step("the memo pad keeps the focus and the typing", bool(pad) and memo == "abcd", repr(memo))
    if due:
        r = due[0]
        click(r[2] + r[4] - 69 * r[4] // 380, r[3] + r[5] - 27)  # "10分钟后提醒"
    step("10分钟后提醒 closes it", bool(wait_for(lambda: not window_named("提醒"), 5)))
    app.end()
    again = App()
    time.sleep(4)
    step("after a restart neither shows again", bool(again.window) and not window_named("提醒"))
    again.end()
    run("wineserver", "-k")


if __name__ == "__main__":
    sys.exit(main())
