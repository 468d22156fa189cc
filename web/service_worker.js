// The page's service worker: keeps every file of one build in a cache named for
// that build's content and answers the page from it, so the game installs and
// plays offline. The build writes it from web/service_worker.js with the cache's
// name and each file's SHA-256 filled in (cmake/WebPage.cmake).
//
// An update: the browser fetches this script past its HTTP cache on each visit
// (the page registers it with updateViaCache 'none'); a new build's worker
// differs in its cache's name, installs beside the old one, takes over at once
// and deletes the old build's cache. A page already open keeps the build it is
// running (it asked for its script and wasm as it opened, before a new build
// could have been downloaded); the next visit is answered from the new cache
// alone, so one build's page never runs another's files.
'use strict';

const kCache = '@KOLVEX_CACHE@';
// Every file of the build, by its name beside the page, with the SHA-256 of its bytes.
const kFiles = @KOLVEX_FILES@;
// Our caches' names begin so; any other cache on the origin is not ours to delete.
const kOurs = 'kolvex-';

function hex(digest) {
  return Array.from(new Uint8Array(digest), (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// One file of this build, revalidated past the HTTP cache and checked against
// its hash: a server halfway through an update, or a stale copy on the way,
// must not put one build's page beside another's wasm.
async function fetchChecked(name) {
  const response = await fetch(name, { cache: 'no-cache' });
  if (!response.ok) throw new Error(`${name}: the server answered ${response.status}`);
  const digest = hex(await crypto.subtle.digest('SHA-256', await response.clone().arrayBuffer()));
  if (digest !== kFiles[name]) throw new Error(`${name}: not the file of this build`);
  return [name, response];
}

// All the files or none: a failed install leaves no cache behind, and the
// browser tries again on a later visit while the old build plays on.
async function install() {
  const fetched = await Promise.all(Object.keys(kFiles).map(fetchChecked));
  try {
    const cache = await caches.open(kCache);
    for (const [name, response] of fetched) await cache.put(name, response);
    await cache.put('./', await cache.match('kolvex.html'));
  } catch (error) {
    await caches.delete(kCache);
    throw error;
  }
  await self.skipWaiting();
}

async function activate() {
  for (const name of await caches.keys()) {
    if (name.startsWith(kOurs) && name !== kCache) await caches.delete(name);
  }
  await self.clients.claim();
}

// This build's file when the cache holds it (whatever the address's query),
// else the network's answer.
async function answer(request) {
  const cached = await caches.open(kCache).then((cache) => cache.match(request, { ignoreSearch: true }));
  return cached || fetch(request);
}

self.addEventListener('install', (event) => event.waitUntil(install()));
self.addEventListener('activate', (event) => event.waitUntil(activate()));
self.addEventListener('fetch', (event) => {
  if (event.request.method === 'GET') event.respondWith(answer(event.request));
});
