//! Karpa's four libraries for Rust, loaded at run time with no dependency
//! outside the standard library.
//!
//! One module per library (`seq`, `curried`, `datetime`, `crypto`); each
//! function is its export's name without the library prefix (`seq_sort_int` is
//! [`seq::sort_int`]). Lists go in as slices, vectors, arrays or list text;
//! results come back as the library's text, and [`ints`], [`floats`] and
//! [`strings`] turn list text into vectors. Every function returns
//! `Result<_, KarpaError>`; a call the library cannot answer gives
//! [`KarpaError`] with the library's own kind and message:
//!
//! ```no_run
//! assert_eq!(karpa::seq::sort_int([3, 1, 2], 0).unwrap(), "1,2,3");
//! let error = karpa::seq::sort_int("3,x", 0).unwrap_err();
//! assert_eq!(error.message(), "invalid integer: x");
//! ```
//!
//! The libraries (`libkarpa_<name>.so.1`) are looked for in the folder given
//! to [`set_library_dir`], then in `KARPA_LIB_DIR`, then in the libdir that
//! pkg-config gave for `karpa-seq` when the crate was built, then on the
//! system loader path. Loading keeps the process's signal handlers.

mod exports;
mod rt;

pub use exports::{crypto, curried, datetime, seq};
pub use rt::{floats, ints, library_path, set_library_dir, strings, FloatArg, FloatList, IntList, KarpaError, StrList};

#[doc(hidden)]
pub use exports::{call_by_name, EXAMPLES};
