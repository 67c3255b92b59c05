// "Pantalla completa": the page on the whole screen, where the square grows with it, as the
// window's F11; Esc (the browser's own) or the button again goes back.

// button: the toggle; it says whether the page is on the whole screen.
export function setUpFullScreen(button) {
    const root = document.documentElement;
    if (!root.requestFullscreen) {
        button.hidden = true;        // a browser without the Fullscreen API (an iPhone's)
        return () => {};
    }
    const show = () => button.setAttribute('aria-pressed', String(document.fullscreenElement !== null));
    function toggle() {
        const asked = document.fullscreenElement ? document.exitFullscreen() : root.requestFullscreen({navigationUI: 'hide'});
        asked?.catch?.(() => { /* refused (an embedding frame without the permission): the page stays as it is */ });
    }
    button.addEventListener('click', toggle);
    document.addEventListener('fullscreenchange', show);
    show();
    return toggle;
}
