#!/usr/bin/python3
"""make bench-web: the game's page in headless Chromium on a local server.

- sizes: the .wasm gzipped, and all that a first visit transfers, served as
  common static hosts serve it (gzip for text and WebAssembly, the rest as
  it is), and where the host serves the site's brotli copies; what a second
  visit transfers, served by the app's cache;
- start-up: from navigation to the painted start screen, median of 5 page
  loads each in a new browser, against the page of a minimal Qt Widgets
  program built with the same Qt, measured the same way in the same run;
- play at level 3, classic and precise pace: the clock's tick ratio over 10 s,
  the animation frames a second and those in which the page drew, and the CPU
  of the renderer and GPU processes, against the same page stopped;
- the WebAssembly memory after a minute of play;
- on each screen, desktops' and phones' and a tablet's, playing level 3 (by
  touch on a phone or tablet): the scale the page chose, the pixel ratio Qt
  draws at, frames drawn per animation frame, CPU and the WebAssembly memory,
  the CPU against a plain canvas page that moves two Moxels over the play
  screen, fitted alike, in the same run.
Usage: web_bench.py <build folder of the web preset> (as make bench-web runs
it, with scripts/lib on the Python path)"""

import base64
import gzip
import json
import os
import shutil
import statistics
import struct
import sys
import tempfile
import time
import zlib

from devtools import CLOCK, GAME_SHOWN, LIGHT_ORANGE, SCREENS, STRICT_POLICY, Browser, Site

HERE = os.path.dirname(os.path.abspath(__file__))
LOADS = 5
MB = 1e6
# The middle of the game's start button, once the page can tell where it is.
START_BUTTON = ("(r => r && [r.x + r.width / 2, r.y + r.height / 2])"
                "(window.moxelRect && moxelRect('Command1'))")
MAGENTA = (255, 0, 255)

# Counts the browser's animation frames, and those in which the page drew
# with WebGL (Qt draws every window of the page that way).
FRAME_COUNTER = """
window.__frames = 0; window.__drawnFrames = 0; let drawnIn = -1;
(function count() { window.__frames++; requestAnimationFrame(count); })();
// All callbacks of one animation frame see the same timeline time.
const getContext = HTMLCanvasElement.prototype.getContext;
HTMLCanvasElement.prototype.getContext = function (...args) {
  const context = getContext.apply(this, args);
  if (context && context.drawArrays && !context.__counted) {
    context.__counted = true;
    for (const name of ["drawArrays", "drawElements"]) {
      const draw = context[name].bind(context);
      context[name] = (...a) => {
        const frame = document.timeline.currentTime;
        if (drawnIn !== frame) { drawnIn = frame; window.__drawnFrames++; }
        return draw(...a);
      };
    }
  }
  return context;
};
"""


def gzipped(path):
    with open(path, "rb") as f:
        return len(gzip.compress(f.read(), 9))


def pixel(page, x, y):
    """The colour of one pixel of the page, from a 1x1 screenshot."""
    png = base64.b64decode(page.send("Page.captureScreenshot", format="png",
                                     clip=dict(x=x, y=y, width=1, height=1, scale=1))["data"])
    chunks, at = {}, 8
    while at < len(png):
        length, kind = struct.unpack(">I4s", png[at:at + 8])
        chunks[kind] = chunks.get(kind, b"") + png[at + 8:at + 8 + length]
        at += 12 + length
    colour_type = chunks[b"IHDR"][9]
    row = zlib.decompress(chunks[b"IDAT"])  # one row: a filter byte, then the pixel
    return tuple(row[1:4]) if colour_type in (2, 6) else (row[1],) * 3


def start_up(folder, page_name, point, colour, policy):
    """Seconds from navigation until `point` (or the point the page's script
    `point` gives, once it can) shows `colour`, in a new browser."""
    with Site(folder, policy=policy) as site, Browser() as browser:
        page = browser.page()
        began = time.monotonic()
        page.navigate(site.url + page_name)
        while True:
            try:
                at = page.evaluate(point) if isinstance(point, str) else point
                if at and pixel(page, *at) == colour:
                    break
            except RuntimeError:  # between the old page and the new
                pass
            if time.monotonic() - began > 60:
                raise TimeoutError("%s never painted" % page_name)
        return time.monotonic() - began, page


def visits(site_folder, brotli=False):
    """What a first visit fetches, the bytes it transfers, and those a
    second visit transfers once the app's cache holds the site."""
    with Site(site_folder, gzip=True, brotli=brotli) as site, Browser() as browser:
        page = browser.page()
        page.send("Network.enable")
        transfers = []
        for visit in range(2):
            page.events.clear()
            page.navigate(site.url)
            page.wait_for(GAME_SHOWN, 60)
            page.wait_for("navigator.serviceWorker.ready.then(() => true)", 30)
            time.sleep(1)
            page.evaluate("1")  # the events that came meanwhile
            urls = {e["params"]["requestId"]: e["params"]["response"]["url"] for e in page.events
                    if e.get("method") == "Network.responseReceived"}
            transfers.append(sum(e["params"]["encodedDataLength"] for e in page.events
                                 if e.get("method") == "Network.loadingFinished"))
            if not visit:
                files = sorted({urls[r][len(site.url):] or "index.html" for r in urls})
    return files, transfers[0], transfers[1]


