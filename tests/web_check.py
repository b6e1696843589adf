#!/usr/bin/python3
"""The game's page played in headless Chromium as players meet it, with real
input through the DevTools protocol, the site served under a host's strict
security policy, each step checked on the screen and its screenshot kept in
<build>/screenshots/ to be looked at:
- on every screen, a desktop's at 1 and 1.25 and phones' and a tablet's by
  touch alone: the game fits; Start, Stop, a menu, Level 3, a catch, the
  score window, Close; the start screen, a game stopped at level 3 and the
  score window compared whole with the Linux build's pictures of the same
  steps, resampled to the design's pixels;
- on a desktop, with the mouse and keys: the score window at its place, the
  keys, Exit; frames drawn at the browser's own; the precise pace; a zoom
  changed while a game runs;
- on a phone, turns that keep the windows, again and again;
- the app: installable, played again with the server gone, updated whole;
- the page where the browser lacks WebGL or a service worker, while the
  program downloads slowly, when the program stops with an error, and when
  the site serves a program that is not the page's.
Usage: web_check.py <site folder> <folder of the Linux build's pictures>
(as make check-web runs it, with scripts/lib on the Python path)"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

import numpy
from PIL import Image

from devtools import CLOCK, DARK_BLUE, GAME_SHOWN, SCREENS, Browser, Site

HERE = os.path.dirname(os.path.abspath(__file__))
SHOWN = "!document.getElementById('%s').hidden"
TEXT = SHOWN + " && document.getElementById('%s').textContent"
# Colours closer than this in every channel are the same: antialiasing and
# resampling. A trail a device pixel wide is brighter on the black field.
TOLERANCE = 48
# What changes from game to game: the Moxels, the clock, the caught Moxel's
# border, and the score window's values.
MOVING = ("Image1(0)", "Image1(1)", "Text1", "Text2", "Shape1")
VALUES = ("Form11.Label5", "Form11.Label6", "Form11.Label7", "Form11.Label8", "Form11.Label11")
TURNS = 20
# The main window's controls a Moxel may pass behind.
COVERS = ("Command2", "Command3", "Text1", "Text2", "Label1", "Label2", "Label3", "Label4",
          "Label5", "Label6", "Label7", "Image2", "Image3", "Image4", "Image5")


class Shot:
    """A screenshot, addressed in the page's CSS pixels."""

    def __init__(self, path, ratio):
        self.path, self.ratio = path, ratio
        self.image = Image.open(path).convert("RGB")

    def pixel(self, x, y):
        return self.image.getpixel((int(x * self.ratio), int(y * self.ratio)))

    def box(self, r):
        k = self.ratio
        return r["x"] * k, r["y"] * k, (r["x"] + r["width"]) * k, (r["y"] + r["height"]) * k

    def part(self, r):
        """The part a rect covers, resampled to the design's pixels."""
        size = (round(r["width"]), round(r["height"]))
        return numpy.asarray(self.image.resize(size, Image.BOX, box=self.box(r)), dtype=int)

    def device_pixels(self, r):
        return numpy.asarray(self.image.crop(tuple(map(round, self.box(r)))), dtype=int)


def apart(a, b):
    return numpy.abs(a - b).max(axis=2) > TOLERANCE


def stray_pixels(ours, linux, masks):
    """Pixels of our picture of a window that differ from the Linux build's
    beyond two pixels of its edges, where resampling blurs and the pictures
    drawn for twice the density differ a little, and beyond the masked
    boxes: a map, and the counts on its black field and elsewhere."""
    edge = numpy.zeros(linux.shape[:2], bool)
    edge[[0, -1], :] = edge[:, [0, -1]] = True  # the window's frame blurs into them
    for dy in range(-2, 3):
        for dx in range(-2, 3):
            edge |= apart(linux, numpy.roll(linux, (dy, dx), (0, 1)))
    for left, top, width, height in masks:
        edge[max(0, top - 2):top + height + 2, max(0, left - 2):left + width + 2] = True
    stray = apart(ours, linux) & ~edge
    black = (linux == 0).all(axis=2)
    return stray, int((stray & black).sum()), int((stray & ~black).sum())


