// The page's controls: each one a call of the core, then the frame drawn at the next paint.
import {
    kSide, kZoomBar, kDistanceBar, kLineUp, kLineDown, kThumbPosition,
    fetchCoreSource, embeddedCoreSource, loadCore,
} from './binding.js';
import {kOwnKey, setUpOwnSurfaces} from './own_surfaces.js';
import {setUpMotion} from './motion.js';
import {setUpSceneLink} from './scene_link.js';
import {kNothingKept, readKept, storageLent} from './storage.js';
import {setUpFullScreen} from './screen.js';
import {setUpPresentation} from './presentation.js';
import {setUpSection} from './section.js';
import {setUpSaving} from './saving.js';

const kBuiltinCount = 8;
const kOrbitKeyPixels = 10;       // one arrow key turns the view as a drag this long
const kWheelNotch = 100;          // a browser's pixels of one wheel notch: one step of "Z"
const kPinchStep = 12;            // CSS pixels the fingers spread for one step of "Z"
const kTurnTickMs = 40;           // the turntable's rate, as the window's

const $ = id => document.getElementById(id);
const square = $('cuadro');
const notice = $('aviso');
const zoomBar = $('barra-z'), distanceBar = $('barra-p');
const otherList = $('otra-lista'), otherButton = $('otra-boton');
const saveButton = $('guardar-boton'), formatList = $('formato'), animationButton = $('animacion-boton');
const sizeInput = $('tamano'), saveError = $('guardar-error');
const themeList = $('vista-tema');

const embedded = document.getElementById('vx-wasm') !== null;
// A browser without WebAssembly's SIMD (before 2021) cannot run the page: it says so.
const source = await (embedded ? embeddedCoreSource(document) : fetchCoreSource(document.baseURI)).catch(error => {
    notice.textContent = `Este navegador no puede abrir Vexilon (${error.message}). Pruebe con uno más reciente.`;
    throw error;
});
const core = await loadCore(source);
const startProblems = core.start(readKept(kOwnKey) ?? '');
let surface = 0;                  // the one chosen; 0 before any
let paintPending = false;
let framesPainted = 0;
const style = {lineWidth: 1, theme: 0};

// Draws the shown frame once at the next paint, however many steps came before it.
function schedulePaint() {
    if (paintPending)
        return;
    paintPending = true;
    requestAnimationFrame(paint);
}

// The square's side in device pixels: as many as the page gives it on this screen, drawn there as a
// picture of that size (the window's square at 500), never scaled.
function deviceSide() {
    const width = square.getBoundingClientRect().width || kSide;
    const {pictureSizeMin, pictureSizeMax} = core.limits();
    return Math.min(pictureSizeMax, Math.max(pictureSizeMin, Math.round(width * (window.devicePixelRatio || 1))));
}
function paint() {
    paintPending = false;
    const side = deviceSide();
    const frame = core.frame(side);
    if (!frame)
        return;       // no frame yet: the empty square
    if (square.width !== side) {
        square.width = side;
        square.height = side;
    }
    const context = square.getContext('2d');
    context.putImageData(frame, 0, 0);
    // The axes' letters by the browser: the core draws them with cairo, natively only.
    for (const text of style.axes || style.ticks ? core.figureTexts(side) : []) {
        context.font = `${text.height / 0.72}px "DejaVu Sans", sans-serif`;
        context.textAlign = 'center';
        context.fillStyle = text.colour;
        context.fillText(text.text, text.x, text.y + text.height / 2);
    }
    if (framesPainted === 0)
        performance.mark('vexilon-primera-imagen');
    square.dataset.frames = String(++framesPainted);
    sceneLink.follow();
}
window.matchMedia?.(`(resolution: ${window.devicePixelRatio || 1}dppx)`).addEventListener?.('change', schedulePaint);
new ResizeObserver(() => square.width !== deviceSide() && schedulePaint()).observe(square);

function showBars() {
    zoomBar.max = String(100 - core.barLeast(kZoomBar));   // grown past 100 by "Encuadrar"
    zoomBar.value = String(100 - core.barPosition(kZoomBar));
    distanceBar.value = String(core.barPosition(kDistanceBar));
}

// A view change: the core's step, the bars as the core left them, a frame to come.
function changed() {
    showBars();
    schedulePaint();
}

