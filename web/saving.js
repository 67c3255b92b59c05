// "Guardar imagen…": the file encoded by a worker with its own core, so that a heavy figure never
// freezes the page, with the time it has taken shown and "Cancelar" (or Escape), which ends the
// worker and downloads nothing. Where no worker starts (a page from disk in some browsers), or one
// cannot draw the very frame shown, the page's own core encodes it, as before.

const kSaveWorkerWaitMs = 15000;    // a worker silent this long after it was given the core never started
const kShowProgressMs = 300;    // a quicker save shows no progress at all

// page: {core, source, notice, download(bytes, name, type), hasSurface()}. Returns save(format,
// size, name, type), during which "Guardar imagen…" waits, and saving().
export function setUpSaving(page) {
    const {core, notice} = page;
    const $ = id => document.getElementById(id);
    const saveButton = $('guardar-boton'), row = $('imagen-progreso'), status = $('imagen-estado'), cancelButton = $('imagen-cancelar');
    let workerless = false, current = null;     // current: the save under way, {cancel()}

    function onThread(format, size, name, type) {
        const bytes = core.encode(format, size);
        if (bytes)
            page.download(bytes, name, type);
        else
            notice.textContent = 'No se pudo crear la imagen.';
    }

    // A worker given the core, and whether it started; null where none can start.
    function startWorker() {
        let url = null;
        try {
            const text = document.getElementById('vx-save-worker')?.textContent;
            url = text ? URL.createObjectURL(new Blob([text], {type: 'text/javascript'})) : new URL('save_worker.js', import.meta.url);
            const worker = new Worker(url, {type: 'module'});
            const ready = new Promise(resolve => {
                const wait = setTimeout(() => resolve(false), kSaveWorkerWaitMs);
                const settle = started => { clearTimeout(wait); resolve(started); };
                worker.addEventListener('message', ({data}) => data.ready && settle(true), {once: true});
                worker.addEventListener('error', event => { event.preventDefault(); settle(false); }, {once: true});
            });
            worker.postMessage({source: page.source});
            if (typeof url === 'string')
                ready.then(() => URL.revokeObjectURL(url));
            return {worker, ready};
        } catch {
            if (typeof url === 'string')
                URL.revokeObjectURL(url);
            return null;       // refused outright: a page from disk, a strict policy
        }
    }
    // One worker is kept started, so that a save begins at once.
    let spare = null;
    function prepare() {
        if (!workerless && !spare)
            spare = startWorker();
        workerless ||= !spare;
    }

    // A worker's answer: {bytes} (null on failure), {same: false} when its core cannot draw the
    // frame, {cancelled: true}, or nothing when it never started (then no worker is tried again).
    function inWorker(state, format, size, cancelled) {
        const started = spare ?? startWorker();
        spare = null;
        if (!started) {
            workerless = true;
            return Promise.resolve(null);
        }
        const {worker} = started;
        return new Promise(resolve => {
            let over = false;
            const end = answer => {
                over = true;
                worker.terminate();
                resolve(answer);
            };
            cancelled.then(() => end({cancelled: true}));
            started.ready.then(ok => {
                if (over)
                    return;
                if (!ok) {
                    workerless = true;
                    end(null);
                    return;
                }
                worker.addEventListener('message', ({data}) => end(data.same ? {bytes: data.bytes} : {same: false}));
                worker.addEventListener('error', event => { event.preventDefault(); end({bytes: null}); });
                worker.postMessage({state, format, size});
            });
        });
    }

    async function save(format, size, name, type) {
        const state = core.saveState();
        if (workerless || !state) {
            onThread(format, size, name, type);
            return;
        }
        let cancel;
        const cancelled = new Promise(resolve => { cancel = resolve; });
        current = {cancel};
        const hadFocus = document.activeElement === saveButton;
        saveButton.disabled = true;    // a keyboard's focus waits on "Cancelar", then comes back
        const begun = performance.now();
        const tick = () => {
            const elapsed = performance.now() - begun;
            if (elapsed >= kShowProgressMs && row.hidden) {
                row.hidden = false;
                if (hadFocus)
                    cancelButton.focus();
            }
            status.textContent = `Guardando la imagen… ${Math.floor(elapsed / 1000)} s`;
        };
        const timer = setInterval(tick, 250);
        const answer = await inWorker(state, format, size, cancelled);
        clearInterval(timer);
        row.hidden = true;
        status.textContent = '';
        current = null;
        saveButton.disabled = !page.hasSurface();
        if (hadFocus && [document.body, null, cancelButton].includes(document.activeElement))
            saveButton.focus();
        prepare();
        if (answer?.cancelled)
            return;
        if (!answer || answer.same === false)
            onThread(format, size, name, type);   // the page's own core, as where no worker starts
        else if (answer.bytes)
            page.download(answer.bytes, name, type);
        else
            notice.textContent = 'No se pudo crear la imagen.';
    }

    $('guardar').addEventListener('pointerenter', prepare);
    $('guardar').addEventListener('focusin', prepare);
    cancelButton.addEventListener('click', () => current?.cancel());
    document.addEventListener('keydown', event => {
        if (current && event.key === 'Escape' && !event.target.closest?.('dialog'))
            current.cancel();     // as a progress dialog's Escape
    });
    return {save, saving: () => current !== null};
}
