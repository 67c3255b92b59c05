// Keeps the page's files, so it opens without a network after the first visit. Each file kept is
// asked again with its validators: an unchanged one costs a 304, never its bytes again.
const kCache = 'vexilon-@VERSION@';
const kFiles = ['./', 'index.html', 'page.css', 'page.js', 'binding.js', 'sampling_worker.js', 'save_worker.js', 'vexilon.js', 'vexilon.wasm', 'vexilon-icon.svg'];

// The network's answer to request, or the copy kept (in this version's cache or an older one's)
// when the server says it is unchanged or cannot be reached; kept in cache when it is new.
async function revalidated(request, cache) {
    const key = new URL(request.url);
    key.search = '';       // a link's ?superficie=… is the same file
    const kept = await caches.match(key.href);
    const headers = new Headers();
    const tag = kept?.headers.get('ETag'), date = kept?.headers.get('Last-Modified');
    if (tag)
        headers.set('If-None-Match', tag);
    else if (date)
        headers.set('If-Modified-Since', date);
    let response;
    try {
        response = await fetch(request.url, {headers, cache: 'no-store', credentials: 'same-origin'});
    } catch (error) {
        if (kept)
            return kept;
        throw error;
    }
    if (response.status === 304 && kept) {
        await cache.put(key.href, kept.clone());
        return kept;
    }
    if (response.ok)
        await cache.put(key.href, response.clone());
    return response;
}

self.addEventListener('install', event => event.waitUntil(caches.open(kCache).then(cache =>
    Promise.all(kFiles.map(file => revalidated(new Request(new URL(file, self.registration.scope)), cache).then(response => {
        if (!response.ok)
            throw new Error(`${file}: ${response.status}`);
    }))))));
self.addEventListener('activate', event => event.waitUntil(
    caches.keys().then(keys => Promise.all(keys.filter(key => key !== kCache).map(key => caches.delete(key))))));
// The network first, so a new build shows at once; the kept copy when there is none.
self.addEventListener('fetch', event => {
    if (event.request.method !== 'GET' || new URL(event.request.url).origin !== self.location.origin)
        return;
    event.respondWith(caches.open(kCache).then(cache => revalidated(event.request, cache))
        .catch(() => caches.match(event.request, {ignoreSearch: true}).then(kept => kept ?? Response.error())));
});
