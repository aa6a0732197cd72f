'use strict';
// Loads the four Karpa libraries from Node.js with koffi, calls one export of
// each, shows a failure, and shows that Node's own SIGINT handling survives
// the loading.
//
//   npm ci && node karpa_example.js
//
// The libraries are read from KARPA_LIB_DIR (default: ../../build/lib from here).

const os = require('node:os');
const path = require('node:path');
const koffi = require('koffi');

const libDir = process.env.KARPA_LIB_DIR || path.join(__dirname, '..', '..', 'build', 'lib');

// Loading a Karpa library installs its own handlers for SIGINT, SIGSEGV,
// SIGABRT, SIGFPE and SIGILL and ignores SIGPIPE, for the whole process.
// Save the dispositions with libc's sigaction before loading and put them back
// after. struct sigaction is kept opaque: 256 bytes hold glibc's on x86-64.
const libc = koffi.load('libc.so.6');
const sigaction = libc.func('int sigaction(int signum, const void *act, void *oldact)');
const LIBRARY_SIGNALS = ['SIGINT', 'SIGSEGV', 'SIGABRT', 'SIGFPE', 'SIGILL', 'SIGPIPE'];
const SIGACTION_SIZE = 256;

function loadKeepingSignals(file) {
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
  const file = path.join(libDir, `libkarpa_${name}.so`);
  try {
    return loadKeepingSignals(file);
  } catch (error) {
    console.error(`cannot load ${file} (${error.message}); set KARPA_LIB_DIR to the folder that holds it`);
    process.exit(1);
  }
}

// Node's own handler, registered before loading (this installs it with sigaction).
let keepAlive = null;
process.on('SIGINT', () => {
  console.log('SIGINT reached the script\'s own handler');
  clearInterval(keepAlive);
});

const seq = load('seq');
const curried = load('curried');
const datetime = load('datetime');
const crypto = load('crypto');

// One export of each library, declared with its C signature. A const char*
// result arrives as a JS string copied at once (null for the null pointer).
const seq_sort_int = seq.func('const char *seq_sort_int(const char *list, int descending)');
const cur_mean_int = curried.func('const char *cur_mean_int(const char *list)');
const dt_days_between = datetime.func(
  'int64_t dt_days_between(int64_t year1, int64_t month1, int64_t day1, int64_t year2, int64_t month2, int64_t day2)');
const sha256_hash = crypto.func('const char *sha256_hash(const char *data, int len)');

const show = (value) => (value === null ? 'null' : JSON.stringify(value));

console.log(`seq_sort_int(" 3,1, 2", 0) = ${show(seq_sort_int(' 3,1, 2', 0))}`);
console.log(`cur_mean_int("1,2,2") = ${show(cur_mean_int('1,2,2'))}`);
console.log(`dt_days_between(2024, 1, 1, 2024, 3, 1) = ${dt_days_between(2024, 1, 1, 2024, 3, 1)}`);
const data = 'abc';
console.log(`sha256_hash("abc", 3) = ${show(sha256_hash(data, Buffer.byteLength(data)))}`);

// A failure: the library answers with the null pointer.
const failed = seq_sort_int('3,x', 0);
console.log(`seq_sort_int("3,x", 0) = ${show(failed)}${failed === null ? ' (failure)' : ''}`);

// Without the restore, the library's handler would print
// "SIGINT: Interrupted by Ctrl-C." and end the process here.
keepAlive = setInterval(() => {}, 1000);
process.kill(process.pid, 'SIGINT');
