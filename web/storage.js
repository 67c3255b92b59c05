// The browser's storage, as far as the browser lends it: blocked (reading localStorage throws a
// SecurityError, or there is none) the page works on and says nothing will be kept; full, a change
// is told in Spanish and undone, so nothing is half kept.

export const kNothingKept = 'Este navegador no deja guardar datos de esta página: sus superficies se perderán al cerrarla.';
const kFull = 'El almacenamiento del navegador está lleno: no se guardó nada. Exporte sus superficies o libere espacio.';

function storage() {
    try { return window.localStorage ?? null; } catch { return null; }
}

export function storageLent() { return storage() !== null; }

// What is kept under key, or null.
export function readKept(key) {
    try { return storage()?.getItem(key) ?? null; } catch { return null; }
}

// Keeps text under key: '' when kept, else why not, in Spanish; what was kept before stays.
export function keep(key, text) {
    const kept = storage();
    if (!kept)
        return kNothingKept;
    try {
        kept.setItem(key, text);
        return '';
    } catch (error) {
        return error?.name === 'QuotaExceededError' ? kFull : `No se pudo guardar: ${error?.message ?? error}`;
    }
}
