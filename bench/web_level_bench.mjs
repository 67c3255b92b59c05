// A slider step of the level surface x² + y² − z² = c ("nivel") with hidden lines: the surface built
// anew at the next c and the frame drawn, in WebAssembly under node beside equation_bench's
// BM_LevelSurfaceSliderStep in the same run, in wall and processor time.
// Usage (after web/build.sh and a build of the benchmarks): node bench/web_level_bench.mjs [BENCH-FOLDER]
import {execFileSync} from 'node:child_process';
import {createRequire} from 'node:module';
import {readFileSync} from 'node:fs';
import {loadCore} from '../web/binding.js';

const require = createRequire(import.meta.url);
const benchFolder = process.argv[2] ?? 'build-bench/bench';
const kRounds = 5;   // each: 3 native repetitions, then 3 of the WebAssembly
const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const milli = value => `${value.toFixed(1)} ms`;

function nativeRuns() {
    const report = JSON.parse(execFileSync(`${benchFolder}/equation_bench`, [
        '--benchmark_filter=BM_LevelSurfaceSliderStep$', '--benchmark_repetitions=3', '--benchmark_min_time=0.3',
        '--benchmark_format=json'], {encoding: 'utf8'}));
    const runs = time => report.benchmarks.filter(b => b.run_type === 'iteration').map(b => b[time]);
    return {wall: runs('real_time'), cpu: runs('cpu_time')};   // in ms: the benchmark's unit
}

const source = {glue: readFileSync('build-web/site/vexilon.js', 'utf8'), wasm: await WebAssembly.compile(readFileSync('build-web/site/vexilon.wasm'))};
const core = await loadCore(source, require);
core.start();
core.choose(core.surfaces().find(s => s.id === 'nivel').n);
core.setStyle({hiddenLines: true, lineWidth: 1});
let step = 0;
function wasmRuns() {
    const wall = [], cpu = [];
    for (let r = 0; r < 3; ++r) {
        let n = 0;
        const start = performance.now(), used = process.cpuUsage();
        do {
            if (!core.setParameter('c', -1 + 2 * (step++ % 100) / 99))   // the slider's next place, as native
                throw new Error('the level surface was not built');
            core.m._vx_draw();
            ++n;
        } while (performance.now() - start < 300);
        wall.push((performance.now() - start) / n);
        const spent = process.cpuUsage(used);
        cpu.push((spent.user + spent.system) / 1000 / n);
    }
    return {wall, cpu};
}
const all = {native: {wall: [], cpu: []}, wasm: {wall: [], cpu: []}};
for (let round = 0; round < kRounds; ++round) {
    for (const [kind, runs] of [['native', nativeRuns()], ['wasm', wasmRuns()]])
        for (const key of ['wall', 'cpu'])
            all[kind][key].push(...runs[key]);
}
console.log('| level surface slider step, hidden lines | WebAssembly (node), median (min) | native, median (min) | ratio of medians | ratio of minima |');
console.log('|---|---|---|---|---|');
for (const [label, key] of [['wall', 'wall'], ['processor time', 'cpu']]) {
    const w = all.wasm[key], n = all.native[key];
    console.log(`| ${label} | ${milli(median(w))} (${milli(Math.min(...w))}) | ${milli(median(n))} (${milli(Math.min(...n))}) | ` +
                `${(median(w) / median(n)).toFixed(2)} × | ${(Math.min(...w) / Math.min(...n)).toFixed(2)} × |`);
}
