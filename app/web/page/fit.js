// On a phone or a tablet the page is zoomed out until the game's screen, with
// the page's own lines below it or, where that leaves it larger, beside it,
// fills the browser's view: in both orientations, never larger than the
// design. A tap lands where it is seen. A desktop's browser ignores the
// viewport and keeps its own zoom.
const viewport = document.querySelector("meta[name=viewport]");
const screen = document.getElementById("screen");
const footer = document.querySelector("footer");

// A view of almost nothing still shows the game, as small as a page may be.
const SMALLEST = 0.1;

export function fit() {
  const view = window.visualViewport || { width: innerWidth, height: innerHeight, scale: 1 };
  const width = Math.round(view.width * view.scale), height = Math.round(view.height * view.scale);
  const zoom = (beside) => {
    document.body.classList.toggle("beside", beside);
    return Math.min(1, width / (screen.offsetWidth + (beside ? footer.offsetWidth : 0)),
                    height / (screen.offsetHeight + (beside ? 0 : footer.offsetHeight)));
  };
  const below = zoom(false), beside = zoom(true) > below;
  const scale = Math.max(SMALLEST, beside ? zoom(true) : zoom(false));
  // Written only when it changes: each change is a resize, and the view's
  // own figures are not exact.
  const fixed = scale.toFixed(4), content = "width=" + Math.ceil(width / fixed) +
    ", initial-scale=" + fixed + ", minimum-scale=" + fixed + ", maximum-scale=" + fixed +
    ", user-scalable=no";
  if (viewport.content !== content)
    viewport.content = content;
}
