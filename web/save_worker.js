// "Guardar imagen…" off the page's thread: the page's frame opened in this worker's own core and
// encoded here, so a heavy figure never freezes the page, and "Cancelar" ends the worker outright.
import {loadCore} from './binding.js';

let core = null;
self.addEventListener('message', async ({data}) => {
    if (data.source) {
        core = await loadCore(data.source);
        core.start();
        self.postMessage({ready: true});
        return;
    }
    // The same frame to the bit, or nothing: the page then saves on its own thread.
    if (!core.openSaveState(data.state)) {
        self.postMessage({same: false});
        return;
    }
    const bytes = core.encode(data.format, data.size);
    self.postMessage({same: true, bytes}, bytes ? [bytes.buffer] : []);
});
