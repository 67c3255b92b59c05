// Lays out the site (build-web/site) and the same page as one file that works opened from disk
// (build-web/vexilon.html): styles, modules, the worker and the WebAssembly written inside it.
// Usage: node assemble.mjs WEB-SOURCE-DIR WASM-DIR OUT-DIR VERSION
import {copyFileSync, mkdirSync, readFileSync, renameSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {join} from 'node:path';
import {fetchCoreSource, loadCore} from './binding.js';
import {scormManifest, zip} from './scorm.mjs';
import {brotliCompressSync, constants as zlib, gzipSync} from 'node:zlib';

const [web, wasmDir, out, version] = process.argv.slice(2);
const site = join(out, 'site');
mkdirSync(site, {recursive: true});
// The page's HTML names the session's limits as @pictureSizeMax@ and the like: written in from the
// core itself, so that no number is copied by hand.
const core = await loadCore({glue: readFileSync(join(wasmDir, 'vexilon.js'), 'utf8'),
                             wasm: await WebAssembly.compile(readFileSync(join(wasmDir, 'vexilon.wasm')))},
                            createRequire(import.meta.url));
const limits = core.limits();
const withLimits = text => text.replace(/@([a-zA-Z]+)@/g, (whole, key) => {
    if (!Object.hasOwn(limits, key))
        throw new Error(`index.html names ${whole}, which is no limit of the core`);
    return String(limits[key]);
});
const read = name => {
    const text = readFileSync(join(web, name), 'utf8').replaceAll('@VERSION@', version);
    return name === 'index.html' ? withLimits(text) : text;
};

// Written under a temporary name and renamed, so a failed run leaves no half-written file.
function writeWhole(path, data) {
    writeFileSync(path + '.part', data);
    renameSync(path + '.part', path);
}

const kModules = ['binding.js', 'storage.js', 'preview.js', 'own_surfaces.js', 'motion.js', 'scene_link.js', 'screen.js', 'presentation.js', 'section.js', 'saving.js', 'view_options.js', 'square_input.js', 'page.js'];   // each after those it imports

// Modules as one script, in the order given, without their imports and exports: each imports only
// named things of the modules before it, and no two share a top-level name.
function joined(modules) {
    return modules.map(name => {
        const body = read(name).replace(/^import\s*\{[^}]*\}\s*from\s*'\.\/[a-z_]+\.js';\n/gm, '').replace(/^export /gm, '');
        if (/^(import|export)\b/m.test(body))
            throw new Error(`${name}: an import or export the single file cannot hold`);
        return body;
    }).join('\n');
}
// Text inside a <script> element ends at the first "</script": the JavaScript spells it otherwise.
const inline = text => text.replace(/<\/script/gi, '<\\/script');
const bundle = modules => inline(joined(modules));

// The site's page.js is the page's modules in one file, as the single file holds them: one request,
// where a level of imports at a time queued on a browser's few connections to the server (the
// workers import binding.js). The core is asked for first and compiled while page.js arrives, by a
// script that runs before the style sheet is in (page.js takes it as window.vexilonCore; a failure
// is page.js's to tell).
const earlyCore = ['<link rel="preload" href="vexilon.wasm" as="fetch" type="application/wasm" crossorigin>',
                   '<link rel="preload" href="vexilon.js" as="fetch" crossorigin>',
                   `<script>window.vexilonCore = (${fetchCoreSource})(document.baseURI); vexilonCore.catch(() => {});</script>`].join('\n');
const sitePage = read('index.html').replace('<link rel="stylesheet" href="page.css">', whole => `${earlyCore}\n${whole}`);
if (!sitePage.includes('window.vexilonCore'))
    throw new Error('index.html no longer names page.css where the core is asked for');
writeWhole(join(site, 'index.html'), sitePage);
for (const name of ['page.css', 'binding.js', 'sampling_worker.js', 'save_worker.js', 'offline_worker.js', 'vexilon-icon.svg'])
    writeWhole(join(site, name), read(name));
writeWhole(join(site, 'page.js'), joined(kModules));
for (const name of ['vexilon.js', 'vexilon.wasm'])
    copyFileSync(join(wasmDir, name), join(site, name));

const glue = readFileSync(join(wasmDir, 'vexilon.js'), 'utf8');
const wasm = readFileSync(join(wasmDir, 'vexilon.wasm')).toString('base64');
const icon = 'data:image/svg+xml;base64,' + Buffer.from(read('vexilon-icon.svg')).toString('base64');
let page = read('index.html')
    .replace('<link rel="stylesheet" href="page.css">', () => `<style>\n${read('page.css')}</style>`)
    .replace('href="vexilon-icon.svg"', () => `href="${icon}"`)
    .replace('<script type="module" src="page.js"></script>', () =>
        `<script type="text/plain" id="vx-glue">${inline(glue)}</script>\n` +
        `<script type="text/plain" id="vx-wasm">${wasm}</script>\n` +
        `<script type="text/plain" id="vx-worker">${bundle(['binding.js', 'sampling_worker.js'])}</script>\n` +
        `<script type="text/plain" id="vx-save-worker">${bundle(['binding.js', 'save_worker.js'])}</script>\n` +
        `<script type="module">\n${bundle(kModules)}</script>`);
if (page.includes('page.css') || page.includes('src="page.js"'))
    throw new Error('index.html no longer has the lines the single file replaces');
writeWhole(join(out, 'vexilon.html'), page);
writeWhole(join(out, 'vexilon-scorm.zip'), zip([['imsmanifest.xml', scormManifest(version)], ['vexilon.html', page]]));

// Each file of the site also compressed beside it (FILE.gz, FILE.br), for serve.mjs or any server
// that sends a precompressed copy, written after the file so that it is never older.
const kSiteFiles = ['index.html', 'page.css', 'page.js', 'binding.js', 'sampling_worker.js', 'save_worker.js', 'offline_worker.js',
                    'vexilon-icon.svg', 'vexilon.js', 'vexilon.wasm'];
for (const name of kSiteFiles) {
    const bytes = readFileSync(join(site, name));
    writeWhole(join(site, name + '.gz'), gzipSync(bytes, {level: 9}));
    writeWhole(join(site, name + '.br'), brotliCompressSync(bytes, {params: {[zlib.BROTLI_PARAM_QUALITY]: 11,
                                                                            [zlib.BROTLI_PARAM_SIZE_HINT]: bytes.length}}));
}
