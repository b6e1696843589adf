#!/usr/bin/python3
"""Writes the program's part of the site, the same bytes from the same build:
- the program's script and WebAssembly;
- the page, which fetches them by their size and digest (subresource
  integrity), so a page of one build never runs the program of another;
- the service worker, with the site's files and a cache named by their content;
- beside each file that compresses well, its .gz and .br, for hosts that
  serve files compressed ahead.
Usage: web-site.py <page template> <worker template> <program without extension> <site>"""

import base64
import gzip
import hashlib
import json
import os
import shutil
import subprocess
import sys

COMPRESSED = (".html", ".css", ".js", ".wasm", ".svg", ".webmanifest")
# What the game needs to load and play; the licences are read online.
NOT_CACHED = ("service-worker.js", "LICENSE.txt", "licenses")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def site_files(site):
    files = []
    for folder, subfolders, names in os.walk(site):
        subfolders.sort()
        for name in sorted(names):
            path = os.path.relpath(os.path.join(folder, name), site)
            if not path.endswith((".gz", ".br")):
                files.append(path)
    return files


def compress(site, files):
    for name in files:
        if name.endswith(COMPRESSED):
            path = os.path.join(site, name)
            write(path + ".gz", gzip.compress(read(path), 9, mtime=0))
            subprocess.check_call(["brotli", "--best", "--force", "--output=" + path + ".br", path])


def main(page_template, worker_template, program, site):
    build = {}
    for extension in (".js", ".wasm"):
        name = os.path.basename(program) + extension
        shutil.copyfile(program + extension, os.path.join(site, name))
        data = read(program + extension)
        digest = base64.b64encode(hashlib.sha384(data).digest()).decode()
        build[name] = {"bytes": len(data), "integrity": "sha384-" + digest}
    page = read(page_template).decode().replace("@MOXEL_BUILD_FILES@", json.dumps(build))
    write(os.path.join(site, "index.html"), page.encode())

    cached = [f for f in site_files(site) if not f.startswith(NOT_CACHED)]
    content = hashlib.sha256()
    for name in cached:
        content.update(name.encode() + b"\0" + hashlib.sha256(read(os.path.join(site, name))).digest())
    worker = read(worker_template).decode()
    worker = worker.replace("@MOXEL_SITE_HASH@", content.hexdigest()[:16])
    worker = worker.replace("@MOXEL_CACHED_FILES@", json.dumps(["./"] + cached))
    write(os.path.join(site, "service-worker.js"), worker.encode())
    compress(site, site_files(site))


if __name__ == "__main__":
    main(*sys.argv[1:])
