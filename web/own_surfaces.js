// "Definir…" and the user's own surfaces: kept in the browser as the text of a superficies.toml,
// imported and exported as that file; the dialog's preview sampled by a worker as it is typed.
import {kSide, kDefinitionFields} from './binding.js';

const kOwnKey = 'vexilon.superficies';   // the user's own surfaces: a superficies.toml text
const kDraftKey = 'vexilon.borrador';    // what the definition dialog holds, kept as it is typed
const kDefaultDefinition = {caption: 'Mi superficie', x: 'cos(u)*(2+cos(v))', y: 'sin(u)*(2+cos(v))', z: 'sin(v)',
                            uFrom: '0', uTo: '2*pi', uLines: '25', vFrom: '0', vTo: '2*pi', vLines: '25', samples: '61'};

// An id for a caption: lower-case letters and digits joined by '-', accents dropped, unique.
function ownIdFor(caption, taken) {
    let id = '';
    for (const c of caption.normalize('NFD').toLowerCase()) {
        if (/[a-z0-9]/.test(c)) id += c;
        else if (/[\s_-]/.test(c) && id && !id.endsWith('-')) id += '-';
    }
    id = id.replace(/-+$/, '').slice(0, 30);
    if (!id || /^[0-9-]*$/.test(id)) id = 'propia' + (id ? '-' + id : '');
    let unique = id;
    for (let n = 2; taken.has(unique); ++n) unique = `${id}-${n}`;
    return unique;
}

// page: {core, source, download(bytes, name, type), relist(), show(number)}.
export function setUpOwnSurfaces(page) {
    const {core, source} = page;
    const $ = id => document.getElementById(id);
    const defineDialog = $('definir'), defineForm = $('definir-formulario'), defineError = $('definir-error');
    const status = $('superficies-estado');

    function ownText() { return localStorage.getItem(kOwnKey) ?? ''; }

    // Loads text as the user's surfaces, after the gallery, in place of those read before.
    function loadOwn(text) {
        const answer = core.loadOwn(text);
        page.relist();
        return answer;
    }

    // ---- "Definir…": the user's own surface, previewed by a worker as it is typed ----
    const previewCanvas = $('vista-previa');
    let worker = null, previewAsked = 0, previewTimer = 0;

    function startWorker() {
        const text = document.getElementById('vx-worker')?.textContent;
        const url = text ? URL.createObjectURL(new Blob([text], {type: 'text/javascript'})) : new URL('sampling_worker.js', import.meta.url);
        worker = new Worker(url, {type: 'module'});
        worker.postMessage({source});
        worker.addEventListener('message', ({data}) => {
            if (data.asked !== previewAsked)
                return;      // an older definition's answer
            showProblem(data.problem);
            const context = previewCanvas.getContext('2d');
            if (data.pixels) {
                const full = new OffscreenCanvas(kSide, kSide);
                full.getContext('2d').putImageData(new ImageData(data.pixels, kSide, kSide), 0, 0);
                context.drawImage(full, 0, 0, previewCanvas.width, previewCanvas.height);
            }
        });
    }
    function definitionInForm() {
        const definition = {};
        for (const name of kDefinitionFields)
            definition[name] = defineForm.elements[name].value.trim();
        return definition;
    }
    function showProblem(problem) {
        for (const name of kDefinitionFields) {
            defineForm.elements[name].removeAttribute('aria-invalid');
            defineForm.elements[name].removeAttribute('aria-errormessage');
        }
        defineError.textContent = problem ? problem.message : '';
        if (problem) {
            const field = defineForm.elements[problem.field];
            field.setAttribute('aria-invalid', 'true');
            field.setAttribute('aria-errormessage', 'definir-error');
        }
    }
    function askPreview() {
        localStorage.setItem(kDraftKey, JSON.stringify(definitionInForm()));
        clearTimeout(previewTimer);
        previewTimer = setTimeout(() => worker.postMessage({asked: ++previewAsked, definition: definitionInForm()}), 150);
    }
    $('definir-boton').addEventListener('click', () => {
        if (!worker)
            startWorker();
        let draft = kDefaultDefinition;
        try { draft = {...kDefaultDefinition, ...JSON.parse(localStorage.getItem(kDraftKey) ?? '{}')}; } catch { /* a broken draft: the example */ }
        for (const name of kDefinitionFields)
            defineForm.elements[name].value = draft[name];
        showProblem(null);
        defineDialog.showModal();
        askPreview();
    });
    defineForm.addEventListener('input', askPreview);


    defineDialog.addEventListener('close', () => {
        if (defineDialog.returnValue !== 'aceptar')
            return;
        const definition = definitionInForm();
        const problem = core.check(definition);
        if (problem) {
            showProblem(problem);
            defineDialog.showModal();     // nothing typed is lost: the dialog stays with the message
            defineForm.elements[problem.field].focus();
            return;
        }
        const id = ownIdFor(definition.caption, new Set(core.surfaces().map(s => s.id)));
        const text = ownText() + core.definitionText(id, definition);
        localStorage.setItem(kOwnKey, text);
        loadOwn(text);
        localStorage.removeItem(kDraftKey);
        page.show(core.surfaces().find(s => s.id === id).number);
    });

    // ---- superficies.toml in and out ----
    $('exportar-boton').addEventListener('click', () => {
        if (!ownText()) {
            status.textContent = 'Aún no hay superficies propias: «Definir…» crea una.';
            return;
        }
        status.textContent = '';
        page.download(new TextEncoder().encode(ownText()), 'superficies.toml', 'application/toml');
    });
    $('importar-boton').addEventListener('click', () => $('importar-archivo').click());
    $('importar-archivo').addEventListener('change', async event => {
        const file = event.target.files[0];
        event.target.value = '';
        if (!file)
            return;
        const before = core.surfaces().length - core.galleryLast();   // the user's surfaces so far
        const text = ownText() + '\n' + await file.text();
        const answer = loadOwn(text);
        const imported = Math.max(0, answer.added - before);
        if (answer.added > 0 || !answer.problems.length)
            localStorage.setItem(kOwnKey, text);
        else
            loadOwn(ownText());
        status.textContent = `Superficies importadas: ${imported}.` + (answer.problems.length ? ` ${answer.problems.join(' ')}` : '');
    });

    if (ownText())
        loadOwn(ownText());
}
