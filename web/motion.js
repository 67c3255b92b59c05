// What moves on the page besides the view: the "Parámetros" group (a slider for each parameter of
// the shown surface, and "Animar") and "Guardar animación…", whose frames are made a few at a time
// between the page's events, with its progress and "Cancelar".

const kSweepTickMs = 40;          // "Animar" at the turntable's rate, as the window's
const kAnimationTaskMs = 30;      // frames of a saved animation made this long at a time

// page: {core, notice, schedulePaint(), download(bytes, name, type), hasSurface(),
// pauseTurning() -> whether it was on, resumeTurning(on)}. Returns what the page calls as the
// surface or the view changes: showParameters(another), showParameterValues(), saving().
export function setUpMotion(page) {
    const {core, notice} = page;
    const $ = id => document.getElementById(id);
    const animationButton = $('animacion-boton');

    const parameterBox = $('parametros'), parameterList = $('parametros-lista'), animateBox = $('parametros-animar');
    const animationKind = $('animacion-tipo'), labelBox = $('animacion-valor');
    let parameters = [];           // as the core gave them: {name, least, greatest, value, position}
    let sweepTimer = 0;

    const shownValue = value => String(Number(value.toPrecision(3)));

    // The group built anew for another surface; for the same one its values as the core keeps them.
    function showParameters(another) {
        if (!another) {
            showParameterValues();
            return;
        }
        setSweeping(false);
        parameters = core.parameters();
        core.sweepShow();
        parameterList.replaceChildren();
        parameters.forEach((parameter, index) => {
            const id = `parametro-${index}`;
            const label = document.createElement('label');
            label.htmlFor = id;
            label.textContent = parameter.name;
            const slider = document.createElement('input');
            Object.assign(slider, {type: 'range', id, min: '0', max: String(core.limits().sliderSteps), step: '1'});
            slider.dataset.name = parameter.name;
            slider.title = `${parameter.name}: de ${shownValue(parameter.least)} a ${shownValue(parameter.greatest)}`;
            const output = document.createElement('output');
            output.htmlFor = id;
            slider.addEventListener('input', () => {
                core.sweepMoved(parameter.name);
                if (!core.setParameter(parameter.name, core.sliderValue(parameter.name, Number(slider.value))))
                    notice.textContent = `No hay puntos de la superficie con ${parameter.name} = ${shownValue(core.sliderValue(parameter.name, Number(slider.value)))}.`;
                else if (notice.textContent.startsWith('No hay puntos'))
                    notice.textContent = '';
                showParameterValues();
                page.schedulePaint();
            });
            parameterList.append(label, slider, output);
        });
        parameterBox.hidden = parameters.length === 0;
        animationKind.replaceChildren(new Option('Giro', ''), ...parameters.map(p => new Option(`Barrido de ${p.name}`, p.name)));
        for (const control of document.querySelectorAll('.animation-kind'))
            control.hidden = parameters.length === 0;
        showLabelChoice();
        showParameterValues();
    }
    function showParameterValues() {
        parameters = core.parameters();
        for (const slider of parameterList.querySelectorAll('input')) {
            const parameter = parameters.find(p => p.name === slider.dataset.name);
            if (!parameter)
                continue;
            slider.value = String(parameter.position);
            slider.nextElementSibling.value = shownValue(parameter.value);
            slider.setAttribute('aria-valuetext', `${parameter.name} = ${shownValue(parameter.value)}`);
        }
    }
    // propose: the choice of animation follows, as when the user presses "Animar".
    function setSweeping(on, propose = true) {
        animateBox.checked = on;
        clearInterval(sweepTimer);
        sweepTimer = core.setSweeping(on) ? setInterval(() => {
            if (document.hidden) return;
            core.sweepTick();
            showParameterValues();
            page.schedulePaint();
        }, kSweepTickMs) : 0;
        // What "Animar" shows is what is most likely wanted saved, as the window proposes it.
        if (propose && parameters.length)
            animationKind.value = core.proposedAnimation();
        showLabelChoice();
    }
    animateBox.addEventListener('change', () => setSweeping(animateBox.checked));
    // "Mostrar el valor" names a sweep's value: a turn has none.
    function showLabelChoice() { labelBox.disabled = animationKind.value === ''; }
    animationKind.addEventListener('change', showLabelChoice);

    // "Guardar animación…": the frames made a few at a time between the page's events, with the
    // progress shown and "Cancelar", which leaves no download.
    const progressRow = $('animacion-progreso'), progressBar = $('animacion-barra');
    let saving = false, cancelled = false;
    const nextTask = () => new Promise(resolve => {
        const channel = new MessageChannel();
        channel.port1.onmessage = resolve;
        channel.port2.postMessage(null);
    });
    $('animacion-cancelar').addEventListener('click', () => { cancelled = true; });
    document.addEventListener('keydown', event => {
        if (saving && event.key === 'Escape' && !event.target.closest?.('dialog'))
            cancelled = true;     // as a progress dialog's Escape
    });
    animationButton.addEventListener('click', async () => {
        if (saving)
            return;
        const name = core.fileName('gif');
        const sweep = animationKind.hidden ? '' : animationKind.value;
        const started = core.animationStart(sweep, sweep !== '' && labelBox.checked);
        if (started.error) {
            notice.textContent = `No se pudo crear la animación: ${started.error}.`;
            return;
        }
        const wasTurning = page.pauseTurning(), wasSweeping = animateBox.checked;
        // The button is disabled meanwhile: a keyboard's focus waits on "Cancelar", then comes back.
        const hadFocus = document.activeElement === animationButton;
        clearInterval(sweepTimer);
        saving = true;
        cancelled = false;
        animationButton.disabled = true;
        progressBar.max = started.count;
        progressBar.value = 0;
        progressRow.hidden = false;
        if (hadFocus)
            $('animacion-cancelar').focus();
        let done = 0;
        while (done >= 0 && done < started.count) {
            await nextTask();          // the page's own events first: a click, a key, "Cancelar"
            if (cancelled)
                break;
            const begun = performance.now();
            do
                done = core.animationStep(1);
            while (done >= 0 && done < started.count && performance.now() - begun < kAnimationTaskMs);
            progressBar.value = Math.max(done, 0);
            progressBar.textContent = `${Math.max(done, 0)} de ${started.count}`;
        }
        const problem = done < 0 ? core.animationProblem() : '';
        const bytes = cancelled || done < 0 ? null : core.animationFinish();
        if (cancelled || done < 0)
            core.animationCancel();
        progressRow.hidden = true;
        saving = false;
        animationButton.disabled = !page.hasSurface();
        if (hadFocus && [document.body, null, $('animacion-cancelar')].includes(document.activeElement))
            animationButton.focus();
        notice.textContent = cancelled ? '' : bytes ? '' : `No se pudo crear la animación${problem ? `: ${problem}` : ''}.`;
        if (bytes)
            page.download(bytes, name, 'image/gif');
        page.resumeTurning(wasTurning);
        // Going on as before, unless another surface came meanwhile; the choice made stays.
        setSweeping(core.sweepGoesOn(wasSweeping), false);
    });

    return {showParameters, showParameterValues, saving: () => saving};
}
