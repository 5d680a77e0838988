// SPDX-License-Identifier: MIT
// Keeps the page's files so that, after one visit over http(s), the page
// opens and fits with no network.  Every file is answered from the cache
// first.  The cache's name carries the release and a digest of the files
// (written in at build time), so that a new release, or any rebuilt file,
// makes a new worker: it fills a new cache, takes over at once and deletes
// the caches of earlier releases of this page.
'use strict';

const kCachePrefix = 'gndfit-';
const kScopeSuffix = ' ' + self.registration.scope;
const kCacheName = kCachePrefix + '@GNDFIT_WEB_CACHE_VERSION@' + kScopeSuffix;
const kFiles = ['./', @GNDFIT_WEB_CACHED_FILES@];

self.addEventListener('install', (event) => {
  // 'reload': straight from the server, never an older copy from the
  // browser's HTTP cache under the new name.
  const requests = kFiles.map((file) => new Request(file, { cache: 'reload' }));
  event.waitUntil(caches.open(kCacheName)
    .then((cache) => cache.addAll(requests))
    .then(() => self.skipWaiting()));
});

// Only this page's own caches at this scope go; other caches of the origin
// stay.
self.addEventListener('activate', (event) => {
  const earlier = (name) => name !== kCacheName && name.startsWith(kCachePrefix) && name.endsWith(kScopeSuffix);
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter(earlier).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// A page opened with a measurement in its URL (index.html?f=7.1&er=13&s=5)
// is the same cached page.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  const options = { ignoreSearch: request.mode === 'navigate' };
  event.respondWith(caches.open(kCacheName)
    .then((cache) => cache.match(request, options))
    .then((cached) => cached || fetch(request)));
});
