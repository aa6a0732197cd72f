'use strict';
// Loading the libraries, argument text, results and failures: what every
// generated wrapper in exports.js goes through.

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { execFileSync, spawnSync } = require('node:child_process');
const koffi = require('koffi');

const INT32_MIN = -(2 ** 31);
const INT32_MAX = 2 ** 31 - 1;
const INT64_MIN = -(2n ** 63n);
const INT64_MAX = 2n ** 63n - 1n;

// Failures -------------------------------------------------------------------

// The library keeps a failure's reason per thread and gives it out only
// through TovMain, which prints it and ends the process. So the reason is read
// when first asked for, by repeating the call in a short-lived child Node that
// then calls TovMain.
const REPEAT_CALL = `
const fs = require('node:fs');
const koffi = require(process.argv[1]);
const { file, signature, args } = JSON.parse(fs.readFileSync(0, 'utf8'));
const decode = (a) => a.s !== undefined ? a.s : a.b !== undefined ? Buffer.from(a.b, 'base64')
  : a.i !== undefined ? BigInt(a.i) : a.n;
const library = koffi.load(file);
library.func(signature)(...args.map(decode));
library.func('void TovMain(void)')();
`;
const REPORT_LAST_LINE = /Error: unhandled exception: ([\s\S]*) \[(\w+)\]\n?$/;

function travel(a) {
  if (typeof a === 'string') return { s: a };
  if (Buffer.isBuffer(a)) return { b: a.toString('base64') };
  if (typeof a === 'bigint') return { i: a.toString() };
  return { n: a };
}

function libraryReason(library, signature, args) {
  const input = JSON.stringify({ file: libraries[library].file, signature, args: args.map(travel) });
  const child = spawnSync(process.execPath, ['-e', REPEAT_CALL, require.resolve('koffi')],
    { input, encoding: 'utf8', timeout: 300000 });
  if (child.error) {
    return { kind: null, message: `the library could not answer these arguments (its report could not be read: ${child.error.message})`, report: '' };
  }
  const match = REPORT_LAST_LINE.exec(child.stderr);
  if (child.status !== 1 || !match) {
    return { kind: null, message: 'the library could not answer these arguments (it wrote no report)', report: child.stderr };
  }
  return { kind: match[2], message: match[1], report: child.stderr };
}

function show(a) {
  if (Buffer.isBuffer(a)) return `<${a.length} bytes>`;
  if (typeof a === 'bigint') return `${a}n`;
  return JSON.stringify(a);
}

class KarpaError extends Error {
  constructor(library, signature, fn, args) {
    super();
    const reason = () => this._reason || (this._reason = libraryReason(library, signature, args));
    // The library's own kind and message, read on first use.
    Object.defineProperties(this, {
      function: { value: fn, enumerable: true },
      arguments: { value: Object.freeze(args.slice()), enumerable: true },
      _reason: { value: null, writable: true },
      kind: { get: () => reason().kind, enumerable: true },
      message: { get: () => reason().message },
      report: { get: () => reason().report },
    });
    const frames = this.stack.slice(this.stack.indexOf('\n'));
    Object.defineProperty(this, 'stack', {
      get: () => `KarpaError [${this.kind}]: ${this.message} (${fn}(${args.map(show).join(', ')}))${frames}`,
    });
  }

  get name() { return 'KarpaError'; }
}

class KarpaLoadError extends Error {
  get name() { return 'KarpaLoadError'; }
}

// Loading --------------------------------------------------------------------

const NAMES = ['seq', 'curried', 'datetime', 'crypto'];
const libraries = {};
let libraryDir = null;

function setLibraryDir(dir) {
  libraryDir = dir == null ? null : path.resolve(dir);
}

function pkgConfigLibdir(name) {
  try {
    const dir = execFileSync('pkg-config', ['--variable=libdir', `karpa-${name}`],
      { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }).trim();
    return dir ? path.resolve(dir) : null;
  } catch {
    return null;
  }
}