// opened: the core already shows it, from a link, with its own view.
function choose(number, opened = false) {
    const another = number !== surface;
    surface = number;
    if (!opened)
        core.choose(number);
    notice.textContent = '';
    zoomBar.disabled = distanceBar.disabled = false;
    saveButton.disabled = saver.saving();
    animationButton.disabled = motion.saving();
    motion.showParameters(another);
    section.show();
    changed();
}

// ---- Surfaces: the eight as buttons, the gallery and the user's own in "Otra:" ----
function listSurfaces() {
    const buttons = $('botones-superficie');
    const all = core.surfaces();
    if (!buttons.childElementCount) {
        for (const entry of all.slice(0, kBuiltinCount)) {
            const label = document.createElement('label');
            const radio = document.createElement('input');
            radio.type = 'radio';
            radio.name = 'superficie';
            radio.value = String(entry.n);
            radio.addEventListener('click', () => {
                otherList.value = '';      // so that "Otra:" chooses again whatever it lists
                choose(entry.n);           // again: the view reset, as in the window
            });
            label.append(radio, ` ${entry.caption}`);
            buttons.append(label);
        }
    }
    const chosen = otherList.value;
    otherList.replaceChildren(otherList.options[0]);   // "elija…": nothing shown as chosen before a choice
    const others = all.slice(kBuiltinCount);
    const groups = [['Galería', others.filter(s => !s.own)], ['Propias', others.filter(s => s.own)]];
    for (const [name, entries] of groups) {
        if (!entries.length)
            continue;
        const group = document.createElement('optgroup');
        group.label = name;
        for (const entry of entries)
            group.append(new Option(entry.caption, String(entry.n)));
        otherList.append(group);
    }
    if (chosen && [...otherList.options].some(o => o.value === chosen))
        otherList.value = chosen;
}
otherList.addEventListener('change', () => {
    otherButton.checked = true;
    choose(Number(otherList.value));
});
otherButton.addEventListener('change', () => otherList.value && choose(Number(otherList.value)));

// ---- The square: drag, wheel, keys, touch ----
const pointers = new Map();     // the fingers or the mouse on the square, by pointer id
let pinchSpan = 0;

// In CSS pixels, as the window's drag is in the screen's: the same drag turns as far at any side.
function squarePoint(event) {
    const box = square.getBoundingClientRect();
    return [Math.floor(event.clientX - box.left), Math.floor(event.clientY - box.top)];
}
function spanOf() {
    const [a, b] = [...pointers.values()];
    return Math.hypot(a.clientX - b.clientX, a.clientY - b.clientY);
}
square.addEventListener('pointerdown', event => {
    if (surface === 0 || (event.pointerType === 'mouse' && event.button !== 0))
        return;
    square.focus();
    try {
        square.setPointerCapture(event.pointerId);   // the drag goes on outside the square
    } catch { /* a pointer the browser no longer knows: the drag stays inside */ }
    pointers.set(event.pointerId, event);
    if (pointers.size === 1) {
        core.press(...squarePoint(event));
    } else if (pointers.size === 2) {
        core.release();            // two fingers zoom; they do not turn
        pinchSpan = spanOf();
    }
    event.preventDefault();
});
square.addEventListener('pointermove', event => {
    if (!pointers.has(event.pointerId))
        return;
    pointers.set(event.pointerId, event);
    if (pointers.size === 1) {
        core.move(...squarePoint(event));
        changed();
    } else if (pointers.size === 2) {
        const span = spanOf();
        while (span - pinchSpan >= kPinchStep) { pinchSpan += kPinchStep; core.scroll(kZoomBar, kLineUp, 0, true); }
        while (pinchSpan - span >= kPinchStep) { pinchSpan -= kPinchStep; core.scroll(kZoomBar, kLineDown, 0, true); }
        changed();
    }
});
function pointerGone(event) {
    if (!pointers.delete(event.pointerId))
        return;
    if (pointers.size === 0)
        core.release();
}
square.addEventListener('pointerup', pointerGone);
square.addEventListener('pointercancel', pointerGone);

square.addEventListener('wheel', event => {
    event.preventDefault();
    // In the window's eighths of a degree: a browser's notch is 100 pixels, or 3 lines.
    const pixels = event.deltaMode === WheelEvent.DOM_DELTA_LINE ? event.deltaY * kWheelNotch / 3 : event.deltaY;
    core.wheel(Math.round(-pixels * core.limits().wheelNotch / kWheelNotch));
    changed();
}, {passive: false});

