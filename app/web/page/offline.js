// Installed, or visited before, the game plays with no network: a worker
// keeps this build's files. Where the browser has none or refuses it, the
// game plays online as it is.
export function keepForOffline() {
  if ("serviceWorker" in navigator)
    navigator.serviceWorker.register("service-worker.js").catch(() => {});
}
