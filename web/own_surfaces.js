// "Definir…" and the user's own surfaces: kept in the browser as the text of a superficies.toml,
// imported and exported as that file; the dialog's preview sampled as it is typed (preview.js).
import {kSide, kDefinitionFields} from './binding.js';
import {keep, readKept, storageLent} from './storage.js';
import {startPreview} from './preview.js';

export const kOwnKey = 'vexilon.superficies';   // the user's own surfaces: a superficies.toml text
const kDraftKey = 'vexilon.borrador';    // what the definition dialog holds, kept as it is typed

// page: {core, source, download(bytes, name, type), relist(), show(number)}; the session reads
// the user's superficies.toml at the first call that needs it.
export function setUpOwnSurfaces(page) {
    const {core, source} = page;
    const $ = id => document.getElementById(id);
    const defineDialog = $('definir'), defineForm = $('definir-formulario'), defineError = $('definir-error');
    const status = $('superficies-estado');

    // The session's superficies.toml kept in the browser's storage after every change: '' or why
    // not. A full storage undoes the change (before: the text until then), so the list is what is kept.
    function keepOwnText(before) {
        const reason = keep(kOwnKey, core.ownText());
        if (reason && storageLent())
            core.setOwnText(before);
        return reason;
    }

    // ---- "Definir…": the user's own surface, previewed as it is typed ----
    const previewCanvas = $('vista-previa');
    let previewer = null, previewAsked = 0, previewTimer = 0;

    function startWorker() {
        previewer = startPreview(source, data => {
            if (data.asked !== previewAsked)
                return;      // an older definition's answer
            showProblem(data.problem, data.warning);
            if (data.pixels) {
                const full = new OffscreenCanvas(kSide, kSide);
                full.getContext('2d').putImageData(new ImageData(data.pixels, kSide, kSide), 0, 0);
                previewCanvas.getContext('2d').drawImage(full, 0, 0, previewCanvas.width, previewCanvas.height);
            }
        });
    }
    function definitionInForm() {
        const definition = {};
        for (const name of kDefinitionFields)
            definition[name] = defineForm.elements[name].value.trim();
        return definition;
    }
    // A problem at its field, or else a warning that leaves the preview drawn.
    function showProblem(problem, warning = '') {
        for (const name of kDefinitionFields) {
            defineForm.elements[name].removeAttribute('aria-invalid');
            defineForm.elements[name].removeAttribute('aria-errormessage');
        }
        defineError.textContent = problem ? problem.message : warning;
        defineError.classList.toggle('warning', !problem && warning !== '');
        if (problem) {
            const field = defineForm.elements[problem.field];
            field.setAttribute('aria-invalid', 'true');
            field.setAttribute('aria-errormessage', 'definir-error');
        }
    }
    // The kind's fields shown, the other kind's hidden.
    function showKind() {
        for (const group of defineForm.querySelectorAll('.kind-fields'))
            group.hidden = group.dataset.kind !== defineForm.elements.kind.value;
    }
    function askPreview() {
        showKind();
        keep(kDraftKey, JSON.stringify(definitionInForm()));
        clearTimeout(previewTimer);
        previewTimer = setTimeout(() => previewer(++previewAsked, definitionInForm()), 150);
    }
    $('definir-boton').addEventListener('click', () => {
        if (!previewer)
            startWorker();
        const start = core.startingDefinition();
        let draft = start;
        try { draft = {...start, ...JSON.parse(readKept(kDraftKey) ?? '{}')}; } catch { /* a broken draft: the example */ }
        for (const name of kDefinitionFields)
            defineForm.elements[name].value = draft[name];
        showProblem(null);
        defineDialog.showModal();
        askPreview();
    });
    defineForm.addEventListener('input', askPreview);


    // Checks what is typed; the problem shown at its field, and false, when there is one.
    function checked(definition) {
        const problem = core.check(definition);
        showProblem(problem);
        if (problem)
            defineForm.elements[problem.field].focus();
        return !problem;
    }
    defineDialog.addEventListener('close', () => {
        if (defineDialog.returnValue !== 'aceptar')
            return;
        const definition = definitionInForm();
        if (!checked(definition)) {
            defineDialog.showModal();     // nothing typed is lost: the dialog stays with the message
            return;
        }
        const number = core.accept(definition);
        page.relist();
        page.show(number);
    });
    $('definir-guardar').addEventListener('click', () => {
        const definition = definitionInForm();
        if (!checked(definition))
            return;
        const refused = core.saveRefusal(definition);
        if (refused) {
            defineError.textContent = refused;
            defineForm.elements.caption.focus();
            return;
        }
        const before = core.ownText();
        const error = core.save(definition);
        const reason = error ? '' : keepOwnText(before);
        defineError.textContent = error || (!reason ? 'Guardada entre sus superficies.'
            : storageLent() ? reason : 'Guardada solo hasta cerrar la página: este navegador no deja guardar datos.');
        if (!error)
            page.relist();
    });

    // ---- superficies.toml in and out ----
    $('exportar-boton').addEventListener('click', () => {
        const text = core.ownText();
        if (!text) {
            status.textContent = 'Aún no hay superficies propias guardadas: «Definir…» crea una.';
            return;
        }
        status.textContent = '';
        page.download(new TextEncoder().encode(text), 'superficies.toml', 'application/toml');
    });
    $('importar-boton').addEventListener('click', () => $('importar-archivo').click());
    $('importar-archivo').addEventListener('change', async event => {
        const file = event.target.files[0];
        event.target.value = '';
        if (!file)
            return;
        if (file.size > core.maxImportBytes()) {   // measured before it is read
            const limit = core.maxImportBytes() / (1024 * 1024);
            status.textContent = `«${file.name}» ocupa más de ${limit} MB; se aceptan archivos de hasta ${limit} MB.`;
            return;
        }
        const before = core.ownText();
        const answer = core.import(await file.text());
        const reason = answer.added ? keepOwnText(before) : '';
        page.relist();
        const problems = answer.problems.length ? ` ${answer.problems.join(' ')}` : '';
        status.textContent = reason && storageLent() ? `No se importó ninguna superficie. ${reason}`
            : `Superficies importadas: ${answer.added}.` + problems + (reason ? ` ${reason}` : '');
    });
}
