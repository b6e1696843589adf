// The page around the game: it fits the game to the screen, loads the
// program, shows one part at a time (the download, the game, or a sentence
// saying why not), and keeps the site for offline play.
import { NotDownloaded, NotThisBuild } from "./checked-fetch.js";
import { fit } from "./fit.js";
import { load } from "./loader.js";
import { keepForOffline } from "./offline.js";
import { refitOnResize } from "./refit.js";
import { installTestHooks } from "./test-hooks.js";

const $ = (id) => document.getElementById(id);
const PARTS = ["canvas", "loading", "missing", "ended", "failed"];

function show(part) {
  for (const id of PARTS)
    $(id).hidden = id !== part;
}

function say(part, text) {
  $(part + "Text").textContent = text;
  show(part);
  $(part).querySelector("button")?.focus();
}

// The page reloads once when the program cannot be had whole, as the site may
// have been updated meanwhile; a second time it says so and lets the player
// try again.
const RELOADED = "moxel-reloaded";
function remember(action) {
  try {
    return action(sessionStorage);
  } catch {  // storage switched off: no reload, only the sentence
    return true;
  }
}
function failed(error) {
  console.warn(error);
  if (!(error instanceof NotThisBuild || error instanceof NotDownloaded)) {
    say("ended", "The game stopped with an error: " + error + ".");
    return;
  }
  if (!remember((storage) => storage.getItem(RELOADED))) {
    remember((storage) => storage.setItem(RELOADED, "1"));
    location.reload();
    return;
  }
  say("failed", error instanceof NotThisBuild
    ? "The site is being updated: reload the page in a moment."
    : "The game could not be downloaded: check the connection, then reload the page.");
}

let program = null;
function start() {
  const precise = new URLSearchParams(location.search).has("precise-timers");
  $(precise ? "precise" : "classic").setAttribute("aria-current", "page");
  load(JSON.parse($("build").textContent), $("canvas"), precise ? ["--precise-timers"] : [], {
    progress: (fraction) => $("progress").value = fraction,
    compiling: () => $("status").textContent = "Starting the game…",
    running() {
      remember((storage) => storage.removeItem(RELOADED));
      show("canvas");
      $("canvas").focus();
    },
    ended: (status) => say("ended", status === 0 ? "The game has ended."
      : "The game stopped with status " + status + "."),
    crashed: (text) => say("ended", "The game stopped with an error: " + text + "."),
  }).then((module) => program = module, failed);
}

$("again").addEventListener("click", () => location.reload());
$("reload").addEventListener("click", () => location.reload());
// A tap is the game's alone: no scrolling, zooming or second click after it.
for (const type of ["touchstart", "touchmove", "touchend"])
  $("screen").addEventListener(type, (event) => event.preventDefault(), { passive: false });
fit();
refitOnResize(() => program?.moxelRedraw());
installTestHooks(() => program);

if (typeof WebAssembly === "undefined")
  say("missing", "This browser cannot run the game: it has no WebAssembly.");
else if (!document.createElement("canvas").getContext("webgl"))
  say("missing", "This browser cannot run the game: WebGL is missing or switched off.");
else
  start();
keepForOffline();
