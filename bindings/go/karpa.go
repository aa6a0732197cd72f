// Package karpa calls Karpa's four libraries (sequences, statistics,
// calendar, digests) through cgo, linked with the flags pkg-config gives for
// karpa and compiled against its installed headers.
//
// Each function is its export's C name in CamelCase (seq_sort_int is
// SeqSortInt). Lists go in as slices or list text; results come back as the
// library's text, and Ints, Floats and Strings turn list text into slices. A
// call the library cannot answer returns a *Error with the library's own kind
// and message:
//
//	text, err := karpa.SeqSortInt([]int64{3, 1, 2}, 0) // "1,2,3"
//	_, err = karpa.SeqSortInt("3,x", 0)                // err.(*karpa.Error).Message() == "invalid integer: x"
//
// The libraries' fatal-signal handlers, which their load-time constructors
// install, are replaced by the Go runtime's own when the program starts, so
// Go's signal handling (os/signal) works as usual.
package karpa

// #cgo pkg-config: karpa
// #cgo LDFLAGS: -ldl
// #define _GNU_SOURCE
// #include <dlfcn.h>
// #include <karpa/karpa.h>
//
// // The file the dynamic loader mapped a library from, found by one of its exports.
// static const char* karpa_library_file(int which) {
//     const void* fn = which == 0 ? (const void*)seq_sort_int : which == 1 ? (const void*)cur_sum_int
//                    : which == 2 ? (const void*)dt_add_days : (const void*)md5_hash;
//     Dl_info info;
//     return dladdr(fn, &info) && info.dli_fname ? info.dli_fname : NULL;
// }
import "C"

import (
	"bytes"
	"errors"
	"fmt"
	"math"
	"os"
	"os/exec"
	"path/filepath"
	"regexp"
	"strconv"
	"strings"
	"sync"
)

// Error is a call that the library could not answer. Its kind ("ValueError",
// "OverflowDefect", "IndexDefect", "RangeDefect", "AssertionDefect") and
// message are the library's own. The library keeps them per thread and gives
// them out only through its TovMain, which prints them and ends the process;
// so they are read when first asked for, by repeating the call in the karpa
// command (from bin/ beside the libraries' folder, else from PATH), which
// calls TovMain after it.
type Error struct {
	// Function is the export's C name, such as "seq_sort_int".
	Function string
	// Args are the arguments as the command takes them (texts and decimal numbers).
	Args []string

	once                  sync.Once
	kind, message, report string
}

func failure(function string, args []string) *Error {
	return &Error{Function: function, Args: args}
}

var reportLastLine = regexp.MustCompile(`Error: unhandled exception: ((?s).*) \[(\w+)\]\n?$`)

func (e *Error) read() {
	e.once.Do(func() {
		command := exec.Command(karpaCommand(e.Function), append([]string{e.Function}, e.Args...)...)
		// The command reads an argument given as "-" from standard input.
		for _, arg := range e.Args {
			if arg == "-" {
				command.Stdin = strings.NewReader("-")
				break
			}
		}
		var stderr bytes.Buffer
		command.Stderr = &stderr
		err := command.Run()
		e.report = stderr.String()
		match := reportLastLine.FindStringSubmatch(e.report)
		var exit *exec.ExitError
		switch {
		case match != nil && errors.As(err, &exit) && exit.ExitCode() == 1:
			e.kind, e.message = match[2], match[1]
		case err != nil && !errors.As(err, &exit):
			e.message = fmt.Sprintf("the library could not answer these arguments (the karpa command could not run: %v)", err)
		default:
			e.message = "the library could not answer these arguments (it wrote no report)"
		}
	})
}

// Kind is the library's error kind; "" when its report could not be read.
func (e *Error) Kind() string { e.read(); return e.kind }

// Message is the library's message, such as "invalid integer: x".
func (e *Error) Message() string { e.read(); return e.message }

// Report is the library's whole unhandled-error report.
func (e *Error) Report() string { e.read(); return e.report }

func (e *Error) Error() string {
	e.read()
	kind := e.kind
	if kind == "" {
		kind = "unknown"
	}
	return fmt.Sprintf("%s: %s [%s]", e.Function, e.message, kind)
}

var libraryIndex = map[string]C.int{"seq": 0, "curried": 1, "datetime": 2, "crypto": 3}

// LibraryPath is the file a library was loaded from: "seq", "curried", "datetime" or "crypto".
func LibraryPath(name string) (string, error) {
	which, ok := libraryIndex[name]
	if !ok {
		return "", fmt.Errorf("karpa: no library %q", name)
	}
	file := C.karpa_library_file(which)
	if file == nil {
		return "", fmt.Errorf("karpa: the loader does not tell where libkarpa_%s is", name)
	}
	return C.GoString(file), nil
}

func libraryOf(function string) string {
	switch {
	case strings.HasPrefix(function, "seq_"):
		return "seq"
	case strings.HasPrefix(function, "cur_"):
		return "curried"
	case strings.HasPrefix(function, "dt_"):
		return "datetime"
	}
	return "crypto"
}