const typing = target => target.matches?.('input:not([type=range]):not([type=checkbox]):not([type=radio]), select, textarea');
const kArrows = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1]};
document.addEventListener('keydown', event => {
    if (event.target.closest?.('dialog') || event.altKey || event.metaKey)
        return;
    // Keys without Ctrl act on the picture only when it has the focus: a letter on a button or a
    // box is that control's.
    const onSquare = event.target === square;
    let handled = true;
    if (event.key === 'F11' && !event.ctrlKey && !event.shiftKey) {
        toggleFullScreen();
    } else if (event.key === 'F1') {
        $('instrucciones').showModal();
    } else if (event.key.toLowerCase() === 'h' && !event.ctrlKey && !event.shiftKey && !typing(event.target)) {
        togglePresentation();   // from a slider too: in a presentation the square may not be at hand
    } else if (event.ctrlKey && event.key === ' ') {
        setTurning(!turnBox.checked);
    } else if (kArrows[event.key] && (event.ctrlKey || onSquare) && !event.shiftKey) {
        if (surface === 0) return;
        const [dx, dy] = kArrows[event.key];
        core.orbitKey(dx * kOrbitKeyPixels, dy * kOrbitKeyPixels);
        changed();
    } else if (!onSquare || event.ctrlKey) {
        handled = false;
    } else if (event.key === '+' || event.key === '-' || event.key === 'PageUp' || event.key === 'PageDown') {
        const up = event.key === '+' || event.key === 'PageUp';
        core.scroll(event.key.startsWith('Page') ? kDistanceBar : kZoomBar, up ? kLineUp : kLineDown, 0, true);
        changed();
    } else if (event.key.toLowerCase() === 'f' && !event.shiftKey) {
        frameToFit();
    } else if (event.key === 'Home') {
        core.resetKey();
        motion.showParameterValues();
        changed();
    } else if (event.key.toLowerCase() === 'g') {
        const {lineWidthMin, lineWidthMax} = core.limits();
        const width = Math.min(lineWidthMax, Math.max(lineWidthMin, style.lineWidth + (event.shiftKey ? -1 : 1)));
        $('vista-grosor').value = String(width);
        setStyle();
    } else if (event.key.toLowerCase() === 't' && !event.shiftKey) {
        themeList.value = String((Number(themeList.value) + 1) % themes.length);
        setTheme();
    } else {
        const box = document.querySelector(`#vista input[data-key="${event.key.toLowerCase()}"]`);
        if (box && !box.disabled && !event.shiftKey) {
            box.checked = !box.checked;
            setStyle();
        } else {
            handled = false;
        }
    }
    if (handled)
        event.preventDefault();
});

// ---- The bars ----
zoomBar.addEventListener('input', () => { core.scroll(kZoomBar, kThumbPosition, 100 - Number(zoomBar.value)); changed(); });
distanceBar.addEventListener('input', () => { core.scroll(kDistanceBar, kThumbPosition, Number(distanceBar.value)); changed(); });

// ---- "Vista" ----
function frameToFit() {
    if (surface === 0) return;
    core.frameToFit();
    changed();
}
$('vista-encuadrar').addEventListener('click', frameToFit);
const themes = core.themes();
themes.forEach((theme, index) => themeList.append(new Option(theme.caption, String(index))));
function setStyle() {
    for (const box of document.querySelectorAll('#vista input[data-style]'))
        style[box.dataset.style] = box.checked;
    style.lineWidth = Number($('vista-grosor').value);
    style.theme = Number(themeList.value);
    $('vista-invertir').disabled = !style.anaglyph;
    core.setStyle(style);
    schedulePaint();     // the same camera drawn again: no camera step
}
for (const control of document.querySelectorAll('#vista input[data-style], #vista-grosor'))
    control.addEventListener('change', setStyle);
// A theme brings its own width, which stays the user's to change.
function setTheme() {
    $('vista-grosor').value = String(core.themedLineWidth(Number(themeList.value)));
    setStyle();
}
themeList.addEventListener('change', setTheme);
$('vista-eje-z').addEventListener('change', event => core.setTurnAxis(event.target.checked));

