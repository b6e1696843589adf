"""Headless Chromium driven through the DevTools protocol, and a static web
server on this machine: what the browser check and the web benchmark share.
Input goes in as the browser's own (Input.dispatchMouseEvent and
Input.dispatchKeyEvent), the way a player's mouse and keyboard reach a page."""

import base64
import functools
import http.server
import json
import os
import shutil
import subprocess
import tempfile
import threading
import time
import urllib.request

import websocket  # Debian's python3-websocket


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    # Served as any web server serves WebAssembly.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}

    def log_message(self, *args):
        pass


class Site:
    """Serves `folder` on a free port of 127.0.0.1 while in a with block."""

    def __init__(self, folder):
        handler = functools.partial(QuietHandler, directory=folder)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.server.server_address[1]

    def __enter__(self):
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()


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
