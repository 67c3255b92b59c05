// serve.mjs asked as a browser asks: precompressed copies for who takes them, validators, and 304
// on a revisit; the offline worker's revisit costs no file's bytes; the single file from disk in a
// browser as it comes, without the testing flag that opens files to pages.
import {readFileSync} from 'node:fs';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';
import {chromium} from 'playwright-core';
import {brotliDecompressSync, gunzipSync} from 'node:zlib';

export async function run(h) {
    const {address, buildWeb, browser, check, expect} = h;
    const site = join(buildWeb, 'site');
    // node's fetch undoes an encoding itself: the raw answer is read through node:http instead.
    const {request} = await import('node:http');
    const get = (path, headers = {}) => new Promise((done, fail) => {
        request(new URL(path, address), {headers}, response => {
            const parts = [];
            response.on('data', part => parts.push(part));
            response.on('end', () => done({status: response.statusCode, headers: response.headers, body: Buffer.concat(parts)}));
        }).on('error', fail).end();
    });

    await check('served: brotli or gzip as asked, the same bytes once undone; plain to who takes neither', async () => {
        const plain = readFileSync(join(site, 'vexilon.wasm'));
        const br = await get('vexilon.wasm', {'Accept-Encoding': 'gzip, deflate, br'});
        expect(br.headers['content-encoding'] === 'br' && brotliDecompressSync(br.body).equals(plain), 'no brotli copy of the same bytes');
        expect(br.body.length < plain.length / 2, `brotli gives ${br.body.length} of ${plain.length} bytes`);
        const gz = await get('index.html', {'Accept-Encoding': 'gzip'});
        expect(gz.headers['content-encoding'] === 'gzip' && gunzipSync(gz.body).equals(readFileSync(join(site, 'index.html'))), 'no gzip copy');
        const none = await get('page.js', {'Accept-Encoding': 'br;q=0, identity'});
        expect(none.headers['content-encoding'] === undefined && none.body.equals(readFileSync(join(site, 'page.js'))), 'not the plain file');
        expect(br.headers.vary === 'Accept-Encoding', 'no Vary: Accept-Encoding');
        expect((await get('vexilon.wasm.gz')).status === 404, 'the copies themselves are served');
    });
    await check('served with validators: a revisit is answered 304 with no bytes', async () => {
        const first = await get('vexilon.js', {'Accept-Encoding': 'gzip'});
        const tag = first.headers.etag, date = first.headers['last-modified'];
        expect(tag && date, 'no ETag or Last-Modified');
        const again = await get('vexilon.js', {'Accept-Encoding': 'gzip', 'If-None-Match': tag});
        expect(again.status === 304 && again.body.length === 0, `answered ${again.status} with ${again.body.length} bytes`);
        const dated = await get('vexilon.js', {'If-Modified-Since': date});
        expect(dated.status === 304, `If-Modified-Since answered ${dated.status}`);
        const other = await get('vexilon.js', {'If-None-Match': '"0-0"'});
        expect(other.status === 200 && other.body.length > 0, 'another tag is not answered with the file');
    });
    await check('the offline worker revisits with validators: unchanged files cost no bytes', async () => {
        const context = await browser.newContext();
        const page = await context.newPage();
        await page.goto(address);
        await page.waitForSelector('#cuadro[data-ready="true"]');
        await page.evaluate(() => navigator.serviceWorker.ready);
        await page.reload();
        await page.waitForSelector('#cuadro[data-ready="true"]');
        const statuses = [];
        // The worker's own requests to the server, not the page's answers from the worker.
        context.on('response', response => response.url().endsWith('vexilon.wasm') && !response.fromServiceWorker() &&
                                           statuses.push(response.status()));
        await page.reload();
        await page.waitForSelector('#cuadro[data-ready="true"]');
        expect(statuses.includes(304) && !statuses.includes(200), `vexilon.wasm answered ${statuses.join(', ')}`);
        await context.close();
    });
    await check('the single file from disk: "Definir…" tells a typo and previews before "Aceptar"', async () => {
        const plain = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-background-networking']});
        try {
            const page = await plain.newPage();
            const errors = [];
            page.on('pageerror', error => errors.push(error.message));
            await page.goto(pathToFileURL(join(buildWeb, 'vexilon.html')).href);
            await page.waitForSelector('#cuadro[data-ready="true"]', {timeout: 15000});
            await page.getByRole('button', {name: 'Definir…'}).click();
            const dialog = page.getByRole('dialog', {name: 'Superficie propia'});
            // The preview of the example drawn: some pixel of it not black.
            const drawn = () => page.waitForFunction(() => {
                const canvas = document.getElementById('vista-previa');
                const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
                return data.some((value, i) => i % 4 !== 3 && value !== 0);
            }, null, {timeout: 10000});
            await drawn();
            await dialog.getByRole('textbox', {name: 'x(u, v) ='}).fill('u*cos(v');
            await page.waitForFunction(() => document.querySelector('input[name=x]').getAttribute('aria-invalid') === 'true', null, {timeout: 10000});
            expect((await page.locator('#definir-error').textContent()).length > 0, 'no message at the field');
            await page.evaluate(() => document.getElementById('vista-previa').getContext('2d').clearRect(0, 0, 250, 250));
            await dialog.getByRole('textbox', {name: 'x(u, v) ='}).fill('u*cos(v)');
            await drawn();
            expect(errors.length === 0, errors.join('; '));
        } finally {
            await plain.close();
        }
    });
}
