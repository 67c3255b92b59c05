// The page's keys, as the window's: which press asks what, wherever the focus is.
import {test} from 'node:test';
import assert from 'node:assert/strict';
import {keyCommand} from '../../square_input.js';
import {kZoomBar, kDistanceBar} from '../../binding.js';

const onSquare = {onSquare: true}, onButton = {}, inField = {typing: true}, inDialog = {onSquare: true, inDialog: true};
const name = (event, where) => keyCommand(event, where)?.name ?? null;

test('letters act on the picture only: on a button or in a field they are the control\'s', () => {
    for (const key of ['p', 'P', 'f', 'g', 't', 'z', 'a', '+', '-', 'PageUp', 'Home']) {
        assert.equal(keyCommand({key}, onButton), null, key);
        assert.equal(keyCommand({key}, inField), null, key);
        assert.notEqual(keyCommand({key}, onSquare), null, key);
    }
    assert.deepEqual(keyCommand({key: 'p'}, onSquare), {name: 'box', letter: 'p'});
    assert.deepEqual(keyCommand({key: 'P'}, onSquare), {name: 'box', letter: 'p'});
    assert.equal(keyCommand({key: 'P', shiftKey: true}, onSquare), null);
});

test('keys that act from anywhere, and where even they stop', () => {
    assert.equal(name({key: 'F11'}, onButton), 'fullScreen');
    assert.equal(name({key: 'F11', shiftKey: true}, onSquare), null);
    assert.equal(name({key: 'F1'}, inField), 'help');
    assert.equal(name({key: 'h'}, onButton), 'presentation');
    assert.equal(name({key: 'H'}, onSquare), 'presentation');
    assert.equal(name({key: 'h'}, inField), null);
    assert.equal(name({key: ' ', ctrlKey: true}, onButton), 'turn');
    assert.notEqual(name({key: ' '}, onSquare), 'turn');
    for (const where of [onSquare, onButton, inField])
        for (const event of [{key: 'F1', altKey: true}, {key: 'h', metaKey: true}, {key: 'ArrowLeft', altKey: true, ctrlKey: true}])
            assert.equal(keyCommand(event, where), null);
    assert.equal(keyCommand({key: 'F11'}, inDialog), null);
    assert.equal(keyCommand({key: undefined}, onSquare), null);
});

test('arrows turn the picture: on it, or with Ctrl from anywhere; never with Shift', () => {
    assert.deepEqual(keyCommand({key: 'ArrowLeft'}, onSquare), {name: 'orbit', dx: -1, dy: 0});
    assert.deepEqual(keyCommand({key: 'ArrowDown', ctrlKey: true}, onButton), {name: 'orbit', dx: 0, dy: 1});
    assert.equal(keyCommand({key: 'ArrowUp'}, onButton), null);
    assert.equal(keyCommand({key: 'ArrowRight', shiftKey: true}, onSquare), null);
});

test('the bars\' keys and the rest of the window\'s on the picture', () => {
    assert.deepEqual(keyCommand({key: '+'}, onSquare), {name: 'step', bar: kZoomBar, up: true});
    assert.deepEqual(keyCommand({key: '-'}, onSquare), {name: 'step', bar: kZoomBar, up: false});
    assert.deepEqual(keyCommand({key: 'PageUp'}, onSquare), {name: 'step', bar: kDistanceBar, up: true});
    assert.deepEqual(keyCommand({key: 'PageDown'}, onSquare), {name: 'step', bar: kDistanceBar, up: false});
    assert.equal(keyCommand({key: '+', ctrlKey: true}, onSquare), null);   // the browser's zoom
    assert.equal(name({key: 'F'}, onSquare), 'frameToFit');
    assert.equal(name({key: 'Home'}, onSquare), 'reset');
    assert.deepEqual(keyCommand({key: 'g'}, onSquare), {name: 'lineWidth', step: 1});
    assert.deepEqual(keyCommand({key: 'G', shiftKey: true}, onSquare), {name: 'lineWidth', step: -1});
    assert.equal(name({key: 't'}, onSquare), 'nextTheme');
    assert.equal(keyCommand({key: 'T', shiftKey: true}, onSquare), null);
});
