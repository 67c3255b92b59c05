// The projector on the page at 1920 x 1080: full screen's text at the session's size, the key H
// leaving only the square and "Parámetros"; a formula's hint as the window's and the command line's.
export async function run(h) {
    const {address, check, expect, openPage} = h;
    const page = await openPage(`${address}?superficie=elipsoide`, {viewport: {width: 1920, height: 1080}});
    await page.waitForFunction(() => Number(document.getElementById('cuadro').dataset.frames) > 0);
    const square = page.getByRole('img', {name: /^Superficie/});
    const textOf = name => page.getByRole('button', {name}).evaluate(b => parseFloat(getComputedStyle(b).fontSize));

    await check('in full screen the controls\' text grows to at least 18 pixels at 1920 x 1080, and back', async () => {
        const own = await textOf('Encuadrar');
        await page.getByRole('button', {name: 'Pantalla completa'}).click();
        await page.waitForFunction(() => document.fullscreenElement !== null);
        await page.waitForFunction(() => parseFloat(getComputedStyle(document.querySelector('#vista-encuadrar')).fontSize) >= 18);
        expect(await page.evaluate(() => parseFloat(getComputedStyle(document.querySelector('#parametros output')).fontSize)) >= 18,
               'the parameters\' values are smaller');
        await page.getByRole('button', {name: 'Pantalla completa'}).click();
        await page.waitForFunction(() => document.fullscreenElement === null);
        await page.waitForFunction(own => parseFloat(getComputedStyle(document.querySelector('#vista-encuadrar')).fontSize) === own, own);
    });
    await check('H hides every control but the square and "Parámetros", and shows them again', async () => {
        const others = [page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}), page.getByRole('button', {name: 'Guardar imagen…'}),
                        page.getByRole('slider', {name: 'Z', exact: true}), page.getByRole('button', {name: 'Pantalla completa'}),
                        page.getByRole('combobox', {name: 'Plano'}), page.getByRole('button', {name: 'Copiar enlace'}),
                        page.getByRole('button', {name: 'Definir…'})];
        const slider = page.getByRole('slider', {name: 'c', exact: true});
        const side = (await square.boundingBox()).width;
        for (const from of [square, slider]) {
            await from.focus();
            await page.keyboard.press('h');
            for (const control of others)
                expect(!await control.isVisible(), `${control} still shows`);
            expect(await square.isVisible() && await slider.isVisible() && await page.getByRole('checkbox', {name: 'Animar'}).isVisible(),
                   'the square or "Parámetros" went');
            expect((await square.boundingBox()).width > side, 'the square did not take the room');
            await slider.focus();   // from a slider too: the square may not be at hand
            await page.keyboard.press('h');
            for (const control of others)
                expect(await control.isVisible(), `${control} does not show again`);
        }
    });
    await check('"Definir…" answers 2cos(v) as the window and the command line do', async () => {
        await page.getByRole('button', {name: 'Definir…'}).click();
        const dialog = page.getByRole('dialog', {name: 'Superficie propia'});
        const field = name => dialog.getByRole('textbox', {name, exact: true});
        for (const [name, value] of [['Nombre', 'Pista'], ['x(u, v) =', 'u'], ['y(u, v) =', 'v'], ['Inicio de u', '0'],
                                     ['Final de u', '1'], ['Inicio de v', '0'], ['Final de v', '1'], ['z(u, v) =', '2cos(v)']])
            await field(name).fill(value);
        await page.waitForFunction(() => document.getElementById('definir-error').textContent.includes('falta'));
        const told = await page.locator('#definir-error').textContent();
        expect(told === 'falta un * entre 2 y cos en la posición 2', `told: ${told}`);
        await dialog.getByRole('button', {name: 'Cancelar'}).click();
    });
    await page.context().close();
}
