// The page's figures: the sine frame, plain and with hidden lines, in WebAssembly under node beside
// the native style_bench in the same run, in wall and processor time; from navigation to the first
// picture in Chromium; the size of the page's WebAssembly and JavaScript. Usage (after web/build.sh
// and a Release build of the benchmarks in build-bench, or VEXILON_STYLE_BENCH naming another
// style_bench): node bench/web_bench.mjs
import {execFileSync, spawn} from 'node:child_process';
import {createRequire} from 'node:module';
import {readFileSync, readdirSync} from 'node:fs';
import {gzipSync} from 'node:zlib';
import {loadCore, kZoomBar} from '../web/binding.js';

const require = createRequire(import.meta.url);
const kRounds = 5;   // each: 3 native repetitions, then 3 of the WebAssembly
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const micro = value => `${value.toFixed(1)} µs`;

// Native: style_bench's plain and hidden sine frames (camera step and frame into the 32-bit picture),
// wall and processor time.
function nativeRuns() {
    const report = JSON.parse(execFileSync(process.env.VEXILON_STYLE_BENCH ?? 'build-bench/bench/style_bench', [
        '--benchmark_filter=BM_StyledFrame/[01]/4$', '--benchmark_repetitions=3', '--benchmark_min_time=0.2',
        '--benchmark_format=json'], {encoding: 'utf8'}));
    const runs = (name, time) => report.benchmarks.filter(b => b.run_name === name && b.run_type === 'iteration').map(b => b[time]);
    return {plain: runs('BM_StyledFrame/0/4', 'real_time'), hidden: runs('BM_StyledFrame/1/4', 'real_time'),
            plainCpu: runs('BM_StyledFrame/0/4', 'cpu_time'), hiddenCpu: runs('BM_StyledFrame/1/4', 'cpu_time')};
}

// WebAssembly under node: the same two steps through the binding's module.
const source = {glue: readFileSync('build-web/site/vexilon.js', 'utf8'), wasm: await WebAssembly.compile(readFileSync('build-web/site/vexilon.wasm'))};
const core = await loadCore(source, require);
core.start();
const sine = core.surfaces().find(s => s.id === 'seno').n;
core.choose(sine);
// Wall time and this process's processor time per frame: on a machine shared with other work the
// processor time moves far less.
function wasmRuns(hidden) {
    core.setStyle({hiddenLines: hidden, lineWidth: 1});
    const wall = [], cpu = [];
    for (let r = 0; r < 3; ++r) {
        let n = 0;
        const start = performance.now(), used = process.cpuUsage();
        do {
            core.scroll(kZoomBar, 99);   // a code no bar knows: the camera step alone, as every event makes
            core.m._vx_draw();           // the frame alone: the pixels stay in the module
            ++n;
        } while (performance.now() - start < 200);
        wall.push((performance.now() - start) * 1000 / n);
        const spent = process.cpuUsage(used);
        cpu.push((spent.user + spent.system) / n);
    }
    return {wall, cpu};
}
// Rounds of each in turn, so that other work on the machine weighs on both alike.
const all = {native: {plain: [], hidden: [], plainCpu: [], hiddenCpu: []}, wasm: {plain: [], hidden: [], plainCpu: [], hiddenCpu: []}};
for (let round = 0; round < kRounds; ++round) {
    const native = nativeRuns();
    for (const key of Object.keys(all.native))
        all.native[key].push(...native[key]);
    for (const key of ['plain', 'hidden']) {
        const runs = wasmRuns(key === 'hidden');
        all.wasm[key].push(...runs.wall);
        all.wasm[`${key}Cpu`].push(...runs.cpu);
    }
}
console.log(`| frame | WebAssembly (node), median (min) | native, median (min) | ratio of medians | ratio of minima |`);
console.log('|---|---|---|---|---|');
for (const [label, key] of [['sine, plain', 'plain'], ['sine, hidden lines', 'hidden'],
                            ['sine, plain, processor time', 'plainCpu'], ['sine, hidden lines, processor time', 'hiddenCpu']]) {
    const w = all.wasm[key], n = all.native[key];
    console.log(`| ${label} | ${micro(median(w))} (${micro(Math.min(...w))}) | ${micro(median(n))} (${micro(Math.min(...n))}) | ` +
                `${(median(w) / median(n)).toFixed(2)} × | ${(Math.min(...w) / Math.min(...n)).toFixed(2)} × |`);
}

