'use strict';
// node --test: the package against installed libraries (found through
// KARPA_LIB_DIR, pkg-config or the system loader path).

const test = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const { spawnSync } = require('node:child_process');

// The installed package when there is one, else this checkout's.
let where;
try { where = require.resolve('karpa'); } catch { where = path.join(__dirname, '..'); }
const karpa = require(where);
const { EXPORTS } = require(path.join(path.dirname(require.resolve(where)), 'exports.js'));
const { seq, curried, datetime, crypto, KarpaError } = karpa;

test('every export answers its table example', () => {
  const modules = { seq, curried, datetime, crypto };
  for (const e of EXPORTS) {
    const call = () => modules[e.library][e.function](...e.example);
    if (e.result === null) {
      assert.throws(call, KarpaError, e.name);
    } else {
      const got = call();
      assert.equal(typeof e.result === 'number' ? Number(got) : got, e.result, e.name);
    }
  }
});

test('a failure carries the library kind and message', () => {
  const error = captured(() => seq.sortInt("3,x", 0));
  assert.ok(error instanceof KarpaError);
  assert.equal(error.message, 'invalid integer: x');
  assert.equal(error.kind, 'ValueError');
  assert.equal(error.function, 'seq_sort_int');
  assert.match(error.report, /Error: unhandled exception: invalid integer: x \[ValueError\]\n$/);
  assert.match(error.stack, /^KarpaError \[ValueError\]: invalid integer: x/);
  const overflow = captured(() => seq.reduceSumInt([2n ** 63n - 1n, 1]));
  assert.deepEqual([overflow.kind, overflow.message], ['OverflowDefect', 'over- or underflow']);
  const range = captured(() => seq.takeInt('1', -3));
  assert.equal(range.message, 'value out of range: -3 notin 0 .. 9223372036854775807');
  // A failure leaves the next call on this thread alone.
  assert.equal(seq.sortInt([2, 1], 0), '1,2');
});

function captured(fn) {
  try { fn(); } catch (error) { return error; }
  assert.fail('no exception');
}

test('calendar zeros: a failure or a real answer', () => {
  assert.equal(Number(datetime.ymdToTs(1970, 1, 1)), 0);
  assert.equal(Number(datetime.daysBetween(2024, 2, 29, 2024, 2, 29)), 0);
  assert.equal(Number(datetime.daysBetween(1970, 1, 1, 1970, 1, 1)), 0);
  assert.equal(captured(() => datetime.ymdToTs(2023, 2, 29)).kind, 'AssertionDefect');
  assert.ok(captured(() => datetime.daysBetween(2023, 2, 29, 2023, 2, 29)) instanceof KarpaError);
  assert.equal(datetime.isLeapYear(2000), true);
  assert.equal(Number(datetime.ymdToTs(2000n, 2n, 29n)), 951782400);
});

test('lists go in as arrays and come back as arrays', () => {
  assert.deepEqual(karpa.ints(seq.sortInt([3, -1, 2n], 0)), [-1, 2, 3]);
  assert.deepEqual(karpa.bigInts(seq.mapInt([2n ** 62n], 1)), [2n ** 62n]);
  assert.throws(() => karpa.ints(seq.mapInt([2n ** 62n], 1)), RangeError);
  // Every float value reaches the library exactly: the same answer as its own text.
  const values = [0.1, -0, 5e-324, 1e300, 1e21, NaN, -Infinity];
  assert.equal(curried.minmaxFloat(values), curried.minmaxFloat('0.1,-0.0,5e-324,1e300,1e21,nan,-inf'));
  assert.equal(curried.minmaxFloat([0.1, 1e21, 5e-324]), curried.minmaxFloat('0.1,1e21,5e-324'));
  assert.equal(seq.reduceSumFloat([0.1, 0.2]), '0.30000000000000004');
  assert.deepEqual(karpa.floats('nan,-inf,1.5').map(String), ['NaN', '-Infinity', '1.5']);
  assert.deepEqual(karpa.strings(curried.unionString(['b', 'a'], ['a', 'c'])), ['b', 'a', 'c']);
  assert.deepEqual(karpa.strings(''), []);
  assert.throws(() => seq.sortString(['a,b'], 0), RangeError);
  assert.throws(() => seq.sortInt([1.5], 0), TypeError);
  assert.throws(() => seq.takeInt('1', 2 ** 31), RangeError);
  assert.throws(() => seq.sortInt('1\0,2', 0), RangeError);
  assert.equal(crypto.sha256Hash(new Uint8Array([0x61, 0x62, 0x63])), crypto.sha256Hash('abc'));
  assert.equal(crypto.md5Hash('\u00e9'), crypto.md5Hash(Buffer.from([0xc3, 0xa9])));
});

test('results stay as they were after later calls', () => {
  const first = seq.sortInt([3, 1, 2], 0);
  seq.reverseInt(Array.from({ length: 10000 }, (_, k) => k));
  assert.equal(first, '1,2,3');
});

test('libraries load from a given folder', () => {
  const file = karpa.libraryPath('seq');
  assert.match(path.basename(file), /^libkarpa_seq\.so/);
  const child = spawnSync(process.execPath, ['-e', `
    const k = require(${JSON.stringify(where)});
    k.setLibraryDir(${JSON.stringify(path.dirname(file))});
    console.log(k.libraryPath('crypto'));`], { encoding: 'utf8', env: { ...process.env, KARPA_LIB_DIR: '' } });
  assert.equal(child.stdout.trim(), path.join(path.dirname(file), 'libkarpa_crypto.so.1'), child.stderr);
});

test('loading keeps Node\'s own SIGINT handler', () => {
  const child = spawnSync(process.execPath, ['-e', `
    process.on('SIGINT', () => { console.log('own handler'); process.exit(0); });
    const k = require(${JSON.stringify(where)});
    k.seq.sortInt([2, 1], 0); k.curried.sumInt([1]); k.datetime.addDays(2024, 1, 1, 1); k.crypto.md5Hash('');
    process.kill(process.pid, 'SIGINT');
    setTimeout(() => process.exit(3), 5000);`], { encoding: 'utf8' });
  assert.equal(child.stdout, 'own handler\n', child.stderr);
  assert.equal(child.status, 0);
});
