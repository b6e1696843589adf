// What the game's page costs at least: a plain canvas page, fitted to the
// screen as the game's page is, showing the play screen with two Moxels
// moving over it as at level 3 (a step of 10/3 pixels every 10 ms, bouncing
// off the field's edges), drawn at the screen's own pixels at each animation
// frame, only where something changed.
import { fit } from "./page/fit.js";

const STEP = 10 / 3, TICK_MS = 10;
const FIELD = { left: 0, top: 100, right: 733, bottom: 551 };  // of the play screen's picture
const canvas = document.getElementById("canvas");
const context = canvas.getContext("2d");
const load = (src) => new Promise((loaded) => Object.assign(new Image(), { src, onload() { loaded(this); } }));

function sized() {
  const ratio = devicePixelRatio * (window.visualViewport ? visualViewport.scale : 1);
  canvas.width = Math.round(canvas.clientWidth * ratio);
  canvas.height = Math.round(canvas.clientHeight * ratio);
  context.setTransform(ratio, 0, 0, ratio, 0, 0);
}

function bounce(position, low, high) {
  const span = high - low, travelled = ((position - low) % (2 * span) + 2 * span) % (2 * span);
  return low + (travelled <= span ? travelled : 2 * span - travelled);
}

const [screen, moxel] = await Promise.all([load("play-screen.png"), load("target.gif")]);
for (const id of ["loading", "missing", "ended", "failed"])
  document.getElementById(id).hidden = true;
canvas.hidden = false;
let drawn = [];
function whole() {
  fit();
  sized();
  drawn = [];
  context.drawImage(screen, 0, 0);
}
addEventListener("resize", whole);
whole();
const began = performance.now();
(function frame(now) {
  const steps = Math.floor((now - began) / TICK_MS) * STEP;
  for (const [x, y] of drawn)
    context.drawImage(screen, x, y, moxel.width, moxel.height, x, y, moxel.width, moxel.height);
  drawn = [[20, 150, 1, 1], [600, 300, -1, 1]].map(([x, y, dx, dy]) => [
    bounce(x + dx * steps, FIELD.left, FIELD.right - moxel.width),
    bounce(y + dy * steps, FIELD.top, FIELD.bottom - moxel.height)]);
  for (const [x, y] of drawn)
    context.drawImage(moxel, x, y);
  requestAnimationFrame(frame);
})(began);
