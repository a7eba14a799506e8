// The player bar's arithmetic (platform/web/page/timeline.js), run by Node without a browser:
// the file is loaded as the page loads it, a plain script that leaves qvlTimeline behind.
// Usage: node --test tests/web/page_timeline_test.js
'use strict';
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const test = require('node:test');
const vm = require('node:vm');

const source = path.join(__dirname, '..', '..', 'platform', 'web', 'page', 'timeline.js');
const context = {};
vm.runInNewContext(fs.readFileSync(source, 'utf8') + '\nthis.qvlTimeline = qvlTimeline;', context);
const T = context.qvlTimeline;
const chapters = [['logo', 0], ['helix', 5], ['landscape', 74], ['tube', 94], ['face', 134]];

test('a time reads as the whole seconds a clock shows', () => {
  const cases = [[0, '0:00'], [9.99, '0:09'], [60, '1:00'], [94.6, '1:34'], [172, '2:52'], [599.5, '9:59'],
                 [600, '10:00'], [-3, '0:00'], [undefined, '0:00']];
  for (const [seconds, shown] of cases) assert.strictEqual(T.clock(seconds), shown, `${seconds} s`);
});

test('each chapter lasts until the next one starts, the last until the end', () => {
  const list = T.segments(chapters, 172);
  assert.deepStrictEqual(list.map((s) => [s.name, s.start, s.end]),
                         [['logo', 0, 5], ['helix', 5, 74], ['landscape', 74, 94], ['tube', 94, 134], ['face', 134, 172]]);
  const at = (time) => T.segmentAt(list, time).name;
  assert.deepStrictEqual([0, 4.99, 5, 93.99, 94, 171.9, 172].map(at),
                         ['logo', 'logo', 'helix', 'landscape', 'tube', 'face', 'face']);
});

test('a place on the track is a time, the ends beyond it', () => {
  // A track 400 px wide from x = 100.
  assert.strictEqual(T.timeAt(300, 100, 400, 172), 86);
  assert.strictEqual(T.timeAt(400, 100, 400, 172), 129);
  assert.strictEqual(T.timeAt(40, 100, 400, 172), 0);
  assert.strictEqual(T.timeAt(900, 100, 400, 172), 172);
  assert.strictEqual(T.timeAt(300, 100, 0, 172), 0);  // not laid out yet
});

test('a moment\'s link keeps the address and drops the rest of the hash', () => {
  assert.strictEqual(T.linkAt('https://example.org/taluvine/index.html', 94.7), 'https://example.org/taluvine/index.html#t=94');
  assert.strictEqual(T.linkAt('http://127.0.0.1:8000/#t=3&hold', 12), 'http://127.0.0.1:8000/#t=12');
  assert.strictEqual(T.linkAt('http://h/?a=1#full', 0.4), 'http://h/?a=1#t=0');
});

test('the hash asks for a start time, the checks\' hold and every pixel, in any order', () => {
  const read = (hash) => { const r = T.readHash(hash); return [r.startTime, r.hold, r.full]; };
  assert.deepStrictEqual(read(''), [0, false, false]);
  assert.deepStrictEqual(read('#t=94&full'), [94, false, true]);
  assert.deepStrictEqual(read('#full&t=12.5&hold'), [12.5, true, true]);
  assert.deepStrictEqual(read('#t=abc'), [0, false, false]);
  assert.deepStrictEqual(read('#fullness&holdout'), [0, false, false]);
  assert.deepStrictEqual(read('#at=5'), [0, false, false]);
});
