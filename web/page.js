// The page's controls: each one a call of the core, then the frame drawn at the next paint.
import {
    kSide, kZoomBar, kDistanceBar, kLineUp, kLineDown, kThumbPosition,
    fetchCoreSource, embeddedCoreSource, loadCore,
} from './binding.js';
import {kOwnKey, setUpOwnSurfaces} from './own_surfaces.js';

const kBuiltinCount = 8;
const kOrbitKeyPixels = 10;       // one arrow key turns the view as a drag this long
const kWheelNotch = 100;          // a browser's pixels of one wheel notch: one step of "Z"
const kWindowNotch = 120;         // the same notch in the session's eighths of a degree
const kPinchStep = 12;            // CSS pixels the fingers spread for one step of "Z"
const kTurnTickMs = 40;           // the turntable's rate, as the window's

const $ = id => document.getElementById(id);
const square = $('cuadro');
const notice = $('aviso');
const zoomBar = $('barra-z'), distanceBar = $('barra-p');
const otherList = $('otra-lista'), otherButton = $('otra-boton');
const saveButton = $('guardar-boton'), formatList = $('formato'), animationButton = $('animacion-boton');

const embedded = document.getElementById('vx-wasm') !== null;
// A browser without WebAssembly's SIMD (before 2021) cannot run the page: it says so.
const source = await (embedded ? embeddedCoreSource(document) : fetchCoreSource(document.baseURI)).catch(error => {
    notice.textContent = `Este navegador no puede abrir Vexilon (${error.message}). Pruebe con uno más reciente.`;
    throw error;
});
const core = await loadCore(source);
const startProblems = core.start(localStorage.getItem(kOwnKey) ?? '');
let surface = 0;                  // the one chosen; 0 before any
let paintPending = false;
let framesPainted = 0;
const style = {lineWidth: 1};

// Draws the shown frame once at the next paint, however many steps came before it.
function schedulePaint() {
    if (paintPending)
        return;
    paintPending = true;
    requestAnimationFrame(paint);
}

const picture = new OffscreenCanvas(kSide, kSide);
function paint() {
    paintPending = false;
    const pixels = core.draw();
    if (!pixels)
        return;       // no frame yet: the empty square
    picture.getContext('2d').putImageData(new ImageData(pixels, kSide, kSide), 0, 0);
    // At the device's pixels: each picture pixel a block of them, so the lines stay sharp.
    const ratio = window.devicePixelRatio || 1;
    const side = Math.round(kSide * ratio);
    if (square.width !== side) {
        square.width = side;
        square.height = side;
    }
    const context = square.getContext('2d');
    context.imageSmoothingEnabled = false;
    context.drawImage(picture, 0, 0, side, side);
    if (framesPainted === 0)
        performance.mark('vexilon-primera-imagen');
    square.dataset.frames = String(++framesPainted);
}
window.matchMedia?.(`(resolution: ${window.devicePixelRatio || 1}dppx)`).addEventListener?.('change', schedulePaint);

function showBars() {
    zoomBar.value = String(100 - core.barPosition(kZoomBar));
    distanceBar.value = String(core.barPosition(kDistanceBar));
}

// A view change: the core's step, the bars as the core left them, a frame to come.
function changed() {
    showBars();
    schedulePaint();
}

function choose(number) {
    surface = number;
    core.choose(number);
    notice.textContent = '';
    for (const control of [zoomBar, distanceBar, saveButton, animationButton])
        control.disabled = false;
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
            radio.addEventListener('click', () => choose(entry.n));   // again: the view reset, as in the window
            label.append(radio, ` ${entry.caption}`);
            buttons.append(label);
        }
    }
    const chosen = otherList.value;
    otherList.replaceChildren();
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

function squarePoint(event) {
    const box = square.getBoundingClientRect();
    return [Math.floor((event.clientX - box.left) * kSide / box.width), Math.floor((event.clientY - box.top) * kSide / box.height)];
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
    core.wheel(Math.round(-pixels * kWindowNotch / kWheelNotch));
    changed();
}, {passive: false});