def text_lines(button):
    """Lines of text on a picture of a button, inside its bevel: runs of rows
    with dark pixels, three rows high at least (an access key's underline is
    one or two)."""
    rows = (button[4:-4, 4:-4].sum(axis=2) < 3 * 96).any(axis=1)
    runs = "".join("x" if row else " " for row in rows).split()
    return sum(len(run) >= 3 for run in runs)


class Check:
    """One page: steps, their screenshots, and the game's objects by name."""
    failures = 0

    def __init__(self, page, shots, name, touch=False):
        self.page, self.shots, self.name, self.touch = page, shots, name, touch
        self.step = 0

    def expect(self, condition, what):
        print(("ok:   " if condition else "FAIL: ") + "%s: %s" % (self.name, what))
        Check.failures += not condition
        return condition

    def shot(self, step):
        self.step += 1
        path = os.path.join(self.shots, "%s-%02d-%s.png" % (self.name, self.step, step))
        return Shot(self.page.screenshot(path), self.page.ratio())

    def frames(self, count=3):
        """Waits for `count` of the browser's animation frames."""
        self.page.evaluate("new Promise(done => { let n = %d; const next = () => "
                           "--n ? requestAnimationFrame(next) : done(); "
                           "requestAnimationFrame(next); })" % count)

    def get(self, obj, prop):
        return self.page.evaluate("moxelProperty(%s, %s)" % (json.dumps(obj), json.dumps(prop)))

    def rect(self, obj):
        return self.page.evaluate("moxelRect(%s)" % json.dumps(obj))

    def press(self, obj):
        self.page.press(obj, self.touch)
        self.frames()

    def catch(self):
        """A tap or click on a point of a Moxel that nothing covers: one may
        have stopped half beyond the field's edge, or behind a picture or a
        label, and then the game goes on a little and stops again."""
        inside = lambda r, x, y: r["x"] <= x <= r["x"] + r["width"] and \
            r["y"] <= y <= r["y"] + r["height"]  # noqa: E731
        for attempt in range(10):
            field, others = self.rect("Form10.ClientArea"), [r for r in map(self.rect, COVERS) if r]
            for moxel in map(self.rect, ("Image1(0)", "Image1(1)")):
                for x, y in ((moxel["x"] + moxel["width"] * (i + 0.5) / 5,
                              moxel["y"] + moxel["height"] * (j + 0.5) / 5)
                             for i in range(5) for j in range(5)):
                    if inside(field, x, y) and not any(inside(r, x, y) for r in others):
                        (self.page.tap if self.touch else self.page.click)(x, y)
                        self.frames()
                        return
            self.start()
            time.sleep(0.2)
            self.press("Command2")
        self.expect(False, "a Moxel shows where it can be caught")

    def count(self):
        return self.page.evaluate(CLOCK)

    def start(self):
        self.press("Command3" if self.rect("Command3") else "Command1")

    def runs(self):
        before = self.count()
        time.sleep(0.3)
        self.frames()
        return self.count() > before

    def on_page(self, obj):
        """Whether the object is whole on the page, with nothing to scroll."""
        r, (width, height, scrolls) = self.rect(obj), self.page.evaluate(
            "[visualViewport.width, visualViewport.height, document.documentElement.scrollWidth "
            "> innerWidth + 1 || document.documentElement.scrollHeight > innerHeight + 1]")
        return bool(r) and r["x"] >= 0 and r["y"] >= 0 and r["x"] + r["width"] <= width + 0.5 \
            and r["y"] + r["height"] <= height + 0.5 and not scrolls

    def strays(self, shot, window, linux, masked=()):
        """Stray pixels of the window against the Linux build's picture of
        the same step, but for the masked objects: on its black field, and
        elsewhere; the stray pixels marked in a picture of their own. None
        where the window is not shown at the design's size."""
        r = self.rect(window)
        theirs = numpy.asarray(Image.open(linux).convert("RGB"), dtype=int)
        ours = shot.part(r) if r else None
        if ours is None or ours.shape != theirs.shape:
            return None
        masks = [(round(m["x"] - r["x"]), round(m["y"] - r["y"]), round(m["width"]),
                  round(m["height"])) for m in map(self.rect, masked) if m]
        stray, field, elsewhere = stray_pixels(ours, theirs, masks)
        if stray.any():
            marked = ours.copy()
            marked[stray] = (255, 0, 255)
            Image.fromarray(marked.astype(numpy.uint8)).save(shot.path[:-4] + "-stray.png")
        return field, elsewhere, stray.size

    def looks_as_on_linux(self, shot, window, linux, masked=()):
        """The window whole, as on Linux: nothing stray on the black field,
        and a little elsewhere, as text is antialiased a little differently
        at some ratios."""
        found = self.strays(shot, window, linux, masked)
        if not found:
            return self.expect(False, "%s is shown at the design's size" % window)
        field, elsewhere, size = found
        return self.expect(field == 0 and elsewhere <= size // 500,
                           "%s looks as on Linux: %d stray pixels on the black field, %d elsewhere"
                           % (window, field, elsewhere))


