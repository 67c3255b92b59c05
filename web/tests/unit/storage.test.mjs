// The browser's storage as far as it is lent: blocked, full or failing, the page goes on and says why.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {kNothingKept, keep, readKept, storageLent} from '../../storage.js';

// A window whose localStorage is the given one, or whose reading throws as a blocked one's does.
function withStorage(storage, body) {
    globalThis.window = storage === 'blocked'
        ? Object.defineProperty({}, 'localStorage', {get() { throw new DOMException('denied', 'SecurityError'); }})
        : {localStorage: storage};
    try { body(); } finally { delete globalThis.window; }
}

function memoryStorage(failure = null) {
    const items = new Map();
    return {
        items,
        getItem: key => items.get(key) ?? null,
        setItem(key, text) {
            if (failure)
                throw failure;
            items.set(key, text);
        },
    };
}

test('lent: kept and read back', () => withStorage(memoryStorage(), () => {
    assert.equal(storageLent(), true);
    assert.equal(readKept('k'), null);
    assert.equal(keep('k', 'a = 1'), '');
    assert.equal(readKept('k'), 'a = 1');
}));

test('blocked, or none at all: nothing read, nothing kept, and the page says so', () => {
    for (const storage of ['blocked', null, undefined])
        withStorage(storage, () => {
            assert.equal(storageLent(), false);
            assert.equal(readKept('k'), null);
            assert.equal(keep('k', 'a = 1'), kNothingKept);
        });
});

test('full, or failing otherwise: told in Spanish, and what was kept before stays', () => {
    const full = memoryStorage(new DOMException('full', 'QuotaExceededError'));
    full.items.set('k', 'before');
    withStorage(full, () => {
        assert.match(keep('k', 'after'), /almacenamiento del navegador está lleno/);
        assert.equal(readKept('k'), 'before');
    });
    withStorage(memoryStorage(new Error('disco roto')), () => assert.equal(keep('k', 'x'), 'No se pudo guardar: disco roto'));
    const unreadable = {getItem() { throw new Error('gone'); }};
    withStorage(unreadable, () => assert.equal(readKept('k'), null));
});