const turnBox = $('vista-girar');
let turnTimer = 0;
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


// ---- Saving ----
const formats = core.formats();
formats.forEach((format, index) => formatList.append(new Option(format.label, String(index))));

function download(bytes, name, type) {
    const url = URL.createObjectURL(new Blob([bytes], {type}));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
}
// "Tamaño": a whole number of pixels within the core's limits, or null with the reason shown at it.
function pictureSize() {
    const {pictureSizeMin, pictureSizeMax} = core.limits();
    const text = sizeInput.value.trim();
    const size = /^[0-9]+$/.test(text) ? Number(text) : NaN;
    const good = size >= pictureSizeMin && size <= pictureSizeMax;
    if (good)
        sizeInput.removeAttribute('aria-invalid');
    else
        sizeInput.setAttribute('aria-invalid', 'true');
    const accepted = `un número entero de píxeles de ${pictureSizeMin} a ${pictureSizeMax}`;
    saveError.textContent = good ? '' : text ? `«${text}» no es un tamaño: escriba ${accepted}.` : `Escriba el tamaño: ${accepted}.`;
    return good ? size : null;
}
// The trace and a GIF are of the 500-pixel frame, as the command line writes them.
function showSizeUse() {
    const still = ['trace', 'gif'].includes(formats[Number(formatList.value)].name);
    sizeInput.disabled = still;
    saveError.textContent = '';
}
formatList.addEventListener('change', showSizeUse);
sizeInput.addEventListener('change', pictureSize);
saveButton.addEventListener('click', () => {
    const format = formats[Number(formatList.value)];
    const size = sizeInput.disabled ? 500 : pictureSize();
    if (size === null) {
        sizeInput.focus();
        return;
    }
    if (format.name === 'trace' && core.traceRefused()) {
        saveError.textContent = 'El trazo es el del cuadro tal cual: con el tema Pantalla, sin ejes y sin corte.';
        return;
    }
    if (!saver.saving())
        saver.save(Number(formatList.value), size, core.fileName(format.name), format.type);
});
const saver = setUpSaving({core, source, notice, download, hasSurface: () => surface !== 0});
const motion = setUpMotion({core, notice, schedulePaint, download, hasSurface: () => surface !== 0,
                            pauseTurning() { const on = turnBox.checked; setTurning(false); return on; },
                            resumeTurning: setTurning});
const section = setUpSection({core, schedulePaint});

// ---- Help ----
$('instrucciones-boton').addEventListener('click', () => $('instrucciones').showModal());
$('sobre-boton').addEventListener('click', () => $('sobre').showModal());
const toggleFullScreen = setUpFullScreen($('pantalla-boton'));
const togglePresentation = setUpPresentation(core);

// ---- Start ----
showSizeUse();
core.setStyle(style);
listSurfaces();
setUpOwnSurfaces({core, source, download, relist: listSurfaces, show(number) {
    otherButton.checked = true;
    otherList.value = String(number);
    choose(number);
}});
function markChosen(number) {
    const radio = document.querySelector(`#botones-superficie input[value="${number}"]`);
    if (radio) radio.checked = true;
    else { otherButton.checked = true; otherList.value = String(number); }
}
const sceneLink = setUpSceneLink({core, notice, setStyle, show(number) { listSurfaces(); markChosen(number); choose(number, true); }});
// A link may name the surface to show first: …/?superficie=toro (an id or a caption).
const asked = new URLSearchParams(location.search).get('superficie');
const first = asked && core.surfaces().find(s => s.id === asked.toLowerCase() || s.caption.toLowerCase() === asked.toLowerCase());
if (sceneLink.open()) {
    // the scene of the address, shown
} else if (first) {
    markChosen(first.n);
    choose(first.n);
} else if (!notice.textContent.startsWith('El enlace')) {
    notice.textContent = asked ? `No hay ninguna superficie «${asked}»: elija una` : 'Elija una superficie';
}
if (startProblems.length || !storageLent())
    $('superficies-estado').textContent = [...(storageLent() ? [] : [kNothingKept]), ...startProblems].join(' ');
square.dataset.ready = 'true';
if (!embedded && 'serviceWorker' in navigator && location.protocol.startsWith('http'))
    navigator.serviceWorker.register('offline_worker.js').catch(() => { /* works online all the same */ });