def fits(check, screen):
    """The main window whole on the screen, as large as the screen allows:
    where it is wider than high and the game must shrink, with the page's
    lines beside it."""
    check.expect(check.on_page("Form10"), "the main window is whole on the screen")
    scale, page, lines = check.page.evaluate(
        "[visualViewport.scale, ...['#screen', 'footer'].map(s => (r => ({left: r.left, right: "
        "r.right, width: r.width, height: r.height}))(document.querySelector(s)"
        ".getBoundingClientRect()))]")
    beside = lines["left"] >= page["right"]
    fitting = min(1, screen[0] / (page["width"] + beside * lines["width"]),
                  screen[1] / (page["height"] + (not beside) * lines["height"]))
    check.expect(abs(scale - fitting) < 0.01 and (beside or screen[0] <= screen[1] or fitting == 1),
                 "it is as large as the screen allows (%.3f of the design, %.3f fits, the lines %s)"
                 % (scale, fitting, "beside" if beside else "below"))


def play_and_compare(check, screen, linux):
    """Start, Stop, Level 3 from its menu, a few seconds of play, Stop, a
    catch and Close, the pictures compared with Linux's at each step."""
    if screen[3]:
        fits(check, screen)
    check.page.evaluate("window.mice = 0; for (const type of ['mousedown', 'mouseup', 'click']) "
                        "document.addEventListener(type, () => mice++, true); 1")
    check.looks_as_on_linux(check.shot("start-screen"), "Form10", linux("start-screen.png"))
    check.press("Command1")
    check.expect(check.runs(), "Start starts the game")
    if screen[3]:
        time.sleep(0.5)
        check.expect(check.page.evaluate("mice") == 0,
                     "a tap reaches the game alone: the browser adds no mouse events")
    check.press("Command2")
    stopped = check.count()
    time.sleep(0.2)
    check.expect(check.get("Command3", "Visible") == "true" and check.count() == stopped,
                 "Stop stops it, and only stops it")
    check.press("mnuOption")
    check.shot("menu")
    check.press("mnuLevel3")
    check.expect(check.get("Form10", "speed") == "1" and check.runs(),
                 "the menu's title opens it, and Level 3 plays level 3")
    time.sleep(3)
    check.press("Command2")
    shot = check.shot("stopped-at-level-3")
    check.looks_as_on_linux(shot, "Form10", linux("stopped-at-level-3.png"), MOVING)
    lines = text_lines(shot.part(check.rect("Command3")))
    check.expect(lines == 1, "\"Start the game\" takes %d line(s), as on Linux 1" % lines)
    check.catch()
    check.looks_as_on_linux(check.shot("score-window"), "Form11", linux("score-window.png"), VALUES)
    check.expect(check.on_page("Form11"), "a catch shows the score window, whole")
    check.press("Form11.Command1")
    check.expect(not check.rect("Form11"), "Close closes it")


