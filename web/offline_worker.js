// Keeps the page's files, so it opens without a network after the first visit.
const kCache = 'vexilon-@VERSION@';
const kFiles = ['./', 'index.html', 'page.css', 'page.js', 'own_surfaces.js', 'motion.js', 'section.js', 'binding.js', 'sampling_worker.js', 'vexilon.js', 'vexilon.wasm', 'vexilon-icon.svg'];

self.addEventListener('install', event => event.waitUntil(caches.open(kCache).then(cache => cache.addAll(kFiles))));
self.addEventListener('activate', event => event.waitUntil(
    caches.keys().then(keys => Promise.all(keys.filter(key => key !== kCache).map(key => caches.delete(key))))));
// The network first, so a new build shows at once; the kept copy when there is none.
self.addEventListener('fetch', event => {
    if (event.request.method !== 'GET')
        return;
    event.respondWith(fetch(event.request).then(response => {
        const copy = response.clone();
        if (response.ok)
            caches.open(kCache).then(cache => cache.put(event.request, copy));
        return response;
    }).catch(() => caches.match(event.request, {ignoreSearch: true})));
});
