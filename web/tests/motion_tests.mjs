// The page's later controls against vexilon-render: themes, axes, sizes, the HiDPI square, the
// parameters' sliders, saved sweeps and turns about z with their progress, lets in "Definir…".

// The frames of a GIF, counted by walking its blocks.
function gifFrames(bytes) {
    let at = 13 + (bytes[10] & 0x80 ? 3 << ((bytes[10] & 7) + 1) : 0);
    let frames = 0;
    const skipBlocks = () => { while (bytes[at] !== 0) at += bytes[at] + 1; ++at; };
    while (at < bytes.length && bytes[at] !== 0x3b) {
        if (bytes[at] === 0x21) {
            at += 2;
            skipBlocks();
        } else if (bytes[at] === 0x2c) {
            ++frames;
            const flags = bytes[at + 9];
            at += 10 + (flags & 0x80 ? 3 << ((flags & 7) + 1) : 0) + 1;
            skipBlocks();
        } else {
            throw new Error(`not a GIF block at byte ${at}`);
        }
    }
    return frames;
}

export async function run(h) {
    const {address, render, check, expect, openPage, frameAfter, differingPixels, expectPicture, downloadOf} = h;
    const page = await openPage(address);
    const square = page.locator('#cuadro');
    const downloads = [];
    page.on('download', download => downloads.push(download.suggestedFilename()));
    const choose = name => frameAfter(page, () => page.getByRole('radio', {name, exact: true}).click());
    const other = label => frameAfter(page, () => page.getByRole('combobox', {name: 'Otra:'}).selectOption({label}));
    const theme = page.getByRole('combobox', {name: 'Tema'}), width = page.getByRole('combobox', {name: 'Grosor'});

    await check('"Tema": Papel and Proyector draw as --theme, each with its width; T goes round them', async () => {
        await choose('Toro');
        await frameAfter(page, () => theme.selectOption({label: 'Papel'}));
        await expectPicture(page, ['-s', 'toro', '--theme', 'papel']);
        await frameAfter(page, () => theme.selectOption({label: 'Proyector'}));
        expect(await width.inputValue() === '2', `"Grosor" shows ${await width.inputValue()} with Proyector`);
        await expectPicture(page, ['-s', 'toro', '--theme', 'proyector']);
        await frameAfter(page, () => width.selectOption('3'));
        await expectPicture(page, ['-s', 'toro', '--theme', 'proyector', '--line-width', '3']);
        await square.focus();
        await frameAfter(page, () => page.keyboard.press('t'));
        expect(await theme.inputValue() === '0' && await width.inputValue() === '1', 'T did not go back to Pantalla of width 1');
        await expectPicture(page, ['-s', 'toro']);
    });
    await check('"Ejes" draws the axes of --axes (the letters, cairo\'s, only where they stand); the SVG is the command line\'s', async () => {
        await choose('Esfera');
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ejes'}).check());
        const png = render(['-s', 'esfera', '--axes']);
        const differ = await differingPixels(page, png);
        const letters = [...render(['-s', 'esfera', '--axes'], 'svg').toString().matchAll(/<text x="([\d.]+)" y="([\d.]+)"[^>]*font-size="([\d.]+)"/g)]
            .map(m => m.slice(1).map(Number));
        expect(letters.length === 3, `${letters.length} letters in the SVG`);
        const outside = await page.evaluate(async ([bytes, letters]) => {
            const bitmap = await createImageBitmap(new Blob([new Uint8Array(bytes)], {type: 'image/png'}), {colorSpaceConversion: 'none'});
            const reference = new OffscreenCanvas(500, 500).getContext('2d');
            reference.drawImage(bitmap, 0, 0);
            const want = reference.getImageData(0, 0, 500, 500).data;
            const have = document.getElementById('cuadro').getContext('2d').getImageData(0, 0, 500, 500).data;
            let count = 0;
            for (let i = 0; i < want.length; i += 4) {
                const x = (i / 4) % 500, y = Math.floor(i / 4 / 500);
                const near = letters.some(([lx, ly, size]) => Math.abs(x - lx) <= size && Math.abs(y - ly) <= size);
                count += !near && (want[i] !== have[i] || want[i + 1] !== have[i + 1] || want[i + 2] !== have[i + 2]) ? 1 : 0;
            }
            return count;
        }, [[...png], letters]);
        expect(differ >= 0 && outside === 0, `${outside} pixels differ away from the letters`);
        expect(differ < 1000, `${differ} pixels differ`);
        // The downloaded PNG has its letters too, drawn as strokes where the page has no font library.
        await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: 'PNG'});
        const saved = await downloadOf(page, () => page.getByRole('button', {name: 'Guardar imagen…'}).click());
        const inked = await page.evaluate(async ([bytes, letters]) => {
            const bitmap = await createImageBitmap(new Blob([new Uint8Array(bytes)], {type: 'image/png'}), {colorSpaceConversion: 'none'});
            const context = new OffscreenCanvas(500, 500).getContext('2d');
            context.drawImage(bitmap, 0, 0);
            const data = context.getImageData(0, 0, 500, 500).data;
            return letters.map(([lx, ly, size]) => {
                let count = 0;
                for (let y = Math.round(ly - size / 3); y <= ly + size / 3; ++y)
                    for (let x = Math.round(lx - size / 3); x <= lx + size / 3; ++x)
                        count += data[(y * 500 + x) * 4] + data[(y * 500 + x) * 4 + 1] + data[(y * 500 + x) * 4 + 2] > 0 ? 1 : 0;
                return count;
            });
        }, [[...saved.bytes], letters]);
        expect(inked.every(n => n >= 3), `ink at the letters of the saved PNG: ${inked}`);
        await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: 'SVG'});
        const svg = await downloadOf(page, () => page.getByRole('button', {name: 'Guardar imagen…'}).click());
        expect(svg.bytes.equals(render(['-s', 'esfera', '--axes'], 'svg')), 'the SVG differs');
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ejes'}).uncheck());
        await expectPicture(page, ['-s', 'esfera']);
    });
    await check('"Tamaño" 1000: the PNG of --size 1000; a bad size said in Spanish, nothing downloaded', async () => {
        await choose('Seno');
        await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: 'PNG'});
        const size = page.getByRole('spinbutton', {name: 'Tamaño'});
        for (const bad of ['50', '9000', '']) {
            const before = downloads.length;
            await size.fill(bad);
            await page.getByRole('button', {name: 'Guardar imagen…'}).click();
            const said = await page.locator('#guardar-error').textContent();
            expect(said.includes('100 a 8192') && downloads.length === before, `for '${bad}': '${said}', ${downloads.length - before} downloads`);
        }
        await size.fill('1000');
        const png = await downloadOf(page, () => page.getByRole('button', {name: 'Guardar imagen…'}).click());
        expect(png.name === 'seno.png' && png.bytes.equals(render(['-s', 'seno', '--size', '1000'])), `${png.name} differs from --size 1000`);
        expect(await page.locator('#guardar-error').textContent() === '', 'the error stays');
        // The trace and a GIF are of the 500-pixel frame, as the command line writes them.
        await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: 'GIF'});
        expect(await size.isDisabled(), '"Tamaño" open for a GIF');
        const gif = await downloadOf(page, () => page.getByRole('button', {name: 'Guardar imagen…'}).click());
        expect(gif.bytes.equals(render(['-s', 'seno'], 'gif')), 'the GIF differs');
        await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: 'Trazo'});
        await frameAfter(page, () => theme.selectOption({label: 'Papel'}));
        const before = downloads.length;
        await page.getByRole('button', {name: 'Guardar imagen…'}).click();
        const said = await page.locator('#guardar-error').textContent();
        expect(said.includes('Pantalla') && downloads.length === before, `a themed trace: '${said}'`);
        await frameAfter(page, () => theme.selectOption({label: 'Pantalla'}));
        await page.getByRole('combobox', {name: 'Formato'}).selectOption({label: 'PNG'});
        await size.fill('500');
    });
    await check('a surface without parameters shows no "Parámetros"; a gallery one a slider each, named by it', async () => {
        expect(!(await page.getByRole('group', {name: 'Parámetros'}).isVisible()), '"Parámetros" shown for Seno');
        await other('Elipsoide');
        expect(await page.getByRole('group', {name: 'Parámetros'}).isVisible(), '"Parámetros" hidden for Elipsoide');
        for (const name of ['a', 'b', 'c'])
            expect(await page.getByRole('slider', {name, exact: true}).isVisible(), `no slider "${name}"`);
    });
    await check('a slider moved draws --param, the view kept; its value shown', async () => {
        await square.focus();
        await frameAfter(page, () => page.keyboard.press('ArrowRight'));
        await frameAfter(page, () => page.getByRole('slider', {name: 'c', exact: true}).fill('500'));
        const value = 0.2 + 500 * (4 - 0.2) / 1000;    // as the slider maps its positions on c's range 0.2..4
        await expectPicture(page, ['-s', 'elipsoide', '--orbit', '10,0', '--param', `c=${value}`]);
        const shown = await page.locator('#parametros output').nth(2).textContent();
        expect(shown === '2.1', `the value shows '${shown}'`);
    });
    await check('"Animar" sweeps the slider moved last until pressed again', async () => {
        const slider = page.getByRole('slider', {name: 'c', exact: true});
        await page.getByRole('checkbox', {name: 'Animar'}).check();
        await page.waitForFunction(() => document.querySelector('#parametros input[type=range][data-name="c"]').value !== '500');
        expect(await page.getByRole('combobox', {name: 'Animación'}).inputValue() === 'c', 'the sweep of c is not proposed');
        await page.getByRole('checkbox', {name: 'Animar'}).uncheck();
        const stopped = await slider.inputValue();
        await frameAfter(page, () => theme.selectOption({label: 'Papel'}));     // a paint later: no step of the sweep
        expect(await slider.inputValue() === stopped, 'the sweep went on');
        await frameAfter(page, () => theme.selectOption({label: 'Pantalla'}));
    });
    await check('"Guardar animación…" as "Barrido de c": 200 frames, up as --sweep c=0.2:4 --frames 101', async () => {
        await frameAfter(page, () => page.getByRole('slider', {name: 'c', exact: true}).fill('500'));
        await square.focus();
        await frameAfter(page, () => page.keyboard.press('Home'));   // the first view, as --frames starts from
        expect(await page.locator('#parametros output').nth(2).textContent() === '2.1', 'Home did not keep the parameter');
        await page.getByRole('combobox', {name: 'Animación'}).selectOption({label: 'Barrido de c'});
        const gif = await downloadOf(page, () => page.getByRole('button', {name: 'Guardar animación…'}).click(), 120000);
        const up = render(['-s', 'elipsoide', '--sweep', 'c=0.2:4', '--frames', '101'], 'gif');
        expect(gif.name === 'elipsoide.gif', `named ${gif.name}`);
        expect(gifFrames(gif.bytes) === 200, `${gifFrames(gif.bytes)} frames`);
        expect(gif.bytes.subarray(0, up.length - 1).equals(up.subarray(0, up.length - 1)), 'the way up differs from the command line\'s');
    });
    await check('"Mostrar el valor": a saved sweep shows c\'s value in each frame, up as --sweep c=0.2:4 --label', async () => {
        const kind = page.getByRole('combobox', {name: 'Animación'}), box = page.getByRole('checkbox', {name: 'Mostrar el valor'});
        await kind.selectOption({label: 'Giro'});
        expect(await box.isDisabled(), 'a turn offers to show a value');
        await kind.selectOption({label: 'Barrido de c'});
        await box.check();
        const gif = await downloadOf(page, () => page.getByRole('button', {name: 'Guardar animación…'}).click(), 120000);
        const up = render(['-s', 'elipsoide', '--sweep', 'c=0.2:4', '--frames', '101', '--label'], 'gif');
        expect(gifFrames(gif.bytes) === 200, `${gifFrames(gif.bytes)} frames`);
        expect(gif.bytes.subarray(0, up.length - 1).equals(up.subarray(0, up.length - 1)), 'the way up differs from --label\'s');
        await box.uncheck();
    });
    await check('ln and tan give the native bits at any slider value (Dini, b = 0.006)', async () => {
        await other('Superficie de Dini');
        await frameAfter(page, () => page.getByRole('slider', {name: 'b', exact: true}).fill('10'));
        await expectPicture(page, ['-s', 'dini', '--param', `b=${10 * 0.6 / 1000}`]);
    });
    await check('"Girar sobre el eje z": the saved turn is --turn 300 --turn-axis z', async () => {
        await choose('Cinta de Moebius');
        expect(!(await page.getByRole('combobox', {name: 'Animación'}).isVisible()), 'a choice of animation without parameters');
        await page.getByRole('checkbox', {name: 'Girar sobre el eje z'}).check();
        const gif = await downloadOf(page, () => page.getByRole('button', {name: 'Guardar animación…'}).click(), 120000);
        expect(gif.bytes.equals(render(['-s', 'moebius', '--turn', '300', '--turn-axis', 'z'], 'gif')), 'the bytes differ');
        await page.getByRole('checkbox', {name: 'Girar sobre el eje z'}).uncheck();
    });
    await check('"Definir…": lets, parameters, "Escala automática" and "Familias" drawn as --let, --param, --fit and --families', async () => {
        await page.getByRole('button', {name: 'Definir…'}).click();
        const dialog = page.getByRole('dialog', {name: 'Superficie propia'});
        const field = name => dialog.getByRole('textbox', {name, exact: true});
        await field('Nombre').fill('Con let');
        await field('x(u, v) =').fill('r*cos(v)');
        await field('y(u, v) =').fill('r*sin(v)');
        await field('z(u, v) =').fill('u');
        for (const [name, value] of [['Inicio de u', '0'], ['Final de u', '1'], ['Líneas de u', '9'], ['Inicio de v', '0'],
                                     ['Final de v', '2*pi'], ['Líneas de v', '17'], ['Muestras por línea', '40']])
            await field(name).fill(value);
        await field('Let').fill('r = a + u^2');
        await field('Parámetros').fill('a=1, c=2*a');
        await page.waitForFunction(() => document.getElementById('definir-error').textContent.includes('«c»'));
        expect(await page.locator('#definir-error.warning').isVisible(), 'the unused parameter is not a warning');
        await field('Parámetros').fill('a=1, c=2*');
        await page.waitForFunction(() => document.querySelector('input[name=params]').getAttribute('aria-invalid') === 'true');
        await field('Parámetros').fill('a=1/2');
        await dialog.getByRole('combobox', {name: 'Escala automática'}).selectOption('ninguna');
        await dialog.getByRole('combobox', {name: 'Familias'}).selectOption({label: 'solo líneas de u constante'});
        await page.waitForFunction(() => document.getElementById('definir-error').textContent === '');
        await frameAfter(page, () => dialog.getByRole('button', {name: 'Aceptar'}).click());
        await expectPicture(page, ['--x', 'r*cos(v)', '--y', 'r*sin(v)', '--z', 'u', '--u', '0,1,9', '--v', '0,2*pi,17', '--samples', '40',
                                   '--let', 'r=a+u^2', '--param', 'a=1/2', '--fit', 'none', '--families', 'u']);
        expect(await page.getByRole('slider', {name: 'a', exact: true}).isVisible(), 'no slider for the own surface\'s a');
        await page.reload();      // what was typed comes back, the new fields too
        await page.waitForSelector('#cuadro[data-ready="true"]');
        await page.getByRole('button', {name: 'Definir…'}).click();
        const kept = [await field('Let').inputValue(), await field('Parámetros').inputValue(),
                      await dialog.getByRole('combobox', {name: 'Escala automática'}).inputValue()];
        await dialog.getByRole('button', {name: 'Cancelar'}).click();
        expect(kept.join(' | ') === 'r = a + u^2 | a=1/2 | ninguna', `the dialog holds ${kept.join(' | ')}`);
    });
    await check('a saved animation shows its progress and the page answers meanwhile; "Cancelar" or Escape leaves no download', async () => {
        // A surface of many samples, swept: a save that lasts a while.
        await page.getByRole('button', {name: 'Definir…'}).click();
        const dialog = page.getByRole('dialog', {name: 'Superficie propia'});
        for (const [name, value] of [['Líneas de u', '300'], ['Líneas de v', '300'], ['Muestras por línea', '300']])
            await dialog.getByRole('textbox', {name, exact: true}).fill(value);
        await page.waitForFunction(() => document.getElementById('definir-error').textContent === '');
        await frameAfter(page, () => dialog.getByRole('button', {name: 'Aceptar'}).click());
        await page.getByRole('combobox', {name: 'Animación'}).selectOption({label: 'Barrido de a'});
        const before = downloads.length;
        const progress = page.getByRole('progressbar', {name: 'Guardando la animación…'});
        for (const cancel of [() => page.getByRole('button', {name: 'Cancelar'}).click(), () => page.keyboard.press('Escape')]) {
            await page.getByRole('button', {name: 'Guardar animación…'}).click();
            await progress.waitFor({state: 'visible'});
            await page.waitForFunction(() => document.getElementById('animacion-barra').value > 0);
            await frameAfter(page, () => page.getByRole('slider', {name: 'Z'}).press('ArrowRight'));
            const done = await page.evaluate(() => document.getElementById('animacion-barra').value);
            expect(done < 200, `the save was over (${done} frames) before it was cancelled`);
            await cancel();
            await progress.waitFor({state: 'hidden'});
            expect(await page.getByRole('button', {name: 'Guardar animación…'}).isEnabled(), 'the button stays disabled');
        }
        await choose('Esfera');
        const gif = await downloadOf(page, () => page.getByRole('button', {name: 'Guardar animación…'}).click(), 120000);
        expect(downloads.length === before + 1, `${downloads.length - before} downloads after a cancel and a save`);
        expect(gif.bytes.equals(render(['-s', 'esfera', '--turn', '300'], 'gif')), 'the save after a cancel differs');
    });
    await page.context().close();

    await check('a HiDPI screen draws the square at its pixels: the picture of --size 1000', async () => {
        const sharp = await openPage(`${address}?superficie=toro`, {deviceScaleFactor: 2});
        await sharp.waitForFunction(() => Number(document.getElementById('cuadro').dataset.frames) > 0);
        await expectPicture(sharp, ['-s', 'toro'], 1000);
        await frameAfter(sharp, () => sharp.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).check());
        await frameAfter(sharp, () => sharp.getByRole('combobox', {name: 'Tema'}).selectOption({label: 'Papel'}));
        await expectPicture(sharp, ['-s', 'toro', '--hidden', '--theme', 'papel'], 1000);
        await sharp.context().close();
    });
    await check('on a phone "Definir…" with its new fields and "Guardar" fit the screen', async () => {
        const phone = await openPage(address, {viewport: {width: 390, height: 844}, deviceScaleFactor: 2, isMobile: true, hasTouch: true});
        await phone.getByRole('button', {name: 'Definir…'}).click();
        const dialog = await phone.getByRole('dialog', {name: 'Superficie propia'}).boundingBox();
        const fields = await phone.locator('#definir .fields').boundingBox();
        expect(dialog.x >= 0 && dialog.x + dialog.width <= 390 && fields.x >= 0 && fields.x + fields.width <= 390,
               `the dialog spans ${dialog.x}..${dialog.x + dialog.width}, its fields ${fields.x}..${fields.x + fields.width}`);
        await phone.getByRole('button', {name: 'Cancelar'}).click();
        const save = await phone.getByRole('group', {name: 'Guardar'}).boundingBox();
        expect(save.x >= 0 && save.x + save.width <= 390, `"Guardar" spans ${save.x}..${save.x + save.width}`);
        await phone.context().close();
    });
}
