// "Definir…"'s preview: sampled by a worker so that typing never waits, or, where no worker can
// start (a page opened from disk in some browsers), by a second core on the page's own thread.
import {loadCore} from './binding.js';

const kWorkerWaitMs = 4000;     // a worker silent this long after it was given the core never started

// source: the core's; answer({asked, problem, warning, pixels}) gets each preview, pixels RGBA of
// the 500-pixel square or null. Returns ask(asked, definition).
export function startPreview(source, answer) {
    let worker = null, ready = false, pending = null, local = null;

    async function onThread() {
        worker?.terminate();
        worker = null;
        local ??= loadCore(source).then(core => { core.start(); return core; });
        const core = await local;
        if (!pending)
            return;
        const {asked, definition} = pending;
        pending = null;
        const {problem, warning} = core.preview(definition);
        answer({asked, problem, warning, pixels: problem ? null : core.draw()});
    }
    try {
        const text = document.getElementById('vx-worker')?.textContent;
        const url = text ? URL.createObjectURL(new Blob([text], {type: 'text/javascript'})) : new URL('sampling_worker.js', import.meta.url);
        worker = new Worker(url, {type: 'module'});
        worker.addEventListener('message', ({data}) => {
            if (data.ready) {
                ready = true;
                if (pending)
                    worker.postMessage(pending);
                pending = null;
            } else {
                answer(data);
            }
        });
        worker.addEventListener('error', onThread);
        worker.addEventListener('messageerror', onThread);
        worker.postMessage({source});
        setTimeout(() => ready || onThread(), kWorkerWaitMs);
    } catch {
        onThread();      // refused outright: a page from disk, a strict policy
    }
    return function ask(asked, definition) {
        pending = {asked, definition};
        if (worker && ready) {
            worker.postMessage(pending);
            pending = null;
        } else if (!worker) {
            onThread();
        }
    };
}