def window_state(check):
    """Which window is active and which of the score window's buttons has
    the keyboard."""
    return [check.get(name, prop) for name, prop in (
        ("Form10", "isActiveWindow"), ("Form11", "isActiveWindow"),
        ("Form11.Command1", "focus"), ("Form11.Command3", "focus"))]


def turns(check, screen, linux):
    """A turn while a game runs, Stop, a catch, a turn back with the score
    window open and Close by tap: each time the windows keep their stacking
    (the score window is whole on top), the active one and the focus, and
    taps land."""
    upright, turned = screen, (screen[1], screen[0], *screen[2:])
    kept = []
    for run in range(TURNS):
        check.start()
        check.page.emulate(*turned)
        time.sleep(0.3)
        running = check.runs()
        check.press("Command2")
        check.catch()
        before = window_state(check)
        check.page.emulate(*upright)
        time.sleep(0.3)
        check.frames()
        after = window_state(check)
        score = check.strays(check.shot("turned-back"), "Form11", linux("score-window.png"), VALUES)
        check.press("Form11.Command1")
        kept.append(running and before == after and score and score[0] + score[1] == 0 and
                    not check.rect("Form11"))
        if not kept[-1]:
            print("      run %d: runs after the turn %s; before %s, after %s; stray pixels %s" % (
                run, running, before, after, score))
    check.expect(all(kept), "%d of %d turns keep the windows, and taps land after them"
                 % (sum(kept), len(kept)))


def zooms(check, linux):
    """A browser's zoom or ratio changed while a game runs, once and many
    times a second, within reason and beyond: the game runs on, whole."""
    check.start()
    # As Ctrl+minus and Ctrl+plus change them: the ratio, and the page's
    # size in CSS pixels with it.
    for ratio in (0.9, 1.25, 0.5, 5, *[0.8 + 0.1 * (i % 5) for i in range(20)], 1):
        check.page.emulate(round(1024 / ratio), round(768 / ratio), ratio, mobile=False)
    time.sleep(0.3)
    check.expect(check.runs(), "the game runs on through changes of zoom")
    check.press("Command2")
    check.looks_as_on_linux(check.shot("zoomed"), "Form10", linux("stopped-at-level-3.png"), MOVING)


def play_with_mouse_and_keys(check, page):
    check.press("Command1")
    running = check.shot("running")
    frames_meet_the_displays(check)
    later = check.shot("running-later")
    field = check.rect("Form10.ClientArea")
    field = dict(field, y=field["y"] + 80, height=field["height"] - 80)
    check.expect(apart(running.part(field), later.part(field)).sum() > 100, "the Moxels move")
    check.press("Command2")
    stopped = check.shot("stopped")
    time.sleep(0.3)
    check.expect(not apart(check.shot("still-stopped").part(field), stopped.part(field)).any(),
                 "Stop halts the game")
    check.press("mnuOption")
    check.press("mnuLevel3")
    page.key("s", alt=True)
    check.expect(check.get("Timer1", "Enabled") == "false" and check.get("Command3", "Visible") == "true",
                 "Alt+S stops the game")
    check.catch()
    caught = check.shot("score-window")
    score = check.rect("Form11.ClientArea")
    check.expect(score and (round(score["x"]), round(score["y"])) == (340, 350) and
                 caught.pixel(score["x"] + 220, score["y"] + 70) == DARK_BLUE,
                 "the score window is at its place")
    for value, name in (("Label5", "time"), ("Label11", "score"), ("Label8", "rank")):
        check.expect(check.get("Form11." + value, "Caption").strip() != "",
                     "the score window shows the " + name)
    check.press("Form11.Command1")
    check.expect(not check.rect("Form11"), "Close closes the score window")
    page.key("s", alt=True)
    check.expect(check.get("Command2", "Visible") == "true",
                 "then the keys reach the main window: Alt+S starts a game")
    page.key("s", alt=True)

    check.press("mnuGame")
    check.shot("game-menu")
    check.press("mnuExit")
    ended = page.wait_for(TEXT % ("ended", "endedText"), 10)
    check.shot("ended")
    check.expect(ended == "The game has ended.", "Exit stops the program, and the page says so")


