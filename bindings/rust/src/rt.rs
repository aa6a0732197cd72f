// Loading the libraries, argument text, results and failures: what every
// generated function in exports.rs goes through.

use std::borrow::Cow;
use std::ffi::{CStr, CString, OsStr};
use std::fmt;
use std::io::Write;
use std::os::raw::{c_char, c_int, c_void};
use std::os::unix::ffi::OsStrExt;
use std::path::{Path, PathBuf};
use std::process::{Command, Stdio};
use std::sync::atomic::{AtomicPtr, Ordering};
use std::sync::Mutex;

use crate::exports::{self, CryptoFns, CurriedFns, DatetimeFns, SeqFns};

extern "C" {
    fn dlopen(filename: *const c_char, flag: c_int) -> *mut c_void;
    fn dlsym(handle: *mut c_void, symbol: *const c_char) -> *mut c_void;
    fn dlerror() -> *mut c_char;
    fn sigaction(signum: c_int, act: *const c_void, oldact: *mut c_void) -> c_int;
    fn dladdr(address: *const c_void, info: *mut DlInfo) -> c_int;
}

#[repr(C)]
struct DlInfo {
    dli_fname: *const c_char,
    dli_fbase: *mut c_void,
    dli_sname: *const c_char,
    dli_saddr: *mut c_void,
}

const RTLD_NOW: c_int = 2;

// Failures -------------------------------------------------------------------

/// An argument as it reached the library.
#[derive(Clone, Debug)]
pub(crate) enum Arg {
    Text(CString),
    Bytes(Vec<u8>),
    Int(i32),
    Int64(i64),
}

impl Arg {
    pub(crate) fn ptr(&self) -> *const c_char {
        match self {
            Arg::Text(text) => text.as_ptr(),
            Arg::Bytes(bytes) => bytes.as_ptr() as *const c_char,
            _ => std::ptr::null(),
        }
    }

    pub(crate) fn len(&self) -> c_int {
        match self {
            Arg::Bytes(bytes) => bytes.len() as c_int,
            _ => 0,
        }
    }

    fn word(&self) -> Cow<'_, [u8]> {
        match self {
            Arg::Text(text) => Cow::Borrowed(text.as_bytes()),
            Arg::Bytes(bytes) => Cow::Borrowed(bytes),
            Arg::Int(n) => Cow::Owned(n.to_string().into_bytes()),
            Arg::Int64(n) => Cow::Owned(n.to_string().into_bytes()),
        }
    }
}

#[derive(Clone, Debug)]
struct Reason {
    kind: Option<String>,
    message: String,
    report: String,
}

#[derive(Debug)]
enum Detail {
    /// The library gave no result; its reason is read on first use.
    Failed { args: Vec<Arg>, reason: Mutex<Option<Reason>> },
    /// A value that cannot travel as the library's text (a NUL, a "," inside a string item).
    Argument(String),
    /// A library that could not be found or loaded.
    Load(String),
}

/// A call that gave no result.
///
/// For a library failure, [`kind`](KarpaError::kind) (`"ValueError"`,
/// `"OverflowDefect"`, `"IndexDefect"`, `"RangeDefect"`, `"AssertionDefect"`)
/// and [`message`](KarpaError::message) are the library's own. The library keeps
/// them per thread and gives them out only through its `TovMain`, which prints
/// them and ends the process; so they are read when first asked for, by
/// repeating the call in the `karpa` command (from `bin/` beside the libraries'
/// folder, else from `PATH`), which calls `TovMain` after it. Values that
/// cannot be passed give the kind `"ArgumentError"`, libraries that cannot be
/// loaded `"LoadError"`.
#[derive(Debug)]
pub struct KarpaError {
    function: &'static str,
    detail: Detail,
}

impl KarpaError {
    pub(crate) fn failed(function: &'static str, args: &[Arg]) -> Self {
        KarpaError { function, detail: Detail::Failed { args: args.to_vec(), reason: Mutex::new(None) } }
    }

    pub(crate) fn argument(function: &'static str, message: String) -> Self {
        KarpaError { function, detail: Detail::Argument(message) }
    }

    /// The export's C name, such as `"seq_sort_int"`.
    pub fn function(&self) -> &str {
        self.function
    }

    /// Whether the library itself failed (rather than an argument or loading).
    pub fn is_library_failure(&self) -> bool {
        matches!(self.detail, Detail::Failed { .. })
    }

