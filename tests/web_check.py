#!/usr/bin/python3
"""The game's page played in headless Chromium as players meet it, with real
input through the DevTools protocol, each step checked on the screen and its
screenshot kept in <build>/screenshots/ to be looked at:
- on a desktop, with the mouse and keys: the start screen as on Linux; Start,
  Stop, Level 3, a catch, the score window at its place, Close, Exit; frames
  drawn at the browser's own; the precise pace;
- on a phone in portrait and in landscape and on a tablet, by touch alone: the
  game fits; Start, Stop, a menu, a catch, the score window whole, Close; on
  the phone a rotation while a game runs;
- the app: installable, played again with the server gone, updated whole;
- the page where the browser lacks WebGL or a service worker, while the
  program downloads slowly, and when the program stops with an error.
Usage: web_check.py <site folder>"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "scripts", "lib"))
from devtools import DEVICES, Browser, Site  # noqa: E402

DARK_BLUE, LIGHT_ORANGE, SHOES, BLACK = (0, 0, 128), (255, 192, 128), (0xFF, 0x4A, 0x4A), (0, 0, 0)
SHOWN = "getComputedStyle(document.getElementById('%s')).display !== 'none'"


class Screen:
    """A screenshot's pixels, read with ImageMagick, addressed in page pixels."""

    def __init__(self, path, scale):
        self.scale = scale
        self.width, self.height = map(int, subprocess.check_output(
            ["identify", "-format", "%w %h", path]).split())
        self.rgb = subprocess.check_output(["convert-im6.q16", path, "-depth", "8", "rgb:-"])

    def pixel(self, x, y):
        i = 3 * (int(y * self.scale) * self.width + int(x * self.scale))
        return tuple(self.rgb[i:i + 3])

    def find(self, colour, box):
        """The first point of `colour` in the box (left, top, width, height)."""
        left, top, width, height = map(int, box)
        for y in range(top, top + height):
            for x in range(left, left + width):
                if self.pixel(x, y) == colour:
                    return x, y
        return None

    def differs(self, other, box):
        left, top, width, height = map(int, box)
        return sum(self.pixel(x, y) != other.pixel(x, y)
                   for y in range(top, top + height) for x in range(left, left + width))


def differing_pixels(screenshot, box, picture, scale=1):
    """Pixels of the box (in page pixels) of a screenshot that differ from a
    picture, and the picture's pixel count."""
    left, top, width, height = (int(scale * v) for v in box)
    with tempfile.TemporaryDirectory() as work:
        crop = os.path.join(work, "crop.png")
        subprocess.check_call(["convert-im6.q16", screenshot, "-crop",
                               "%dx%d+%d+%d" % (width, height, left, top), "+repage", crop])
        # compare prints the count on stderr, and exits 1 when pictures differ.
        count = subprocess.run(["compare", "-metric", "AE", "-fuzz", "2%", crop, picture, "null:"],
                               capture_output=True, text=True).stderr
    return int(float(count.split()[0])), width * height


class Check:
    """One page: steps, their screenshots, and the game's objects by name."""
    failures = 0

    def __init__(self, page, shots, name, touch=False, scale=1):
        self.page, self.shots, self.name, self.touch, self.scale = page, shots, name, touch, scale
        self.step = 0

    def expect(self, condition, what):
        print(("ok:   " if condition else "FAIL: ") + "%s: %s" % (self.name, what))
        Check.failures += not condition
        return condition

    def shot(self, step):
        self.step += 1
        self.latest = os.path.join(self.shots, "%s-%02d-%s.png" % (self.name, self.step, step))
        self.page.screenshot(self.latest)
        return Screen(self.latest, self.scale * self.page.evaluate("visualViewport.scale"))

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

    def catch(self, moxel="Image1(0)"):
        """A tap or click on the part of a Moxel the field shows: one may
        have stopped half beyond its edge."""
        r, field = self.rect(moxel), self.rect("Form10.ClientArea")
        x = (max(r["x"], field["x"]) + min(r["x"] + r["width"], field["x"] + field["width"])) / 2
        y = (max(r["y"], field["y"]) + min(r["y"] + r["height"], field["y"] + field["height"])) / 2
        (self.page.tap if self.touch else self.page.click)(x, y)
        self.frames()

    def count(self):
        return 101 * int(self.get("Form10", "s1")) + int(self.get("Form10", "t1"))

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


