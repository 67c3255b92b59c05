// Samples a definition off the page's thread and draws its preview, so typing never waits.
import {loadCore} from './binding.js';

let core = null;
let ready = null;
self.addEventListener('message', async ({data}) => {
    if (data.source) {
        ready = loadCore(data.source).then(c => { core = c; core.start(); });
        return;
    }
    await ready;
    const {problem, warning} = core.preview(data.definition);
    const pixels = problem ? null : core.draw();
    self.postMessage({asked: data.asked, problem, warning, pixels}, pixels ? [pixels.buffer] : []);
});
