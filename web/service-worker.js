// Keeps the lesson on the device after one visit, so that it opens with no network: every
// file of the site goes into a cache named for this build. assemble_site.sh stamps in the
// build (a hash of all the site's files) and their list, so a new build is a new worker;
// the browser installs it at the next visit with the network and the old cache is dropped.
"use strict";

const BUILD = "@BUILD@";
const FILES = [@FILES@];
const CACHE = "function-lesson-" + BUILD;

self.addEventListener("install", event => {
  // "no-cache": asked of the server, which answers "not modified" for what the page has
  // just downloaded, so the files come from the browser's own cache without a second
  // download, yet never as a copy older than the server's.
  event.waitUntil(caches.open(CACHE)
    .then(cache => Promise.all(FILES.map(file =>
      fetch(new Request(file, { cache: "no-cache" })).then(response => {
        if (!response.ok)
          throw new Error(file + ": " + response.status);
        return withType(file, response).then(kept => cache.put(file, kept));
      }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener("activate", event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names
      .filter(name => name.startsWith("function-lesson-") && name !== CACHE)
      .map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// Qt's loader compiles the program while it streams in, which browsers allow only for
// application/wasm; a server that labels it otherwise must not break the lesson offline.
function withType(file, response) {
  if (!file.endsWith(".wasm") || response.headers.get("Content-Type") === "application/wasm")
    return Promise.resolve(response);
  return response.blob().then(body => new Response(body, {
    status: response.status, statusText: response.statusText,
    headers: { "Content-Type": "application/wasm" } }));
}

self.addEventListener("fetch", event => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== "GET" || url.origin !== self.location.origin)
    return;
  // The page under any address of it (the folder, index.html, with a query or a figure
  // after "#", which never reaches a server or a cache key) is the one kept.
  const scope = new URL(self.registration.scope).pathname;
  const page = request.mode === "navigate" && (url.pathname === scope || url.pathname === scope + "index.html");
  event.respondWith(caches.open(CACHE)
    .then(cache => cache.match(page ? "index.html" : request, { ignoreSearch: page }))
    .then(kept => kept || fetch(request)));
});
