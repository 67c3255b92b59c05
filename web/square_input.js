// The square's input on the page: a drag turns, two fingers and the wheel zoom, and the keys act
// as the window's do; each one call of the core.
import {kZoomBar, kDistanceBar, kLineUp, kLineDown} from './binding.js';

const kOrbitKeyPixels = 10;       // one arrow key turns the view as a drag this long
const kWheelNotch = 100;          // a browser's pixels of one wheel notch: one step of "Z"
const kPinchStep = 12;            // CSS pixels the fingers spread for one step of "Z"
const kArrows = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1]};

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
        if (event.target.closest?.('dialog') || event.altKey || event.metaKey)
            return;
        // Keys without Ctrl act on the picture only when it has the focus: a letter on a button or a
        // box is that control's.
        const onSquare = event.target === square;
        let handled = true;
        if (event.key === 'F11' && !event.ctrlKey && !event.shiftKey) {
            page.toggleFullScreen();
        } else if (event.key === 'F1') {
            page.showHelp();
        } else if (event.key.toLowerCase() === 'h' && !event.ctrlKey && !event.shiftKey && !typing(event.target)) {
            page.togglePresentation();   // from a slider too: in a presentation the square may not be at hand
        } else if (event.ctrlKey && event.key === ' ') {
            view.setTurning(!view.turning());
        } else if (kArrows[event.key] && (event.ctrlKey || onSquare) && !event.shiftKey) {
            if (!hasSurface()) return;
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
            view.frameToFit();
        } else if (event.key === 'Home') {
            core.resetKey();
            motion.showParameterValues();
            changed();
        } else if (event.key.toLowerCase() === 'g') {
            view.stepLineWidth(event.shiftKey ? -1 : 1);
        } else if (event.key.toLowerCase() === 't' && !event.shiftKey) {
            view.nextTheme();
        } else {
            handled = !event.shiftKey && view.toggleBox(event.key.toLowerCase());
        }
        if (handled)
            event.preventDefault();
    });
}