const kArrows = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1]};
document.addEventListener('keydown', event => {
    if (event.target.closest?.('dialog') || event.altKey || event.metaKey)
        return;
    const typing = event.target.matches?.('input:not([type=checkbox]):not([type=radio]), select, textarea');
    const onSquare = event.target === square;
    let handled = true;
    if (event.ctrlKey && event.key === ' ') {
        setTurning(!turnBox.checked);
    } else if (kArrows[event.key] && (event.ctrlKey || onSquare) && !event.shiftKey) {
        if (surface === 0) return;
        const [dx, dy] = kArrows[event.key];
        core.orbitKey(dx * kOrbitKeyPixels, dy * kOrbitKeyPixels);
        changed();
    } else if (typing || event.ctrlKey) {
        handled = false;
    } else if (event.key === '+' || event.key === '-' || event.key === 'PageUp' || event.key === 'PageDown') {
        const up = event.key === '+' || event.key === 'PageUp';
        core.scroll(event.key.startsWith('Page') ? kDistanceBar : kZoomBar, up ? kLineUp : kLineDown, 0, true);
        changed();
    } else if (event.key === 'Home') {
        core.resetKey();
        changed();
    } else if (event.key === 'F1') {
        $('instrucciones').showModal();
    } else if (event.key.toLowerCase() === 'g') {
        const width = Math.min(4, Math.max(1, style.lineWidth + (event.shiftKey ? -1 : 1)));
        $('vista-grosor').value = String(width);
        setStyle();
    } else {
        const box = document.querySelector(`#vista input[data-key="${event.key.toLowerCase()}"]`);
        if (box && !event.shiftKey) {
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
function setStyle() {
    for (const box of document.querySelectorAll('#vista input[data-style]'))
        style[box.dataset.style] = box.checked;
    style.lineWidth = Number($('vista-grosor').value);
    $('vista-invertir').disabled = !style.anaglyph;
    core.setStyle(style);
    schedulePaint();     // the same camera drawn again: no camera step
}
for (const control of document.querySelectorAll('#vista input[data-style], #vista-grosor'))
    control.addEventListener('change', setStyle);

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
function surfaceId() {
    return core.surfaces().find(s => s.n === core.frameSurface())?.id ?? 'vexilon';
}
saveButton.addEventListener('click', () => {
    const format = formats[Number(formatList.value)];
    const bytes = core.encode(Number(formatList.value));
    if (!bytes) {
        notice.textContent = 'No se pudo crear la imagen.';
        return;
    }
    download(bytes, surfaceId() + format.extension, format.type);
});
animationButton.addEventListener('click', async () => {
    const wasTurning = turnBox.checked;
    setTurning(false);
    animationButton.disabled = true;
    notice.textContent = 'Guardando la animación…';
    // The message is painted before the frames are made.
    await new Promise(resolve => requestAnimationFrame(() => setTimeout(resolve, 0)));
    const bytes = core.encodeTurn();
    notice.textContent = bytes ? '' : 'No se pudo crear la animación.';
    animationButton.disabled = false;
    if (bytes)
        download(bytes, `${surfaceId()}.gif`, 'image/gif');
    setTurning(wasTurning);
});

// ---- Help ----
$('instrucciones-boton').addEventListener('click', () => $('instrucciones').showModal());
$('sobre-boton').addEventListener('click', () => $('sobre').showModal());

// ---- Start ----
core.setStyle(style);
listSurfaces();
setUpOwnSurfaces({core, source, download, relist: listSurfaces, show(number) {
    otherButton.checked = true;
    otherList.value = String(number);
    choose(number);
}});
// A link may name the surface to show first: …/?superficie=toro (an id or a caption).
const asked = new URLSearchParams(location.search).get('superficie');
const first = asked && core.surfaces().find(s => s.id === asked.toLowerCase() || s.caption.toLowerCase() === asked.toLowerCase());
if (first) {
    const radio = document.querySelector(`#botones-superficie input[value="${first.n}"]`);
    if (radio) radio.checked = true;
    else { otherButton.checked = true; otherList.value = String(first.n); }
    choose(first.n);
} else {
    notice.textContent = asked ? `No hay ninguna superficie «${asked}»: elija una` : 'Elija una superficie';
}
if (startProblems.length)
    $('superficies-estado').textContent = startProblems.join(' ');
square.dataset.ready = 'true';
if (!embedded && 'serviceWorker' in navigator && location.protocol.startsWith('http'))
    navigator.serviceWorker.register('offline_worker.js').catch(() => { /* works online all the same */ });