    fn reason(&self) -> Reason {
        match &self.detail {
            Detail::Failed { args, reason } => {
                let mut cached = reason.lock().unwrap_or_else(|e| e.into_inner());
                cached.get_or_insert_with(|| library_reason(self.function, args)).clone()
            }
            Detail::Argument(message) => {
                Reason { kind: Some("ArgumentError".into()), message: message.clone(), report: String::new() }
            }
            Detail::Load(message) => {
                Reason { kind: Some("LoadError".into()), message: message.clone(), report: String::new() }
            }
        }
    }

    /// The error kind; `None` when the library's report could not be read.
    pub fn kind(&self) -> Option<String> {
        self.reason().kind
    }

    /// The message, such as `"invalid integer: x"`.
    pub fn message(&self) -> String {
        self.reason().message
    }

    /// The library's whole unhandled-error report ("" for other errors).
    pub fn report(&self) -> String {
        self.reason().report
    }
}

impl fmt::Display for KarpaError {
    fn fmt(&self, f: &mut fmt::Formatter<'_>) -> fmt::Result {
        let reason = self.reason();
        write!(f, "{}: {} [{}]", self.function, reason.message, reason.kind.as_deref().unwrap_or("unknown"))
    }
}

impl std::error::Error for KarpaError {}

const REPORT_MARK: &str = "Error: unhandled exception: ";

fn karpa_command(library: &str) -> PathBuf {
    if let Some(path) = loaded_path(library) {
        let beside = Path::new(&path).parent().filter(|dir| dir.is_absolute()).map(|dir| dir.join("../bin/karpa"));
        if let Some(cli) = beside.filter(|cli| cli.is_file()) {
            return cli;
        }
    }
    PathBuf::from("karpa")
}

fn library_reason(function: &'static str, args: &[Arg]) -> Reason {
    let unknown = |why: String, report: String| Reason { kind: None, message: why, report };
    let library = exports::library_of(function);
    let mut command = Command::new(karpa_command(library));
    command.arg(function).stdin(Stdio::piped()).stdout(Stdio::null()).stderr(Stdio::piped());
    // The command reads an argument given as "-" from standard input.
    let mut stdin_text = None;
    for arg in args {
        let word = arg.word();
        if &*word == b"-" && stdin_text.is_none() {
            stdin_text = Some(word.to_vec());
        }
        command.arg(OsStr::from_bytes(&word));
    }
    let mut child = match command.spawn() {
        Ok(child) => child,
        Err(error) => {
            return unknown(
                format!("the library could not answer these arguments (the karpa command could not run: {})", error),
                String::new(),
            )
        }
    };
    if let Some(mut stdin) = child.stdin.take() {
        let _ = stdin.write_all(stdin_text.as_deref().unwrap_or(b""));
    }
    let output = match child.wait_with_output() {
        Ok(output) => output,
        Err(error) => return unknown(format!("the library could not answer these arguments ({})", error), String::new()),
    };
    let report = String::from_utf8_lossy(&output.stderr).into_owned();
    // The report's last line: "Error: unhandled exception: MESSAGE [KIND]".
    let parsed = report.rfind(REPORT_MARK).and_then(|start| {
        let tail = report[start + REPORT_MARK.len()..].trim_end_matches('\n');
        let open = tail.rfind(" [")?;
        let kind = tail[open + 2..].strip_suffix(']')?;
        Some((kind.to_string(), tail[..open].to_string()))
    });
    match parsed {
        Some((kind, message)) if output.status.code() == Some(1) => Reason { kind: Some(kind), message, report },
        _ => unknown("the library could not answer these arguments (it wrote no report)".into(), report),
    }
}

// Loading --------------------------------------------------------------------

pub(crate) struct Handle(*mut c_void);

impl Handle {
    /// `name` ends with a NUL.
    pub(crate) fn symbol(&self, name: &str) -> Result<*mut c_void, String> {
        let address = unsafe { dlsym(self.0, name.as_ptr() as *const c_char) };
        if address.is_null() {
            Err(format!("{} is missing", name.trim_end_matches('\0')))
        } else {
            Ok(address)
        }
    }
}

struct Loaded<T> {
    path: String,
    fns: T,
}

static LOAD_LOCK: Mutex<()> = Mutex::new(());
static LIBRARY_DIR: Mutex<Option<PathBuf>> = Mutex::new(None);
static SEQ: AtomicPtr<Loaded<SeqFns>> = AtomicPtr::new(std::ptr::null_mut());
static CURRIED: AtomicPtr<Loaded<CurriedFns>> = AtomicPtr::new(std::ptr::null_mut());
static DATETIME: AtomicPtr<Loaded<DatetimeFns>> = AtomicPtr::new(std::ptr::null_mut());
static CRYPTO: AtomicPtr<Loaded<CryptoFns>> = AtomicPtr::new(std::ptr::null_mut());

