// Samples a definition off the page's thread and draws its preview, so typing never waits.
import {loadCore} from './binding.js';

let core = null;
self.addEventListener('message', async ({data}) => {
    if (data.source) {
        core = await loadCore(data.source);
        core.start();
        self.postMessage({ready: true});    // the page sends definitions from now on
        return;
    }
    const {problem, warning} = core.preview(data.definition);
    const pixels = problem ? null : core.draw();
    self.postMessage({asked: data.asked, problem, warning, pixels}, pixels ? [pixels.buffer] : []);
});