def open_page(browser, url, device=None):
    page = browser.page()
    if device:
        page.emulate(*device)
    page.navigate(url)
    page.wait_for(SHOWN % "canvas", 60)
    time.sleep(0.5)  # the first frames
    return page


def fits(check, device):
    """The main window whole on the screen, at least 0.85 of the scale that
    just fits it, and at the design's size where that fits."""
    check.expect(check.on_page("Form10"), "the main window is whole on the screen")
    main, scale = check.rect("Form10"), check.page.evaluate("visualViewport.scale")
    fitting = min(1, device[0] / main["width"], device[1] / main["height"])
    check.expect(scale >= 0.85 * fitting, "it is as large as the screen allows "
                 "(%.3f of the design, %.3f fits)" % (scale, fitting))


# The main window's controls, shown or not, in the design's names.
CONTROLS = ("Command1", "Command2", "Command3", "Text1", "Text2", "Label1", "Label2", "Label3",
            "Label4", "Label5", "Label6", "Label7", "Image1(0)", "Image1(1)", "Image2", "Image3",
            "Image4", "Image5", "Shape1", "Line1")


def field_drawn_whole(check, screen):
    """Points of the field where no control is, and those of them black: a
    window drawn only where things changed shows white there."""
    field = check.rect("Form10.ClientArea")
    controls = [r for r in map(check.rect, CONTROLS) if r]
    points = [(field["x"] + field["width"] * (i + 0.5) / 24,
               field["y"] + field["height"] * (j + 0.5) / 18) for i in range(24) for j in range(18)]
    bare = [p for p in points if not any(c["x"] - 2 <= p[0] <= c["x"] + c["width"] + 2 and
                                         c["y"] - 2 <= p[1] <= c["y"] + c["height"] + 2
                                         for c in controls)]
    return sum(screen.pixel(*p) == BLACK for p in bare), len(bare)


def play_by_touch(check, device, site_url, browser):
    fits(check, device)
    check.shot("start-screen")
    check.press("Command1")
    check.expect(check.runs(), "a tap on Start starts the game")
    check.press("Command2")
    stopped = check.count()
    time.sleep(0.2)
    check.expect(check.get("Command3", "Visible") == "true" and check.count() == stopped,
                 "a tap on Stop stops it, and only stops it")
    check.press("mnuOption")
    check.shot("menu")
    check.press("mnuLevel3")
    check.expect(check.get("Form10", "speed") == "1" and check.runs(),
                 "a tap on the menu's title opens it, and one on Level 3 plays level 3")
    check.press("Command2")
    check.catch()
    check.shot("score-window")
    check.expect(check.on_page("Form11"), "a tap on a Moxel shows the score window, whole")
    check.press("Form11.Command1")
    check.expect(not check.rect("Form11"), "a tap on Close closes it")


def rotation(check, device):
    """A game that runs on through a rotation, drawn whole after it."""
    check.press("Command3")
    check.page.emulate(device[1], device[0], device[2])
    time.sleep(0.5)
    check.frames()
    fits(check, (device[1], device[0]))
    check.expect(check.runs(), "the game runs on after a rotation")
    check.press("Command2")
    black, bare = field_drawn_whole(check, check.shot("rotated"))
    check.expect(black == bare, "the field is drawn whole (%d of %d points black)" % (black, bare))