/// The folder to look in first for `libkarpa_*.so` (for libraries not loaded yet).
pub fn set_library_dir<P: AsRef<Path>>(dir: Option<P>) {
    *LIBRARY_DIR.lock().unwrap_or_else(|e| e.into_inner()) = dir.map(|d| d.as_ref().to_path_buf());
}

fn candidates(name: &str) -> (Vec<String>, Vec<String>) {
    let mut dirs: Vec<PathBuf> = Vec::new();
    if let Some(dir) = LIBRARY_DIR.lock().unwrap_or_else(|e| e.into_inner()).clone() {
        dirs.push(dir);
    }
    if let Some(value) = std::env::var_os("KARPA_LIB_DIR") {
        dirs.extend(std::env::split_paths(&value).filter(|d| !d.as_os_str().is_empty()));
    }
    let pkg_config = env!("KARPA_PKG_CONFIG_LIBDIR");
    if !pkg_config.is_empty() {
        dirs.push(PathBuf::from(pkg_config));
    }
    let mut searched = Vec::new();
    for dir in dirs {
        for file in [format!("libkarpa_{}.so.1", name), format!("libkarpa_{}.so", name)] {
            let path = dir.join(file);
            searched.push(path.display().to_string());
            if path.is_file() {
                return (vec![path.display().to_string()], searched);
            }
        }
    }
    (vec![format!("libkarpa_{}.so.1", name), format!("libkarpa_{}.so", name)], searched)
}

// Loading a library installs its own handlers for these signals; the
// process's own (Rust's among them) are put back right after.
const LIBRARY_SIGNALS: [c_int; 6] = [2, 11, 6, 8, 4, 13]; // INT SEGV ABRT FPE ILL PIPE
type SigactionBuffer = [u64; 32]; // more than glibc's struct sigaction on x86-64; kept opaque

fn open_keeping_signals(file: &str) -> Result<Handle, String> {
    let path = CString::new(file).map_err(|_| format!("{}: NUL in the path", file))?;
    let mut saved: Vec<(c_int, SigactionBuffer)> = Vec::new();
    for signum in LIBRARY_SIGNALS {
        let mut old: SigactionBuffer = [0; 32];
        if unsafe { sigaction(signum, std::ptr::null(), old.as_mut_ptr() as *mut c_void) } == 0 {
            saved.push((signum, old));
        }
    }
    let handle = unsafe { dlopen(path.as_ptr(), RTLD_NOW) };
    let why = if handle.is_null() { unsafe { dlerror() } } else { std::ptr::null_mut() };
    for (signum, old) in &saved {
        unsafe { sigaction(*signum, old.as_ptr() as *const c_void, std::ptr::null_mut()) };
    }
    if handle.is_null() {
        let why = if why.is_null() { Cow::Borrowed("dlopen failed") } else { unsafe { CStr::from_ptr(why) }.to_string_lossy() };
        return Err(why.into_owned());
    }
    Ok(Handle(handle))
}

// The file the loader mapped (a bare name resolves to its folder).
fn mapped_file(handle: &Handle, fallback: &str) -> String {
    let mut info = DlInfo {
        dli_fname: std::ptr::null(),
        dli_fbase: std::ptr::null_mut(),
        dli_sname: std::ptr::null(),
        dli_saddr: std::ptr::null_mut(),
    };
    match handle.symbol("TovMain\0") {
        Ok(address) if unsafe { dladdr(address, &mut info) } != 0 && !info.dli_fname.is_null() => {
            unsafe { CStr::from_ptr(info.dli_fname) }.to_string_lossy().into_owned()
        }
        _ => fallback.to_string(),
    }
}