def frames_meet_the_displays(check):
    """Every change of the clock's box is drawn in one of the browser's
    animation frames, none in a task between two of them."""
    changes, between = check.page.evaluate("""new Promise(done => {
      let frame = 0, seen = frame, shown = moxelProperty('Text1', 'text'), changes = 0, between = 0;
      const channel = new MessageChannel();
      channel.port1.onmessage = () => {
        const now = moxelProperty('Text1', 'text');
        if (now !== shown) { changes++; between += frame === seen; shown = now; }
        seen = frame;
        if (frame < 30) channel.port2.postMessage(0); else done([changes, between]);
      };
      const count = () => { frame++; requestAnimationFrame(count); };
      requestAnimationFrame(count);
      channel.port2.postMessage(0);
    })""")
    check.expect(changes > 10 and between == 0, "the game draws at the browser's animation frames "
                 "(%d of %d changes between them)" % (between, changes))


def precise_pace(check, page, url):
    page.open_game(url + "?precise-timers")
    check.press("Command1")
    began, count = page.evaluate("performance.now()"), check.count()
    time.sleep(1)
    elapsed = (page.evaluate("performance.now()") - began) / 1000
    ticks = check.count() - count
    check.expect(ticks > 2 * (100 * elapsed + 1), "?precise-timers plays at the precise pace "
                 "(%d ticks in %.2f s; the classic pace counts 100 a second)" % (ticks, elapsed))


def app(check, page, site):
    """Installable; played with the server gone; updated whole."""
    errors = page.send("Page.getInstallabilityErrors")["installabilityErrors"]
    check.expect(not errors, "Chromium can install it as an app %s" % (errors or ""))
    manifest = json.loads(page.send("Page.getAppManifest")["data"])
    check.expect(manifest.get("display") == "standalone" and {"any", "maskable"} <= {
        i.get("purpose") for i in manifest["icons"]}, "its manifest: standalone, with maskable icons")
    cache = page.wait_for("navigator.serviceWorker.ready.then(() => caches.keys())"
                          ".then(keys => keys.length === 1 && keys[0])", 30)

    site.gone = True
    page.open_game(site.url)
    check.press("Command1")
    check.expect(check.runs(), "with the server gone, the page loads and plays")
    site.gone = False

    with tempfile.TemporaryDirectory() as work:
        built = site.folder
        site.serve(changed_site(built, work))
        page.open_game(site.url)  # the old page, from the cache, finds the new build
        # As a browser checks again later: one check may have met the server gone.
        page.evaluate("navigator.serviceWorker.getRegistration().then(r => r.update()).then(() => 1)")
        page.wait_for("caches.keys().then(keys => keys.length === 1 && keys[0] !== %s)"
                      % json.dumps(cache), 60)
        page.open_game(site.url)
        check.shot("updated")
        check.expect([page.evaluate("document.title"), page.evaluate("window.moxelChanged"),
                      check.get("Form10", "Caption")] ==
                     ["Catch the Moxel, changed", "script", "There's something about MOXEL"],
                     "a new build runs whole: its page, its script and its program")
        site.serve(built)