def play_with_mouse_and_keys(check, page):
    start = check.shot("start-screen")
    client = check.rect("Form10.ClientArea")
    check.expect(start.pixel(*centre(check.rect("Command1"))) == LIGHT_ORANGE,
                 "the start button is shown")
    # The Linux grab holds the menu bar above the client area. Text is
    # antialiased a little differently; other fonts would differ much more.
    linux = os.path.join(HERE, "..", "docs", "start-screen.png")
    width, height = map(int, subprocess.check_output(["identify", "-format", "%w %h", linux]).split())
    top = client["y"] + client["height"] - height
    differ, total = differing_pixels(check.latest, (client["x"], top, width, height), linux)
    check.expect(differ < total // 100, "the start screen looks as on Linux (%d of %d pixels "
                 "differ)" % (differ, total))
    field = (client["x"], client["y"] + 80, client["width"], client["height"] - 80)

    check.press("Command1")
    running = check.shot("running")
    frames_meet_the_displays(check)
    later = check.shot("running-later")
    check.expect(running.differs(later, field) > 100, "the Moxels move")
    check.press("Command2")
    stopped = check.shot("stopped")
    time.sleep(0.3)
    check.expect(check.shot("still-stopped").differs(stopped, field) == 0, "Stop halts the game")
    check.press("mnuOption")
    check.shot("difficulty-menu")
    check.press("mnuLevel3")
    check.expect(check.get("Form10", "speed") == "1" and check.runs(),
                 "Level 3 starts a game at once")

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
    ended = page.wait_for(SHOWN % "ended" + " && document.getElementById('endedText').textContent", 10)
    check.shot("ended")
    check.expect(ended == "The game has ended.", "Exit stops the program, and the page says so")


def centre(r):
    return r["x"] + r["width"] / 2, r["y"] + r["height"] / 2


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
    page.navigate(url + "?precise-timers")
    page.wait_for(SHOWN % "canvas", 60)
    check.press("Command1")
    began, count = page.evaluate("performance.now()"), check.count()
    time.sleep(1)
    elapsed = (page.evaluate("performance.now()") - began) / 1000
    ticks = check.count() - count
    check.expect(ticks > 2 * (100 * elapsed + 1), "?precise-timers plays at the precise pace "
                 "(%d ticks in %.2f s; the classic pace counts 100 a second)" % (ticks, elapsed))


def app(check, page, site, shots):
    """Installable; played with the server gone; updated whole."""
    errors = page.send("Page.getInstallabilityErrors")["installabilityErrors"]
    check.expect(not errors, "Chromium can install it as an app %s" % (errors or ""))
    manifest = json.loads(page.send("Page.getAppManifest")["data"])
    check.expect(manifest.get("display") == "standalone" and {"any", "maskable"} <= {
        i.get("purpose") for i in manifest["icons"]}, "its manifest: standalone, with maskable icons")
    cache = page.wait_for("navigator.serviceWorker.ready.then(() => caches.keys())"
                          ".then(keys => keys.length === 1 && keys[0])", 30)

    site.gone = True
    page.navigate(site.url)
    page.wait_for(SHOWN % "canvas", 60)
    check.press("Command1")
    check.expect(check.runs(), "with the server gone, the page loads and plays")
    site.gone = False

    with tempfile.TemporaryDirectory() as work:
        built = site.folder
        site.serve(changed_site(built, work))
        page.navigate(site.url)  # the old page, from the cache, finds the new build
        page.wait_for(SHOWN % "canvas", 60)
        # As a browser checks again later: one check may have met the server gone.
        page.evaluate("navigator.serviceWorker.getRegistration().then(r => r.update()).then(() => 1)")
        page.wait_for("caches.keys().then(keys => keys.length === 1 && keys[0] !== %s)"
                      % json.dumps(cache), 60)
        page.navigate(site.url)
        page.wait_for(SHOWN % "canvas", 60)
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


