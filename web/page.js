// The page's controls: each one a call of the core, then the frame drawn at the next paint.
import {kSide, kZoomBar, kDistanceBar, kThumbPosition, fetchCoreSource, embeddedCoreSource, loadCore} from './binding.js';
import {kOwnKey, setUpOwnSurfaces} from './own_surfaces.js';
import {setUpMotion} from './motion.js';
import {setUpSceneLink} from './scene_link.js';
import {kNothingKept, readKept, storageLent} from './storage.js';
import {setUpFullScreen} from './screen.js';
import {setUpPresentation} from './presentation.js';
import {setUpSection} from './section.js';
import {setUpSaving} from './saving.js';
import {setUpViewOptions} from './view_options.js';
import {setUpSquareInput} from './square_input.js';

const kBuiltinCount = 8;

const $ = id => document.getElementById(id);
const square = $('cuadro');
const notice = $('aviso');
const zoomBar = $('barra-z'), distanceBar = $('barra-p');
const otherList = $('otra-lista'), otherButton = $('otra-boton');
const saveButton = $('guardar-boton'), formatList = $('formato'), animationButton = $('animacion-boton');
const sizeInput = $('tamano'), saveError = $('guardar-error');

const embedded = document.getElementById('vx-wasm') !== null;
// A browser without WebAssembly's SIMD (before 2021) cannot run the page: it says so.
const source = await (embedded ? embeddedCoreSource(document) : window.vexilonCore ?? fetchCoreSource(document.baseURI)).catch(error => {
    notice.textContent = `Este navegador no puede abrir Vexilon (${error.message}). Pruebe con uno más reciente.`;
    throw error;
});
const core = await loadCore(source);
core.prepare(readKept(kOwnKey) ?? '');
// What the page itself keeps between events; all else is the core's or a control's.
const shown = {
    surface: 0,              // the one chosen; 0 before any
    paintPending: false,
    framesPainted: 0,
};

// Draws the shown frame once at the next paint, however many steps came before it.
function schedulePaint() {
    if (shown.paintPending)
        return;
    shown.paintPending = true;
    requestAnimationFrame(() => shown.paintPending && paint());   // unless painted at once meanwhile
}

// The square's side in device pixels: as many as the page gives it on this screen, drawn there as a
// picture of that size (the window's square at 500), never scaled.
function deviceSide() {
    const width = square.getBoundingClientRect().width || kSide;
    const {pictureSizeMin, pictureSizeMax} = core.limits();
    return Math.min(pictureSizeMax, Math.max(pictureSizeMin, Math.round(width * (window.devicePixelRatio || 1))));
}
function paint() {
    shown.paintPending = false;
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
    for (const text of view.style.axes || view.style.ticks ? core.figureTexts(side) : []) {
        context.font = `${text.height / 0.72}px "DejaVu Sans", sans-serif`;
        context.textAlign = 'center';
        context.fillStyle = text.colour;
        context.fillText(text.text, text.x, text.y + text.height / 2);
    }
    if (shown.framesPainted === 0)
        performance.mark('vexilon-primera-imagen');
    square.dataset.frames = String(++shown.framesPainted);
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
    const another = number !== shown.surface;
    shown.surface = number;
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

// ---- The bars ----
zoomBar.addEventListener('input', () => { core.scroll(kZoomBar, kThumbPosition, 100 - Number(zoomBar.value)); changed(); });
distanceBar.addEventListener('input', () => { core.scroll(kDistanceBar, kThumbPosition, Number(distanceBar.value)); changed(); });

const hasSurface = () => shown.surface !== 0;
const view = setUpViewOptions({core, schedulePaint, changed, hasSurface});

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
const saver = setUpSaving({core, source, notice, download, hasSurface});
const motion = setUpMotion({core, notice, schedulePaint, download, hasSurface,
                            pauseTurning() { const on = view.turning(); view.setTurning(false); return on; },
                            resumeTurning: view.setTurning});
const section = setUpSection({core, schedulePaint});

// ---- Help ----
$('instrucciones-boton').addEventListener('click', () => $('instrucciones').showModal());
$('sobre-boton').addEventListener('click', () => $('sobre').showModal());
setUpSquareInput({core, square, changed, hasSurface, view, motion,
                  toggleFullScreen: setUpFullScreen($('pantalla-boton')), togglePresentation: setUpPresentation(core),
                  showHelp: () => $('instrucciones').showModal()});

// ---- Start ----
showSizeUse();
core.setStyle(view.style);
listSurfaces();   // the eight: the gallery and the user's surfaces are not read yet
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
const sceneLink = setUpSceneLink({core, notice, setStyle: view.setStyle, show(number) { listSurfaces(); markChosen(number); choose(number, true); }});
// A link may name the surface to show first: …/?superficie=toro (an id or a caption).
const asked = new URLSearchParams(location.search).get('superficie');
const named = () => asked && core.surfaces().find(s => s.id === asked.toLowerCase() || s.caption.toLowerCase() === asked.toLowerCase());
// One of the eight, asked for without a scene in the address, needs neither the gallery nor the
// user's surfaces: it is drawn first, and they are read once its picture is on the screen.
const early = location.hash.length < 2 ? named() : null;
if (early) {
    markChosen(early.n);
    choose(early.n);
    paint();   // at once: the next frame shows it
    if (document.visibilityState === 'visible')
        await new Promise(done => requestAnimationFrame(() => setTimeout(done)));
}
const startProblems = core.readSurfaces();
listSurfaces();
const first = early ? null : named();
if (!early && !sceneLink.open()) {   // else drawn above, or the scene of the address shown
    if (first) {
        markChosen(first.n);
        choose(first.n);
    } else if (!notice.textContent.startsWith('El enlace')) {
        notice.textContent = asked ? `No hay ninguna superficie «${asked}»: elija una` : 'Elija una superficie';
    }
}
if (startProblems.length || !storageLent())
    $('superficies-estado').textContent = [...(storageLent() ? [] : [kNothingKept]), ...startProblems].join(' ');
square.dataset.ready = 'true';
if (!embedded && 'serviceWorker' in navigator && location.protocol.startsWith('http'))
    navigator.serviceWorker.register('offline_worker.js').catch(() => { /* works online all the same */ });
