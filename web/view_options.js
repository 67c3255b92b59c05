// "Vista" on the page: the frame's style (its boxes, "Grosor", "Tema"), "Encuadrar" and the
// turntable, each change one call of the core.

const kTurnTickMs = 40;           // the turntable's rate, as the window's

// page: {core, schedulePaint(), changed(), hasSurface()}. Returns the style the core draws in and
// what the keys and a link call.
export function setUpViewOptions(page) {
    const {core, schedulePaint, changed, hasSurface} = page;
    const $ = id => document.getElementById(id);
    const themeList = $('vista-tema'), widthInput = $('vista-grosor'), turnBox = $('vista-girar');
    const style = {lineWidth: 1, theme: 0};
    let turnTimer = 0;

    function frameToFit() {
        if (!hasSurface()) return;
        core.frameToFit();
        changed();
    }
    $('vista-encuadrar').addEventListener('click', frameToFit);
    const themes = core.themes();
    themes.forEach((theme, index) => themeList.append(new Option(theme.caption, String(index))));
    function setStyle() {
        for (const box of document.querySelectorAll('#vista input[data-style]'))
            style[box.dataset.style] = box.checked;
        style.lineWidth = Number(widthInput.value);
        style.theme = Number(themeList.value);
        $('vista-invertir').disabled = !style.anaglyph;
        core.setStyle(style);
        schedulePaint();     // the same camera drawn again: no camera step
    }
    for (const control of document.querySelectorAll('#vista input[data-style], #vista-grosor'))
        control.addEventListener('change', setStyle);
    // A theme brings its own width, which stays the user's to change.
    function setTheme() {
        widthInput.value = String(core.themedLineWidth(Number(themeList.value)));
        setStyle();
    }
    themeList.addEventListener('change', setTheme);
    $('vista-eje-z').addEventListener('change', event => core.setTurnAxis(event.target.checked));

    function setTurning(on) {
        turnBox.checked = on;
        clearInterval(turnTimer);
        turnTimer = on ? setInterval(() => {
            if (document.hidden) return;
            core.turnTick();
            schedulePaint();
        }, kTurnTickMs) : 0;
    }
    turnBox.addEventListener('change', () => setTurning(turnBox.checked));

    return {
        style, setStyle, frameToFit, setTurning,
        turning: () => turnBox.checked,
        // "Grosor" one step thicker (delta 1) or thinner (-1), within the core's limits.
        stepLineWidth(delta) {
            const {lineWidthMin, lineWidthMax} = core.limits();
            widthInput.value = String(Math.min(lineWidthMax, Math.max(lineWidthMin, style.lineWidth + delta)));
            setStyle();
        },
        nextTheme() {
            themeList.value = String((Number(themeList.value) + 1) % themes.length);
            setTheme();
        },
        // The box of "Vista" a letter toggles; false when none does, or it is off.
        toggleBox(key) {
            const box = document.querySelector(`#vista input[data-key="${key}"]`);
            if (!box || box.disabled)
                return false;
            box.checked = !box.checked;
            setStyle();
            return true;
        },
    };
}
