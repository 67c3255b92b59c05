// The one module that talks to the session compiled to WebAssembly: the page calls features here
// and never touches the module's memory itself.

export const kSide = 500;   // the square, in picture pixels
// How the page shows and types the core's output formats; a format not named here is shown by its
// own name and saved as plain bytes.
const kFormatLooks = {png: ['PNG', 'image/png'], svg: ['SVG', 'image/svg+xml'], trace: ['Trazo', 'text/plain'],
                      gif: ['GIF', 'image/gif'], pdf: ['PDF', 'application/pdf'],
                      eps: ['EPS', 'application/postscript'], tikz: ['TikZ', 'text/x-tex']};
export const kZoomBar = 0, kDistanceBar = 1;
export const kLineUp = 0, kLineDown = 1, kThumbPosition = 4;
// The fields of a definition, by the names the core reads and writes them.
export const kDefinitionFields = ['caption', 'x', 'y', 'z', 'uFrom', 'uTo', 'uLines', 'vFrom', 'vTo', 'vLines', 'samples',
                                  'params', 'lets', 'fit', 'families',
                                  'kind', 'equation', 'box', 'planeFamilies', 'planes', 'grid'];

// The glue's text and the compiled module: from the site's files, or from the single page itself.
export async function fetchCoreSource(base) {
    const [glue, wasm] = await Promise.all([
        fetch(new URL('vexilon.js', base)).then(r => r.ok ? r.text() : Promise.reject(new Error(r.statusText))),
        WebAssembly.compileStreaming(fetch(new URL('vexilon.wasm', base))),
    ]);
    return {glue, wasm};
}

export async function embeddedCoreSource(document) {
    const bytes = Uint8Array.from(atob(document.getElementById('vx-wasm').textContent.trim()), c => c.charCodeAt(0));
    return {glue: document.getElementById('vx-glue').textContent, wasm: await WebAssembly.compile(bytes)};
}

// An instance of the core; require is node's, when the core runs there.
export async function loadCore(source, require = undefined) {
    const factory = new Function('require', '__dirname', source.glue + '\nreturn VexilonModule;')(require, '.');
    const module = await factory({
        instantiateWasm(imports, done) {
            WebAssembly.instantiate(source.wasm, imports).then(instance => done(instance, source.wasm));
            return {};
        },
    });
    return new Core(module);
}

class Core {
    #limits = null;
    constructor(module) { this.m = module; }

    // The session's limits the page shows: {pictureSizeMin, pictureSizeMax, lineWidthMin,
    // lineWidthMax, zoomBarMin, zoomBarMax, distanceBarMin, distanceBarMax, sliderSteps,
    // sectionSteps, turnFrames, wheelNotch}, read once.
    limits() { return this.#limits ??= JSON.parse(this.#text(this.m._vx_limits())); }

    #text(pointer) { return this.m.UTF8ToString(pointer); }

    #withString(text, call) {
        const size = this.m.lengthBytesUTF8(text) + 1;
        const pointer = this.m._malloc(size);
        try {
            this.m.stringToUTF8(text, pointer, size);
            return call(pointer);
        } finally {
            this.m._free(pointer);
        }
    }

    // A definition as the core reads it: a JSON object of texts, by kDefinitionFields' names.
    #fields(definition) { return JSON.stringify(Object.fromEntries(kDefinitionFields.map(name => [name, String(definition[name] ?? '')]))); }

