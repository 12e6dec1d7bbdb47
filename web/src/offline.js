// The page keeps working without the network once it was visited: the service worker beside
// index.html caches the whole site. Where a browser has no service workers (or refuses them, as
// over plain http from another machine) the page simply needs the network.
export function workOffline() {
  if (!('serviceWorker' in navigator)) {
    return;
  }
  navigator.serviceWorker.register('service_worker.js').catch(() => {});
}
