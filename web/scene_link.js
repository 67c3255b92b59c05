// The scene in the address: its fragment follows what is shown, so the address bar is the link;
// "Copiar enlace" copies it; a page opened with a fragment shows that scene. With
// "?modo=incrustado" the page is the square alone, for a frame in another site, with a small link
// to the whole page on the same scene.

const kFollowMs = 250;   // the address is rewritten at most this often while the view changes

// The address of the whole page on the same scene: the embedded mode taken out of the query.
function fullPageAddress() {
    const url = new URL(location.href);
    url.searchParams.delete('modo');
    return url.href;
}

// Text to the clipboard; where the browser keeps the clipboard from the page (file://, plain http),
// through a selected field as before the clipboard's interface.
async function copyText(text) {
    try {
        await navigator.clipboard.writeText(text);
        return true;
    } catch {
        const field = document.createElement('textarea');
        field.value = text;
        field.setAttribute('readonly', '');
        field.style.position = 'fixed';
        field.style.opacity = '0';
        document.body.append(field);
        field.select();
        const done = document.execCommand('copy');
        field.remove();
        return done;
    }
}

// In a learning platform's SCORM 1.2 player: its API found in a window above this one (or the one
// that opened it), the lesson begun and, since seeing it is all it asks, completed; finished when
// the page goes. Anywhere else nothing is done.
function greetLearningPlatform() {
    let api = null;
    for (let w = window, depth = 0; w && !api && depth < 10; ++depth) {
        try {
            api = w.API?.LMSInitialize ? w.API : null;
        } catch {
            break;   // a window of another site: no API of ours above it
        }
        w = w.parent === w ? window.opener : w.parent;
    }
    if (!api || String(api.LMSInitialize('')) !== 'true')
        return;
    api.LMSSetValue('cmi.core.lesson_status', 'completed');
    api.LMSCommit('');
    addEventListener('pagehide', () => api.LMSFinish(''), {once: true});
}

export const embeddedMode = new URLSearchParams(location.search).get('modo') === 'incrustado';

// core: the binding; notice: the square's message; setStyle: "Vista" read into the core;
// show(number): the page's controls on a surface the core already shows.
export function setUpSceneLink({core, notice, setStyle, show}) {
    const $ = id => document.getElementById(id);
    const copyButton = $('enlace-boton'), status = $('enlace-estado'), openLink = $('abrir-vexilon');
    let timer = 0;
    let written = location.hash.slice(1);
    greetLearningPlatform();

    function write() {
        timer = 0;
        const text = core.scene();
        if (!text || text === written)
            return;
        written = text;
        history.replaceState(history.state, '', '#' + text);
        openLink.href = fullPageAddress();
        copyButton.disabled = false;
    }
    // After every frame painted and every option changed: the address follows, a few times a second.
    function follow() {
        if (!timer)
            timer = setTimeout(write, kFollowMs);
    }
    $('vista-eje-z').addEventListener('change', follow);

    copyButton.addEventListener('click', async () => {
        clearTimeout(timer);
        write();
        status.textContent = await copyText(location.href) ? 'Enlace copiado.' : 'No se pudo copiar: copie la dirección de la barra.';
    });

    if (embeddedMode) {
        document.documentElement.classList.add('incrustado');
        openLink.hidden = false;
        openLink.href = fullPageAddress();
    }

    // The scene of the address, shown with the page's controls set to it; false when there is
    // none, or it cannot be shown (then said in the square).
    function open() {
        if (location.hash.length < 2)
            return false;
        const answer = core.openScene(location.hash.slice(1));
        if (answer.error) {
            notice.textContent = `El enlace no se puede abrir: ${answer.error}`;
            return false;
        }
        const style = core.style();
        for (const box of document.querySelectorAll('#vista input[data-style]'))
            box.checked = style[box.dataset.style];
        $('vista-grosor').value = String(style.lineWidth);
        $('vista-tema').value = String(style.theme);
        $('vista-eje-z').checked = style.turnZ;
        setStyle();
        show(answer.number);
        copyButton.disabled = false;
        return true;
    }
    return {follow, open};
}