// The folders to look in, in order: setLibraryDir, KARPA_LIB_DIR, pkg-config;
// then the bare file name, for the system loader path.
function locate(name) {
  const dirs = [];
  if (libraryDir) dirs.push(libraryDir);
  for (const d of (process.env.KARPA_LIB_DIR || '').split(path.delimiter)) if (d) dirs.push(path.resolve(d));
  const pc = pkgConfigLibdir(name);
  if (pc) dirs.push(pc);
  const searched = [];
  for (const dir of dirs) {
    for (const file of [`libkarpa_${name}.so.1`, `libkarpa_${name}.so`]) {
      const candidate = path.join(dir, file);
      searched.push(candidate);
      if (fs.existsSync(candidate)) return { files: [candidate], searched };
    }
  }
  return { files: [`libkarpa_${name}.so.1`, `libkarpa_${name}.so`], searched };
}

// Loading a library installs its own handlers for these signals; the
// process's own are put back right after (struct sigaction kept opaque).
const LIBRARY_SIGNALS = ['SIGINT', 'SIGSEGV', 'SIGABRT', 'SIGFPE', 'SIGILL', 'SIGPIPE'];
const SIGACTION_SIZE = 256;
let sigaction = null;

function loadKeepingSignals(file) {
  if (sigaction === null) {
    sigaction = koffi.load('libc.so.6').func('int sigaction(int signum, const void *act, void *oldact)');
  }
  const saved = [];
  for (const name of LIBRARY_SIGNALS) {
    const signum = os.constants.signals[name];
    const old = Buffer.alloc(SIGACTION_SIZE);
    if (sigaction(signum, null, old) === 0) saved.push([signum, old]);
  }
  try {
    return koffi.load(file);
  } finally {
    for (const [signum, old] of saved) sigaction(signum, old, null);
  }
}

function load(name) {
  if (libraries[name]) return libraries[name];
  const { files, searched } = locate(name);
  const failures = [];
  for (const file of files) {
    let handle;
    try {
      handle = loadKeepingSignals(file);
    } catch (error) {
      failures.push(error.message);
      continue;
    }
    const functions = {};
    const signatures = {};
    for (const signature of require('./exports').SIGNATURES[name]) {
      const fn = handle.func(signature);
      functions[fn.info.name] = fn;
      signatures[fn.info.name] = signature;
    }
    libraries[name] = { file, handle, functions, signatures };
    return libraries[name];
  }
  throw new KarpaLoadError(`cannot load libkarpa_${name}: ${failures.join('; ')}. Looked in: ${searched.join(', ') || '(no folder)'},`
    + ' then the system loader path (call setLibraryDir, set KARPA_LIB_DIR, or make pkg-config find karpa-' + name + ')');
}

function libraryPath(name) {
  if (!NAMES.includes(name)) throw new RangeError(`no library ${JSON.stringify(name)}`);
  return load(name).file;
}

// Calls ----------------------------------------------------------------------

const EPOCH = [1970n, 1n, 1n];

// The calendar exports that answer a failure with 0 also answer 0 for real:
// ymd_to_ts for 1970-01-01, days_between for two equal valid dates.
function zeroIsAnswer(lib, name, args) {
  const a = args.map((x) => BigInt(x));
  const isEpoch = (d) => d.every((x, k) => x === EPOCH[k]);
  if (name === 'dt_ymd_to_ts') return isEpoch(a);
  if (name === 'dt_days_between') {
    const first = a.slice(0, 3);
    if (!first.every((x, k) => x === a[3 + k])) return false;
    return isEpoch(first) || BigInt(lib.functions.dt_ymd_to_ts(...args.slice(0, 3))) !== 0n;
  }
  return false;
}

function call(library, name, result, zeroFails, args) {
  const lib = load(library);
  const value = lib.functions[name](...args);  // a const char* result is copied into a JS string here
  if (result === 'text') {
    if (value === null) throw new KarpaError(library, lib.signatures[name], name, args);
    return value;
  }
  if (result === 'bool') return value !== 0;
  if (zeroFails && value == 0 && !zeroIsAnswer(lib, name, args)) {  // eslint-disable-line eqeqeq
    throw new KarpaError(library, lib.signatures[name], name, args);
  }
  return value;
}

// Arguments ------------------------------------------------------------------

function text(value, what) {
  if (typeof value !== 'string') throw new TypeError(`${what} must be a string, not ${typeof value}`);
  if (value.includes('\0')) throw new RangeError(`${what} contains a NUL character`);
  return value;
}

