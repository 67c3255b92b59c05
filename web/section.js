// "Corte" on the page: the plane's axis and its slider, each change one call of the core, whose
// session keeps the plane and the slider's range.

// page: {core, schedulePaint()}. Returns what the page calls when the surface changes: show().
export function setUpSection(page) {
    const {core, schedulePaint} = page;
    const $ = id => document.getElementById(id);
    const axisList = $('corte-eje'), controls = $('corte-mando'), slider = $('corte-posicion'), shown = $('corte-valor');

    // The slider and the value from the core: another surface takes the plane through its middle.
    function show() {
        const section = core.section();
        controls.hidden = section.plane === '';
        axisList.value = section.plane === '' ? '-1' : String('xyz'.indexOf(section.plane[0]));   // a link may bring one
        slider.max = String(section.steps);
        slider.value = String(section.step);
        shown.textContent = section.plane === '' ? '' : `${section.plane[0]} = ${Number(section.value.toPrecision(3))}`;
        shown.dataset.plane = section.plane;   // exact, as --section takes it
    }
    axisList.addEventListener('change', () => {
        if (core.setSectionAxis(Number(axisList.value)))
            schedulePaint();
        show();
    });
    slider.addEventListener('input', () => {
        if (core.setSectionStep(Number(slider.value)))
            schedulePaint();
        show();
    });
    show();
    return {show};
}
