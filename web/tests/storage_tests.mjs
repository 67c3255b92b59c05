// The page where the browser's storage is blocked, missing or full, and hostile superficies.toml
// files imported: it starts, says in Spanish what is not kept, keeps nothing by halves, and never
// throws.

import {writeFileSync} from 'node:fs';
import {join} from 'node:path';

// Storage as a browser may lend it, set up before the page's scripts run.
const kBlocked = () => Object.defineProperty(window, 'localStorage', {get() { throw new DOMException('bloqueado', 'SecurityError'); }});
const kMissing = () => Object.defineProperty(window, 'localStorage', {get() { return null; }});
const kFull = () => {
    const setItem = Storage.prototype.setItem;
    Storage.prototype.setItem = function (key, value) {
        if (key === 'vexilon.superficies')
            throw new DOMException('lleno', 'QuotaExceededError');
        return setItem.call(this, key, value);
    };
};

const kEntry = (id, caption) => `[[surface]]\nid = "${id}"\ncaption = "${caption}"\nx = "u"\ny = "v"\nz = "u*v"\nu = [0, 1, 3]\nv = [0, 1, 3]\n`;

// Random superficies.toml texts from a fixed seed: broken TOML, hostile names, many lets, huge numbers.
function* hostileFiles(count) {
    let seed = 20261209;
    const below = n => (seed = (seed * 1103515245 + 12345) % 2147483648) % n;
    const pieces = [kEntry('a', 'A'), '[[surface]]\n', 'id = "\u202eb"\n', 'caption = "\u2028\uffff\x1b[2J"\n', 'x = "1e308*u"\n',
                    'y = "(((((v"\n', 'z = "u"\n', 'u = [0, 1e308, 3]\n', 'v = [-1.7e308, 1.7e308, 2]\n', 'params = { a = 1 }\n',
                    'samples = 10000\n', '[surface.let]\nm = "u"\n', 'u = [0, 1, 1001]\n', '\0', '\ud800', '"""', '[[[x]]]\n',
                    '[surface.let]\n' + Array.from({length: 300}, (_, i) => `m${i} = "u"\n`).join('')];
    for (let i = 0; i < count; ++i)
        yield Array.from({length: 1 + below(8)}, () => pieces[below(pieces.length)]).join('');
}

export async function run(h) {
    const {check, expect, openPage} = h;
    const status = page => page.locator('#superficies-estado').textContent();
    async function importFile(page, name, buffer) {
        await page.evaluate(() => { document.getElementById('superficies-estado').textContent = ''; });
        const [chooser] = await Promise.all([page.waitForEvent('filechooser'),
                                             page.getByRole('button', {name: 'Importar superficies…'}).click()]);
        await chooser.setFiles(typeof buffer === 'string' ? buffer : {name, mimeType: 'text/plain', buffer});
        await page.waitForFunction(() => document.getElementById('superficies-estado').textContent !== '', null, {timeout: 10000});
        return status(page);
    }
    // "Guardar en mis superficies" of the example the dialog opens with, once its preview is drawn
    // (the preview's answer rewrites the dialog's message).
    async function saveTyped(page) {
        await page.getByRole('button', {name: 'Definir…'}).click();
        const dialog = page.getByRole('dialog');
        await page.waitForFunction(() => {
            const preview = document.getElementById('vista-previa');
            return preview.getContext('2d').getImageData(0, 0, preview.width, preview.height).data.some(v => v !== 0);
        }, null, {timeout: 10000});
        await dialog.getByRole('button', {name: 'Guardar en mis superficies'}).click();
        const said = await page.locator('#definir-error').textContent();
        await dialog.getByRole('button', {name: 'Cancelar'}).click();
        return said;
    }
    async function listed(page) {
        return (await page.getByRole('combobox', {name: 'Otra:'}).locator('option').allTextContents()).join('|');
    }

    for (const [how, script] of [['blocked', kBlocked], ['missing', kMissing]]) {
        await check(`storage ${how}: the page starts, draws, says nothing is kept, and saves for the visit only`, async () => {
            const context = await h.browser.newContext({viewport: {width: 1280, height: 900}});
            await context.addInitScript(script);
            const page = await context.newPage();
            page.on('pageerror', error => h.pageErrors.push(`storage ${how}: ${error.message}`));
            await page.goto(new URL('?superficie=toro', h.address).href);
            await page.waitForSelector('#cuadro[data-ready="true"]', {timeout: 15000});
            expect((await status(page)).includes('no deja guardar datos'), `status: ${await status(page)}`);
            expect(Number(await page.locator('#cuadro').getAttribute('data-frames')) > 0, 'nothing drawn');
            const said = await saveTyped(page);
            expect(said.startsWith('Guardada solo hasta cerrar la página'), `said: ${said}`);
            expect((await listed(page)).includes('Mi superficie'), 'not listed for the visit');
            await context.close();
        });
    }

    await check('storage full: an import and a save are told in Spanish and nothing is half kept', async () => {
        const context = await h.browser.newContext({viewport: {width: 1280, height: 900}});
        await context.addInitScript(kFull);
        const page = await context.newPage();
        page.on('pageerror', error => h.pageErrors.push(`storage full: ${error.message}`));
        await page.goto(h.address);
        await page.waitForSelector('#cuadro[data-ready="true"]', {timeout: 15000});
        const told = await importFile(page, 'superficies.toml', Buffer.from(kEntry('llena', 'No cabe')));
        expect(told.startsWith('No se importó ninguna superficie. El almacenamiento del navegador está lleno'), `status: ${told}`);
        expect(!(await listed(page)).includes('No cabe'), 'listed though not kept');
        const said = await saveTyped(page);
        expect(said.startsWith('El almacenamiento del navegador está lleno'), `said: ${said}`);
        expect(!(await listed(page)).includes('Mi superficie'), 'listed though not kept');
        await context.close();
    });

    await check('the server answers hostile paths and serves on', async () => {
        const codes = [];
        for (const path of ['//?x', '/%ff', '/index.html'])
            codes.push((await fetch(h.address.replace(/\/$/, '') + path)).status);
        expect(codes.join(' ') === '400 400 200', `answered ${codes.join(' ')}`);
    });

    await check('a superficies.toml over 16 MB is refused by its size, before it is read', async () => {
        const page = await openPage(h.address);
        const file = join(h.scratch, 'grande.toml');   // from disk: a buffer this large is slow to hand over
        writeFileSync(file, Buffer.alloc(17 * 1024 * 1024, 0x23));
        const told = await importFile(page, 'grande.toml', file);
        expect(told === '«grande.toml» ocupa más de 16 MB; se aceptan archivos de hasta 16 MB.', `status: ${told}`);
        await page.context().close();
    });

    await check('hostile superficies.toml files imported: each told in one status, the page unharmed', async () => {
        const page = await openPage(h.address);
        for (const text of hostileFiles(40)) {
            const told = await importFile(page, 'superficies.toml', Buffer.from(text));
            expect(told.length < 4000 && !/[\u202a-\u202e\u2066-\u2069\u2028\u2029\x00-\x1f]/.test(told), `status: ${JSON.stringify(told)}`);
        }
        const before = await h.frames(page);
        await page.getByRole('radio', {name: 'Toro', exact: true}).click();
        await page.waitForFunction(n => Number(document.getElementById('cuadro').dataset.frames) > n, before, {timeout: 10000});
        await page.context().close();
    });
}