// The page's files as a browser fetches them.
const site = 'build-web/site';
const files = readdirSync(site).filter(name => /\.(wasm|js)$/.test(name));
const bytes = Buffer.concat(files.map(name => readFileSync(`${site}/${name}`)));
console.log(`\nWebAssembly and JavaScript (${files.join(', ')}): ${(bytes.length / 1024).toFixed(0)} KiB, ` +
            `${(gzipSync(bytes, {level: 9}).length / 1024).toFixed(0)} KiB gzipped`);

// Navigation to the first picture, in Chromium headless: a fresh context each time (no cache), the
// address opened in a tab already open, as a person types it or follows a link there. Opened the
// instant the tab is made, the browser's own start of the tab (another renderer, busy 0.4–0.6 s in a
// trace) shares the two processors with the page: that figure is kept beside it.
const {chromium} = require('../web/tests/node_modules/playwright-core');
const server = spawn(process.execPath, ['web/serve.mjs', site, '0'], {stdio: ['ignore', 'pipe', 'inherit']});
const address = await new Promise(done => server.stdout.once('data', data => done(String(data).trim())));
const browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-quic']});
const firstPicture = {settled: [], atOnce: []};
for (let r = 0; r < 7; ++r) {
    for (const kind of ['settled', 'atOnce']) {
        const context = await browser.newContext({viewport: {width: 1280, height: 900}});
        const page = await context.newPage();
        if (kind === 'settled')
            await new Promise(done => setTimeout(done, 1000));
        await page.goto(`${address}?superficie=toro`);
        await page.waitForFunction(() => performance.getEntriesByName('vexilon-primera-imagen').length > 0);
        firstPicture[kind].push(await page.evaluate(() => performance.getEntriesByName('vexilon-primera-imagen')[0].startTime));
        await context.close();
    }
}

// A drag on a phone of 3 device pixels a CSS pixel (390 × 844: a square of over a million pixels),
// a move a paint for 240 paints: the frames painted a second.
const dragRates = [];
for (let r = 0; r < 3; ++r) {
    const context = await browser.newContext({viewport: {width: 390, height: 844}, deviceScaleFactor: 3, isMobile: true, hasTouch: true});
    const page = await context.newPage();
    await page.goto(`${address}?superficie=seno`);
    await page.waitForFunction(() => Number(document.getElementById('cuadro').dataset.frames) > 0);
    dragRates.push(await page.evaluate(() => new Promise(done => {
        const square = document.getElementById('cuadro');
        const box = square.getBoundingClientRect();
        const at = (type, i) => square.dispatchEvent(new PointerEvent(type, {pointerId: 1, pointerType: 'touch', isPrimary: true,
            clientX: box.left + 100 + (i % 100), clientY: box.top + 100, bubbles: true}));
        at('pointerdown', 0);
        const first = Number(square.dataset.frames);
        let i = 0, start = 0;
        function step(now) {
            if (i === 0)
                start = now;
            if (++i <= 240) {
                at('pointermove', i);
                requestAnimationFrame(step);
            } else {
                at('pointerup', i);
                done({rate: (Number(square.dataset.frames) - first) * 1000 / (now - start), side: square.width});
            }
        }
        requestAnimationFrame(step);
    })));
    await context.close();
}
await browser.close();
server.kill();
const rates = dragRates.map(d => d.rate);
console.log(`Drag at 3 device pixels a CSS pixel (390 × 844, a square of ${dragRates[0].side} pixels), 240 moves, 3 runs: ` +
            `median ${median(rates).toFixed(1)} frames a second (${Math.min(...rates).toFixed(1)}–${Math.max(...rates).toFixed(1)})`);
const spread = values => `median ${median(values).toFixed(0)} ms (${Math.min(...values).toFixed(0)}–${Math.max(...values).toFixed(0)})`;
console.log(`Navigation to the first picture (torus), 7 fresh loads in a tab already open: ${spread(firstPicture.settled)}; ` +
            `in a tab opened that instant: ${spread(firstPicture.atOnce)}`);
