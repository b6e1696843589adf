#!/usr/bin/python3
"""The game's page played in headless Chromium as a player meets it, with real
input through the DevTools protocol: the start screen; Start, and the Moxels
moving; Stop, then Level 3 from the menu; a catch after Alt+S, the score
window at its place with time, score and rank; Close; Exit, and the page
saying that the game has ended. Each step is checked on the screen and its
screenshot kept in <build>/screenshots/ to be looked at. The start screen is
compared with the Linux grab in docs/, and on a screen of twice the density
the pictures must be the sharp ones drawn at twice the size.
Usage: web_check.py <site folder>"""

import os
import subprocess
import tempfile
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools import Browser, Site  # noqa: E402

# Where Qt's web platform puts the main window: its frame at the page's top
# left, a 4 px border, an 18 px title bar and the 19 px menu bar above the
# client area; the score window's client area at its designed place.
CLIENT = (4, 45)
SCORE_WINDOW = (340, 350, 466, 185)
DARK_BLUE, LIGHT_ORANGE, SHOES = (0, 0, 128), (255, 192, 128), (0xFF, 0x4A, 0x4A)


HERE = os.path.dirname(os.path.abspath(__file__))
PORTRAIT = (1320 // 15, 2880 // 15, 216, 274)  # in the client area


def at(x, y):
    """A point of the main window's client area, in pixels, on the page."""
    return CLIENT[0] + x, CLIENT[1] + y


class Screen:
    """A screenshot's pixels, read with ImageMagick."""

    def __init__(self, path):
        self.width, self.height = map(int, subprocess.check_output(
            ["identify", "-format", "%w %h", path]).split())
        self.rgb = subprocess.check_output(["convert-im6.q16", path, "-depth", "8", "rgb:-"])

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def find(self, colour, box):
        """The first point of `colour` in the box (left, top, width, height)."""
        left, top, width, height = box
        for y in range(top, top + height):
            for x in range(left, left + width):
                if self.pixel(x, y) == colour:
                    return x, y
        return None

    def differs(self, other, box):
        left, top, width, height = box
        return sum(self.pixel(x, y) != other.pixel(x, y)
                   for y in range(top, top + height) for x in range(left, left + width))


def differing_pixels(screenshot, box, picture, scale=1):
    """Pixels of the box (in page pixels) of a screenshot that differ from a
    picture, and the picture's pixel count."""
    left, top, width, height = (scale * v for v in box)
    with tempfile.TemporaryDirectory() as work:
        crop = os.path.join(work, "crop.png")
        subprocess.check_call(["convert-im6.q16", screenshot, "-crop",
                               "%dx%d+%d+%d" % (width, height, left, top), "+repage", crop])
        # compare prints the count on stderr, and exits 1 when pictures differ.
        count = subprocess.run(["compare", "-metric", "AE", "-fuzz", "2%", crop, picture, "null:"],
                               capture_output=True, text=True).stderr
    return int(float(count.split()[0])), width * height


class Check:
    def __init__(self, page, shots):
        self.page, self.shots, self.failures, self.step = page, shots, 0, 0

    def shot(self, name):
        self.step += 1
        path = os.path.join(self.shots, "%02d-%s.png" % (self.step, name))
        self.page.screenshot(path)
        self.latest = path
        return Screen(path)

    def expect(self, condition, what):
        print(("ok:   " if condition else "FAIL: ") + what)
        self.failures += not condition

    def frames(self, count=3):
        """Waits for `count` of the browser's animation frames."""
        self.page.evaluate("new Promise(done => { let n = %d; const next = () => "
                           "--n ? requestAnimationFrame(next) : done(); "
                           "requestAnimationFrame(next); })" % count)


def play(check, page):
    field = (*at(0, 80), 733, 532 - 80)  # the client area below the clock
    start = check.shot("start-screen")
    check.expect(start.pixel(*at(480, 318)) == LIGHT_ORANGE, "the start button is shown")
    # Text is antialiased a little differently; other fonts would differ much more.
    differ, total = differing_pixels(check.latest, (CLIENT[0], CLIENT[1] - 19, 733, 551),
                                     os.path.join(HERE, "..", "docs", "start-screen.png"))
    check.expect(differ < total // 100, "the start screen looks as on Linux (%d of %d pixels differ)"
                 % (differ, total))

    page.click(*at(572, 340))  # "Start the Game"
    check.frames()
    running = check.shot("running")
    time.sleep(0.5)
    check.frames()
    later = check.shot("running-later")
    check.expect(running.differs(later, field) > 100, "the Moxels move")
    check.expect(running.differs(later, (*at(16, 40), 100, 30)) > 10, "the clock counts")

    page.click(*at(684, 508))  # "Stop the game"
    check.frames()
    stopped = check.shot("stopped")
    time.sleep(0.3)
    check.expect(check.shot("still-stopped").differs(stopped, field) == 0, "Stop halts the game")
    page.click(*at(172, -10))  # "Difficulty Options"
    check.frames()
    check.shot("difficulty-menu")
    page.click(*at(136, 53))  # "Level 3"
    check.frames()
    level3 = check.shot("level-3")
    time.sleep(0.3)
    check.frames()
    check.expect(check.shot("level-3-later").differs(level3, field) > 100,
                 "Level 3 starts a game at once")

    # Alt+S stops the game; the Moxel is found by its shoes' colour. Where the
    # field's edge or a picture hides both, the game runs on a little.
    for _ in range(5):
        page.key("s", alt=True)
        check.frames()
        moxel = check.shot("stopped-for-a-catch").find(SHOES, field)
        if moxel:
            break
        page.key("s", alt=True)
        time.sleep(0.2)
    check.expect(moxel is not None, "a Moxel is on the field")
    if moxel:
        page.click(*moxel)
    check.frames()
    caught = check.shot("score-window")
    x, y, width, height = SCORE_WINDOW
    check.expect(all(caught.pixel(*p) == DARK_BLUE for p in
                     [(x + 2, y + 2), (x + width - 3, y + height - 3), (x + 220, y + 70)]),
                 "the score window is at its place")
    # The time, the score and the rank are drawn on their light boxes.
    for name, box in [("time", (x + 160, y + 8, 40, 25)), ("score", (x + 160, y + 56, 40, 25)),
                      ("rank", (x + 160, y + 104, 249, 25))]:
        ink = sum(caught.pixel(px, py) != caught.pixel(box[0] + 1, box[1] + 1)
                  for py in range(box[1], box[1] + box[3]) for px in range(box[0], box[0] + box[2]))
        check.expect(ink > 20, "the score window shows the " + name)

    page.click(x + 112, y + 160)  # "Close the score Bar"
    check.frames()
    closed = check.shot("closed")
    check.expect(closed.pixel(x + 220, y + 70) != DARK_BLUE, "Close closes the score window")
    page.key("s", alt=True)
    check.expect(page.evaluate("moxelProperty('Command2', 'Visible')") == "true",
                 "then the keys reach the main window: Alt+S starts a game")
    page.key("s", alt=True)

    page.click(*at(58, -10))  # "Start new game"
    check.frames()
    check.shot("game-menu")
    page.click(*at(40, 32))  # "Exit"
    ended = page.wait_for("getComputedStyle(document.getElementById('ended')).display "
                          "!== 'none' && document.getElementById('endedText').textContent", 10)
    check.shot("ended")
    time.sleep(0.5)  # the program stops after the handler
    check.expect(ended == "The game has ended." == page.evaluate(
        "document.getElementById('endedText').textContent"), "Exit ends the game, and the page says so")


def sharp_at_twice_the_density(check, site):
    with Browser(scale=2) as browser:
        page = browser.page()
        page.navigate(site.url)
        page.wait_for("getComputedStyle(document.getElementById('canvas')).display === 'block'", 60)
        time.sleep(0.5)
        path = os.path.join(check.shots, "start-screen-at-2x.png")
        page.screenshot(path)
    differ, _ = differing_pixels(path, (*at(*PORTRAIT[:2]), *PORTRAIT[2:]),
                                 os.path.join(HERE, "..", "assets", "portrait@2x.jpg"), scale=2)
    check.expect(differ == 0, "at twice the density the portrait is the sharp one "
                 "(%d pixels differ)" % differ)


def main():
    site = os.path.abspath(sys.argv[1])
    shots = os.path.join(os.path.dirname(site), "screenshots")
    os.makedirs(shots, exist_ok=True)
    with Site(site) as server, Browser() as browser:
        page = browser.page()
        page.navigate(server.url)
        page.wait_for("getComputedStyle(document.getElementById('canvas')).display === 'block'", 60)
        time.sleep(0.5)  # the first frames
        check = Check(page, shots)
        try:
            play(check, page)
        finally:
            errors = [line for line in page.console if "exception" in line or "rror" in line]
            check.expect(not errors, "no errors in the page's console" +
                         "".join("\n      " + line for line in errors))
        sharp_at_twice_the_density(check, server)
    print("screenshots in " + shots)
    return 1 if check.failures else 0


if __name__ == "__main__":
    sys.exit(main())