def unusual_browsers(shots, site):
    """Without WebGL, without a service worker, on a slow network, and a
    program that stops with an error status or crashes."""
    with Browser(extra_flags=["--disable-webgl", "--disable-3d-apis"]) as browser:
        page = browser.page()
        page.navigate(site.url)
        text = page.wait_for(SHOWN % "missing" + " && document.getElementById('missing').textContent", 30)
        Check(page, shots, "no-webgl").expect("WebGL is missing" in text, "without WebGL the "
                                              "page says why the game cannot run")
    with Browser() as browser:
        page = browser.page()
        page.send("Page.addScriptToEvaluateOnNewDocument", source="""
            navigator.serviceWorker.register = () => Promise.reject(new DOMException("no", "SecurityError"));""")
        page.send("Network.enable")
        page.send("Network.emulateNetworkConditions", offline=False, latency=20,
                  downloadThroughput=4e6, uploadThroughput=-1)
        page.navigate(site.url)
        seen = set()
        while not page.wait_for("document.getElementById('progress') && [%s]" % SHOWN % "canvas")[0]:
            seen.add(page.evaluate("document.getElementById('progress').value"))
            time.sleep(0.05)
        check = Check(page, shots, "slow-network-no-worker")
        check.expect(any(0 < v < 1 for v in seen), "the progress bar moves as the program arrives")
        check.press("Command1")
        check.expect(check.runs() and not page.evaluate(SHOWN % "missing"),
                     "where the browser refuses the service worker, the game plays")
    with Browser() as browser:
        page = browser.page()
        page.send("Page.addScriptToEvaluateOnNewDocument", source="""
            Object.defineProperty(window, "moduleConfig", { configurable: true,
              get() { return this._config; },
              set(config) { this._config = new Proxy(config, { set(target, key, value) {
                target[key] = key === "arguments" ? ["--no-such-option"] : value; return true; } }); } });""")
        page.navigate(site.url)
        text = page.wait_for(SHOWN % "ended" + " && document.getElementById('endedText').textContent", 30)
        Check(page, shots, "bad-exit").expect(text == "The game stopped with status 2.",
                                              "a program that stops with an error status: the page "
                                              "says so (%r)" % text)


def main():
    site_folder = os.path.abspath(sys.argv[1])
    shots = os.path.join(os.path.dirname(site_folder), "screenshots")
    shutil.rmtree(shots, ignore_errors=True)
    os.makedirs(shots)
    with Site(site_folder, gzip=True) as site:
        with Browser() as browser:
            page = open_page(browser, site.url)
            check = Check(page, shots, "desktop")
            try:
                play_with_mouse_and_keys(check, page)
                page = open_page(browser, site.url)
                app(Check(page, shots, "app"), page, site, shots)
                precise_pace(Check(page, shots, "precise"), page, site.url)
            finally:
                errors = [line for line in page.console if "exception" in line or "rror" in line]
                check.expect(not errors, "no errors in the page's console" +
                             "".join("\n      " + line for line in errors))
        for name, device in DEVICES.items():
            with Browser() as browser:
                page = open_page(browser, site.url, device)
                check = Check(page, shots, name, touch=True, scale=device[2])
                play_by_touch(check, device, site.url, browser)
                if name == "phone":
                    rotation(check, device)
        with Browser(scale=2) as browser:
            page = open_page(browser, site.url)
            path = os.path.join(shots, "desktop-at-2x.png")
            page.screenshot(path)
            portrait = Check(page, shots, "2x").rect("Image5")
            differ, _ = differing_pixels(path, (portrait["x"], portrait["y"], 216, 274),
                                         os.path.join(HERE, "..", "assets", "portrait@2x.jpg"), 2)
            Check(page, shots, "2x").expect(differ == 0, "at twice the density the portrait is the "
                                            "sharp one (%d pixels differ)" % differ)
        unusual_browsers(shots, site)
    print("screenshots in " + shots)
    return 1 if Check.failures else 0


if __name__ == "__main__":
    sys.exit(main())