fn load<T>(slot: &AtomicPtr<Loaded<T>>, name: &str, resolve: fn(&Handle) -> Result<T, String>) -> Result<&'static T, KarpaError> {
    let current = slot.load(Ordering::Acquire);
    if !current.is_null() {
        return Ok(unsafe { &(*current).fns });
    }
    let _guard = LOAD_LOCK.lock().unwrap_or_else(|e| e.into_inner());
    let current = slot.load(Ordering::Acquire);
    if !current.is_null() {
        return Ok(unsafe { &(*current).fns });
    }
    let (files, searched) = candidates(name);
    let mut failures = Vec::new();
    for file in files {
        match open_keeping_signals(&file).and_then(|handle| Ok((mapped_file(&handle, &file), resolve(&handle)?))) {
            Ok((path, fns)) => {
                let loaded: &'static mut Loaded<T> = Box::leak(Box::new(Loaded { path, fns }));
                slot.store(loaded, Ordering::Release);
                return Ok(&loaded.fns);
            }
            Err(why) => failures.push(why),
        }
    }
    Err(KarpaError {
        function: "load",
        detail: Detail::Load(format!(
            "cannot load libkarpa_{}: {}. Looked in: {}, then the system loader path (call karpa::set_library_dir, set KARPA_LIB_DIR, or build with pkg-config finding karpa-{})",
            name,
            failures.join("; "),
            if searched.is_empty() { "(no folder)".to_string() } else { searched.join(", ") },
            name
        )),
    })
}

pub(crate) fn seq() -> Result<&'static SeqFns, KarpaError> {
    load(&SEQ, "seq", exports::load_seq)
}
pub(crate) fn curried() -> Result<&'static CurriedFns, KarpaError> {
    load(&CURRIED, "curried", exports::load_curried)
}
pub(crate) fn datetime() -> Result<&'static DatetimeFns, KarpaError> {
    load(&DATETIME, "datetime", exports::load_datetime)
}
pub(crate) fn crypto() -> Result<&'static CryptoFns, KarpaError> {
    load(&CRYPTO, "crypto", exports::load_crypto)
}

fn path_of<T>(slot: &AtomicPtr<Loaded<T>>) -> Option<String> {
    let current = slot.load(Ordering::Acquire);
    if current.is_null() {
        None
    } else {
        Some(unsafe { (*current).path.clone() })
    }
}

fn loaded_path(library: &str) -> Option<String> {
    match library {
        "seq" => path_of(&SEQ),
        "curried" => path_of(&CURRIED),
        "datetime" => path_of(&DATETIME),
        "crypto" => path_of(&CRYPTO),
        _ => None,
    }
}

/// The file a library was (or now is) loaded from: `"seq"`, `"curried"`, `"datetime"` or `"crypto"`.
pub fn library_path(name: &str) -> Result<String, KarpaError> {
    match name {
        "seq" => seq().map(|_| ()),
        "curried" => curried().map(|_| ()),
        "datetime" => datetime().map(|_| ()),
        "crypto" => crypto().map(|_| ()),
        _ => return Err(KarpaError::argument("library_path", format!("no library {:?}", name))),
    }?;
    Ok(loaded_path(name).unwrap_or_default())
}

// Results --------------------------------------------------------------------

pub(crate) fn text_result(function: &'static str, args: &[Arg], result: *const c_char) -> Result<String, KarpaError> {
    if result.is_null() {
        return Err(KarpaError::failed(function, args));
    }
    // Copied before the next call can reuse the library's memory.
    Ok(String::from_utf8_lossy(unsafe { CStr::from_ptr(result) }.to_bytes()).into_owned())
}

// The calendar exports that answer a failure with 0 also answer 0 for real:
// ymd_to_ts for 1970-01-01, days_between for two equal valid dates.
pub(crate) fn number_result(function: &'static str, args: &[Arg], result: i64) -> Result<i64, KarpaError> {
    if result != 0 {
        return Ok(result);
    }
    let values: Vec<i64> = args.iter().map(|a| if let Arg::Int64(n) = a { *n } else { 0 }).collect();
    let epoch = [1970, 1, 1];
    let answer = match function {
        "dt_ymd_to_ts" => values == epoch,
        "dt_days_between" => {
            values[..3] == values[3..]
                && (values[..3] == epoch || crate::datetime::ymd_to_ts(values[0], values[1], values[2]).is_ok())
        }
        _ => false,
    };
    if answer {
        Ok(0)
    } else {
        Err(KarpaError::failed(function, args))
    }
}

fn pieces(text: &str) -> impl Iterator<Item = &str> {
    let mut split = text.split(',');
    if text.is_empty() {
        split.next();
    }
    split
}

/// A list result of integers as a vector ("" is the empty list).
pub fn ints(text: &str) -> Result<Vec<i64>, std::num::ParseIntError> {
    pieces(text).map(str::parse).collect()
}

/// A list result of floats as a vector ("nan", "-nan", "inf", "-inf" included).
pub fn floats(text: &str) -> Result<Vec<f64>, std::num::ParseFloatError> {
    pieces(text)
        .map(|p| match p {
            "nan" | "-nan" => Ok(f64::NAN),
            "inf" => Ok(f64::INFINITY),
            "-inf" => Ok(f64::NEG_INFINITY),
            _ => p.parse(),
        })
        .collect()
}

