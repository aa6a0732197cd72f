// go test: the package against installed libraries (linked through
// pkg-config; LD_LIBRARY_PATH or the loader cache finds them at run time).
package karpa

import (
	"errors"
	"fmt"
	"math"
	"os"
	"os/signal"
	"path/filepath"
	"strings"
	"sync"
	"syscall"
	"testing"
	"time"
)

func libraryFailure(t *testing.T, err error) *Error {
	t.Helper()
	var failure *Error
	if !errors.As(err, &failure) {
		t.Fatalf("want a *karpa.Error, got %v", err)
	}
	return failure
}

func TestEveryExportAnswersItsTableExample(t *testing.T) {
	for _, e := range examples {
		got, err := callByName(e.export, e.args)
		if e.result == nil {
			libraryFailure(t, err)
		} else if err != nil || got != *e.result {
			t.Errorf("%s%q = %q, %v; want %q", e.export, e.args, got, err, *e.result)
		}
	}
}

func TestAFailureCarriesTheLibraryKindAndMessage(t *testing.T) {
	_, err := SeqSortInt("3,x", 0)
	failure := libraryFailure(t, err)
	if failure.Message() != "invalid integer: x" || failure.Kind() != "ValueError" || failure.Function != "seq_sort_int" {
		t.Fatalf("got %q [%q] from %s", failure.Message(), failure.Kind(), failure.Function)
	}
	if !strings.HasSuffix(failure.Report(), "Error: unhandled exception: invalid integer: x [ValueError]\n") {
		t.Errorf("report %q", failure.Report())
	}
	if err.Error() != "seq_sort_int: invalid integer: x [ValueError]" {
		t.Errorf("Error() = %q", err.Error())
	}
	_, err = SeqReduceSumInt([]int64{math.MaxInt64, 1})
	if f := libraryFailure(t, err); f.Kind() != "OverflowDefect" || f.Message() != "over- or underflow" {
		t.Errorf("overflow: %v", err)
	}
	_, err = SeqTakeInt("1", -3)
	if f := libraryFailure(t, err); f.Message() != "value out of range: -3 notin 0 .. 9223372036854775807" {
		t.Errorf("range: %v", err)
	}
	_, err = CurDotInt("-", "1") // "-" is list text here, not the command's standard input marker
	if f := libraryFailure(t, err); f.Message() != "invalid integer: -" {
		t.Errorf("dash: %v", err)
	}
	if text, err := SeqSortInt([]int{2, 1}, 0); text != "1,2" || err != nil {
		t.Errorf("after a failure: %q, %v", text, err)
	}
}

func TestCalendarZerosAreFailuresOrAnswers(t *testing.T) {
	if ts, err := DtYmdToTs(1970, 1, 1); ts != 0 || err != nil {
		t.Errorf("epoch: %d, %v", ts, err)
	}
	if days, err := DtDaysBetween(2024, 2, 29, 2024, 2, 29); days != 0 || err != nil {
		t.Errorf("same day: %d, %v", days, err)
	}
	_, err := DtYmdToTs(2023, 2, 29)
	if f := libraryFailure(t, err); f.Kind() != "AssertionDefect" {
		t.Errorf("bad date: %v", err)
	}
	_, err = DtDaysBetween(2023, 2, 29, 2023, 2, 29)
	libraryFailure(t, err)
}

func TestListsGoInAsSlicesAndComeBackAsSlices(t *testing.T) {
	text, _ := SeqSortInt([]int64{3, -1, 2}, 0)
	if got, _ := Ints(text); fmt.Sprint(got) != "[-1 2 3]" {
		t.Errorf("ints %v", got)
	}
	// Every float value reaches the library exactly: the same answer as its own text.
	values := []float64{0.1, math.Copysign(0, -1), 5e-324, 1e300, 1e21, math.NaN(), math.Inf(-1)}
	a, _ := CurMinmaxFloat(values)
	b, _ := CurMinmaxFloat("0.1,-0.0,5e-324,1e300,1e21,nan,-inf")
	if a != b {
		t.Errorf("floats %q != %q", a, b)
	}
	if sum, _ := SeqReduceSumFloat([]float64{0.1, 0.2}); sum != "0.30000000000000004" {
		t.Errorf("sum %q", sum)
	}
	if mapped, _ := SeqMapFloat("1.5", 2.0); mapped != "3" {
		t.Errorf("map %q", mapped)
	}
	if got, _ := Floats("nan,-inf,1.5"); !math.IsNaN(got[0]) || !math.IsInf(got[1], -1) || got[2] != 1.5 {
		t.Errorf("floats %v", got)
	}
	union, _ := CurUnionString([]string{"b", "a"}, []string{"a", "c"})
	if fmt.Sprintf("%q", Strings(union)) != `["b" "a" "c"]` || len(Strings("")) != 0 || len(Strings(",a,")) != 3 {
		t.Errorf("strings %q", union)
	}
	if _, err := SeqSortString([]string{"a,b"}, 0); err == nil {
		t.Error("a comma inside an item passed")
	}
	if _, err := SeqSortInt("1\x00,2", 0); err == nil {
		t.Error("a NUL passed")
	}
	x, _ := Md5Hash([]byte("é"))
	y, _ := Md5Hash([]byte{0xc3, 0xa9})
	if x != y {
		t.Errorf("md5 %q %q", x, y)
	}
}

func TestResultsStayAndThreadsStayApart(t *testing.T) {
	first, _ := SeqSortInt([]int{3, 1, 2}, 0)
	long := make([]int, 10000)
	SeqReverseInt(long)
	if first != "1,2,3" {
		t.Errorf("first %q", first)
	}
	var wg sync.WaitGroup
	for g := 0; g < 4; g++ {
		wg.Add(1)
		go func(g int) {
			defer wg.Done()
			for k := 0; k < 200; k++ {
				if _, err := SeqSortInt(fmt.Sprintf("%d,x", k), 0); err == nil {
					t.Error("bad list passed")
				}
				got, err := SeqSortInt([]int{k, g}, 0)
				want := fmt.Sprintf("%d,%d", min(k, g), max(k, g))
				if got != want || err != nil {
					t.Errorf("%q, %v; want %q", got, err, want)
				}
			}
		}(g)
	}
	wg.Wait()
}

func min(a, b int) int {
	if a < b {
		return a
	}
	return b
}

func max(a, b int) int {
	if a > b {
		return a
	}
	return b
}

func TestLibrariesComeFromTheInstalledFolder(t *testing.T) {
	for _, name := range []string{"seq", "curried", "datetime", "crypto"} {
		path, err := LibraryPath(name)
		if err != nil || !strings.HasPrefix(filepath.Base(path), "libkarpa_"+name+".so") {
			t.Errorf("%s: %q, %v", name, path, err)
		}
	}
}

func TestGoKeepsItsOwnSignalHandling(t *testing.T) {
	SeqSortInt("2,1", 0)
	CurSumInt("1")
	DtAddDays(2024, 1, 1, 1)
	Md5Hash(nil)
	caught := make(chan os.Signal, 1)
	signal.Notify(caught, syscall.SIGINT)
	defer signal.Stop(caught)
	syscall.Kill(os.Getpid(), syscall.SIGINT)
	select {
	case <-caught:
	case <-time.After(5 * time.Second):
		t.Fatal("SIGINT did not reach os/signal")
	}
}
