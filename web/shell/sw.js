// Keeps the page's files so that it opens with the network cut: every file
// is fetched once at install; afterwards the kept copy answers at once and a
// fresh copy is fetched behind it for the next visit.
"use strict";
const kCache = "decagon-v2";
const kFiles = ["./", "index.html", "decagon.wasm", "construction.bmp", "decagon.png", "decagon.svg",
                "manifest.webmanifest"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name !== kCache).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET" || new URL(event.request.url).origin !== location.origin) return;
  event.respondWith(caches.open(kCache).then(async (cache) => {
    const kept = await cache.match(event.request, { ignoreSearch: true });
    const fresh = fetch(event.request).then((response) => {
      if (response.ok) cache.put(event.request, response.clone());
      return response;
    });
    if (kept) {
      event.waitUntil(fresh.catch(() => {}));
      return kept;
    }
    return fresh;
  }));
});
