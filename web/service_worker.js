// The page's service worker: after the first visit every file of the site comes from a cache,
// so that the workbench opens and works without the network. Each build writes its own version
// and file list into this file; a new version makes the browser install it, and its cache
// replaces the one of the build before.
const version = '__CASL_SITE_VERSION__';
const files = __CASL_SITE_FILES__;
const prefix = 'casl2-workbench-';
const cacheName = `${prefix}${version}`;

self.addEventListener('install', (event) => {
  event.waitUntil(
    (async () => {
      const cache = await caches.open(cacheName);
      // Past the browser's HTTP cache: the files must be this build's.
      await cache.addAll(files.map((file) => new Request(file, { cache: 'reload' })));
      await self.skipWaiting();
    })(),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    (async () => {
      for (const name of await caches.keys()) {
        if (name.startsWith(prefix) && name !== cacheName) {
          await caches.delete(name);
        }
      }
      await self.clients.claim();
    })(),
  );
});

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) {
    return;
  }
  event.respondWith(
    (async () => {
      const cache = await caches.open(cacheName);
      // The page is one file whatever query its address carries.
      const cached = await cache.match(request, { ignoreSearch: request.mode === 'navigate' });
      return cached ?? fetch(request);
    })(),
  );
});
