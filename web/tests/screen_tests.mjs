// The page on screens of every size (a projector's, a phone's held either way, full screen) and the
// faults a person found by hand, each checked as it was seen.
export async function run(h) {
    const {address, check, expect, openPage, frameAfter, frames, expectPicture, downloadOf} = h;
    const sideOf = page => page.evaluate(() => document.getElementById('cuadro').getBoundingClientRect().width);
    // Whether box lies wholly inside the viewport as it is shown (no scrolling).
    const inside = (box, {width, height}) => box.x >= 0 && box.y >= 0 && box.x + box.width <= width + 0.5 && box.y + box.height <= height + 0.5;

    await check('at 1920 x 1080 the square takes the screen\'s height, drawn at its own pixels as --size', async () => {
        const page = await openPage(`${address}?superficie=toro`, {viewport: {width: 1920, height: 1080}});
        await page.waitForFunction(() => Number(document.getElementById('cuadro').dataset.frames) > 0);
        const side = await sideOf(page);
        expect(side >= 800 && side === Math.round(side), `the square is ${side} CSS pixels`);
        expect(inside(await page.locator('#cuadro').boundingBox(), page.viewportSize()), 'the square is not all on the screen');
        await page.waitForFunction(side => document.getElementById('cuadro').width === side, side);
        await expectPicture(page, ['-s', 'toro'], side);
        // A drag is in the screen's pixels, as the window's: the same orbit at any side.
        const box = await page.locator('#cuadro').boundingBox();
        await page.mouse.move(box.x + 300, box.y + 300);
        await page.mouse.down();
        await frameAfter(page, () => page.mouse.move(box.x + 340, box.y + 280, {steps: 1}));
        await page.mouse.up();
        await expectPicture(page, ['-s', 'toro', '--orbit', '40,-20'], side);
        await page.context().close();
    });
    for (const [name, width, height] of [['portrait', 390, 844], ['landscape', 844, 390], ['of 320 pixels', 320, 640]]) {
        await check(`a phone held ${name} shows the whole square and no sideways scroll`, async () => {
            const phone = await openPage(`${address}?superficie=esfera`, {viewport: {width, height}, deviceScaleFactor: 3, isMobile: true, hasTouch: true});
            await phone.waitForFunction(() => Number(document.getElementById('cuadro').dataset.frames) > 0);
            const box = await phone.locator('#cuadro').boundingBox();
            expect(inside(box, {width, height}) && Math.abs(box.width - box.height) < 1, `the square is ${box.width} x ${box.height} at ${box.x}, ${box.y}`);
            const wide = await phone.evaluate(() => document.documentElement.scrollWidth);
            expect(wide <= width, `the page is ${wide} pixels wide`);
            await phone.context().close();
        });
    }
    await check('"Pantalla completa" and F11 put the page on the whole screen and back', async () => {
        const page = await openPage(address);
        const button = page.getByRole('button', {name: 'Pantalla completa'});
        await button.click();
        await page.waitForFunction(() => document.fullscreenElement !== null);
        expect(await button.getAttribute('aria-pressed') === 'true', 'the button does not say it is on');
        await button.click();
        await page.waitForFunction(() => document.fullscreenElement === null);
        await page.locator('#cuadro').focus();
        await page.keyboard.press('F11');
        await page.waitForFunction(() => document.fullscreenElement !== null);
        await page.keyboard.press('F11');
        await page.waitForFunction(() => document.fullscreenElement === null);
        expect(await button.getAttribute('aria-pressed') === 'false', 'the button still says it is on');
        await page.context().close();
    });

    const page = await openPage(address);
    await check('before any surface: "Otra:" chooses nothing, no animation kind, "Invertir ojos" off, no blank status', async () => {
        expect(await page.getByRole('combobox', {name: 'Otra:'}).inputValue() === '', '"Otra:" shows a surface as chosen');
        expect(!(await page.getByRole('combobox', {name: 'Animación'}).isVisible()), 'the animation kinds show');
        expect(await page.getByRole('checkbox', {name: 'Invertir ojos'}).isDisabled(), '"Invertir ojos" is enabled without the anaglyph');
        const status = await page.locator('#superficies-estado').boundingBox();
        expect(status === null || status.height === 0, `the empty status takes ${status?.height} pixels`);
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Otra:'}).selectOption({index: 1}));
        await expectPicture(page, ['-s', 'klein']);
        await frameAfter(page, () => page.getByRole('radio', {name: 'Toro', exact: true}).click());
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Otra:'}).selectOption({index: 1}));
        await expectPicture(page, ['-s', 'klein']);
        await page.getByRole('checkbox', {name: 'Anaglifo rojo/cian'}).check();
        expect(await page.getByRole('checkbox', {name: 'Invertir ojos'}).isEnabled(), '"Invertir ojos" stays disabled with the anaglyph');
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Anaglifo rojo/cian'}).uncheck());
    });
    await check('a letter key on a button or a box changes nothing; on the picture it acts', async () => {
        const parallel = page.getByRole('checkbox', {name: 'Proyección paralela'});
        const before = await frames(page);
        await page.getByRole('button', {name: 'Sobre Vexilon'}).focus();
        await page.keyboard.press('p');
        await page.getByRole('checkbox', {name: 'Ejes'}).focus();
        await page.keyboard.press('o');
        await page.keyboard.press('+');
        await page.evaluate(() => new Promise(requestAnimationFrame));
        expect(!(await parallel.isChecked()) && await frames(page) === before, 'a letter on a control changed the picture');
        await page.locator('#cuadro').focus();
        await frameAfter(page, () => page.keyboard.press('p'));
        expect(await parallel.isChecked(), '"p" on the picture did nothing');
        await frameAfter(page, () => page.keyboard.press('p'));
    });
    await check('"Tamaño" out of range is marked invalid, and no longer once mended', async () => {
        const size = page.getByRole('spinbutton', {name: 'Tamaño'});
        await size.fill('50');
        await size.press('Tab');
        expect(await size.getAttribute('aria-invalid') === 'true', `aria-invalid is ${await size.getAttribute('aria-invalid')}`);
        await size.fill('500');
        await size.press('Tab');
        expect(await size.getAttribute('aria-invalid') === null, 'still marked invalid');
    });
    await check('a keyboard save of an animation leaves the focus on its button', async () => {
        await frameAfter(page, () => page.getByRole('radio', {name: 'Esfera', exact: true}).click());
        const button = page.getByRole('button', {name: 'Guardar animación…'});
        await button.focus();
        const gif = await downloadOf(page, () => page.keyboard.press('Enter'), 60000);
        expect(gif.name === 'esfera.gif', `named ${gif.name}`);
        await page.waitForFunction(() => document.activeElement?.id === 'animacion-boton');
    });
    await check('every control is at least 24 CSS pixels a side', async () => {
        const small = await page.evaluate(() => [...document.querySelectorAll('main button, main input, main select, header button')]
            .filter(e => e.offsetParent !== null)
            .map(e => [e.id || e.name || e.textContent.trim(), e.getBoundingClientRect()])
            .filter(([, box]) => box.width < 24 || box.height < 24).map(([name, box]) => `${name} ${box.width}x${box.height}`));
        expect(small.length === 0, small.join(', '));
    });
    await page.context().close();

    await check('on a phone "Instrucciones" opens at its title; "Definir…" shows its preview, buttons and whole choices', async () => {
        const phone = await openPage(address, {viewport: {width: 390, height: 844}, deviceScaleFactor: 3, isMobile: true, hasTouch: true});
        const viewport = phone.viewportSize();
        await phone.getByRole('button', {name: 'Instrucciones'}).click();
        const title = await phone.getByRole('heading', {name: 'Instrucciones'}).boundingBox();
        expect(inside(title, viewport), `the title is at ${title.y}`);
        await phone.keyboard.press('Escape');
        await phone.getByRole('button', {name: 'Definir…'}).click();
        for (const [what, locator] of [['the preview', phone.getByRole('img', {name: 'Vista previa'})],
                                       ['"Aceptar"', phone.getByRole('button', {name: 'Aceptar'})],
                                       ['"Cancelar"', phone.getByRole('button', {name: 'Cancelar'})]]) {
            const box = await locator.boundingBox();
            expect(inside(box, viewport), `${what} is at ${box.x}, ${box.y}`);
        }
        const cut = await phone.evaluate(() => {
            const select = document.querySelector('select[name=fit]');
            const measure = document.createElement('canvas').getContext('2d');
            measure.font = getComputedStyle(select).font;
            const longest = Math.max(...[...select.options].map(o => measure.measureText(o.text).width));
            return longest + 32 > select.getBoundingClientRect().width ? `${longest} in ${select.getBoundingClientRect().width}` : '';
        });
        expect(cut === '', `"Escala automática" cuts its options: ${cut}`);
        await phone.context().close();
    });
}
