// The scene in the address: the page's address opened in a fresh browser draws the same pixels,
// and vexilon-render --scene the same; one's own formulas travel in it; "Copiar enlace";
// "?modo=incrustado"; the SCORM package.
import {execFileSync} from 'node:child_process';
import {existsSync, mkdirSync, readFileSync} from 'node:fs';
import {join} from 'node:path';

export async function run(h) {
    const {address, scratch, buildWeb, render, check, expect, openPage, frameAfter, differingPixels} = h;
    const page = await openPage(address, {permissions: ['clipboard-read', 'clipboard-write']});
    const square = page.locator('#cuadro');
    const box = await square.boundingBox();
    const canvasPng = p => p.evaluate(async () => [...new Uint8Array(await (await new Promise(done =>
        document.getElementById('cuadro').toBlob(done, 'image/png'))).arrayBuffer())]);
    const sideOf = p => p.evaluate(() => document.getElementById('cuadro').width);
    const fragmentOf = url => url.slice(url.indexOf('#') + 1);
    // The link opened in a context of its own: the same canvas, and vexilon-render --scene's.
    async function expectSameElsewhere(link) {
        const fresh = await openPage(link);
        await fresh.waitForFunction(() => Number(document.getElementById('cuadro').dataset.frames ?? 0) > 0);
        const side = await sideOf(fresh);
        const mine = await differingPixels(fresh, Buffer.from(await canvasPng(page)), side);
        expect(mine === 0, `${mine} pixels differ from the page the link was taken from`);
        const cli = await differingPixels(fresh, render(['--scene', fragmentOf(link), '--size', String(side)]), side);
        expect(cli === 0, `${cli} pixels differ from vexilon-render --scene`);
        return fresh;
    }

    await check('the address follows a gallery surface, hidden lines, a drag, a parameter and "Corte", and opens elsewhere to the same pixels', async () => {
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Otra:'}).selectOption({label: 'Elipsoide'}));
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).check());
        await page.mouse.move(box.x + 250, box.y + 250);
        await page.mouse.down();
        await frameAfter(page, () => page.mouse.move(box.x + 301, box.y + 214, {steps: 1}));
        await page.mouse.up();
        await frameAfter(page, () => page.getByRole('slider', {name: 'c', exact: true}).fill('700'));
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Plano'}).selectOption({label: 'y = c'}));
        await frameAfter(page, () => page.getByRole('slider', {name: 'Corte'}).press('ArrowRight'));
        const plane = await page.locator('#corte-valor').getAttribute('data-plane');   // the slider's last place
        await page.waitForFunction(plane => {
            const corte = /&corte=([xyz]):([^&]*)$/.exec(location.hash);
            return /^#v=1&s=elipsoide&.*p=c:2\.8.*hid=1/.test(location.hash) && corte?.[1] === plane[0] && Number(corte[2]) === Number(plane.slice(2));
        }, plane);
        const fresh = await expectSameElsewhere(page.url());
        expect(await fresh.getByRole('combobox', {name: 'Plano'}).inputValue() === '1', '"Plano" does not show y = c');
        expect(await fresh.getByRole('slider', {name: 'Corte'}).inputValue() === '101', 'the slider "Corte" is not where it was');
        expect(await fresh.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).isChecked(), '"Ocultar líneas traseras" not checked');
        expect(await fresh.getByRole('combobox', {name: 'Otra:'}).inputValue() === await page.getByRole('combobox', {name: 'Otra:'}).inputValue(),
               '"Otra:" does not show the surface');
        expect(await fresh.getByRole('slider', {name: 'c', exact: true}).inputValue() === '700', 'the slider c is not where it was');
        await fresh.context().close();
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Plano'}).selectOption({label: 'Ninguno'}));
    });
    await check('"Copiar enlace" copies the address', async () => {
        await page.getByRole('button', {name: 'Copiar enlace'}).click();
        await page.waitForFunction(() => document.getElementById('enlace-estado').textContent === 'Enlace copiado.');
        expect(await page.evaluate(() => navigator.clipboard.readText()) === page.url(), 'the clipboard holds another text');
    });
    await check('a link to one\'s own formulas opens them in a fresh browser', async () => {
        await page.getByRole('button', {name: 'Definir…'}).click();
        const dialog = page.getByRole('dialog', {name: 'Superficie propia'});
        const field = name => dialog.getByRole('textbox', {name, exact: true});
        for (const [name, value] of [['Nombre', 'Cono & cía'], ['x(u, v) =', 'v*cos(u)'], ['y(u, v) =', 'v*sin(u)'], ['z(u, v) =', 'k*v'],
                                     ['Inicio de u', '0'], ['Final de u', '2*pi'], ['Líneas de u', '13'], ['Inicio de v', '-1'],
                                     ['Final de v', '1'], ['Líneas de v', '7'], ['Parámetros', 'k=3/2']])
            await field(name).fill(value);
        await page.waitForFunction(() => document.getElementById('definir-error').textContent === '');
        await frameAfter(page, () => dialog.getByRole('button', {name: 'Aceptar'}).click());
        await page.waitForFunction(() => location.hash.includes('&x=v*cos(u)&') && location.hash.includes('hid=1'));
        const fresh = await expectSameElsewhere(page.url());
        const shown = await fresh.getByRole('combobox', {name: 'Otra:'}).evaluate(list => list.selectedOptions[0]?.textContent);
        expect(shown === 'Cono & cía', `"Otra:" shows ${shown}`);
        expect(await fresh.getByRole('slider', {name: 'k', exact: true}).isVisible(), 'no slider for k');
        await fresh.context().close();
    });
    await check('a malformed link is told and draws nothing', async () => {
        const bad = await openPage(`${address}#v=1&s=toro&zoom=500`);
        const said = await bad.locator('#aviso').textContent();
        expect(said.startsWith('El enlace no se puede abrir: escena: '), `the square says '${said}'`);
        expect(await bad.evaluate(() => location.hash) === '#v=1&s=toro&zoom=500', 'the address was rewritten');
        await bad.context().close();
    });
    await check('?modo=incrustado: the square alone filling its frame, its sliders, "Abrir en Vexilon"', async () => {
        const fragment = fragmentOf(page.url());
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Otra:'}).selectOption({label: 'Elipsoide'}));
        await page.waitForFunction(() => location.hash.includes('s=elipsoide'));
        const link = page.url();
        const framed = await openPage(`${address}?modo=incrustado#${fragmentOf(link)}`, {viewport: {width: 420, height: 520}});
        for (const hidden of [framed.getByRole('heading', {name: 'Vexilon'}), framed.getByRole('group', {name: 'Vista'}),
                              framed.getByRole('slider', {name: 'Z'}), framed.getByRole('button', {name: 'Definir…'})])
            expect(!(await hidden.isVisible()), 'more than the square and its sliders shown');
        expect(await framed.getByRole('slider', {name: 'c', exact: true}).isVisible(), 'no slider for c');
        const canvas = await framed.locator('#cuadro').boundingBox();
        const sliders = await framed.getByRole('group', {name: 'Parámetros'}).boundingBox();
        expect(canvas.width === canvas.height && canvas.x >= 0 && canvas.y >= 0 && canvas.y + canvas.height <= sliders.y + 1 &&
               (canvas.width >= 419 || canvas.height >= sliders.y - 1) && sliders.y + sliders.height <= 521,
               `the square stands at ${JSON.stringify(canvas)}, the sliders at ${JSON.stringify(sliders)}`);
        const side = await sideOf(framed);
        const cli = await differingPixels(framed, render(['--scene', fragmentOf(link), '--size', String(side)]), side);
        expect(cli === 0, `${cli} pixels differ from vexilon-render --scene`);
        const open = framed.getByRole('link', {name: 'Abrir en Vexilon'});
        expect(await open.getAttribute('href') === link, `"Abrir en Vexilon" leads to ${await open.getAttribute('href')}`);
        const where = await framed.locator('#cuadro').boundingBox();
        await framed.mouse.move(where.x + 100, where.y + 100);
        await framed.mouse.down();
        await frameAfter(framed, () => framed.mouse.move(where.x + 140, where.y + 100, {steps: 1}));
        await framed.mouse.up();
        expect(await framed.evaluate(() => location.hash) !== `#${fragment}`, 'the view did not turn');
        await framed.context().close();
    });
    await check('vexilon-scorm.zip: a SCORM 1.2 manifest, well formed, with one SCO launching the single file it holds', async () => {
        const folder = join(scratch, 'scorm');
        mkdirSync(folder, {recursive: true});
        execFileSync('unzip', ['-q', '-o', join(buildWeb, 'vexilon-scorm.zip'), '-d', folder]);
        const manifest = readFileSync(join(folder, 'imsmanifest.xml'), 'utf8');
        const facts = await page.evaluate(text => {
            const xml = new DOMParser().parseFromString(text, 'application/xml');
            const all = name => [...xml.getElementsByTagName(name)];
            return {broken: all('parsererror').length > 0, version: all('schemaversion')[0]?.textContent,
                    scos: all('resource').filter(r => r.getAttribute('adlcp:scormtype') === 'sco').map(r => r.getAttribute('href')),
                    files: all('file').map(f => f.getAttribute('href')),
                    refs: all('item').map(i => i.getAttribute('identifierref')), ids: all('resource').map(r => r.getAttribute('identifier'))};
        }, manifest);
        expect(!facts.broken && facts.version === '1.2', 'the manifest is not a well-formed SCORM 1.2 one');
        expect(facts.scos.length === 1 && facts.scos[0] === 'vexilon.html' && facts.refs.every(r => facts.ids.includes(r)),
               `SCOs ${facts.scos}, items to ${facts.refs}`);
        expect(facts.files.every(f => existsSync(join(folder, f))), `files missing: ${facts.files}`);
        expect(readFileSync(join(folder, 'vexilon.html')).equals(readFileSync(join(buildWeb, 'vexilon.html'))), 'not the single file');
        expect(!/\b(src|href)="https?:/.test(readFileSync(join(folder, 'vexilon.html'), 'utf8')), 'the page fetches from elsewhere');
    });
    await page.context().close();
}