def changed_site(site, work):
    """The site built anew from a page, script and program each changed."""
    changed = os.path.join(work, "site")
    shutil.copytree(site, changed)
    build = os.path.dirname(site)
    program = os.path.join(work, "catch-the-moxel")
    with open(os.path.join(build, "page.html.in")) as f:
        page = f.read().replace("<title>Catch the Moxel</title>",
                                "<title>Catch the Moxel, changed</title>")
    with open(os.path.join(work, "page.html.in"), "w") as f:
        f.write(page)
    with open(os.path.join(site, "catch-the-moxel.js")) as f:
        script = f.read() + "\nglobalThis.moxelChanged = 'script';\n"
    with open(program + ".js", "w") as f:
        f.write(script)
    with open(os.path.join(site, "catch-the-moxel.wasm"), "rb") as f:
        wasm = f.read().replace("about Moxel".encode("utf-16-le"), "about MOXEL".encode("utf-16-le"))
    with open(program + ".wasm", "wb") as f:
        f.write(wasm)
    subprocess.check_call([os.path.join(HERE, "..", "cmake", "web-site.py"),
                           os.path.join(work, "page.html.in"),
                           os.path.join(HERE, "..", "app", "web", "service-worker.js.in"),
                           program, changed])
    return changed


# Before the program starts, it is given a command line it refuses.
BAD_COMMAND_LINE = """
    Object.defineProperty(window, "createQtAppInstance", { configurable: true,
      set(start) { Object.defineProperty(window, "createQtAppInstance", { value: (config) =>
        start({ ...config, arguments: ["--no-such-option"] }) }); } });"""


def pages_that_cannot_play(shots, site):
    """Where the game cannot run, the page says why in a sentence and stays:
    it reloads once for a program that is not the page's, or for none, then
    offers a reload; never for a browser without WebGL or a program that
    stops with an error status."""
    def another_build(folder, work):
        other = changed_site(built, work)
        for name in ("catch-the-moxel.js", "catch-the-moxel.wasm"):
            shutil.copy(os.path.join(other, name), os.path.join(folder, name))

    def a_changed_byte(folder, work):
        with open(os.path.join(folder, "catch-the-moxel.wasm"), "r+b") as f:
            f.seek(-1, os.SEEK_END)
            last = f.read(1)[0]
            f.seek(-1, os.SEEK_END)
            f.write(bytes([last ^ 1]))

    def no_program(folder, work):
        os.remove(os.path.join(folder, "catch-the-moxel.wasm"))

    built = site.folder
    for name, flags, script, spoil, part, said, loads in (
            ("no WebGL", ["--disable-webgl", "--disable-3d-apis"], "", None, "missing",
             "WebGL is missing or switched off", 1),
            ("an error status", [], BAD_COMMAND_LINE, None, "ended",
             "The game stopped with status 2.", 1),
            ("another build's program", [], "", another_build, "failed", "being updated", 2),
            ("a changed byte", [], "", a_changed_byte, "failed", "being updated", 2),
            ("no program", [], "", no_program, "failed", "could not be downloaded", 2)):
        with tempfile.TemporaryDirectory() as work, Browser(extra_flags=flags) as browser:
            folder = os.path.join(work, "served")
            shutil.copytree(built, folder, ignore=shutil.ignore_patterns("*.gz", "*.br"))
            if spoil:
                spoil(folder, work)
            site.serve(folder)
            page = browser.page()
            page.send("Page.addScriptToEvaluateOnNewDocument", source=script + REFUSALS)
            page.navigate(site.url)
            try:
                text = page.wait_for(TEXT % (part, part + "Text"), 30)
            except TimeoutError:  # a page that reloads on and on, or plays
                text = ""
            time.sleep(2)
            page.evaluate("1")  # the events that came meanwhile
            counted = sum(e.get("method") == "Page.frameNavigated" and
                          "parentId" not in e["params"]["frame"] for e in page.events)
            check = Check(page, shots, "cannot-play")
            check.shot(name.replace(" ", "-").replace("'", ""))
            offered = page.evaluate("!!document.getElementById('reload').offsetParent")
            check.expect(said in text and counted == loads and offered == (part == "failed") and
                         not page.evaluate(GAME_SHOWN) and not page.evaluate("refused.length"),
                         "%s: the page loads %d time(s) of %d, then says %r%s" %
                         (name, counted, loads, text, " and offers a reload" if offered else ""))
    site.serve(built)


