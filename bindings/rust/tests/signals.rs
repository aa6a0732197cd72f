// Loading the libraries keeps the process's signal dispositions (a test
// binary of its own, so that nothing has loaded them before).

use std::os::raw::{c_int, c_void};

extern "C" {
    fn sigaction(signum: c_int, act: *const c_void, oldact: *mut c_void) -> c_int;
}

extern "C" fn own_handler(_: c_int) {}

// glibc's struct sigaction on x86-64, as words: the handler, the signal mask
// (the kernel keeps its first word only) and the flags, less SA_RESTORER,
// which glibc adds, with its restorer, to every disposition it sets.
fn raw_disposition(signum: c_int) -> [u64; 32] {
    let mut old = [0u64; 32];
    assert_eq!(unsafe { sigaction(signum, std::ptr::null(), old.as_mut_ptr() as *mut c_void) }, 0);
    old
}

fn disposition(signum: c_int) -> [u64; 3] {
    let raw = raw_disposition(signum);
    [raw[0], raw[1], raw[17] & !0x0400_0000]
}

#[test]
fn loading_keeps_the_process_signal_handlers() {
    // SIGINT gets a handler of this program's own; Rust has set SIGPIPE and SIGSEGV already.
    let mut action = raw_disposition(2);
    let handler: extern "C" fn(c_int) = own_handler;
    action[0] = handler as usize as u64;
    assert_eq!(unsafe { sigaction(2, action.as_ptr() as *const c_void, std::ptr::null_mut()) }, 0);
    let signals = [2, 11, 6, 8, 4, 13];
    let before: Vec<_> = signals.iter().map(|&s| disposition(s)).collect();
    karpa::seq::sort_int([2, 1], 0).unwrap();
    karpa::curried::sum_int([1]).unwrap();
    karpa::datetime::add_days(2024, 1, 1, 1).unwrap();
    karpa::crypto::md5_hash("").unwrap();
    let after: Vec<_> = signals.iter().map(|&s| disposition(s)).collect();
    for (k, s) in signals.iter().enumerate() {
        assert_eq!(before[k], after[k], "signal {}", s);
    }
}
