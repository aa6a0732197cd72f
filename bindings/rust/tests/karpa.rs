// cargo test: the crate against installed libraries (found through
// KARPA_LIB_DIR, pkg-config at build time or the system loader path).

use karpa::{crypto, curried, datetime, seq, KarpaError};

fn failure<T: std::fmt::Debug>(result: Result<T, KarpaError>) -> KarpaError {
    result.expect_err("no failure")
}

#[test]
fn every_export_answers_its_table_example() {
    for (_, name, words, result) in karpa::EXAMPLES {
        let got = karpa::call_by_name(name, words);
        match result {
            Some(text) => assert_eq!(got.as_deref().map_err(|e| e.to_string()), Ok(*text), "{}", name),
            None => assert!(got.unwrap_err().is_library_failure(), "{}", name),
        }
    }
}

#[test]
fn a_failure_carries_the_library_kind_and_message() {
    let error = failure(seq::sort_int("3,x", 0));
    assert_eq!(error.message(), "invalid integer: x");
    assert_eq!(error.kind().as_deref(), Some("ValueError"));
    assert_eq!(error.function(), "seq_sort_int");
    assert!(error.report().ends_with("Error: unhandled exception: invalid integer: x [ValueError]\n"));
    assert_eq!(error.to_string(), "seq_sort_int: invalid integer: x [ValueError]");
    let overflow = failure(seq::reduce_sum_int([i64::MAX, 1]));
    assert_eq!((overflow.kind().unwrap(), overflow.message()), ("OverflowDefect".into(), "over- or underflow".into()));
    let range = failure(seq::take_int("1", -3));
    assert_eq!(range.message(), "value out of range: -3 notin 0 .. 9223372036854775807");
    // "-" is a list text like any other, not the command's standard input marker.
    assert_eq!(failure(curried::dot_int("-", "1")).message(), "invalid integer: -");
    assert_eq!(seq::sort_int([2, 1], 0).unwrap(), "1,2"); // a failure leaves the next call alone
}

#[test]
fn calendar_zeros_are_failures_or_answers() {
    assert_eq!(datetime::ymd_to_ts(1970, 1, 1).unwrap(), 0);
    assert_eq!(datetime::days_between(2024, 2, 29, 2024, 2, 29).unwrap(), 0);
    assert_eq!(failure(datetime::ymd_to_ts(2023, 2, 29)).kind().as_deref(), Some("AssertionDefect"));
    assert!(datetime::days_between(2023, 2, 29, 2023, 2, 29).is_err());
    assert!(datetime::is_leap_year(2000).unwrap());
}

#[test]
fn lists_go_in_as_slices_and_come_back_as_vectors() {
    assert_eq!(karpa::ints(&seq::sort_int(vec![3, -1, 2], 0).unwrap()).unwrap(), vec![-1, 2, 3]);
    // Every float value reaches the library exactly: the same answer as its own text.
    let values = [0.1, -0.0, 5e-324, 1e300, 1e21, f64::NAN, f64::NEG_INFINITY];
    assert_eq!(curried::minmax_float(values).unwrap(), curried::minmax_float("0.1,-0.0,5e-324,1e300,1e21,nan,-inf").unwrap());
    assert_eq!(seq::reduce_sum_float([0.1, 0.2]).unwrap(), "0.30000000000000004");
    assert_eq!(seq::map_float("1.5", 2.0).unwrap(), "3");
    let parsed = karpa::floats("nan,-inf,1.5").unwrap();
    assert!(parsed[0].is_nan() && parsed[1] == f64::NEG_INFINITY && parsed[2] == 1.5);
    assert_eq!(karpa::strings(&curried::union_string(["b", "a"], vec!["a", "c"]).unwrap()), ["b", "a", "c"]);
    assert_eq!(karpa::strings(",a,"), ["", "a", ""]);
    assert!(karpa::strings("").is_empty());
    assert_eq!(failure(seq::sort_string(["a,b"], 0)).kind().as_deref(), Some("ArgumentError"));
    assert_eq!(failure(seq::sort_int("1\0,2", 0)).kind().as_deref(), Some("ArgumentError"));
    assert_eq!(crypto::md5_hash("é").unwrap(), crypto::md5_hash([0xc3u8, 0xa9]).unwrap());
}

#[test]
fn results_stay_after_later_calls_and_threads_stay_apart() {
    let first = seq::sort_int([3, 1, 2], 0).unwrap();
    seq::reverse_int((0..10_000).collect::<Vec<i64>>()).unwrap();
    assert_eq!(first, "1,2,3");
    let threads: Vec<_> = (0..4i64)
        .map(|t| {
            std::thread::spawn(move || {
                (0..200i64).all(|k| {
                    let bad = seq::sort_int(format!("{},x", k), 0).is_err();
                    bad && seq::sort_int([k, t], 0).unwrap() == format!("{},{}", k.min(t), k.max(t))
                })
            })
        })
        .collect();
    assert!(threads.into_iter().all(|t| t.join().unwrap()));
}

#[test]
fn libraries_load_from_a_known_folder() {
    let path = karpa::library_path("seq").unwrap();
    assert!(path.contains("libkarpa_seq.so"), "{}", path);
    assert!(std::path::Path::new(&path).is_absolute(), "found through a folder: {}", path);
}
