// The page's first controls against vexilon-render: the view, the surfaces, "Definir…", saving,
// the single file, offline use and a phone's screen.
import {execFileSync} from 'node:child_process';
import {readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';

export async function run(h) {
    const {address, scratch, buildWeb, browser, pageErrors, render, check, expect, openPage, squareOf, frameAfter, differingPixels, expectPicture} = h;
    const page = await openPage(address);
    const square = page.locator('#cuadro');
    const box = await square.boundingBox();
    const at = (x, y) => [box.x + x, box.y + y];

    await check('first view: "Toro" draws the command line\'s picture', async () => {
        await frameAfter(page, () => page.getByRole('radio', {name: 'Toro', exact: true}).click());
        await expectPicture(page, ['-s', 'toro']);
    });
    await check('a drag is one orbit step', async () => {
        await page.mouse.move(...at(250, 250));
        await page.mouse.down();
        await frameAfter(page, () => page.mouse.move(...at(290, 230), {steps: 1}));
        await page.mouse.up();
        await expectPicture(page, ['-s', 'toro', '--orbit', '40,-20']);
    });
    await check('the slider "Z" zooms and "P" moves the eye', async () => {
        await frameAfter(page, () => page.getByRole('radio', {name: 'Esfera', exact: true}).click());
        await frameAfter(page, () => page.getByRole('slider', {name: 'Z'}).press('ArrowRight'));
        await frameAfter(page, () => page.getByRole('slider', {name: 'P'}).press('ArrowLeft'));
        await expectPicture(page, ['-s', 'esfera', '--zoom', '51', '--distance', '299']);
        expect(await page.getByRole('slider', {name: 'Z'}).inputValue() === '51', 'the slider "Z" does not show 51');
    });
    await check('the wheel zooms a step a notch', async () => {
        await frameAfter(page, () => page.getByRole('radio', {name: 'Seno', exact: true}).click());
        await page.mouse.move(...at(250, 250));
        await frameAfter(page, () => page.mouse.wheel(0, -200));
        await expectPicture(page, ['-s', 'seno', '--zoom', '52']);
        expect(await page.getByRole('slider', {name: 'Z'}).inputValue() === '52', 'the slider "Z" does not follow the wheel');
    });
    await check('keys: arrows turn, + zooms, Page Down moves the eye away, Home resets', async () => {
        await frameAfter(page, () => page.getByRole('radio', {name: 'Toro', exact: true}).click());
        await square.focus();
        await frameAfter(page, () => page.keyboard.press('ArrowRight'));
        await frameAfter(page, () => page.keyboard.press('ArrowUp'));
        await frameAfter(page, () => page.keyboard.press('+'));
        await frameAfter(page, () => page.keyboard.press('PageUp'));
        await expectPicture(page, ['-s', 'toro', '--orbit', '10,0', '--orbit', '0,-10', '--zoom', '51', '--distance', '298']);
        await frameAfter(page, () => page.keyboard.press('Home'));
        await expectPicture(page, ['-s', 'toro']);
    });
    await check('touch: one finger turns, two fingers pinch to zoom', async () => {
        await frameAfter(page, () => page.getByRole('radio', {name: 'Silla de montar', exact: true}).click());
        const touch = (type, id, x, y) => square.dispatchEvent(type, {pointerId: id, pointerType: 'touch', isPrimary: id === 1,
                                                                      clientX: box.x + x, clientY: box.y + y, bubbles: true});
        await touch('pointerdown', 1, 200, 200);
        await frameAfter(page, () => touch('pointermove', 1, 230, 215));
        await touch('pointerup', 1, 230, 215);
        await touch('pointerdown', 1, 200, 250);
        await touch('pointerdown', 2, 300, 250);
        await frameAfter(page, () => touch('pointermove', 2, 325, 250));
        await touch('pointerup', 2, 325, 250);
        await touch('pointerup', 1, 200, 250);
        await expectPicture(page, ['-s', 'silla', '--orbit', '30,15', '--zoom', '52']);
    });
    const kViewOptions = [['Ocultar líneas traseras', '--hidden'], ['Color por profundidad', '--depth-cue'],
                          ['Anaglifo rojo/cian', '--anaglyph'], ['Proyección paralela', '--parallel']];
    for (const [name, option] of kViewOptions) {
        await check(`"Vista": ${name} draws as ${option}`, async () => {
            await frameAfter(page, () => page.getByRole('radio', {name: 'Cinta de Moebius', exact: true}).click());
            await frameAfter(page, () => page.getByRole('checkbox', {name}).check());
            await expectPicture(page, ['-s', 'moebius', option]);
            await frameAfter(page, () => page.getByRole('checkbox', {name}).uncheck());
            await expectPicture(page, ['-s', 'moebius']);
        });
    }
    await check('"Vista": swapped eyes and line width 3', async () => {
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Anaglifo rojo/cian'}).check());
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Invertir ojos'}).check());
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Grosor'}).selectOption('3'));
        await expectPicture(page, ['-s', 'moebius', '--anaglyph', '--swap-eyes', '--line-width', '3']);
        await page.getByRole('checkbox', {name: 'Invertir ojos'}).uncheck();
        await page.getByRole('checkbox', {name: 'Anaglifo rojo/cian'}).uncheck();
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Grosor'}).selectOption('1'));
    });
    await check('"Girar" turns the picture and stops', async () => {
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Girar', exact: true}).check());
        await frameAfter(page, () => Promise.resolve());
        await page.getByRole('checkbox', {name: 'Girar', exact: true}).uncheck();
        expect(await differingPixels(page, render(['-s', 'moebius'])) > 0, 'the picture did not turn');
    });
    for (const [caption, id] of [['Botella de Klein', 'klein'], ['Superficie de Boy', 'boy'], ['Cuerno', 'cuerno']]) {
        await check(`gallery: "Otra:" ${caption}`, async () => {
            await frameAfter(page, () => page.getByRole('combobox', {name: 'Otra:'}).selectOption({label: caption}));
            await expectPicture(page, ['-s', id]);
        });
    }
    await check('a typed surface: an error shown at its field, then the surface drawn and kept', async () => {
        await page.getByRole('button', {name: 'Definir…'}).click();
        const dialog = page.getByRole('dialog', {name: 'Superficie propia'});
        await dialog.getByRole('textbox', {name: 'Nombre'}).fill('Mi cono');
        const x = dialog.getByRole('textbox', {name: 'x(u, v) ='});
        await x.fill('u*cos(v');
        await page.waitForFunction(() => document.querySelector('input[name=x]').getAttribute('aria-invalid') === 'true');
        expect((await page.locator('#definir-error').textContent()).length > 0, 'no message at the field');
        await x.fill('u*cos(v)');
        await dialog.getByRole('textbox', {name: 'y(u, v) ='}).fill('u*sin(v)');
        await dialog.getByRole('textbox', {name: 'z(u, v) ='}).fill('u');
        await dialog.getByRole('textbox', {name: 'Inicio de u'}).fill('0');
        await dialog.getByRole('textbox', {name: 'Final de u'}).fill('1');
        await dialog.getByRole('textbox', {name: 'Líneas de u'}).fill('9');
        await dialog.getByRole('textbox', {name: 'Inicio de v'}).fill('0');
        await dialog.getByRole('textbox', {name: 'Final de v'}).fill('2*pi');
        await dialog.getByRole('textbox', {name: 'Líneas de v'}).fill('17');
        await dialog.getByRole('textbox', {name: 'Muestras por línea'}).fill('40');
        await page.waitForFunction(() => document.querySelector('input[name=x]').getAttribute('aria-invalid') === null);
        await dialog.getByRole('button', {name: 'Guardar en mis superficies'}).click();
        await page.waitForFunction(() => document.getElementById('definir-error').textContent === 'Guardada entre sus superficies.');
        await frameAfter(page, () => dialog.getByRole('button', {name: 'Aceptar'}).click());
        await expectPicture(page, ['--x', 'u*cos(v)', '--y', 'u*sin(v)', '--z', 'u', '--u', '0,1,9', '--v', '0,2*pi,17', '--samples', '40']);
        await page.reload();
        await page.waitForSelector('#cuadro[data-ready="true"]');
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Otra:'}).selectOption({label: 'Mi cono'}));
        await expectPicture(page, ['--x', 'u*cos(v)', '--y', 'u*sin(v)', '--z', 'u', '--u', '0,1,9', '--v', '0,2*pi,17', '--samples', '40']);
    });
    await check('superficies.toml exported holds the surface typed', async () => {
        const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', {name: 'Exportar superficies'}).click()]);
        expect(download.suggestedFilename() === 'superficies.toml', 'the file is not superficies.toml');
        const text = readFileSync(await download.path(), 'utf8');
        expect(/caption\s*=\s*['"]Mi cono['"]/.test(text) && text.includes('u*cos(v)'), `the surface is not in the file:\n${text}`);
    });
    await check('superficies.toml imported: its surfaces in "Otra:", drawn as the command line draws them', async () => {
        const file = join(scratch, 'superficies.toml');
        const toml = '[[surface]]\nid = "ola"\ncaption = "Ola importada"\nx = "u"\ny = "v"\nz = "sin(u)*cos(v)"\n' +
                     'u = [-3, 3, 13]\nv = [-3, 3, 13]\n';
        writeFileSync(file, toml);
        await page.locator('#importar-archivo').setInputFiles(file);
        await page.waitForFunction(() => document.getElementById('superficies-estado').textContent.includes('importadas: 1'), null, {timeout: 5000}).catch(async () => {
            throw new Error(`status: ${await page.locator('#superficies-estado').textContent()}`);
        });
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Otra:'}).selectOption({label: 'Ola importada'}));
        await expectPicture(page, ['--define', file, '-s', 'ola']);
    });
    await check('"Formato" offers every format of the command line', async () => {
        const labels = await page.getByRole('combobox', {name: 'Formato'}).locator('option').allTextContents();
        expect(labels.join(' ') === 'PNG SVG Trazo GIF PDF EPS TikZ', `offered: ${labels.join(' ')}`);
    });
    // The PDF and the EPS print what the command line's print: both read by poppler or ghostscript.
    const printed = (bytes, extension) => {
        const file = join(scratch, `printed.${extension}`);
        writeFileSync(file, bytes);
        execFileSync(extension === 'pdf' ? 'pdftoppm' : 'gs', extension === 'pdf'
            ? ['-singlefile', '-scale-to-x', '400', '-scale-to-y', '400', file, join(scratch, 'printed')]
            : ['-q', '-dSAFER', '-dBATCH', '-dNOPAUSE', '-sDEVICE=ppmraw', '-g400x400', '-dEPSFitPage', `-sOutputFile=${join(scratch, 'printed.ppm')}`, file]);
        return readFileSync(join(scratch, 'printed.ppm')).subarray(-400 * 400 * 3);
    };
    for (const extension of ['pdf', 'eps']) {
        await check(`"Guardar imagen…" as ${extension.toUpperCase()}, named after the surface, prints what the command line's prints`, async () => {
            await frameAfter(page, () => page.getByRole('combobox', {name: 'Otra:'}).selectOption({label: 'Del helicoide a la catenoide'}));
            await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).check());
            await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: extension.toUpperCase()});
            const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', {name: 'Guardar imagen…'}).click()]);
            await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).uncheck());
            expect(download.suggestedFilename() === `helicoide-catenoide.${extension}`, `named ${download.suggestedFilename()}`);
            const ours = printed(readFileSync(await download.path()), extension);
            const theirs = printed(render(['-s', 'helicoide-catenoide', '--hidden'], extension), extension);
            let differ = 0;
            for (let i = 0; i < ours.length; i += 3)
                differ += [0, 1, 2].some(k => Math.abs(ours[i + k] - theirs[i + k]) > 64) ? 1 : 0;
            expect(differ < 300, `${differ} pixels differ from vexilon-render's ${extension.toUpperCase()}`);
        });
    }
    for (const [format, extension] of [['PNG', 'png'], ['SVG', 'svg'], ['Trazo', 'trace'], ['GIF', 'gif'], ['TikZ', 'tikz']]) {
        await check(`"Guardar imagen…" as ${format} gives the command line's file`, async () => {
            await frameAfter(page, () => page.getByRole('radio', {name: 'Pseudoesfera', exact: true}).click());
            await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).check());
            await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: format});
            const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', {name: 'Guardar imagen…'}).click()]);
            expect(download.suggestedFilename() === `pseudoesfera.${extension}`, `named ${download.suggestedFilename()}`);
            const bytes = readFileSync(await download.path());
            expect(bytes.equals(render(['-s', 'pseudoesfera', '--hidden'], extension)), 'the bytes differ');
            await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).uncheck());
        });
    }
    await check('"Guardar animación…" gives the command line\'s turn of 300 frames', async () => {
        await frameAfter(page, () => page.getByRole('radio', {name: 'Esfera', exact: true}).click());
        await frameAfter(page, () => page.getByRole('slider', {name: 'Z'}).press('ArrowRight'));
        const [download] = await Promise.all([page.waitForEvent('download', {timeout: 60000}),
                                              page.getByRole('button', {name: 'Guardar animación…'}).click()]);
        const bytes = readFileSync(await download.path());
        expect(bytes.equals(render(['-s', 'esfera', '--zoom', '51', '--turn', '300'], 'gif')), 'the bytes differ');
    });
    await check('what is typed in "Definir…" survives a reload', async () => {
        await page.getByRole('button', {name: 'Definir…'}).click();
        await page.getByRole('textbox', {name: 'z(u, v) ='}).fill('u*v/3');
        await page.reload();
        await page.waitForSelector('#cuadro[data-ready="true"]');
        await page.getByRole('button', {name: 'Definir…'}).click();
        const kept = await page.getByRole('textbox', {name: 'z(u, v) ='}).inputValue();
        await page.getByRole('button', {name: 'Cancelar'}).click();
        expect(kept === 'u*v/3', `the field holds '${kept}'`);
    });
    await check('"Instrucciones" and "Sobre Vexilon" open and close', async () => {
        for (const name of ['Instrucciones', 'Sobre Vexilon']) {
            await page.getByRole('button', {name}).click();
            const dialog = page.getByRole('dialog', {name});
            expect(await dialog.isVisible(), `${name} did not open`);
            await page.keyboard.press('Escape');
            expect(!(await dialog.isVisible()), `${name} did not close`);
        }
    });
    await check('the single file opened from disk draws the same', async () => {
        const single = await openPage(pathToFileURL(join(buildWeb, 'vexilon.html')).href);
        await frameAfter(single, () => single.getByRole('radio', {name: 'Escalera de Leonardo'}).click());
        await expectPicture(single, ['-s', 'leonardo']);
        await single.getByRole('button', {name: 'Definir…'}).click();
        await single.getByRole('textbox', {name: 'x(u, v) ='}).fill('u*cos(v');
        await single.waitForFunction(() => document.querySelector('input[name=x]').getAttribute('aria-invalid') === 'true');
        await single.context().close();
    });
    await check('after the first visit the page opens offline', async () => {
        const context = await browser.newContext();
        const first = await context.newPage();
        first.on('pageerror', error => pageErrors.push(`offline: ${error.message}`));
        await first.goto(address);
        await first.waitForSelector('#cuadro[data-ready="true"]');
        await first.evaluate(() => navigator.serviceWorker.ready);
        await first.reload();     // now the offline worker controls the page and keeps its files
        await first.waitForSelector('#cuadro[data-ready="true"]');
        await context.setOffline(true);
        await first.reload();
        await first.waitForSelector('#cuadro[data-ready="true"]', {timeout: 15000});
        await squareOf(first, 500);
        await frameAfter(first, () => first.getByRole('radio', {name: 'Toro', exact: true}).click());
        await expectPicture(first, ['-s', 'toro']);
        await context.close();
    });
    await page.context().close();
}