def slow_network_no_worker(shots, site):
    """The progress bar moves on a slow network; where the browser refuses
    the service worker, the game plays."""
    with Browser() as browser:
        page = browser.page()
        page.send("Page.addScriptToEvaluateOnNewDocument", source="""
            navigator.serviceWorker.register = () => Promise.reject(new DOMException("no", "SecurityError"));""")
        page.send("Network.enable")
        page.send("Network.emulateNetworkConditions", offline=False, latency=20,
                  downloadThroughput=4e6, uploadThroughput=-1)
        page.navigate(site.url)
        seen = set()
        while not page.wait_for("document.getElementById('progress') && [%s]" % GAME_SHOWN)[0]:
            seen.add(page.evaluate("document.getElementById('progress').value"))
            time.sleep(0.05)
        check = Check(page, shots, "slow-network-no-worker")
        check.expect(any(0 < v < 1 for v in seen), "the progress bar moves as the program arrives")
        check.press("Command1")
        check.expect(check.runs() and not page.evaluate(SHOWN % "missing"),
                     "where the browser refuses the service worker, the game plays")


# Whatever the site's security policy refuses, as the page hears of it.
REFUSALS = """window.refused = [];
document.addEventListener("securitypolicyviolation",
                          (e) => refused.push(e.effectiveDirective + " " + e.blockedURI));"""


def console_clean(check, page):
    errors = [line for line in page.console if "exception" in line or "rror" in line]
    errors += ["refused: " + line for line in page.evaluate("window.refused || []")]
    check.expect(not errors, "no errors in the page's console, nothing refused by the site's "
                 "security policy" + "".join("\n      " + line for line in errors))


def main():
    site_folder, linux_folder = map(os.path.abspath, sys.argv[1:3])
    linux = lambda name: os.path.join(linux_folder, name)  # noqa: E731
    shots = os.path.join(os.path.dirname(site_folder), "screenshots")
    shutil.rmtree(shots, ignore_errors=True)
    os.makedirs(shots)
    with Site(site_folder, gzip=True) as site:
        for name, screen in SCREENS.items():
            with Browser() as browser:
                page = browser.page()
                page.send("Page.addScriptToEvaluateOnNewDocument", source=REFUSALS)
                page.open_game(site.url, screen)
                check = Check(page, shots, name, touch=screen[3])
                try:
                    play_and_compare(check, screen, linux)
                    if name in ("phone", "phone-360"):  # the latter draws at 1, then 2
                        turns(check, screen, linux)
                    if name == "desktop":
                        zooms(check, linux)
                        page.open_game(site.url, screen)
                        play_with_mouse_and_keys(check, page)
                        page.open_game(site.url)
                        app(Check(page, shots, "app"), page, site)
                        precise_pace(Check(page, shots, "precise"), page, site.url)
                finally:
                    console_clean(check, page)
        with Browser(scale=2) as browser:
            page = browser.page()
            page.open_game(site.url)
            check = Check(page, shots, "2x")
            portrait = check.rect("Image5")
            ours = check.shot("desktop").device_pixels(dict(portrait, width=216, height=274))
            sharp = numpy.asarray(Image.open(os.path.join(HERE, "..", "assets", "portrait@2x.jpg"))
                                  .convert("RGB"), dtype=int)
            check.expect(ours.shape == sharp.shape and numpy.abs(ours - sharp).max() <= 5,
                         "at twice the density the portrait is the sharp one")
        slow_network_no_worker(shots, site)
        pages_that_cannot_play(shots, site)
    print("screenshots in " + shots)
    return 1 if Check.failures else 0


if __name__ == "__main__":
    sys.exit(main())
