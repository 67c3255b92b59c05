// The square's input on the page: a drag turns, two fingers and the wheel zoom, and the keys act
// as the window's do; each one call of the core.
import {kZoomBar, kDistanceBar, kLineUp, kLineDown} from './binding.js';

const kOrbitKeyPixels = 10;       // one arrow key turns the view as a drag this long
const kWheelNotch = 100;          // a browser's pixels of one wheel notch: one step of "Z"
const kPinchStep = 12;            // CSS pixels the fingers spread for one step of "Z"
const kArrows = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1]};

// What a key press asks of the page, as the window's keys do; null when it is not the page's (the
// focused control or the browser acts). Keys without Ctrl act on the picture only when it has the
// focus: a letter on a button or a box is that control's. where: {inDialog, onSquare, typing (the
// focus where letters are text)}.
export function keyCommand({key, ctrlKey = false, shiftKey = false, altKey = false, metaKey = false},
                           {inDialog = false, onSquare = false, typing = false} = {}) {
    if (inDialog || altKey || metaKey || typeof key !== 'string')   // a browser's autofill sends keydown without a key
        return null;
    const letter = key.toLowerCase();
    if (key === 'F11' && !ctrlKey && !shiftKey)
        return {name: 'fullScreen'};
    if (key === 'F1')
        return {name: 'help'};
    if (letter === 'h' && !ctrlKey && !shiftKey && !typing)
        return {name: 'presentation'};   // from a slider too: in a presentation the square may not be at hand
    if (ctrlKey && key === ' ')
        return {name: 'turn'};
    if (kArrows[key] && (ctrlKey || onSquare) && !shiftKey)
        return {name: 'orbit', dx: kArrows[key][0], dy: kArrows[key][1]};
    if (!onSquare || ctrlKey)
        return null;
    if (key === '+' || key === '-' || key === 'PageUp' || key === 'PageDown')
        return {name: 'step', bar: key.startsWith('Page') ? kDistanceBar : kZoomBar, up: key === '+' || key === 'PageUp'};
    if (letter === 'f' && !shiftKey)
        return {name: 'frameToFit'};
    if (key === 'Home')
        return {name: 'reset'};
    if (letter === 'g')
        return {name: 'lineWidth', step: shiftKey ? -1 : 1};
    if (letter === 't' && !shiftKey)
        return {name: 'nextTheme'};
    return shiftKey ? null : {name: 'box', letter};   // "Vista"'s boxes, by their letters
}

// page: {core, square, changed(), hasSurface(), view (setUpViewOptions's), motion (setUpMotion's),
// toggleFullScreen(), togglePresentation(), showHelp()}.
export function setUpSquareInput(page) {
    const {core, square, changed, hasSurface, view, motion} = page;
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
        if (!hasSurface() || (event.pointerType === 'mouse' && event.button !== 0))
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
    document.addEventListener('keydown', event => {
        const command = keyCommand(event, {inDialog: !!event.target.closest?.('dialog'), onSquare: event.target === square,
                                           typing: !!typing(event.target)});
        let handled = command !== null;
        switch (command?.name) {
        case 'fullScreen': page.toggleFullScreen(); break;
        case 'help': page.showHelp(); break;
        case 'presentation': page.togglePresentation(); break;
        case 'turn': view.setTurning(!view.turning()); break;
        case 'orbit':
            if (!hasSurface()) return;
            core.orbitKey(command.dx * kOrbitKeyPixels, command.dy * kOrbitKeyPixels);
            changed();
            break;
        case 'step':
            core.scroll(command.bar, command.up ? kLineUp : kLineDown, 0, true);
            changed();
            break;
        case 'frameToFit': view.frameToFit(); break;
        case 'reset':
            core.resetKey();
            motion.showParameterValues();
            changed();
            break;
        case 'lineWidth': view.stepLineWidth(command.step); break;
        case 'nextTheme': view.nextTheme(); break;
        case 'box': handled = view.toggleBox(command.letter); break;
        }
        if (handled)
            event.preventDefault();
    });
}
