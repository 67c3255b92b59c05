// "Corte" on the page against vexilon-render --section: the plane chosen, moved and hidden lines on.
export async function run(h) {
    const {address, check, expect, openPage, frameAfter, expectPicture} = h;
    const page = await openPage(address);
    const plane = () => page.locator('#corte-valor').getAttribute('data-plane');

    await check('"Corte": the plane z = c over the sphere, moved by its slider, as --section draws it', async () => {
        await frameAfter(page, () => page.getByRole('radio', {name: 'Esfera', exact: true}).click());
        const slider = page.getByRole('slider', {name: 'Corte'});
        expect(!await slider.isVisible(), 'the slider shows with no plane chosen');
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Plano'}).selectOption({label: 'z = c'}));
        expect(await slider.isVisible(), 'the slider does not show');
        await expectPicture(page, ['-s', 'esfera', '--section', await plane()]);
        await frameAfter(page, () => slider.press('ArrowRight'));
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).check());
        const moved = await plane();
        expect(moved.startsWith('z=') && Number(moved.slice(2)) > 0, `the plane did not move up: ${moved}`);
        await expectPicture(page, ['-s', 'esfera', '--hidden', '--section', moved]);
        await frameAfter(page, () => page.getByRole('combobox', {name: 'Plano'}).selectOption({label: 'Ninguno'}));
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).uncheck());
        await expectPicture(page, ['-s', 'esfera']);
    });
    await page.context().close();
}