    // A problem names the page's field it stands at: {field, message, position}, or null.
    #problem(json) {
        const answer = JSON.parse(json);
        return answer.message === undefined ? null : answer;
    }

    // Copies side x side pixels 0xAARRGGBB out of the module's memory (which may move) as RGBA.
    // A pixel a word: the module's memory and ImageData are both little-endian here.
    #rgba(pointer, side) {
        const argb = new Uint32Array(this.m.HEAPU8.buffer, pointer, side * side);
        const rgba = new Uint8ClampedArray(side * side * 4);
        const words = new Uint32Array(rgba.buffer);
        for (let i = 0; i < words.length; ++i) {
            const c = argb[i];
            words[i] = 0xff000000 | (c & 0xff00) | ((c >>> 16) & 0xff) | ((c & 0xff) << 16);
        }
        return rgba;
    }

    // Reads the gallery and the user's superficies.toml text; the problems found, in Spanish.
    start(ownText = '') { return JSON.parse(this.#withString(ownText, p => this.#text(this.m._vx_start(p)))); }
    // start in two steps, for the page to draw one of the eight sooner: the text taken and nothing
    // read; then the gallery and the user's surfaces read (once, or at the first call that needs them).
    prepare(ownText = '') { this.#withString(ownText, p => this.m._vx_prepare(p)); }
    readSurfaces() { return JSON.parse(this.#text(this.m._vx_read_surfaces())); }

    // The eight, then the gallery's and the user's: [{n, id, caption, own}]; the eight alone before
    // the surfaces are read.
    surfaces() { return JSON.parse(this.#text(this.m._vx_surfaces())); }

    choose(number) { this.m._vx_choose(number); }
    resetKey() { this.m._vx_reset_key(); }
    press(x, y) { this.m._vx_press(x, y); }
    move(x, y) { this.m._vx_move(x, y); }
    release() { this.m._vx_release(); }
    orbitKey(dx, dy) { this.m._vx_orbit_key(dx, dy); }
    wheel(angleDelta) { this.m._vx_wheel(angleDelta); }
    // A bar's own message; key: the bar's arrow standing for a key.
    scroll(bar, code, position = 0, key = false) { this.m._vx_scroll(bar, code, position, key ? 1 : 0); }
    barPosition(bar) { return this.m._vx_bar_position(bar); }
    barLeast(bar) { return this.m._vx_bar_least(bar); }
    // "Encuadrar": the zoom at which the surface fills the square, as the window's.
    frameToFit() { this.m._vx_frame_to_fit(); }
    // The projector: the controls' text on a full screen (own: the page's own size), and whether a
    // presentation keeps a group of controls (an index of the session's ControlGroup).
    fullScreenTextPixels(own, width, height) { return this.m._vx_full_screen_text_pixels(own, width, height); }
    shownInPresentation(group) { return this.m._vx_shown_in_presentation(group) !== 0; }
    turnTick() { this.m._vx_turn_tick(); }
    frames() { return this.m._vx_frames(); }
    // s: {hiddenLines, depthCue, anaglyph, swapEyes, parallel, lineWidth, theme (an index of themes()), axes, ticks}.
    setStyle(s) {
        this.m._vx_set_style(+!!s.hiddenLines, +!!s.depthCue, +!!s.anaglyph, +!!s.swapEyes, +!!s.parallel, s.lineWidth | 0 || 1,
                             s.theme | 0, +!!s.axes, +!!s.ticks);
    }
    // The shown scene as the address's fragment holds it ('' before a surface); a link's scene
    // shown: {number} or {error} in Spanish; the style it left, as setStyle takes it, and turnZ.
    scene() { return this.#text(this.m._vx_scene()); }
    openScene(text) { return JSON.parse(this.#withString(text, p => this.#text(this.m._vx_open_scene(p)))); }
    style() { return JSON.parse(this.#text(this.m._vx_style())); }
    // "Corte": axis 0, 1, 2 (x, y, z) or -1 (none); the slider's step; {steps, step, plane, value},
    // plane as --section takes it ('' when off). The setters say whether the picture changed.
    setSectionAxis(axis) { return this.m._vx_set_section_axis(axis) === 1; }
    setSectionStep(step) { return this.m._vx_set_section_step(step | 0) === 1; }
    section() { return JSON.parse(this.#text(this.m._vx_section())); }
    // The themes in order: [{name, caption, lineWidth}].
    themes() { return JSON.parse(this.#text(this.m._vx_themes())); }
    // The turntable and a saved turn about the surface's z axis (true) or the picture's vertical.
    setTurnAxis(z) { this.m._vx_set_turn_axis(z ? 1 : 0); }

    // The shown frame as side x side RGBA pixels: the window's square at kSide, the figure at that
    // size at any other (a screen of more pixels); null before the first frame.
    draw(side = kSide) {
        const pointer = this.m._vx_draw(side);
        return pointer ? this.#rgba(pointer, side) : null;
    }

    // The same as an ImageData over the module's memory, for the canvas to copy at once: no pixel is
    // touched here, so a large screen's frame costs no more of the page's script than a small one's.
    frame(side = kSide) {
        const pointer = this.m._vx_draw_rgba(side);
        return pointer ? new ImageData(new Uint8ClampedArray(this.m.HEAPU8.buffer, pointer, side * side * 4), side, side) : null;
    }

    // The letters of the axes at side pixels, which the core's pictures leave out here:
    // [{x, y, height, text, colour}], the middle of each and a capital letter's height.
    figureTexts(side = kSide) { return JSON.parse(this.#text(this.m._vx_figure_texts(side))); }

    // The shown surface's parameters: [{name, least, greatest, value}]; none for the eight.
    parameters() { return JSON.parse(this.#text(this.m._vx_parameters())); }
    // The value at a position of parameter name's slider, as the window's sliders map it.
    sliderValue(name, position) { return this.#withString(name, p => this.m._vx_slider_value(p, position)); }
    // A slider moved: the surface sampled at value, the view kept; false when it cannot be.
    setParameter(name, value) { return this.#withString(name, p => this.m._vx_set_parameter(p, value)) === 1; }
    // "Animar": one step of the parameter back and forth across its range.
    // "Animar", by the session's rules: another surface's sliders, a slider moved, the box (true when
    // its timer ticks), one tick, what a save proposes ('' for the turn), going on after a save.
    sweepShow() { this.m._vx_sweep_show(); }
    sweepMoved(name) { this.#withString(name, p => this.m._vx_sweep_moved(p)); }
    setSweeping(on) { return this.m._vx_sweep_set_running(on ? 1 : 0) !== 0; }
    sweepTick() { this.m._vx_sweep_tick(); }
    proposedAnimation() { return this.#text(this.m._vx_sweep_proposed()); }
    sweepGoesOn(ran) { return this.m._vx_sweep_goes_on(ran ? 1 : 0) !== 0; }

    #bytes(pointer) { return pointer ? this.m.HEAPU8.slice(pointer, pointer + this.m._vx_bytes_size()) : null; }

    // The core's output formats in its order: [{name, extension, label, type}].
    formats() {
        return JSON.parse(this.#text(this.m._vx_formats())).map(f => {
            const [label, type] = kFormatLooks[f.name] ?? [f.name.toUpperCase(), 'application/octet-stream'];
            return {...f, label, type};
        });
    }

    // The name of a download of the shown frame in the format named ('png', 'gif', …), the session's.
    fileName(formatName) { return this.#withString(formatName, p => this.#text(this.m._vx_file_name(p))); }

    // The shown frame as the bytes of a file in format (an index of formats()), the square size
    // pixels a side; null on failure.
    // The line width that choosing the theme of that index brings.
    themedLineWidth(theme) { return this.m._vx_themed_line_width(theme); }
    // Whether the style and the section as they stand refuse a trace, as the command line does.
    traceRefused() { return this.m._vx_trace_refused() === 1; }
    encode(format, size = kSide) { return this.#bytes(this.m._vx_encode(format, size)); }
    // The shown frame's state for a save in another core ('' without a frame); that state opened
    // here: true when this core now draws the same frame to the bit.
    saveState() { return this.#text(this.m._vx_save_state()); }
    openSaveState(text) { return this.#withString(text, p => this.m._vx_open_save_state(p)) === 1; }

    // "Guardar animación…" begun: the turn (sweep '') or the sweep of that parameter, its value in
    // each frame's corner when labelled, encoded by animationStep a few frames at a time. {count} or {error}.
    animationStart(sweep = '', labelled = false) {
        return JSON.parse(this.#withString(sweep, p => this.#text(this.m._vx_animation_start(p, labelled ? 1 : 0))));
    }
    // Up to frames more frames encoded: the count done, or -1 on failure (animationProblem() says why).
    animationStep(frames) { return this.m._vx_animation_step(frames); }
    animationProblem() { return this.#text(this.m._vx_animation_problem()); }
    // The GIF once every frame is done; null on failure. The animation ends either way.
    animationFinish() { return this.#bytes(this.m._vx_animation_finish()); }
    animationCancel() { this.m._vx_animation_cancel(); }

    // Samples a definition and shows it: {problem: null or {field, message, position}, warning}.
    // A parameter no formula uses is only a warning, in Spanish: the preview is drawn without it.
    preview(definition) {
        const json = this.#withString(this.#fields(definition), p => this.#text(this.m._vx_preview(p)));
        return {problem: this.#problem(json), warning: JSON.parse(json).warning ?? ''};
    }
    check(definition) { return this.#problem(this.#withString(this.#fields(definition), p => this.#text(this.m._vx_check(p)))); }
    // What "Definir…" starts from: the session's choice for the surface shown, by kDefinitionFields' names.
    startingDefinition() { return JSON.parse(this.#text(this.m._vx_starting_definition())); }

    // "Aceptar": the definition shown and listed until the page closes; its number.
    accept(definition) { return this.#withString(this.#fields(definition), p => this.m._vx_accept(p)); }
    // Why a definition may not be saved before it is tried (a caption that names nothing): '' or the reason.
    saveRefusal(definition) { return this.#withString(this.#fields(definition), p => this.#text(this.m._vx_save_refusal(p))); }
    // "Guardar en mis superficies": '' or the reason, in Spanish.
    save(definition) { return this.#withString(this.#fields(definition), p => this.#text(this.m._vx_save(p))); }
    // The user's superficies.toml as it stands.
    ownText() { return this.#text(this.m._vx_own_text()); }
    // Another superficies.toml added to the user's: {added, problems}.
    import(text) { return JSON.parse(this.#withString(text, p => this.#text(this.m._vx_import(p)))); }
    // The user's surfaces read anew from text: a change the browser could not keep undone.
    setOwnText(text) { this.#withString(text, p => this.m._vx_set_own_text(p)); }
    // The most bytes a superficies.toml may hold.
    maxImportBytes() { return this.m._vx_max_import_bytes(); }
}