// Every float reaches the library exactly: JS prints the shortest text that
// reads back to the same value.
function floatRepr(x) {
  if (Number.isNaN(x)) return 'nan';
  if (x === Infinity) return 'inf';
  if (x === -Infinity) return '-inf';
  if (Object.is(x, -0)) return '-0.0';
  return String(x);
}

function floatText(value, what) {
  if (typeof value === 'number') return floatRepr(value);
  return text(value, what);
}

// Arrays are checked item by item, then joined as JS prints them (numbers
// and bigints in decimal, strings as they are).
function intList(value, what) {
  if (typeof value === 'string') return text(value, what);
  const items = Array.isArray(value) ? value : Array.from(value);
  for (const item of items) {
    if (typeof item === 'bigint') {
      if (item < INT64_MIN || item > INT64_MAX) throw new RangeError(`${what} item ${item} does not fit 64 bits`);
    } else if (!Number.isSafeInteger(item)) {
      throw new TypeError(`${what} items must be safe integers or bigints, not ${item}`);
    }
  }
  return items.join(',');
}

function floatList(value, what) {
  if (typeof value === 'string') return text(value, what);
  const items = Array.isArray(value) ? value : Array.from(value);
  let plain = true;
  for (const item of items) {
    if (typeof item !== 'number') throw new TypeError(`${what} items must be numbers, not ${typeof item}`);
    if (!Number.isFinite(item) || item === 0) plain = false;  // NaN, infinities and -0 print otherwise
  }
  return plain ? items.join(',') : items.map(floatRepr).join(',');
}

function stringList(value, what) {
  if (typeof value === 'string') return text(value, what);
  const items = Array.isArray(value) ? value : Array.from(value);
  for (const item of items) {
    if (typeof item !== 'string') throw new TypeError(`${what} items must be strings, not ${typeof item}`);
    if (item.includes(',') || item.includes('\0')) {
      throw new RangeError(`${what} item ${JSON.stringify(item)} holds ',' or NUL, which list text cannot carry`);
    }
  }
  return items.join(',');
}

// A byte buffer as the C pair (pointer, length).
function bytes(value, what) {
  let buffer;
  if (typeof value === 'string') buffer = Buffer.from(value, 'utf8');
  else if (value instanceof Uint8Array) buffer = Buffer.from(value.buffer, value.byteOffset, value.byteLength);
  else throw new TypeError(`${what} must be a string or a Uint8Array`);
  if (buffer.length > INT32_MAX) throw new RangeError(`${what} is longer than a C int can count`);
  return [buffer, buffer.length];
}

function int32(value, what) {
  if (!Number.isInteger(value) || value < INT32_MIN || value > INT32_MAX) {
    throw new RangeError(`${what} = ${value} is not a 32-bit integer`);
  }
  return value;
}

function int64(value, what) {
  if (typeof value === 'bigint') {
    if (value < INT64_MIN || value > INT64_MAX) throw new RangeError(`${what} = ${value} does not fit 64 bits`);
    return value;
  }
  if (!Number.isSafeInteger(value)) throw new RangeError(`${what} = ${value} is not a safe integer (use a bigint)`);
  return value;
}

// Results --------------------------------------------------------------------

const pieces = (t) => (t === '' ? [] : text(t, 'list text').split(','));

function bigInts(t) {
  return pieces(t).map((p) => BigInt(p));
}

function ints(t) {
  return bigInts(t).map((b) => {
    const n = Number(b);
    if (!Number.isSafeInteger(n)) throw new RangeError(`${b} is beyond 2**53; use bigInts()`);
    return n;
  });
}

const SPECIAL_FLOATS = { nan: NaN, '-nan': NaN, inf: Infinity, '-inf': -Infinity };

function floats(t) {
  return pieces(t).map((p) => (p in SPECIAL_FLOATS ? SPECIAL_FLOATS[p] : Number(p)));
}

function strings(t) {
  return pieces(t);
}

module.exports = {
  KarpaError, KarpaLoadError, setLibraryDir, libraryPath, call,
  text, floatText, intList, floatList, stringList, bytes, int32, int64,
  ints, bigInts, floats, strings,
};
