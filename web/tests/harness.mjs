// What the page's tests share: the site served, Debian's Chromium, vexilon-render's files to compare
// with, pages opened and waited on, and the tally of checks.
import {spawn, execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {chromium} from 'playwright-core';

const here = fileURLToPath(new URL('.', import.meta.url));

// Serves buildWeb/site on a free port and starts the browser; renderer is vexilon-render.
export async function startHarness(buildWebDir, rendererPath) {
    const buildWeb = resolve(buildWebDir), renderer = resolve(rendererPath);
    const scratch = mkdtempSync(join(tmpdir(), 'vexilon-page-'));
    const tally = {passed: 0, failed: 0};
    const pageErrors = [];

    const server = spawn(process.execPath, [join(here, '..', 'serve.mjs'), join(buildWeb, 'site'), '0'], {stdio: ['ignore', 'pipe', 'inherit']});
    const address = await new Promise((done, fail) => {
        server.stdout.once('data', data => done(String(data).trim()));
        server.once('exit', code => fail(new Error(`the server stopped (${code})`)));
    });
    const browser = await chromium.launch({
        executablePath: '/usr/bin/chromium',
        args: ['--no-sandbox', '--disable-background-networking', '--disable-component-update', '--disable-sync',
               '--no-first-run', '--disable-quic', '--allow-file-access-from-files'],
    });

    // vexilon-render's file for args, in format.
    function render(args, format = 'png') {
        const out = join(scratch, `expected.${format}`);
        execFileSync(renderer, [...args, '--format', format, '-o', out]);
        return readFileSync(out);
    }
    async function check(name, body) {
        try {
            await body();
            ++tally.passed;
            console.log(`ok   ${name}`);
        } catch (error) {
            ++tally.failed;
            console.log(`FAIL ${name}: ${error.message.split('\n')[0]}`);
        }
    }
    function expect(condition, what) {
        if (!condition)
            throw new Error(what);
    }
    async function openPage(url, options = {}) {
        const context = await browser.newContext({viewport: {width: 1280, height: 900}, deviceScaleFactor: 1, acceptDownloads: true, ...options});
        const page = await context.newPage();
        page.on('pageerror', error => pageErrors.push(`${url}: ${error.message}`));
        page.on('console', message => message.type() === 'error' && pageErrors.push(`${url}: ${message.text()}`));
        await page.goto(url);
        await page.waitForSelector('#cuadro[data-ready="true"]', {timeout: 15000});
        if (!options.viewport)
            await squareOf(page, 500);
        return page;
    }
    // The square grows with the screen: the window made as tall as gives it side CSS pixels, so that
    // a picture compares with the command line's of that size.
    async function squareOf(page, side) {
        const shown = () => page.evaluate(() => document.getElementById('cuadro').getBoundingClientRect().width);
        const {width, height} = page.viewportSize();
        await page.setViewportSize({width, height: height + side - await shown()});
        // The canvas takes its new pixels at the next paint, after the layout: wait for both.
        await page.waitForFunction(side => {
            const square = document.getElementById('cuadro');
            return square.getBoundingClientRect().width === side && square.width === Math.round(side * devicePixelRatio);
        }, side);
    }
    const frames = page => page.evaluate(() => Number(document.getElementById('cuadro').dataset.frames ?? 0));
    // Does action, then waits for the frame it causes to be painted.
    async function frameAfter(page, action) {
        const before = await frames(page);
        await action();
        await page.waitForFunction(n => Number(document.getElementById('cuadro').dataset.frames ?? 0) > n, before, {timeout: 10000});
    }
    // The canvas against a PNG of the command line of side pixels: the count of pixels that
    // differ, or -1 when the canvas is not that size.
    async function differingPixels(page, png, side = 500) {
        return page.evaluate(async ([bytes, side]) => {
            const bitmap = await createImageBitmap(new Blob([new Uint8Array(bytes)], {type: 'image/png'}),
                                                   {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
            const reference = new OffscreenCanvas(side, side).getContext('2d');
            reference.drawImage(bitmap, 0, 0);
            const want = reference.getImageData(0, 0, side, side).data;
            const square = document.getElementById('cuadro');
            if (square.width !== side || bitmap.width !== side) return -1;
            const have = square.getContext('2d').getImageData(0, 0, side, side).data;
            let differ = 0;
            for (let i = 0; i < want.length; i += 4)
                differ += want[i] !== have[i] || want[i + 1] !== have[i + 1] || want[i + 2] !== have[i + 2] ? 1 : 0;
            return differ;
        }, [[...png], side]);
    }
    async function expectPicture(page, args, side = 500) {
        const differ = await differingPixels(page, render(side === 500 ? args : [...args, '--size', String(side)]), side);
        expect(differ === 0, `${differ} pixels differ from vexilon-render ${args.join(' ')}`);
    }
    // A download caused by action: its suggested name and bytes.
    async function downloadOf(page, action, timeout = 30000) {
        const [download] = await Promise.all([page.waitForEvent('download', {timeout}), action()]);
        return {name: download.suggestedFilename(), bytes: readFileSync(await download.path())};
    }
    async function finish() {
        await check('no errors on the pages', async () => {
            expect(pageErrors.length === 0, pageErrors.join('; '));
        });
        await browser.close();
        server.kill();
        rmSync(scratch, {recursive: true, force: true});
        console.log(`${tally.passed} passed, ${tally.failed} failed`);
        return tally.failed === 0;
    }
    return {buildWeb, scratch, address, browser, pageErrors, render, check, expect, openPage, squareOf, frames, frameAfter,
            differingPixels, expectPicture, downloadOf, finish};
}
