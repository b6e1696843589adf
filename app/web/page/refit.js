// A rotation, a resized window or a new zoom fits the game again, which goes
// on. Qt takes the new size and pixel ratio in listeners of its own, after
// this one; once it has, `redraw` lets the program draw its windows anew.
import { fit } from "./fit.js";

// A pixel ratio may change alone, the page's size in CSS pixels unchanged (a
// window moved to a screen of another density): the page's listeners, Qt's
// among them, then hear of it as of a resize.
function onRatioChange(changed) {
  matchMedia("(resolution: " + devicePixelRatio + "dppx)").addEventListener("change", () => {
    changed();
    onRatioChange(changed);
  }, { once: true });
}

export function refitOnResize(redraw) {
  let pending = 0;
  function refit() {
    fit();
    cancelAnimationFrame(pending);
    pending = requestAnimationFrame(() => pending = requestAnimationFrame(redraw));
  }
  addEventListener("resize", refit);
  if (window.visualViewport)
    visualViewport.addEventListener("resize", refit);
  onRatioChange(() => dispatchEvent(new Event("resize")));
}