/// A list result of strings as a vector ("" is the empty list).
pub fn strings(text: &str) -> Vec<String> {
    pieces(text).map(String::from).collect()
}

// Arguments ------------------------------------------------------------------

pub(crate) fn text(function: &'static str, what: &str, bytes: &[u8]) -> Result<CString, KarpaError> {
    CString::new(bytes).map_err(|_| KarpaError::argument(function, format!("{} contains a NUL character", what)))
}

pub(crate) fn bytes(function: &'static str, what: &str, bytes: &[u8]) -> Result<Vec<u8>, KarpaError> {
    if bytes.len() > i32::MAX as usize {
        return Err(KarpaError::argument(function, format!("{} is longer than a C int can count", what)));
    }
    Ok(bytes.to_vec())
}

// Rust prints the shortest text that reads back to the same value.
fn float_repr(x: f64) -> String {
    if x.is_nan() {
        "nan".into()
    } else {
        format!("{:?}", x)
    }
}

fn join<T>(items: &[T], show: impl Fn(&T) -> String) -> String {
    items.iter().map(show).collect::<Vec<_>>().join(",")
}

/// List text, or the items of a list of 64-bit integers.
pub trait IntList {
    #[doc(hidden)]
    fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError>;
}

/// List text, or the items of a list of floats (each passed exactly).
pub trait FloatList {
    #[doc(hidden)]
    fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError>;
}

/// List text, or the items of a list of strings (none may hold "," or NUL).
pub trait StrList {
    #[doc(hidden)]
    fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError>;
}

/// A float argument: text passed exactly as given, or an `f64`.
pub trait FloatArg {
    #[doc(hidden)]
    fn float_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError>;
}

macro_rules! text_lists {
    ($($t:ty),*) => {$(
        impl IntList for $t {
            fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
                text(function, what, AsRef::<str>::as_ref(self).as_bytes())
            }
        }
        impl FloatList for $t {
            fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
                text(function, what, AsRef::<str>::as_ref(self).as_bytes())
            }
        }
        impl StrList for $t {
            fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
                text(function, what, AsRef::<str>::as_ref(self).as_bytes())
            }
        }
        impl FloatArg for $t {
            fn float_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
                text(function, what, AsRef::<str>::as_ref(self).as_bytes())
            }
        }
    )*};
}
text_lists!(&str, String, &String);

impl FloatArg for f64 {
    fn float_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
        text(function, what, float_repr(*self).as_bytes())
    }
}

fn string_items<S: AsRef<str>>(items: &[S], function: &'static str, what: &str) -> Result<CString, KarpaError> {
    for item in items {
        if item.as_ref().contains(|c| c == ',' || c == '\0') {
            return Err(KarpaError::argument(
                function,
                format!("{} item {:?} holds ',' or NUL, which list text cannot carry", what, item.as_ref()),
            ));
        }
    }
    text(function, what, join(items, |s| s.as_ref().to_string()).as_bytes())
}

macro_rules! item_lists {
    ($($t:ty),*) => {$(
        impl IntList for $t {
            fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
                text(function, what, join(&self[..], |n: &i64| n.to_string()).as_bytes())
            }
        }
    )*};
}
item_lists!(&[i64], Vec<i64>, &Vec<i64>);

macro_rules! float_lists {
    ($($t:ty),*) => {$(
        impl FloatList for $t {
            fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
                text(function, what, join(&self[..], |x: &f64| float_repr(*x)).as_bytes())
            }
        }
    )*};
}
float_lists!(&[f64], Vec<f64>, &Vec<f64>);

macro_rules! str_lists {
    ($($t:ty),*) => {$(
        impl<'s> StrList for $t {
            fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
                string_items(&self[..], function, what)
            }
        }
    )*};
}
str_lists!(&[&'s str], Vec<&'s str>, &Vec<&'s str>, &[String], Vec<String>, &Vec<String>);

impl<const N: usize> IntList for [i64; N] {
    fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
        (&self[..]).list_text(function, what)
    }
}
impl<const N: usize> FloatList for [f64; N] {
    fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
        (&self[..]).list_text(function, what)
    }
}
impl<'s, const N: usize> StrList for [&'s str; N] {
    fn list_text(&self, function: &'static str, what: &str) -> Result<CString, KarpaError> {
        string_items(&self[..], function, what)
    }
}
