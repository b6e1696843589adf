"""Headless Chromium driven through the DevTools protocol, and a static web
server on this machine: what the browser check and the web benchmark share.
Input goes in as the browser's own (Input.dispatchMouseEvent,
Input.dispatchKeyEvent, Input.dispatchTouchEvent), the way a player's mouse,
keyboard and finger reach a page, and a phone's or tablet's screen is
emulated as Chromium's device mode does."""

import base64
import email.utils
import http.server
import io
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import urllib.request

import websocket  # Debian's python3-websocket

# The screens the page is played on: CSS pixels wide and high, device pixels
# to each, and whether it is a phone's or a tablet's (touch, and a viewport the
# page may zoom) rather than a desktop browser's.
SCREENS = {
    "desktop": (1024, 768, 1, False),
    "desktop-125": (1024, 768, 1.25, False),
    "phone": (390, 844, 3, True),
    "phone-landscape": (844, 390, 3, True),
    "phone-412": (412, 915, 2.625, True),
    "phone-360": (360, 640, 2, True),
    "tablet": (768, 1024, 2, True),
}

# A careful host's security policy: the site plays under it whole.
STRICT_POLICY = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; "
                 "img-src 'self' data: blob:; connect-src 'self'; worker-src 'self'; "
                 "manifest-src 'self'; object-src 'none'; base-uri 'none'; "
                 "form-action 'none'; frame-ancestors 'none'")

# What the game's page shows and says, as its scripts tell it: the game is
# shown once its main window is.
GAME_SHOWN = "!!(window.moxelRect && moxelRect('Form10'))"
# The clock in ticks: units of 101 in the left box, ticks in the right one.
CLOCK = "(101 * moxelProperty('Form10', 's1') + 1 * moxelProperty('Form10', 't1'))"
# Colours of the game's pictures.
LIGHT_ORANGE, DARK_BLUE = (255, 192, 128), (0, 0, 128)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    # Served as any web server serves WebAssembly and the app's manifest.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".webmanifest": "application/manifest+json"}
    encodings = ()  # of a file's compressed copies, those served where asked for
    site = None

    def end_headers(self):
        if self.site.policy:
            self.send_header("Content-Security-Policy", self.site.policy)
        super().end_headers()

    def handle(self):
        if not self.site.gone:  # else the connection closes unanswered
            super().handle()

    def send_head(self):
        # A file compressed ahead goes as it is, as hosts serve such files.
        path = self.translate_path(self.path)
        accepted = self.headers.get("Accept-Encoding", "")
        for encoding, extension in self.encodings:
            if encoding in accepted and os.path.isfile(path + extension):
                modified = int(os.path.getmtime(path))
                since = self.headers.get("If-Modified-Since")
                if since and modified <= email.utils.parsedate_to_datetime(since).timestamp():
                    self.send_response(304)
                    self.end_headers()
                    return None
                with open(path + extension, "rb") as f:
                    body = f.read()
                self.send_response(200)
                self.send_header("Content-Type", self.guess_type(path))
                self.send_header("Content-Encoding", encoding)
                self.send_header("Vary", "Accept-Encoding")
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Last-Modified", self.date_time_string(modified))
                self.end_headers()
                return io.BytesIO(body)
        return super().send_head()

    def log_message(self, *args):
        pass


class Site:
    """Serves `folder` on a free port of 127.0.0.1 while in a with block,
    with the files' gzip copies where `gzip` (as common hosts serve them),
    their brotli copies too where `brotli`, and under a security `policy`.
    serve() changes the folder; while `gone`, the server answers nothing, as
    if it were gone."""

    def __init__(self, folder, gzip=False, brotli=False, policy=STRICT_POLICY):
        self.encodings = (("br", ".br"),) * brotli + (("gzip", ".gz"),) * gzip
        self.folder, self.gone, self.policy = folder, False, policy
        handler_class = type("Handler", (QuietHandler,), {"encodings": self.encodings, "site": self})

        def handler(*args):
            return handler_class(*args, directory=self.folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]

    def serve(self, folder):
        self.folder = folder

    def stop(self):
        if self.server:
            self.server.shutdown()
            self.server.server_close()
            self.server = None

    def __enter__(self):
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        return self

    def __exit__(self, *exc):
        self.stop()


