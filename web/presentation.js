// The projector: in full screen the controls' text grows with the screen, and the key H hides every
// control but the picture and "Parámetros" (and shows them again). Both rules are the session's, as
// the window's: the page only says which of its parts is which group.

// The page's parts by the session's ControlGroup (session/presentation.h), in its order.
const kGroups = [
    ['.square'],                                         // Picture
    ['#parametros'],                                     // Parameters
    ['.bars'],                                           // Bars
    ['#superficies'],                                    // Surfaces
    ['#vista'],                                          // View
    ['#corte'],                                          // Section
    ['#guardar', '.picture > .row'],                     // Files
    ['header'],                                          // Window
];

// Returns the toggle of the key H.
export function setUpPresentation(core) {
    const root = document.documentElement;
    const ownPixels = parseFloat(getComputedStyle(root).fontSize) || 16;
    function sizeText() {
        root.style.fontSize = document.fullscreenElement
            ? `${core.fullScreenTextPixels(Math.round(ownPixels), window.innerWidth, window.innerHeight)}px` : '';
    }
    document.addEventListener('fullscreenchange', sizeText);
    window.addEventListener('resize', sizeText);

    let presenting = false;
    return function toggle() {
        presenting = !presenting;
        root.classList.toggle('presentacion', presenting);
        kGroups.forEach((selectors, group) => {
            const hide = presenting && !core.shownInPresentation(group);
            for (const part of document.querySelectorAll(selectors.join(',')))
                part.classList.toggle('fuera-de-presentacion', hide);
        });
    };
}
