// Keeps the page working offline: its files are cached when it is first
// visited and served from the cache after. The module and the data are in
// the cache the page keeps (tovuri.js), so they are fetched once.
const VERSION = '@VERSION@';
const CACHE = `tovuri-site-${VERSION}`;
const FILES = ['./', 'index.html', 'app.js', 'app.css', 'underlines.js', 'tovuri.js', 'tovuri_core.js', 'index_worker.js'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((k) => k.startsWith('tovuri-') && !k.endsWith(VERSION))
      .map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.match(event.request, { ignoreSearch: true }).then((hit) => hit || fetch(event.request)));
});
