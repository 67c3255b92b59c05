// Equation surfaces on the page against vexilon-render: one of the gallery with hidden lines, and
// "Definir…" with "Ecuación": the session's messages at their fields, the preview, saved and drawn.
export async function run(h) {
    const {address, check, expect, openPage, frameAfter, expectPicture, downloadOf} = h;
    // By its id: the parametric hyperboloid of the gallery has the same caption.
    const page = await openPage(`${address}?superficie=hiperboloide-una-hoja`);

    await check('gallery: "Hiperboloide de una hoja", an equation, with hidden lines as --hidden draws it', async () => {
        await page.waitForFunction(() => Number(document.getElementById('cuadro').dataset.frames) > 0);
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).check());
        await expectPicture(page, ['-s', 'hiperboloide-una-hoja', '--hidden']);
        await frameAfter(page, () => page.getByRole('checkbox', {name: 'Ocultar líneas traseras'}).uncheck());
    });
    await check('"Definir…" with "Ecuación": its messages at its fields, saved, exported and drawn as --implicit', async () => {
        await page.getByRole('button', {name: 'Definir…'}).click();
        const dialog = page.getByRole('dialog', {name: 'Superficie propia'});
        const field = name => dialog.getByRole('textbox', {name, exact: true});
        const error = () => page.locator('#definir-error').textContent();
        const invalid = name => page.waitForFunction(name => document.querySelector(`input[name=${name}]`).getAttribute('aria-invalid') === 'true', name);
        await dialog.getByRole('combobox', {name: 'Tipo'}).selectOption({label: 'ecuación F(x, y, z) = G(x, y, z)'});
        expect(!await field('x(u, v) =').isVisible(), 'the formulas of u and v still show');
        expect(await field('Ecuación').inputValue() === 'x^2 + y^2 + z^2 = 1', 'the example is not the sphere');
        await field('Ecuación').fill('x^2 + y^2 = u');
        await invalid('equation');
        expect(await error() === '«u» no es una variable de una ecuación; se aceptan x, y, z, los parámetros y los let', `the message is ${await error()}`);
        await field('Ecuación').fill('x^2 + y^2 - z^2 = a');
        await field('Parámetros').fill('a=[-1, 1, 1/2]');
        await field('Caja').fill('-2, 2, 1, -1, -2, 2');
        await invalid('box');
        expect((await error()).startsWith('el intervalo de y de la caja 1,-1 está vacío'), `the message is ${await error()}`);
        await field('Caja').fill('-2, 2, -2, 2, -1.5, 1.5');
        await field('Cortes por planos').fill('zv');
        await invalid('planeFamilies');
        await field('Cortes por planos').fill('z');
        await field('Planos por familia').fill('8');
        await field('Rejilla').fill('30');
        await field('Nombre').fill('Hiperboloide propio');
        await page.waitForFunction(() => document.getElementById('definir-error').textContent === '');
        await dialog.getByRole('button', {name: 'Guardar en mis superficies'}).click();
        expect(await error() === 'Guardada entre sus superficies.', `saving says ${await error()}`);
        await frameAfter(page, () => dialog.getByRole('button', {name: 'Aceptar'}).click());
        await expectPicture(page, ['--implicit', 'x^2 + y^2 - z^2 = a', '--param', 'a=1/2', '--box', '-2,2,-2,2,-1.5,1.5',
                                   '--families', 'z', '--planes', '8', '--grid', '30']);
        expect(await page.getByRole('slider', {name: 'a', exact: true}).isVisible(), 'no slider for the level a');
        const file = await downloadOf(page, () => page.getByRole('button', {name: 'Exportar superficies'}).click());
        const text = String(file.bytes);
        expect(/implicit = .x\^2 \+ y\^2 - z\^2 = a./.test(text) && text.includes('-1.5, 1.5 ]') && /families = .z./.test(text),
               `the exported file holds ${text.replace(/\n/g, " | ")}`);
    });
    await page.context().close();
}
