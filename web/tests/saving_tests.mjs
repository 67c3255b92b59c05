// "Guardar imagen…" off the page's thread: a heavy figure's progress, the page answering
// meanwhile, "Cancelar" downloading nothing, and the files the command line's, also from disk.
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';

export async function run(h) {
    const {address, buildWeb, browser, check, expect, openPage, frameAfter, render, downloadOf} = h;
    const page = await openPage(address);
    const saveButton = page.getByRole('button', {name: 'Guardar imagen…'});
    const sizeBox = page.getByRole('spinbutton', {name: 'Tamaño'});
    const progress = page.getByRole('progressbar', {name: 'Guardando la imagen'});
    let downloads = 0;
    page.on('download', () => ++downloads);

    await check('a heavy save shows its time, the page answers meanwhile, and "Cancelar" downloads nothing', async () => {
        await frameAfter(page, () => page.getByRole('radio', {name: 'Toro', exact: true}).click());
        for (const name of ['Ocultar líneas traseras', 'Anaglifo rojo/cian'])
            await frameAfter(page, () => page.getByRole('checkbox', {name}).check());
        await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: 'PNG'});
        await sizeBox.fill('8192');
        await saveButton.click();
        await progress.waitFor();
        await page.getByRole('status').filter({hasText: /^Guardando la imagen… \d+ s$/}).waitFor();
        expect(await saveButton.isDisabled(), '"Guardar imagen…" can be pressed again while saving');
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Proyección paralela'}).check());
        await page.getByRole('button', {name: 'Cancelar'}).click();
        await progress.waitFor({state: 'hidden'});
        // A quick save afterwards is the first download: the cancelled one never comes.
        await sizeBox.fill('100');
        const saved = await downloadOf(page, () => saveButton.click());
        expect(downloads === 1, `${downloads} downloads`);
        expect(saved.bytes.equals(render(['-s', 'toro', '--hidden', '--anaglyph', '--parallel', '--size', '100'])), 'the bytes differ');
    });
    await check('a save in the worker keeps "Corte" and "Marcas": the command line\'s files to the byte', async () => {
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Plano'}).selectOption({label: 'x = c'}));
        await frameAfter(page, () => page.getByRole('slider', {name: 'Corte'}).press('ArrowLeft'));
        const plane = await page.locator('#corte-valor').getAttribute('data-plane');
        const args = ['-s', 'toro', '--hidden', '--anaglyph', '--parallel', '--section', plane, '--size', '1500'];
        await sizeBox.fill('1500');
        const png = await downloadOf(page, () => saveButton.click());
        expect(png.name === 'toro.png' && png.bytes.equals(render(args)), 'the PNG differs');
        // The axes' letters are the page's own in its pixels, the command line's in an SVG.
        // The page's "Marcas" leaves the zoom as it is; --ticks alone would frame the surface.
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Marcas'}).check());
        await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: 'SVG'});
        const svg = await downloadOf(page, () => saveButton.click());
        expect(svg.name === 'toro.svg' && svg.bytes.equals(render([...args, '--ticks', '--zoom', '50'], 'svg')), 'the SVG differs');
    });
    await page.context().close();

    await check('the single file from disk saves the command line\'s file', async () => {
        const context = await browser.newContext({acceptDownloads: true});
        const disk = await context.newPage();
        await disk.goto(pathToFileURL(join(buildWeb, 'vexilon.html')).href);
        await disk.waitForSelector('#cuadro[data-ready="true"]', {timeout: 15000});
        await disk.getByRole('radio', {name: 'Esfera', exact: true}).click();
        await disk.getByRole('checkbox', {name: 'Color por profundidad'}).check();
        await disk.getByRole('spinbutton', {name: 'Tamaño'}).fill('700');
        const saved = await downloadOf(disk, () => disk.getByRole('button', {name: 'Guardar imagen…'}).click());
        expect(saved.bytes.equals(render(['-s', 'esfera', '--depth-cue', '--size', '700'])), 'the bytes differ');
        await context.close();
    });
}