func karpaCommand(function string) string {
	if file, err := LibraryPath(libraryOf(function)); err == nil {
		beside := filepath.Join(filepath.Dir(file), "..", "bin", "karpa")
		if info, err := os.Stat(beside); err == nil && !info.IsDir() {
			return beside
		}
	}
	return "karpa"
}

// The calendar exports that answer a failure with 0 also answer 0 for real:
// ymd_to_ts for 1970-01-01, days_between for two equal valid dates.
func zeroIsAnswer(function string, words []string) bool {
	epoch := []string{"1970", "1", "1"}
	same := func(a, b []string) bool { return strings.Join(a, ",") == strings.Join(b, ",") }
	switch function {
	case "dt_ymd_to_ts":
		return same(words, epoch)
	case "dt_days_between":
		if !same(words[:3], words[3:]) {
			return false
		}
		if same(words[:3], epoch) {
			return true
		}
		_, err := DtYmdToTs(word(words[0]), word(words[1]), word(words[2]))
		return err == nil
	}
	return false
}

func word(w string) int64 {
	n, _ := strconv.ParseInt(w, 10, 64)
	return n
}

func itoa(n int64) string { return strconv.FormatInt(n, 10) }

// Arguments ------------------------------------------------------------------

// IntList is list text or the items of a list of integers.
type IntList interface{ string | []int64 | []int }

// FloatList is list text or the items of a list of floats (each passed exactly).
type FloatList interface{ string | []float64 }

// StringList is list text or the items of a list of strings (none may hold "," or NUL).
type StringList interface{ string | []string }

// FloatArg is a float as text (passed exactly) or a float64.
type FloatArg interface{ string | float64 }

func checkText(function, what, text string) (string, error) {
	if strings.IndexByte(text, 0) >= 0 {
		return "", fmt.Errorf("karpa: %s: %s contains a NUL character", function, what)
	}
	return text, nil
}

func checkBytes(function, what string, data []byte) error {
	if len(data) > math.MaxInt32 {
		return fmt.Errorf("karpa: %s: %s is longer than a C int can count", function, what)
	}
	return nil
}

// Go prints the shortest text that reads back to the same value.
func floatRepr(x float64) string {
	switch {
	case math.IsNaN(x):
		return "nan"
	case math.IsInf(x, 1):
		return "inf"
	case math.IsInf(x, -1):
		return "-inf"
	}
	return strconv.FormatFloat(x, 'g', -1, 64)
}

func floatText[F FloatArg](function, what string, value F) (string, error) {
	switch v := any(value).(type) {
	case float64:
		return floatRepr(v), nil
	default:
		return checkText(function, what, v.(string))
	}
}

func intListText[L IntList](function, what string, list L) (string, error) {
	var pieces []string
	switch v := any(list).(type) {
	case string:
		return checkText(function, what, v)
	case []int64:
		for _, n := range v {
			pieces = append(pieces, strconv.FormatInt(n, 10))
		}
	case []int:
		for _, n := range v {
			pieces = append(pieces, strconv.Itoa(n))
		}
	}
	return strings.Join(pieces, ","), nil
}

func floatListText[L FloatList](function, what string, list L) (string, error) {
	switch v := any(list).(type) {
	case string:
		return checkText(function, what, v)
	case []float64:
		pieces := make([]string, len(v))
		for k, x := range v {
			pieces[k] = floatRepr(x)
		}
		return strings.Join(pieces, ","), nil
	}
	return "", nil
}

func stringListText[L StringList](function, what string, list L) (string, error) {
	switch v := any(list).(type) {
	case string:
		return checkText(function, what, v)
	case []string:
		for _, item := range v {
			if strings.ContainsAny(item, ",\x00") {
				return "", fmt.Errorf("karpa: %s: %s item %q holds ',' or NUL, which list text cannot carry", function, what, item)
			}
		}
		return strings.Join(v, ","), nil
	}
	return "", nil
}

// Results --------------------------------------------------------------------

func pieces(text string) []string {
	if text == "" {
		return nil
	}
	return strings.Split(text, ",")
}

// Ints reads a list result of integers ("" is the empty list).
func Ints(text string) ([]int64, error) {
	var out []int64
	for _, p := range pieces(text) {
		n, err := strconv.ParseInt(p, 10, 64)
		if err != nil {
			return nil, err
		}
		out = append(out, n)
	}
	return out, nil
}

// Floats reads a list result of floats ("nan", "-nan", "inf", "-inf" included).
func Floats(text string) ([]float64, error) {
	var out []float64
	for _, p := range pieces(text) {
		var x float64
		switch p {
		case "nan", "-nan":
			x = math.NaN()
		default:
			var err error
			if x, err = strconv.ParseFloat(p, 64); err != nil {
				return nil, err
			}
		}
		out = append(out, x)
	}
	return out, nil
}

// Strings reads a list result of strings ("" is the empty list).
func Strings(text string) []string { return pieces(text) }
