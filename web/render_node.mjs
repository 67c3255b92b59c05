// The page's core under node: one frame written like vexilon-render's, for comparing the two.
// Usage: node web/render_node.mjs BUILD-WEB-DIR SURFACE FORMAT OUT
//        [hidden] [orbit:DX,DY] [zoom:UP|DOWN] ...   (FORMAT: png, svg, trace, gif)
import {createRequire} from 'node:module';
import {readFileSync, writeFileSync} from 'node:fs';
import {kZoomBar, kLineUp, kLineDown, loadCore} from './binding.js';

const [dir, surface, format, out, ...steps] = process.argv.slice(2);
const source = {glue: readFileSync(`${dir}/vexilon.js`, 'utf8'), wasm: await WebAssembly.compile(readFileSync(`${dir}/vexilon.wasm`))};
const core = await loadCore(source, createRequire(import.meta.url));
core.start();
const number = core.surfaces().find(s => s.id === surface || String(s.n) === surface)?.n;
if (!number) {
    console.error(`unknown surface '${surface}'`);
    process.exit(2);
}
const style = {};
core.choose(number);
for (const step of steps) {
    const [what, value] = step.split(':');
    if (what === 'orbit') core.orbitKey(...value.split(',').map(Number));
    else if (what === 'zoom') core.scroll(kZoomBar, value === 'up' ? kLineUp : kLineDown, 0, true);
    else if (what === 'lineWidth') style.lineWidth = Number(value);
    else style[what === 'hidden' ? 'hiddenLines' : what] = true;
}
core.setStyle(style);
const index = core.formats().findIndex(f => f.name === format);
writeFileSync(out, core.encode(index));