class Browser:
    """Headless Chromium with software WebGL and a profile of its own."""

    def __init__(self, width=1024, height=768, scale=1, extra_flags=()):
        self.profile = tempfile.mkdtemp(prefix="moxel-chromium-")
        flags = [
            "--headless=new", "--no-sandbox", "--no-first-run",
            "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
            "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--disable-quic", "--disable-gpu-sandbox",
            "--remote-debugging-port=0", "--remote-allow-origins=*",
            "--user-data-dir=" + self.profile,
            "--window-size=%d,%d" % (width, height),
            "--force-device-scale-factor=%g" % scale,
            *extra_flags, "about:blank",
        ]
        self.process = subprocess.Popen(
            [shutil.which("chromium") or "/usr/bin/chromium", *flags],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.monotonic() + 30
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.monotonic() > deadline or self.process.poll() is not None:
                self.close()
                raise RuntimeError("Chromium did not start")
            time.sleep(0.05)
        with open(port_file) as f:
            self.port = int(f.readline())

    def page(self):
        with urllib.request.urlopen("http://127.0.0.1:%d/json/list" % self.port) as reply:
            targets = json.load(reply)
        target = next(t for t in targets if t["type"] == "page")
        return Page(target["webSocketDebuggerUrl"])

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        shutil.rmtree(self.profile, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class Page:
    """One tab: commands, the events that came meanwhile, and real input."""

    def __init__(self, url):
        self.socket = websocket.create_connection(url, suppress_origin=True, timeout=60)
        self.next_id = 0
        self.events = []
        self.console = []
        for domain in ("Page", "Runtime"):
            self.send(domain + ".enable")

    def send(self, method, **params):
        self.next_id += 1
        self.socket.send(json.dumps({"id": self.next_id, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self._note(message)

    def _note(self, message):
        method = message.get("method", "")
        if method == "Runtime.consoleAPICalled":
            self.console.append(" ".join(str(a.get("value", a.get("description", "")))
                                         for a in message["params"]["args"]))
        elif method == "Runtime.exceptionThrown":
            details = message["params"]["exceptionDetails"]
            self.console.append("exception: " + details.get("exception", {}).get(
                "description", details.get("text", "")))
        self.events.append(message)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def wait_for(self, expression, timeout=30, interval=0.05):
        """Waits until `expression` is true in the page; returns its value."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                value = self.evaluate(expression)
            except RuntimeError:  # the page is not there yet
                value = None
            if value:
                return value
            if time.monotonic() > deadline:
                raise TimeoutError("waited %g s for %s" % (timeout, expression))
            time.sleep(interval)

    def navigate(self, url):
        self.send("Page.navigate", url=url)

    def screenshot(self, path):
        data = base64.b64decode(self.send("Page.captureScreenshot", format="png")["data"])
        with open(path, "wb") as f:
            f.write(data)
        return path

    def click(self, x, y):
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      buttons=0 if kind == "mouseReleased" else 1, clickCount=1)

    def emulate(self, width, height, scale, mobile=True):
        """A screen of `width` x `height` CSS pixels, `scale` device pixels
        each: a phone's or tablet's where `mobile`, landscape where wider,
        taking touch; else a desktop browser's window."""
        landscape = width > height
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=scale, mobile=mobile, screenOrientation={
                      "type": "landscapePrimary" if landscape else "portraitPrimary",
                      "angle": 90 if landscape else 0})
        self.send("Emulation.setTouchEmulationEnabled", enabled=mobile, maxTouchPoints=5)

    def open_game(self, url, screen=None):
        """The game's page on `screen` (a SCREENS entry), once the game shows."""
        if screen:
            self.emulate(*screen)
        self.navigate(url)
        self.wait_for(GAME_SHOWN, 60)

    def ratio(self):
        """Device pixels to a CSS pixel, where the page is zoomed too."""
        return self.evaluate("devicePixelRatio * (window.visualViewport ? visualViewport.scale : 1)")

    def press(self, name, touch=False, fx=0.5, fy=0.5):
        """A tap, or a click, on the game's object of that name (moxelRect's)
        where the page shows it, at the fraction (fx, fy) of its size."""
        r = self.wait_for("moxelRect(%s)" % json.dumps(name), 5)
        (self.tap if touch else self.click)(r["x"] + fx * r["width"], r["y"] + fy * r["height"])

    def tap(self, x, y):
        self.send("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.send("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    KEYS = {"Enter": 13, "Escape": 27, "ArrowDown": 40, "ArrowUp": 38}

    def key(self, key, alt=False):
        """A key press and release; `key` is a letter or a name in KEYS."""
        if len(key) == 1:
            code, name, text = ord(key.upper()), "Key" + key.upper(), key.lower()
        else:
            code, name, text = self.KEYS[key], key, "\r" if key == "Enter" else ""
        modifiers = 1 if alt else 0
        if alt:
            self.send("Input.dispatchKeyEvent", type="rawKeyDown", key="Alt", code="AltLeft",
                      windowsVirtualKeyCode=18, modifiers=1)
        self.send("Input.dispatchKeyEvent", type="rawKeyDown", key=key if len(key) > 1 else text,
                  code=name, windowsVirtualKeyCode=code, modifiers=modifiers)
        if text and not alt:
            self.send("Input.dispatchKeyEvent", type="char", text=text, modifiers=modifiers)
        self.send("Input.dispatchKeyEvent", type="keyUp", key=key if len(key) > 1 else text,
                  code=name, windowsVirtualKeyCode=code, modifiers=modifiers)
        if alt:
            self.send("Input.dispatchKeyEvent", type="keyUp", key="Alt", code="AltLeft",
                      windowsVirtualKeyCode=18, modifiers=0)