def cpu_seconds(browser):
    """CPU seconds so far of Chromium's renderer and GPU processes."""
    processes = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                command = f.read()
            with open("/proc/%s/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        processes[int(pid)] = (int(fields[1]), command, int(fields[11]) + int(fields[12]))

    def descends(pid):
        while pid in processes and pid != browser.process.pid:
            pid = processes[pid][0]
        return pid == browser.process.pid

    totals = {"renderer": 0.0, "gpu": 0.0}
    for pid, (_, command, ticks) in processes.items():
        kind = "renderer" if b"--type=renderer" in command else \
            "gpu" if b"--type=gpu-process" in command else None
        if kind and descends(pid):
            totals[kind] += ticks / os.sysconf("SC_CLK_TCK")
    return totals


def measure(page, browser, seconds):
    """Ticks, frames and CPU over `seconds` of what the page does now."""
    read = "[performance.now(), %s, __frames, __drawnFrames]" % CLOCK
    before, cpu_before = page.evaluate(read), cpu_seconds(browser)
    time.sleep(seconds)
    after, cpu_after = page.evaluate(read), cpu_seconds(browser)
    elapsed = (after[0] - before[0]) / 1000
    return {"seconds": elapsed, "ticks": after[1] - before[1],
            "frames_per_s": (after[2] - before[2]) / elapsed,
            "drawn_frames_per_s": (after[3] - before[3]) / elapsed,
            **{kind + "_cpu_percent": 100 * (cpu_after[kind] - cpu_before[kind]) / elapsed
               for kind in cpu_after}}


def play_level_3(site_folder, query, ticks_per_s, minute=False, screen=SCREENS["desktop"]):
    with Site(site_folder) as site, Browser() as browser:
        page = browser.page()
        page.send("Page.addScriptToEvaluateOnNewDocument", source=FRAME_COUNTER)
        page.open_game(site.url + query, screen)
        time.sleep(0.5)
        touch = screen[3]
        page.press("Command1", touch)  # Start the Game
        page.press("Command2", touch)  # Stop the game
        page.press("mnuOption", touch)  # Difficulty Options
        time.sleep(0.3)
        page.press("mnuLevel3", touch)
        time.sleep(0.5)
        assert page.evaluate("moxelProperty('Form10', 'speed')") == "1", "not at level 3"
        playing = measure(page, browser, 10)
        playing["tick_ratio"] = playing["ticks"] / (playing["seconds"] * ticks_per_s)
        heap = "moxelMemory() / %g" % MB
        result = {"playing": playing, "scale": page.evaluate("visualViewport.scale"),
                  "qt_ratio": page.evaluate(QT_RATIO), "wasm_memory_mb": page.evaluate(heap)}
        if minute:
            time.sleep(50)
            result["wasm_memory_mb_after_a_minute"] = page.evaluate(heap)
        page.press("Command2", touch)
        time.sleep(0.5)
        result["stopped"] = measure(page, browser, 10)
        return result


# Pixels of the canvas to a CSS pixel of it: the ratio the page draws at.
QT_RATIO = "(c => c.width / c.clientWidth)(document.getElementById('canvas'))"


def plain_canvas(site_folder, screen):
    """CPU over 10 s of a plain canvas page that moves two Moxels over the
    play screen, on the site's page fitted alike."""
    with tempfile.TemporaryDirectory() as work:
        folder = os.path.join(work, "site")
        shutil.copytree(site_folder, folder)
        with open(os.path.join(site_folder, "index.html")) as f:
            page = f.read().replace('src="page/page.js"', 'src="plain-canvas.js"')
        with open(os.path.join(folder, "plain.html"), "w") as f:
            f.write(page)
        for path in ("bench/plain-canvas.js", "docs/play-screen.png", "assets/target.gif"):
            shutil.copy(os.path.join(HERE, "..", path), folder)
        with Site(folder) as site, Browser() as browser:
            page = browser.page()
            page.send("Page.addScriptToEvaluateOnNewDocument", source=FRAME_COUNTER)
            page.emulate(*screen)
            page.navigate(site.url + "plain.html")
            page.wait_for("!document.getElementById('canvas').hidden", 30)
            time.sleep(1)
            page.evaluate("window.moxelProperty = () => 0; 1")  # no clock to read
            result = measure(page, browser, 10)
            result["ratio"] = page.evaluate(QT_RATIO)
            return result


def main():
    build = os.path.abspath(sys.argv[1])
    site, baseline = os.path.join(build, "site"), os.path.join(build, "bench")
    results = {"wasm_gzipped_mb": gzipped(os.path.join(site, "catch-the-moxel.wasm")) / MB,
               "baseline_wasm_gzipped_mb": gzipped(os.path.join(baseline, "minimal-widgets.wasm")) / MB}
    files, first, second = visits(site)
    results.update(first_visit_files=files, first_visit_gzipped_mb=first / MB,
                   second_visit_mb=second / MB,
                   first_visit_brotli_mb=visits(site, brotli=True)[1] / MB)

    game, minimal = [], []
    for _ in range(LOADS):  # alternated, so both meet the same machine
        game.append(start_up(site, "", START_BUTTON, LIGHT_ORANGE, STRICT_POLICY)[0])
        # Qt's own loader evaluates the program's script: no strict policy.
        minimal.append(start_up(baseline, "minimal-widgets.html", (3, 3), MAGENTA, None)[0])
    results.update(start_up_s=statistics.median(game), baseline_start_up_s=statistics.median(minimal),
                   start_up_runs_s=game, baseline_start_up_runs_s=minimal)

    results["classic"] = play_level_3(site, "", 100, minute=True)
    results["precise"] = play_level_3(site, "?precise-timers", 1000)
    for name, screen in SCREENS.items():
        results[name] = play_level_3(site, "", 100, screen=screen)
        results[name]["plain_canvas"] = plain_canvas(site, screen)
    print(json.dumps(results, indent=1))

    goals = [
        ("wasm, gzipped", results["wasm_gzipped_mb"], "MB", "<= 4.5", results["wasm_gzipped_mb"] <= 4.5),
        ("first visit, gzipped", results["first_visit_gzipped_mb"], "MB", "<= 3.5",
         results["first_visit_gzipped_mb"] <= 3.5),
        ("first visit, brotli", results["first_visit_brotli_mb"], "MB", "", True),
        ("second visit, from the app's cache", results["second_visit_mb"], "MB", "", True),
        ("start-up (median of %d)" % LOADS, results["start_up_s"], "s", "<= 1.5",
         results["start_up_s"] <= 1.5),
        ("start-up / minimal Qt page", results["start_up_s"] / results["baseline_start_up_s"], "x",
         "<= 1.2", results["start_up_s"] <= 1.2 * results["baseline_start_up_s"]),
    ]
    paces = ("classic", "precise", *SCREENS)
    for pace in paces:
        playing = results[pace]["playing"]
        goals += [("%s tick ratio over 10 s" % pace, playing["tick_ratio"], "", ">= 0.995",
                   playing["tick_ratio"] >= 0.995),
                  ("%s frames drawn per animation frame" % pace,
                   playing["drawn_frames_per_s"] / playing["frames_per_s"], "", "<= 1",
                   playing["drawn_frames_per_s"] <= playing["frames_per_s"])]
    # What the game costs beyond a plain canvas page on the same screen.
    for name in SCREENS:
        playing, plain = results[name]["playing"], results[name]["plain_canvas"]
        total = sum(playing[k + "_cpu_percent"] for k in ("renderer", "gpu"))
        plain_total = sum(plain[k + "_cpu_percent"] for k in ("renderer", "gpu"))
        goals += [("%s CPU / plain canvas" % name, total / plain_total, "x", "<= 1.1",
                   total <= 1.1 * plain_total),
                  ("%s renderer / plain canvas" % name, playing["renderer_cpu_percent"] /
                   plain["renderer_cpu_percent"], "x", "<= 1.5",
                   playing["renderer_cpu_percent"] <= 1.5 * plain["renderer_cpu_percent"])]
    print("\n%-40s %10s  %s" % ("", "measured", "goal"))
    for name, value, unit, goal, met in goals:
        print("%-40s %8.3f %-2s %-8s %s" % (name, value, unit, goal, "met" if met else "MISSED"))
    for pace in paces:
        if pace in SCREENS:
            r = results[pace]
            print("%s %gx%g at %g: the page's scale %.3f, Qt draws at %g (a plain canvas at %.2f), "
                  "WebAssembly memory %.1f MB" % (pace, *SCREENS[pace][:3], r["scale"], r["qt_ratio"],
                                                  r["plain_canvas"]["ratio"], r["wasm_memory_mb"]))
        for state in ("playing", "stopped", "plain_canvas"):
            r = results[pace].get(state)
            if r:
                print("%-15s %-12s %5.1f animation frames/s, %5.1f drawn/s, renderer %5.1f %%, "
                      "gpu %5.1f %% CPU" % (pace, state, r["frames_per_s"], r["drawn_frames_per_s"],
                                            r["renderer_cpu_percent"], r["gpu_cpu_percent"]))
    print("WebAssembly memory after a minute of level 3: %.1f MB"
          % results["classic"]["wasm_memory_mb_after_a_minute"])

if __name__ == "__main__":
    main()
