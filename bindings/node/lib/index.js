'use strict';
// Karpa for Node.js: the four libraries through koffi. Each function is its
// export's name without the library prefix, in camelCase (seq_sort_int is
// seq.sortInt); lists go in as arrays or list text, results come back as the
// library's text (ints(), floats(), strings() turn list text into arrays).

const rt = require('./runtime');
const { seq, curried, datetime, crypto } = require('./exports');

module.exports = {
  seq, curried, datetime, crypto,
  KarpaError: rt.KarpaError,
  KarpaLoadError: rt.KarpaLoadError,
  setLibraryDir: rt.setLibraryDir,
  libraryPath: rt.libraryPath,
  ints: rt.ints,
  bigInts: rt.bigInts,
  floats: rt.floats,
  strings: rt.strings,
  version: require('../package.json').version,
};
