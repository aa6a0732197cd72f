// Code generated from src/exports.def by tools/gen_bindings.py. DO NOT EDIT.

package karpa

// #include <stdlib.h>
// #include <karpa/karpa.h>
import "C"

import "unsafe"

// SeqMapInt calls seq_map_int: Each element times factor. "" for an empty list; fails on overflow.
//
//	seq_map_int("1, 2,3", 10) -> "10,20,30"
func SeqMapInt[List IntList](list List, factor int32) (string, error) {
	const export = "seq_map_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_map_int(cList, C.int(factor))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(factor))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqFilterInt calls seq_filter_int: The elements strictly greater than threshold, in order; "" for an empty list.
//
//	seq_filter_int("5,1,7,3", 3) -> "5,7"
func SeqFilterInt[List IntList](list List, threshold int32) (string, error) {
	const export = "seq_filter_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_filter_int(cList, C.int(threshold))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(threshold))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqReduceSumInt calls seq_reduce_sum_int: The sum; "0" for an empty list; fails when a running sum overflows.
//
//	seq_reduce_sum_int("1,2,3") -> "6"
func SeqReduceSumInt[List IntList](list List) (string, error) {
	const export = "seq_reduce_sum_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_reduce_sum_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqReduceMaxInt calls seq_reduce_max_int: The largest element; "0" for an empty list.
//
//	seq_reduce_max_int("4,-2,9") -> "9"
func SeqReduceMaxInt[List IntList](list List) (string, error) {
	const export = "seq_reduce_max_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_reduce_max_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqReduceMinInt calls seq_reduce_min_int: The smallest element; "0" for an empty list.
//
//	seq_reduce_min_int("4,-2,9") -> "-2"
func SeqReduceMinInt[List IntList](list List) (string, error) {
	const export = "seq_reduce_min_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_reduce_min_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqSortInt calls seq_sort_int: Stable sort, ascending when descending is 0, descending otherwise; "" for an empty list.
//
//	seq_sort_int("3,1,2", 0) -> "1,2,3"
func SeqSortInt[List IntList](list List, descending int32) (string, error) {
	const export = "seq_sort_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_sort_int(cList, C.int(descending))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(descending))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqUniqueInt calls seq_unique_int: The first occurrence of each value, in input order; "" for an empty list.
//
//	seq_unique_int("3,1,3,2,1") -> "3,1,2"
func SeqUniqueInt[List IntList](list List) (string, error) {
	const export = "seq_unique_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_unique_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqCountInt calls seq_count_int: How many elements are strictly greater than threshold; "0" for an empty list.
//
//	seq_count_int("5,1,7,3", 3) -> "2"
func SeqCountInt[List IntList](list List, threshold int32) (string, error) {
	const export = "seq_count_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_count_int(cList, C.int(threshold))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(threshold))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqReverseInt calls seq_reverse_int: The elements in reverse order; "" for an empty list.
//
//	seq_reverse_int("1,2,3") -> "3,2,1"
func SeqReverseInt[List IntList](list List) (string, error) {
	const export = "seq_reverse_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_reverse_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqTakeInt calls seq_take_int: The first count elements (all when fewer); fails when count < 0, even for an empty list.
//
//	seq_take_int("1,2,3", 2) -> "1,2"
func SeqTakeInt[List IntList](list List, count int32) (string, error) {
	const export = "seq_take_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_take_int(cList, C.int(count))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(count))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqSkipInt calls seq_skip_int: The elements after the first count; fails when count < 0, even for an empty list.
//
//	seq_skip_int("1,2,3", -1) -> failure
func SeqSkipInt[List IntList](list List, count int32) (string, error) {
	const export = "seq_skip_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_skip_int(cList, C.int(count))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(count))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqMapFloat calls seq_map_float: Each element times factor, six significant digits each ("3", "1.5", "inf"); "" for an empty list.
//
//	seq_map_float("1.5, 2", "2") -> "3,4"
func SeqMapFloat[List FloatList, Factor FloatArg](list List, factor Factor) (string, error) {
	const export = "seq_map_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	factorText, err := floatText(export, "factor", factor)
	if err != nil {
		return "", err
	}
	cFactor := C.CString(factorText)
	defer C.free(unsafe.Pointer(cFactor))
	result := C.seq_map_float(cList, cFactor)
	if result == nil {
		return "", failure(export, []string{listText, factorText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqFilterFloat calls seq_filter_float: The elements strictly greater than threshold (never a NaN), six significant digits; "" for an empty list.
//
//	seq_filter_float("0.5,1.5,nan,2", "1") -> "1.5,2"
func SeqFilterFloat[List FloatList, Threshold FloatArg](list List, threshold Threshold) (string, error) {
	const export = "seq_filter_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	thresholdText, err := floatText(export, "threshold", threshold)
	if err != nil {
		return "", err
	}
	cThreshold := C.CString(thresholdText)
	defer C.free(unsafe.Pointer(cThreshold))
	result := C.seq_filter_float(cList, cThreshold)
	if result == nil {
		return "", failure(export, []string{listText, thresholdText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqReduceSumFloat calls seq_reduce_sum_float: The left-to-right sum from +0.0, shortest exact text; "0.0" for an empty list.
//
//	seq_reduce_sum_float("0.1,0.2") -> "0.30000000000000004"
func SeqReduceSumFloat[List FloatList](list List) (string, error) {
	const export = "seq_reduce_sum_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_reduce_sum_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqReduceMaxFloat calls seq_reduce_max_float: The largest element (a leading NaN wins), shortest exact text; "0.0" for an empty list.
//
//	seq_reduce_max_float("1,nan,2") -> "2.0"
func SeqReduceMaxFloat[List FloatList](list List) (string, error) {
	const export = "seq_reduce_max_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_reduce_max_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqReduceMinFloat calls seq_reduce_min_float: The smallest element (a leading NaN wins), shortest exact text; "0.0" for an empty list.
//
//	seq_reduce_min_float("") -> "0.0"
func SeqReduceMinFloat[List FloatList](list List) (string, error) {
	const export = "seq_reduce_min_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_reduce_min_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqSortFloat calls seq_sort_float: Stable sort; -0.0 equals 0.0; every comparison with NaN answers "greater"; "" for an empty list.
//
//	seq_sort_float("3,1.5,2", 1) -> "3,2,1.5"
func SeqSortFloat[List FloatList](list List, descending int32) (string, error) {
	const export = "seq_sort_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_sort_float(cList, C.int(descending))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(descending))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqUniqueFloat calls seq_unique_float: The first of each value (-0.0 and 0.0 are one value; every NaN is kept); "" for an empty list.
//
//	seq_unique_float("-0.0,0.0") -> "-0"
func SeqUniqueFloat[List FloatList](list List) (string, error) {
	const export = "seq_unique_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_unique_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqCountFloat calls seq_count_float: How many elements are strictly greater than threshold, as an integer; "0" for an empty list.
//
//	seq_count_float("0.5,1.5,nan,2", "1") -> "2"
func SeqCountFloat[List FloatList, Threshold FloatArg](list List, threshold Threshold) (string, error) {
	const export = "seq_count_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	thresholdText, err := floatText(export, "threshold", threshold)
	if err != nil {
		return "", err
	}
	cThreshold := C.CString(thresholdText)
	defer C.free(unsafe.Pointer(cThreshold))
	result := C.seq_count_float(cList, cThreshold)
	if result == nil {
		return "", failure(export, []string{listText, thresholdText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqReverseFloat calls seq_reverse_float: The elements in reverse order, six significant digits; "" for an empty list.
//
//	seq_reverse_float("3.14159265,1") -> "1,3.14159"
func SeqReverseFloat[List FloatList](list List) (string, error) {
	const export = "seq_reverse_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_reverse_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqMapString calls seq_map_string: prefix + item stripped of blanks + suffix, for every item; "" for "". Never fails.
//
//	seq_map_string("a, b,,c", "<", ">") -> "<a>,<b>,<>,<c>"
func SeqMapString[List StringList](list List, prefix string, suffix string) (string, error) {
	const export = "seq_map_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	prefixText, err := checkText(export, "prefix", prefix)
	if err != nil {
		return "", err
	}
	cPrefix := C.CString(prefixText)
	defer C.free(unsafe.Pointer(cPrefix))
	suffixText, err := checkText(export, "suffix", suffix)
	if err != nil {
		return "", err
	}
	cSuffix := C.CString(suffixText)
	defer C.free(unsafe.Pointer(cSuffix))
	result := C.seq_map_string(cList, cPrefix, cSuffix)
	if result == nil {
		return "", failure(export, []string{listText, prefixText, suffixText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqFilterString calls seq_filter_string: The items (unchanged) whose stripped length is at least min_length; "" for "". Never fails.
//
//	seq_filter_string("ab, c, ,def", 2) -> "ab,def"
func SeqFilterString[List StringList](list List, minLength int32) (string, error) {
	const export = "seq_filter_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_filter_string(cList, C.int(minLength))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(minLength))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqCountString calls seq_count_string: How many items have a stripped length of at least min_length; "0" for "". Never fails.
//
//	seq_count_string(",", 0) -> "2"
func SeqCountString[List StringList](list List, minLength int32) (string, error) {
	const export = "seq_count_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_count_string(cList, C.int(minLength))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(minLength))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqSortString calls seq_sort_string: Stable sort by unsigned bytes, shorter first on a common prefix; "" for "". Never fails.
//
//	seq_sort_string("b,a,,B", 0) -> ",B,a,b"
func SeqSortString[List StringList](list List, descending int32) (string, error) {
	const export = "seq_sort_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_sort_string(cList, C.int(descending))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(descending))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqUniqueString calls seq_unique_string: The first occurrence of each item, byte for byte; "" for "". Never fails.
//
//	seq_unique_string("a,b,a, a") -> "a,b, a"
func SeqUniqueString[List StringList](list List) (string, error) {
	const export = "seq_unique_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_unique_string(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqReverseString calls seq_reverse_string: The items in reverse order; "" for "". Never fails.
//
//	seq_reverse_string("a,") -> ",a"
func SeqReverseString[List StringList](list List) (string, error) {
	const export = "seq_reverse_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_reverse_string(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqTakeString calls seq_take_string: The first count items; "" for ""; fails when count < 0 and the list is not empty.
//
//	seq_take_string("a", -1) -> failure
func SeqTakeString[List StringList](list List, count int32) (string, error) {
	const export = "seq_take_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_take_string(cList, C.int(count))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(count))})
	}
	return C.GoString(result), nil // copied before the next call
}

// SeqSkipString calls seq_skip_string: The items after the first count; "" for ""; fails when count < 0 and the list is not empty.
//
//	seq_skip_string("a,b,c", 1) -> "b,c"
func SeqSkipString[List StringList](list List, count int32) (string, error) {
	const export = "seq_skip_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.seq_skip_string(cList, C.int(count))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(count))})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurSumInt calls cur_sum_int: The sum; "0" for an empty list; fails when a running sum overflows.
//
//	cur_sum_int("1, 2 ,,3") -> "6"
func CurSumInt[List IntList](list List) (string, error) {
	const export = "cur_sum_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_sum_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMeanInt calls cur_mean_int: sum / n, general; "0" for an empty list; fails when the sum overflows.
//
//	cur_mean_int("1,2,2") -> "1.66667"
func CurMeanInt[List IntList](list List) (string, error) {
	const export = "cur_mean_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_mean_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMinInt calls cur_min_int: The smallest item; "0" for an empty list.
//
//	cur_min_int("") -> "0"
func CurMinInt[List IntList](list List) (string, error) {
	const export = "cur_min_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_min_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMaxInt calls cur_max_int: The largest item; "0" for an empty list.
//
//	cur_max_int("3,-1,2") -> "3"
func CurMaxInt[List IntList](list List) (string, error) {
	const export = "cur_max_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_max_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMinmaxInt calls cur_minmax_int: "min,max"; "," for an empty list.
//
//	cur_minmax_int("3,-1,2") -> "-1,3"
func CurMinmaxInt[List IntList](list List) (string, error) {
	const export = "cur_minmax_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_minmax_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurVarianceInt calls cur_variance_int: Population variance (divisor n), general; "0" for an empty list.
//
//	cur_variance_int("1,2,3,4") -> "1.25"
func CurVarianceInt[List IntList](list List) (string, error) {
	const export = "cur_variance_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_variance_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurStddevInt calls cur_stddev_int: Population standard deviation, general; "0" for an empty list.
//
//	cur_stddev_int("1,2,3,4") -> "1.11803"
func CurStddevInt[List IntList](list List) (string, error) {
	const export = "cur_stddev_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_stddev_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMedianInt calls cur_median_int: The median (mean of the two middle items for even n), general; "0" for an empty list.
//
//	cur_median_int("4,1,3,2") -> "2.5"
func CurMedianInt[List IntList](list List) (string, error) {
	const export = "cur_median_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_median_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurDotInt calls cur_dot_int: Sum of a[i]*b[i] over the shorter length; "0" when either is empty; fails on overflow or a bad item in either list (a first).
//
//	cur_dot_int("1,2,3", "4,5") -> "14"
func CurDotInt[A IntList, B IntList](a A, b B) (string, error) {
	const export = "cur_dot_int"
	aText, err := intListText(export, "a", a)
	if err != nil {
		return "", err
	}
	cA := C.CString(aText)
	defer C.free(unsafe.Pointer(cA))
	bText, err := intListText(export, "b", b)
	if err != nil {
		return "", err
	}
	cB := C.CString(bText)
	defer C.free(unsafe.Pointer(cB))
	result := C.cur_dot_int(cA, cB)
	if result == nil {
		return "", failure(export, []string{aText, bText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurL2normInt calls cur_l2norm_int: Euclidean norm, general; "0" for an empty list.
//
//	cur_l2norm_int("3,4") -> "5"
func CurL2normInt[List IntList](list List) (string, error) {
	const export = "cur_l2norm_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_l2norm_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurSumFloat calls cur_sum_float: The sum from +0.0, exact; "0.0" for an empty list.
//
//	cur_sum_float("0.1,0.2") -> "0.30000000000000004"
func CurSumFloat[List FloatList](list List) (string, error) {
	const export = "cur_sum_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_sum_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMeanFloat calls cur_mean_float: sum / n, general; "0" for an empty list.
//
//	cur_mean_float("0.1,0.2") -> "0.15"
func CurMeanFloat[List FloatList](list List) (string, error) {
	const export = "cur_mean_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_mean_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMinFloat calls cur_min_float: The smallest item (a leading NaN wins), exact; "0.0" for an empty list.
//
//	cur_min_float("-0.0,0.0") -> "-0.0"
func CurMinFloat[List FloatList](list List) (string, error) {
	const export = "cur_min_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_min_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMaxFloat calls cur_max_float: The largest item (a leading NaN wins), exact; "0.0" for an empty list.
//
//	cur_max_float("") -> "0.0"
func CurMaxFloat[List FloatList](list List) (string, error) {
	const export = "cur_max_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_max_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMinmaxFloat calls cur_minmax_float: "min,max", both exact; "," for an empty list.
//
//	cur_minmax_float("") -> ","
func CurMinmaxFloat[List FloatList](list List) (string, error) {
	const export = "cur_minmax_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_minmax_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurVarianceFloat calls cur_variance_float: Population variance (two passes, divisor n), general; "0" for an empty list.
//
//	cur_variance_float("1,2,3,4") -> "1.25"
func CurVarianceFloat[List FloatList](list List) (string, error) {
	const export = "cur_variance_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_variance_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurStddevFloat calls cur_stddev_float: Population standard deviation, general; "0" for an empty list.
//
//	cur_stddev_float("1,2,3,4") -> "1.11803"
func CurStddevFloat[List FloatList](list List) (string, error) {
	const export = "cur_stddev_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_stddev_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurMedianFloat calls cur_median_float: The median, general; "0" for an empty list.
//
//	cur_median_float("3,1,2") -> "2"
func CurMedianFloat[List FloatList](list List) (string, error) {
	const export = "cur_median_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_median_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurDotFloat calls cur_dot_float: Sum of a[i]*b[i] over the shorter length, exact; "0.0" when either is empty; fails on a bad item in either list (a first).
//
//	cur_dot_float("1.5,2", "2,0.25") -> "3.5"
func CurDotFloat[A FloatList, B FloatList](a A, b B) (string, error) {
	const export = "cur_dot_float"
	aText, err := floatListText(export, "a", a)
	if err != nil {
		return "", err
	}
	cA := C.CString(aText)
	defer C.free(unsafe.Pointer(cA))
	bText, err := floatListText(export, "b", b)
	if err != nil {
		return "", err
	}
	cB := C.CString(bText)
	defer C.free(unsafe.Pointer(cB))
	result := C.cur_dot_float(cA, cB)
	if result == nil {
		return "", failure(export, []string{aText, bText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurL2normFloat calls cur_l2norm_float: Euclidean norm without scaling (may give "inf"), general; "0" for an empty list.
//
//	cur_l2norm_float("3,4") -> "5"
func CurL2normFloat[List FloatList](list List) (string, error) {
	const export = "cur_l2norm_float"
	listText, err := floatListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_l2norm_float(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurDistinctInt calls cur_distinct_int: The first occurrence of each value ("1", "+1" and "01" are one value); "" for an empty list.
//
//	cur_distinct_int("3, 1,3 ,2,1") -> "3,1,2"
func CurDistinctInt[List IntList](list List) (string, error) {
	const export = "cur_distinct_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_distinct_int(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurCountInt calls cur_count_int: How many items equal value; "0" for an empty list.
//
//	cur_count_int("1,2,1,1", 1) -> "3"
func CurCountInt[List IntList](list List, value int32) (string, error) {
	const export = "cur_count_int"
	listText, err := intListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_count_int(cList, C.int(value))
	if result == nil {
		return "", failure(export, []string{listText, itoa(int64(value))})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurDistinctString calls cur_distinct_string: The first occurrence of each item, byte for byte; "" for "". Never fails.
//
//	cur_distinct_string("b,a,b, a") -> "b,a, a"
func CurDistinctString[List StringList](list List) (string, error) {
	const export = "cur_distinct_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	result := C.cur_distinct_string(cList)
	if result == nil {
		return "", failure(export, []string{listText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurCountString calls cur_count_string: How many items equal item (taken whole, not split or stripped); "" is one empty item. Never fails.
//
//	cur_count_string("a,b,a", "a") -> "2"
func CurCountString[List StringList](list List, item string) (string, error) {
	const export = "cur_count_string"
	listText, err := stringListText(export, "list", list)
	if err != nil {
		return "", err
	}
	cList := C.CString(listText)
	defer C.free(unsafe.Pointer(cList))
	itemText, err := checkText(export, "item", item)
	if err != nil {
		return "", err
	}
	cItem := C.CString(itemText)
	defer C.free(unsafe.Pointer(cItem))
	result := C.cur_count_string(cList, cItem)
	if result == nil {
		return "", failure(export, []string{listText, itemText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurUnionString calls cur_union_string: The distinct items of a, then those of b not seen before; "" is one empty item. Never fails.
//
//	cur_union_string("a,b,a", "c,b,d") -> "a,b,c,d"
func CurUnionString[A StringList, B StringList](a A, b B) (string, error) {
	const export = "cur_union_string"
	aText, err := stringListText(export, "a", a)
	if err != nil {
		return "", err
	}
	cA := C.CString(aText)
	defer C.free(unsafe.Pointer(cA))
	bText, err := stringListText(export, "b", b)
	if err != nil {
		return "", err
	}
	cB := C.CString(bText)
	defer C.free(unsafe.Pointer(cB))
	result := C.cur_union_string(cA, cB)
	if result == nil {
		return "", failure(export, []string{aText, bText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurIntersectString calls cur_intersect_string: The distinct items of a that occur in b, in the order of a; "" is one empty item. Never fails.
//
//	cur_intersect_string("a,b,a,c", "c,a") -> "a,c"
func CurIntersectString[A StringList, B StringList](a A, b B) (string, error) {
	const export = "cur_intersect_string"
	aText, err := stringListText(export, "a", a)
	if err != nil {
		return "", err
	}
	cA := C.CString(aText)
	defer C.free(unsafe.Pointer(cA))
	bText, err := stringListText(export, "b", b)
	if err != nil {
		return "", err
	}
	cB := C.CString(bText)
	defer C.free(unsafe.Pointer(cB))
	result := C.cur_intersect_string(cA, cB)
	if result == nil {
		return "", failure(export, []string{aText, bText})
	}
	return C.GoString(result), nil // copied before the next call
}

// CurDiffString calls cur_diff_string: The items of a (repeats kept) that do not occur in b; "" is one empty item. Never fails.
//
//	cur_diff_string("a,b,a,c", "b") -> "a,a,c"
func CurDiffString[A StringList, B StringList](a A, b B) (string, error) {
	const export = "cur_diff_string"
	aText, err := stringListText(export, "a", a)
	if err != nil {
		return "", err
	}
	cA := C.CString(aText)
	defer C.free(unsafe.Pointer(cA))
	bText, err := stringListText(export, "b", b)
	if err != nil {
		return "", err
	}
	cB := C.CString(bText)
	defer C.free(unsafe.Pointer(cB))
	result := C.cur_diff_string(cA, cB)
	if result == nil {
		return "", failure(export, []string{aText, bText})
	}
	return C.GoString(result), nil // copied before the next call
}

// DtIsLeapYear calls dt_is_leap_year: 1 for a leap year (0, -4 and 2000 are; 1900 is not), else 0. Never fails.
//
//	dt_is_leap_year(2000) -> 1
func DtIsLeapYear(year int64) (bool, error) {
	return C.dt_is_leap_year(C.int64_t(year)) != 0, nil
}

// DtDaysInMonth calls dt_days_in_month: 28 to 31; 0 when month is outside 1..12. Never fails.
//
//	dt_days_in_month(2024, 2) -> 29
func DtDaysInMonth(year int64, month int64) (int64, error) {
	return int64(C.dt_days_in_month(C.int64_t(year), C.int64_t(month))), nil
}

// DtDaysInYear calls dt_days_in_year: 366 or 365. Never fails.
//
//	dt_days_in_year(1900) -> 365
func DtDaysInYear(year int64) (int64, error) {
	return int64(C.dt_days_in_year(C.int64_t(year))), nil
}

// DtTsToYmd calls dt_ts_to_ymd: The UTC date holding the timestamp: "1969-12-31" for -1; fails for the 55808 smallest timestamps, whose day starts before the 64-bit span.
//
//	dt_ts_to_ymd(951782400) -> "2000-02-29"
func DtTsToYmd(timestamp int64) (string, error) {
	const export = "dt_ts_to_ymd"
	result := C.dt_ts_to_ymd(C.int64_t(timestamp))
	if result == nil {
		return "", failure(export, []string{itoa(timestamp)})
	}
	return C.GoString(result), nil // copied before the next call
}

// DtTsToYmdhms calls dt_ts_to_ymdhms: The UTC date and time: "2023-11-14 22:13:20" for 1700000000; fails as dt_ts_to_ymd does.
//
//	dt_ts_to_ymdhms(1700000000) -> "2023-11-14 22:13:20"
func DtTsToYmdhms(timestamp int64) (string, error) {
	const export = "dt_ts_to_ymdhms"
	result := C.dt_ts_to_ymdhms(C.int64_t(timestamp))
	if result == nil {
		return "", failure(export, []string{itoa(timestamp)})
	}
	return C.GoString(result), nil // copied before the next call
}

// DtYmdToTs calls dt_ymd_to_ts: The timestamp of 00:00:00 UTC on the date; 0 on failure (checked date).
//
//	dt_ymd_to_ts(2000, 2, 29) -> 951782400
func DtYmdToTs(year int64, month int64, day int64) (int64, error) {
	const export = "dt_ymd_to_ts"
	result := int64(C.dt_ymd_to_ts(C.int64_t(year), C.int64_t(month), C.int64_t(day)))
	if result == 0 && !zeroIsAnswer(export, []string{itoa(year), itoa(month), itoa(day)}) {
		return 0, failure(export, []string{itoa(year), itoa(month), itoa(day)})
	}
	return result, nil
}

// DtDaysBetween calls dt_days_between: Days from the first date to the second (negative when earlier); 0 on failure (checked dates; also when the two timestamps differ by more than the 64-bit range).
//
//	dt_days_between(2024, 1, 1, 2024, 3, 1) -> 60
func DtDaysBetween(year1 int64, month1 int64, day1 int64, year2 int64, month2 int64, day2 int64) (int64, error) {
	const export = "dt_days_between"
	result := int64(C.dt_days_between(C.int64_t(year1), C.int64_t(month1), C.int64_t(day1), C.int64_t(year2), C.int64_t(month2), C.int64_t(day2)))
	if result == 0 && !zeroIsAnswer(export, []string{itoa(year1), itoa(month1), itoa(day1), itoa(year2), itoa(month2), itoa(day2)}) {
		return 0, failure(export, []string{itoa(year1), itoa(month1), itoa(day1), itoa(year2), itoa(month2), itoa(day2)})
	}
	return result, nil
}

// DtDayOfWeek calls dt_day_of_week: 1 = Monday ... 7 = Sunday; 0 on failure (checked date).
//
//	dt_day_of_week(2023, 12, 31) -> 7
func DtDayOfWeek(year int64, month int64, day int64) (int64, error) {
	const export = "dt_day_of_week"
	result := int64(C.dt_day_of_week(C.int64_t(year), C.int64_t(month), C.int64_t(day)))
	if result == 0 && !zeroIsAnswer(export, []string{itoa(year), itoa(month), itoa(day)}) {
		return 0, failure(export, []string{itoa(year), itoa(month), itoa(day)})
	}
	return result, nil
}

// DtWeekOfYear calls dt_week_of_year: This library's own week number, 1 to 52, not ISO 8601; 0 on failure (checked date). With yd the day of the year (0 for January 1), wd the weekday (0 = Monday) and j the weekday of January 4 of the same year: a day with yd <= 7 - j is week 52; a later day is week (yd - wd - 1) / 7 + 1, the quotient truncated toward zero, and a day that would so be week 53 is week 1.
//
//	dt_week_of_year(2024, 1, 15) -> 2
func DtWeekOfYear(year int64, month int64, day int64) (int64, error) {
	const export = "dt_week_of_year"
	result := int64(C.dt_week_of_year(C.int64_t(year), C.int64_t(month), C.int64_t(day)))
	if result == 0 && !zeroIsAnswer(export, []string{itoa(year), itoa(month), itoa(day)}) {
		return 0, failure(export, []string{itoa(year), itoa(month), itoa(day)})
	}
	return result, nil
}

// DtValidateDate calls dt_validate_date: 1 for a real date in the years 1 to 9999, else 0. Never fails.
//
//	dt_validate_date(2023, 2, 29) -> 0
func DtValidateDate(year int64, month int64, day int64) (bool, error) {
	return C.dt_validate_date(C.int64_t(year), C.int64_t(month), C.int64_t(day)) != 0, nil
}

// DtAddDays calls dt_add_days: The date shifted by days; fails for a checked date that is bad or a result outside the span.
//
//	dt_add_days(2024, 2, 28, 1) -> "2024-02-29"
func DtAddDays(year int64, month int64, day int64, days int64) (string, error) {
	const export = "dt_add_days"
	result := C.dt_add_days(C.int64_t(year), C.int64_t(month), C.int64_t(day), C.int64_t(days))
	if result == nil {
		return "", failure(export, []string{itoa(year), itoa(month), itoa(day), itoa(days)})
	}
	return C.GoString(result), nil // copied before the next call
}

// DtAddMonths calls dt_add_months: The date shifted by months, the day clamped to the month's end; no date check; fails when month + months or the year leaves the 64-bit range.
//
//	dt_add_months(2024, 1, 31, 1) -> "2024-02-29"
func DtAddMonths(year int64, month int64, day int64, months int64) (string, error) {
	const export = "dt_add_months"
	result := C.dt_add_months(C.int64_t(year), C.int64_t(month), C.int64_t(day), C.int64_t(months))
	if result == nil {
		return "", failure(export, []string{itoa(year), itoa(month), itoa(day), itoa(months)})
	}
	return C.GoString(result), nil // copied before the next call
}

// DtRangeDays calls dt_range_days: count dates from the given one, comma-joined; "" for 0; fails for a bad checked date, then for count < 0, then when the run leaves the span.
//
//	dt_range_days(2023, 12, 30, 3) -> "2023-12-30,2023-12-31,2024-01-01"
func DtRangeDays(year int64, month int64, day int64, count int64) (string, error) {
	const export = "dt_range_days"
	result := C.dt_range_days(C.int64_t(year), C.int64_t(month), C.int64_t(day), C.int64_t(count))
	if result == nil {
		return "", failure(export, []string{itoa(year), itoa(month), itoa(day), itoa(count)})
	}
	return C.GoString(result), nil // copied before the next call
}

// DtRangeDaysBetween calls dt_range_days_between: Every date from the first to the second, both included; "" when the second is earlier; fails as dt_days_between does.
//
//	dt_range_days_between(2024, 1, 30, 2024, 2, 2) -> "2024-01-30,2024-01-31,2024-02-01,2024-02-02"
func DtRangeDaysBetween(year1 int64, month1 int64, day1 int64, year2 int64, month2 int64, day2 int64) (string, error) {
	const export = "dt_range_days_between"
	result := C.dt_range_days_between(C.int64_t(year1), C.int64_t(month1), C.int64_t(day1), C.int64_t(year2), C.int64_t(month2), C.int64_t(day2))
	if result == nil {
		return "", failure(export, []string{itoa(year1), itoa(month1), itoa(day1), itoa(year2), itoa(month2), itoa(day2)})
	}
	return C.GoString(result), nil // copied before the next call
}

// DtRangeMonths calls dt_range_months: count months ("2024-11,2024-12,2025-01"); "" for 0; fails for count < 0 or when the year leaves the 64-bit range.
//
//	dt_range_months(2024, 11, 4) -> "2024-11,2024-12,2025-01,2025-02"
func DtRangeMonths(year int64, month int64, count int64) (string, error) {
	const export = "dt_range_months"
	result := C.dt_range_months(C.int64_t(year), C.int64_t(month), C.int64_t(count))
	if result == nil {
		return "", failure(export, []string{itoa(year), itoa(month), itoa(count)})
	}
	return C.GoString(result), nil // copied before the next call
}

// Md5Hash calls md5_hash: 32 hex characters; fails when len < 0.
//
//	md5_hash("abc", 3) -> "900150983CD24FB0D6963F7D28E17F72"
func Md5Hash(data []byte) (string, error) {
	const export = "md5_hash"
	if err := checkBytes(export, "data", data); err != nil {
		return "", err
	}
	cData := C.CBytes(data)
	defer C.free(cData)
	result := C.md5_hash((*C.char)(cData), C.int(len(data)))
	if result == nil {
		return "", failure(export, []string{string(data)})
	}
	return C.GoString(result), nil // copied before the next call
}

// Sha1Hash calls sha1_hash: 40 hex characters; fails when len < 0.
//
//	sha1_hash("abc", 3) -> "A9993E364706816ABA3E25717850C26C9CD0D89D"
func Sha1Hash(data []byte) (string, error) {
	const export = "sha1_hash"
	if err := checkBytes(export, "data", data); err != nil {
		return "", err
	}
	cData := C.CBytes(data)
	defer C.free(cData)
	result := C.sha1_hash((*C.char)(cData), C.int(len(data)))
	if result == nil {
		return "", failure(export, []string{string(data)})
	}
	return C.GoString(result), nil // copied before the next call
}

// Sha256Hash calls sha256_hash: 64 hex characters; fails when len < 0.
//
//	sha256_hash(null, 0) -> "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"
func Sha256Hash(data []byte) (string, error) {
	const export = "sha256_hash"
	if err := checkBytes(export, "data", data); err != nil {
		return "", err
	}
	cData := C.CBytes(data)
	defer C.free(cData)
	result := C.sha256_hash((*C.char)(cData), C.int(len(data)))
	if result == nil {
		return "", failure(export, []string{string(data)})
	}
	return C.GoString(result), nil // copied before the next call
}

// HmacMd5 calls hmac_md5: HMAC-MD5 of message under key (message first); a negative length means empty.
//
//	hmac_md5("what do ya want for nothing?", 28, "Jefe", 4) -> "750C783E6AB0B503EAA86E310A5DB738"
func HmacMd5(message []byte, key []byte) (string, error) {
	const export = "hmac_md5"
	if err := checkBytes(export, "message", message); err != nil {
		return "", err
	}
	cMessage := C.CBytes(message)
	defer C.free(cMessage)
	if err := checkBytes(export, "key", key); err != nil {
		return "", err
	}
	cKey := C.CBytes(key)
	defer C.free(cKey)
	result := C.hmac_md5((*C.char)(cMessage), C.int(len(message)), (*C.char)(cKey), C.int(len(key)))
	if result == nil {
		return "", failure(export, []string{string(message), string(key)})
	}
	return C.GoString(result), nil // copied before the next call
}

// HmacSha256 calls hmac_sha256: HMAC-SHA-256 of message under key (message first); a negative length means empty.
//
//	hmac_sha256("what do ya want for nothing?", 28, "Jefe", 4) -> "5BDCC146BF60754E6A042426089575C75A003F089D2739839DEC58B964EC3843"
func HmacSha256(message []byte, key []byte) (string, error) {
	const export = "hmac_sha256"
	if err := checkBytes(export, "message", message); err != nil {
		return "", err
	}
	cMessage := C.CBytes(message)
	defer C.free(cMessage)
	if err := checkBytes(export, "key", key); err != nil {
		return "", err
	}
	cKey := C.CBytes(key)
	defer C.free(cKey)
	result := C.hmac_sha256((*C.char)(cMessage), C.int(len(message)), (*C.char)(cKey), C.int(len(key)))
	if result == nil {
		return "", failure(export, []string{string(message), string(key)})
	}
	return C.GoString(result), nil // copied before the next call
}
