// Loads the program and starts it on the page's canvas. The WebAssembly is
// fetched whole and checked; the script comes through the browser's own
// check (subresource integrity) and runs from its file, as a strict security
// policy allows. The program then gets Qt's module settings: its canvas, its
// command line, and what to tell the page.
import { NotDownloaded, NotThisBuild, fetchChecked } from "./checked-fetch.js";

const PROGRAM = "catch-the-moxel";

// The script's element fails alike whether it was refused or never came; a
// second look tells which.
async function whyNotLoaded(url, file) {
  try {
    await fetchChecked(url, file);
  } catch (error) {
    return error;
  }
  return new NotDownloaded(url + " failed to run");
}

function loadScript(url, file) {
  return new Promise((resolve, reject) => {
    const script = document.createElement("script");
    script.src = url;
    script.integrity = file.integrity;
    script.onload = resolve;
    script.onerror = () => whyNotLoaded(url, file).then(reject);
    document.head.append(script);
  });
}

// `page` is told of the steps: progress(fraction), compiling(), running(),
// ended(status), crashed(text). Returns the program's module once it runs.
export async function load(build, canvas, commandLine, page) {
  const wasmUrl = PROGRAM + ".wasm", scriptUrl = PROGRAM + ".js";
  const [wasm] = await Promise.all([
    fetchChecked(wasmUrl, build[wasmUrl], page.progress).then((data) => {
      page.compiling();
      return WebAssembly.compile(data);
    }),
    loadScript(scriptUrl, build[scriptUrl]),
  ]);
  return createQtAppInstance({
    qtContainerElements: [canvas],
    qtFontDpi: 96,
    arguments: commandLine,
    locateFile: (name) => name,
    instantiateWasm(imports, instantiated) {
      WebAssembly.instantiate(wasm, imports).then((instance) => instantiated(instance, wasm),
                                                    (error) => page.crashed(String(error)));
      return {};
    },
    // Said just before the program's main() runs: Qt measures its canvas
    // then, so the canvas must be shown.
    setStatus(text) {
      if (text.startsWith("Running"))
        page.running();
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    onAbort: (text) => page.crashed(String(text)),
    // The program stops with status 0 once the player has ended the game
    // ("Exit", "Exit Game"); emscripten then expects its exit to be thrown.
    quit(status, exit) {
      page.ended(status);
      throw exit;
    },
  });
}
