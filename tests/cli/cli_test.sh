#!/usr/bin/env bash
# The karpa command: results, failures, usage errors and standard input.
set -uo pipefail
karpa="$1"
passed=0
failed=0

# expect NAME WANTED_STATUS WANTED_STDOUT STDERR_PATTERN -- COMMAND...
expect() {
  local name="$1" status="$2" out="$3" err="$4"
  shift 5
  local got_out got_err got_status
  got_out="$("$@" 2>/tmp/karpa_cli_err.$$)"
  got_status=$?
  got_err="$(cat /tmp/karpa_cli_err.$$)"
  if [ "$got_status" = "$status" ] && [ "$got_out" = "$out" ] && [[ "$got_err" =~ $err ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $name: status $got_status, stdout [$got_out], stderr [$got_err]"
  fi
}

expect sort 0 "1,2,3" '^$' -- "$karpa" seq_sort_int " 3,1, 2" 0
expect descending 0 "3,2,1" '^$' -- "$karpa" seq_sort_int "3,1,2" -1
expect empty-result 0 "" '^$' -- "$karpa" seq_filter_int "1,2" 9
expect failure 1 "" 'Error: unhandled exception: invalid integer: x \[ValueError\]' -- "$karpa" seq_sort_int "3,x" 0
expect numeric-failure 1 "" 'is not a valid date \[AssertionDefect\]' -- "$karpa" dt_ymd_to_ts 2023 2 29
expect numeric-zero 0 "0" '^$' -- "$karpa" dt_ymd_to_ts 1970 1 1
expect overflow 1 "" 'over- or underflow \[OverflowDefect\]' -- "$karpa" seq_reduce_sum_int "9223372036854775807,1"
expect help-export 0 "$(printf '%s\n' 'const char* md5_hash(const char* data, int len)   (libkarpa_crypto)' \
  '  32 hex characters; fails when len < 0.' '' 'example:' \
  '  md5_hash("abc", 3) -> "900150983CD24FB0D6963F7D28E17F72"' '  karpa md5_hash abc')" '^$' -- "$karpa" --help md5_hash
expect help-unknown 2 "" 'unknown export' -- "$karpa" --help nothing
expect version 0 "karpa $2" '^$' -- "$karpa" --version
expect unknown 2 "" 'unknown export' -- "$karpa" no_such_export
expect arity 2 "" 'takes 2 arguments' -- "$karpa" seq_sort_int "1"
expect int-type 2 "" 'must be a 32-bit integer' -- "$karpa" seq_sort_int "1" x
expect int-range 2 "" 'must be a 32-bit integer' -- "$karpa" seq_take_int "1" 2147483648
expect int64 0 "292277026596-12-04 15:30:07" '^$' -- "$karpa" dt_ts_to_ymdhms 9223372036854775807
expect number 0 "29" '^$' -- "$karpa" dt_days_in_month 2024 2
expect digest 0 "900150983CD24FB0D6963F7D28E17F72" '^$' -- "$karpa" md5_hash abc
expect hmac 0 "750C783E6AB0B503EAA86E310A5DB738" '^$' -- "$karpa" hmac_md5 "what do ya want for nothing?" Jefe
expect stdin 0 "5050" '^$' -- bash -c "seq 1 100 | paste -sd, | '$karpa' seq_reduce_sum_int -"
expect list 0 "$("$karpa" --list | wc -l)" '^$' -- bash -c "'$karpa' --list | wc -l"
list_count="$("$karpa" --list | wc -l)"
[ "$list_count" = 75 ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL --list has $list_count lines"; }
tour_lines="$("$karpa" tour | grep -c -- '->')"
[ "$tour_lines" -ge 10 ] && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL tour printed $tour_lines lines"; }
expect no-args 2 "" 'usage' -- "$karpa"

rm -f /tmp/karpa_cli_err.$$
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
