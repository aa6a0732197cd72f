/* karpa._native: the package's wrappers with their common cases done in C.
 *
 * Each wrapper of karpa.seq, .curried, .datetime and .crypto whose work is
 * "convert the arguments, call the export, convert the result" can be swapped
 * for a Call object made here. A Call converts what it knows (exact ints,
 * floats, str and bytes, lists and tuples of them, one-dimensional buffers of
 * numbers), calls the export through the address that the package's ctypes
 * handle gives, and builds the Python result. Everything else — other types,
 * keyword arguments, items that list text cannot carry, a failed call — goes
 * to the package's Python wrapper, which raises exactly what it always did.
 */
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <stddef.h>
#include <stdint.h>
#include <string.h>

/* float_repr.cpp: repr(x) of a binary64, at most 24 bytes, not terminated. */
size_t karpa_native_float_repr(char* out, double x);
/* float_repr.cpp: list text of a binary64 (same value, the libraries' layout),
 * not terminated: at most FLOAT_TEXT_MAX bytes, but it writes up to
 * FLOAT_TEXT_ROOM. An integer's text is at most INT_TEXT_MAX bytes. */
size_t karpa_native_float_text(char* out, double x);
enum { FLOAT_TEXT_MAX = 26, FLOAT_TEXT_ROOM = 32, INT_TEXT_MAX = 20 };

enum { MAX_ARGS = 6, SMALL = 256, RELEASE_GIL_BYTES = 1 << 16 };

/* A text argument: borrowed bytes (a bytes or ASCII str object held by the
 * caller) or list text built here, NUL-terminated either way. */
typedef struct {
    const char* p;
    Py_ssize_t n;
    char* heap;
    Py_ssize_t cap;
    char small[SMALL];
} Text;

static void text_init(Text* t) {
    t->p = NULL;
    t->n = 0;
    t->heap = NULL;
    t->cap = SMALL;
}

static char* text_data(Text* t) { return t->heap ? t->heap : t->small; }

/* Room for `more` bytes (and the NUL) after the first n; NULL with MemoryError. */
static char* text_room(Text* t, Py_ssize_t more) {
    if (t->n + more + 1 > t->cap) {
        Py_ssize_t cap = t->cap * 2;
        while (cap < t->n + more + 1) cap *= 2;
        char* heap = PyMem_Malloc((size_t)cap);
        if (heap == NULL) {
            PyErr_NoMemory();
            return NULL;
        }
        memcpy(heap, text_data(t), (size_t)t->n);
        PyMem_Free(t->heap);
        t->heap = heap;
        t->cap = cap;
    }
    return text_data(t) + t->n;
}

/* List text is written item by item at `out`: room for a list of `count`
 * items of at most `item` bytes each is made at once (growing would copy the
 * text), and each item checks that its comma and its writes still fit. */
static char* list_room(Text* t, Py_ssize_t count, Py_ssize_t item) {
    return text_room(t, count * (1 + item) + FLOAT_TEXT_ROOM);
}

static inline char* item_room(Text* t, char* out) {
    if (text_data(t) + t->cap - out >= 2 + FLOAT_TEXT_ROOM) return out;
    t->n = out - text_data(t);
    return text_room(t, 1 + FLOAT_TEXT_ROOM);
}

static void text_finish(Text* t) {
    char* d = text_data(t);
    d[t->n] = '\0';
    t->p = d;
}

static void text_free(Text* t) {
    if (t->heap == NULL) return;
    PyMem_Free(t->heap);
    t->heap = NULL;
}

static const char DIGIT_PAIRS[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

static const uint64_t POWERS_OF_10[20] = {
    1u, 10u, 100u, 1000u, 10000u, 100000u, 1000000u, 10000000u, 100000000u, 1000000000u, 10000000000u,
    100000000000u, 1000000000000u, 10000000000000u, 100000000000000u, 1000000000000000u, 10000000000000000u,
    100000000000000000u, 1000000000000000000u, 10000000000000000000u};

/* Digits of u: floor(log10(2^bits)) by 1233 / 4096, then one comparison
 * (u | 1 crosses no power of ten, and makes 0 one digit). */
static int decimal_length(uint64_t u) {
    int t = ((64 - __builtin_clzll(u | 1)) * 1233) >> 12;
    return t + ((u | 1) >= POWERS_OF_10[t]);
}

/* Decimal text of u at out, written from its last digit back; returns the
 * length (at most 20). */
static int write_uint(char* out, uint64_t u) {
    int len = decimal_length(u);
    char* p = out + len;
    while (u >= 100) {
        uint64_t q = u / 100;
        p -= 2;
        memcpy(p, DIGIT_PAIRS + 2 * (u - q * 100), 2);
        u = q;
    }
    if (u >= 10) {
        p -= 2;
        memcpy(p, DIGIT_PAIRS + 2 * u, 2);
    } else {
        *--p = (char)('0' + u);
    }
    return len;
}

static int write_int(char* out, int64_t v) {
    if (v >= 0) return write_uint(out, (uint64_t)v);
    *out = '-';
    return 1 + write_uint(out + 1, (uint64_t)0 - (uint64_t)v);
}

/* The value of an exact int in the C long long range; 0 when it is not. Ints
 * of one digit (below 2^30), and before 3.12 of two, are read in place,
 * without a call. */
static inline int int_value(PyObject* v, long long* x) {
#if PY_VERSION_HEX >= 0x030C0000
    if (PyUnstable_Long_IsCompact((PyLongObject*)v)) {
        *x = (long long)PyUnstable_Long_CompactValue((PyLongObject*)v);
        return 1;
    }
#else
    Py_ssize_t size = Py_SIZE(v);
    if (size >= -1 && size <= 1) {
        /* zero may have no digit before 3.11 */
        *x = size == 0 ? 0 : (long long)size * (long long)((PyLongObject*)v)->ob_digit[0];
        return 1;
    }
    if (size == 2 || size == -2) {
        const digit* d = ((PyLongObject*)v)->ob_digit;
        long long magnitude = (long long)d[0] | (long long)d[1] << PyLong_SHIFT;
        *x = size < 0 ? -magnitude : magnitude;
        return 1;
    }
#endif
    int overflow;
    *x = PyLong_AsLongLongAndOverflow(v, &overflow);
    return !overflow;
}

/* Outcomes of converting an argument: done, hand the call to the Python
 * wrapper, or a Python error is set. */
enum { OK = 0, FALLBACK = 1, ERROR = -1 };

/* Bytes or ASCII str as text, borrowed; NUL inside goes to the wrapper (which refuses it). */
static int borrow_text(PyObject* v, Text* t, int refuse_comma) {
    const char* p;
    Py_ssize_t n;
    if (PyBytes_CheckExact(v)) {
        p = PyBytes_AS_STRING(v);
        n = PyBytes_GET_SIZE(v);
    } else if (PyUnicode_CheckExact(v) && PyUnicode_IS_ASCII(v)) {
        p = (const char*)PyUnicode_DATA(v);
        n = PyUnicode_GET_LENGTH(v);
    } else {
        return FALLBACK;
    }
    if (memchr(p, '\0', (size_t)n) != NULL) return FALLBACK;
    if (refuse_comma && memchr(p, ',', (size_t)n) != NULL) return FALLBACK;
    t->p = p;
    t->n = n;
    return OK;
}

static int is_text_object(PyObject* v) {
    return PyBytes_Check(v) || PyUnicode_Check(v) || PyByteArray_Check(v) || PyMemoryView_Check(v);
}

/* One-dimensional buffer of numbers: the item kind, or 0 when it is not one. */
enum { B_SIGNED = 1, B_UNSIGNED, B_FLOAT };

static int buffer_kind(const Py_buffer* b) {
    if (b->ndim != 1 || b->format == NULL) return 0;
    const char* f = b->format;
    if (*f == '@' || *f == '=' || *f == '<') ++f; /* x86-64: native order is little-endian */
    if (f[0] == '\0' || f[1] != '\0') return 0;
    switch (f[0]) {
        case 'b': case 'h': case 'i': case 'l': case 'q': case 'n': return B_SIGNED;
        case 'B': case 'H': case 'I': case 'L': case 'Q': case 'N': return B_UNSIGNED;
        case 'f': case 'd': return B_FLOAT;
        default: return 0;
    }
}

static int64_t buffer_signed(const char* p, Py_ssize_t size) {
    switch (size) {
        case 1: return *(const int8_t*)p;
        case 2: { int16_t v; memcpy(&v, p, 2); return v; }
        case 4: { int32_t v; memcpy(&v, p, 4); return v; }
        default: { int64_t v; memcpy(&v, p, 8); return v; }
    }
}

static uint64_t buffer_unsigned(const char* p, Py_ssize_t size) {
    switch (size) {
        case 1: return *(const uint8_t*)p;
        case 2: { uint16_t v; memcpy(&v, p, 2); return v; }
        case 4: { uint32_t v; memcpy(&v, p, 4); return v; }
        default: { uint64_t v; memcpy(&v, p, 8); return v; }
    }
}

static double buffer_float(const char* p, Py_ssize_t size) {
    if (size == 4) {
        float v;
        memcpy(&v, p, 4);
        return v;
    }
    double v;
    memcpy(&v, p, 8);
    return v;
}

/* List text of a buffer's items, with the values the wrapper would get by
 * iterating: ints in decimal, floats in the libraries' round-trip form (ints
 * in a float list through float()). Floats in an integer list go to the wrapper. */
static int buffer_list(PyObject* v, Text* t, int floats) {
    Py_buffer b;
    if (PyObject_GetBuffer(v, &b, PyBUF_RECORDS_RO) != 0) {
        PyErr_Clear();
        return FALLBACK;
    }
    int kind = buffer_kind(&b);
    int result = OK;
    if (kind == 0 || (kind == B_FLOAT && !floats) || (b.itemsize != 1 && b.itemsize != 2 && b.itemsize != 4 &&
                                                      b.itemsize != 8)) {
        result = FALLBACK;
    } else {
        Py_ssize_t count = b.shape[0], stride = b.strides[0];
        const char* item = (const char*)b.buf;
        char* out = list_room(t, count, floats ? FLOAT_TEXT_MAX : INT_TEXT_MAX);
        for (Py_ssize_t i = 0; out != NULL && i < count; ++i, item += stride) {
            if ((out = item_room(t, out)) == NULL) break;
            if (i) *out++ = ',';
            if (kind == B_FLOAT) {
                out += karpa_native_float_text(out, buffer_float(item, b.itemsize));
            } else if (floats) {
                double x = kind == B_SIGNED ? (double)buffer_signed(item, b.itemsize)
                                            : (double)buffer_unsigned(item, b.itemsize);
                out += karpa_native_float_text(out, x);
            } else if (kind == B_SIGNED) {
                out += write_int(out, buffer_signed(item, b.itemsize));
            } else {
                out += write_uint(out, buffer_unsigned(item, b.itemsize));
            }
        }
        if (out == NULL) {
            result = ERROR;
        } else {
            t->n = out - text_data(t);
            text_finish(t);
        }
    }
    PyBuffer_Release(&b);
    return result;
}

/* List text of a list or tuple of exact ints (int lists) or exact floats and
 * ints (float lists); any other item goes to the wrapper. */
static int number_list(PyObject* v, Text* t, int floats) {
    PyObject** items = PySequence_Fast_ITEMS(v);
    Py_ssize_t count = PySequence_Fast_GET_SIZE(v);
    char* out = list_room(t, count, floats ? FLOAT_TEXT_MAX : INT_TEXT_MAX);
    for (Py_ssize_t i = 0; i < count; ++i) {
        PyObject* item = items[i];
        if (out == NULL || (out = item_room(t, out)) == NULL) return ERROR;
        if (i) *out++ = ',';
        if (floats && PyFloat_CheckExact(item)) {
            out += karpa_native_float_text(out, PyFloat_AS_DOUBLE(item));
        } else if (PyLong_CheckExact(item)) {
            if (floats) {
                double x = PyLong_AsDouble(item);
                if (x == -1.0 && PyErr_Occurred()) {
                    PyErr_Clear();
                    return FALLBACK;
                }
                out += karpa_native_float_text(out, x);
            } else {
                long long x;
                if (!int_value(item, &x)) return FALLBACK;
                out += write_int(out, x);
            }
        } else {
            return FALLBACK;
        }
    }
    if (out == NULL) return ERROR;
    t->n = out - text_data(t);
    text_finish(t);
    return OK;
}

/* List text of a list or tuple of str and bytes items without "," and NUL. */
static int string_list(PyObject* v, Text* t) {
    PyObject** items = PySequence_Fast_ITEMS(v);
    Py_ssize_t count = PySequence_Fast_GET_SIZE(v);
    for (Py_ssize_t i = 0; i < count; ++i) {
        PyObject* item = items[i];
        const char* p;
        Py_ssize_t n;
        if (PyUnicode_CheckExact(item)) {
            if (PyUnicode_IS_ASCII(item)) {
                p = (const char*)PyUnicode_DATA(item);
                n = PyUnicode_GET_LENGTH(item);
            } else {
                p = PyUnicode_AsUTF8AndSize(item, &n);
                if (p == NULL) { /* lone surrogates: the wrapper's surrogateescape */
                    PyErr_Clear();
                    return FALLBACK;
                }
            }
        } else if (PyBytes_CheckExact(item)) {
            p = PyBytes_AS_STRING(item);
            n = PyBytes_GET_SIZE(item);
        } else {
            return FALLBACK;
        }
        if (memchr(p, ',', (size_t)n) != NULL || memchr(p, '\0', (size_t)n) != NULL) return FALLBACK;
        char* out = text_room(t, n + 1);
        if (out == NULL) return ERROR;
        if (i) {
            *out++ = ',';
            t->n += 1;
        }
        memcpy(out, p, (size_t)n);
        t->n += n;
    }
    text_finish(t);
    return OK;
}

/* Argument kinds (one letter per Python parameter, from the package). */
enum {
    K_INT32 = 'i',     /* C int */
    K_INT64 = 'q',     /* int64_t */
    K_FLAG = 'b',      /* truth value as 0 or 1 */
    K_INTS = 'L',      /* integer list */
    K_FLOATS = 'F',    /* float list */
    K_STRINGS = 'S',   /* string list */
    K_SET = 'C',       /* string list where an empty collection has its own answer */
    K_FLOAT = 'f',     /* one float: text as given or repr of the number */
    K_TEXT = 't',      /* text */
    K_AFFIX = 'u',     /* text, which must not hold "," unless the result is text */
    K_BYTES = 'y',     /* a buffer: pointer and length */
};

/* Result kinds. */
enum {
    R_STR = 's', R_INT = 'n', R_FLOAT = 'x', R_INTS = 'N', R_FLOATS = 'X', R_STRS = 'T',
    R_PAIR_INT = 'P', R_PAIR_FLOAT = 'Q', R_BOOL = '?', R_NUMBER = 'd', R_NONZERO = 'z',
};

typedef struct {
    PyObject_HEAD
    vectorcallfunc vectorcall;
    void* function;      /* the export, once its library is loaded */
    PyObject* fallback;  /* the Python wrapper */
    PyObject* address;   /* () -> the export's address, loading its library */
    char kinds[MAX_ARGS + 1];
    int parameters, required, result, int32_result, has_text;
} Call;

typedef uint64_t (*Export)(uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t);

static PyObject* fall_back(Call* self, PyObject* const* args, size_t nargsf, PyObject* kwnames) {
    return PyObject_Vectorcall(self->fallback, args, nargsf, kwnames);
}

static int parse_int64(const char* p, Py_ssize_t n, long long* out) {
    int negative = n > 0 && *p == '-';
    if (negative) ++p, --n;
    if (n < 1 || n > 18) return 0; /* longer ones are left to PyLong */
    long long v = 0;
    for (Py_ssize_t i = 0; i < n; ++i) {
        unsigned d = (unsigned)(p[i] - '0');
        if (d > 9) return 0;
        v = v * 10 + d;
    }
    *out = negative ? -v : v;
    return 1;
}

/* A decimal of at most 15 digits times a power of ten within 10^+-22: both
 * are exact doubles, so one multiplication or division rounds once, to the
 * nearest (Clinger's fast path). Returns 0 for any other text. */
static int short_decimal(const char* p, Py_ssize_t n, double* out) {
    static const double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* end = p + n;
    int negative = p < end && *p == '-';
    p += negative;
    uint64_t mantissa = 0;
    int digits = 0, exponent = 0, seen = 0;
    for (; p < end && (unsigned)(*p - '0') <= 9; ++p, ++seen)
        if (mantissa || *p != '0') mantissa = mantissa * 10 + (uint64_t)(*p - '0'), ++digits;
    if (p < end && *p == '.') {
        for (++p; p < end && (unsigned)(*p - '0') <= 9; ++p, ++seen, --exponent)
            if (mantissa || *p != '0') mantissa = mantissa * 10 + (uint64_t)(*p - '0'), ++digits;
    }
    if (!seen || digits > 15) return 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        int sign = 1, e = 0, edigits = 0;
        if (p < end && (*p == '+' || *p == '-')) sign = *p++ == '-' ? -1 : 1;
        for (; p < end && (unsigned)(*p - '0') <= 9 && edigits < 4; ++p, ++edigits) e = e * 10 + (*p - '0');
        if (!edigits) return 0;
        exponent += sign * e;
    }
    if (p != end || exponent < -22 || exponent > 22) return 0;
    double x = (double)mantissa;
    x = exponent < 0 ? x / powers[-exponent] : x * powers[exponent];
    *out = negative ? -x : x;
    return 1;
}

/* int(piece) or float(piece) of a piece of result text; NULL with an error. */
static PyObject* number_of(const char* p, Py_ssize_t n, int floats) {
    if (floats) {
        double quick;
        if (short_decimal(p, n, &quick)) return PyFloat_FromDouble(quick);
        char buffer[64];
        if (n >= (Py_ssize_t)sizeof buffer) return NULL;
        memcpy(buffer, p, (size_t)n);
        buffer[n] = '\0';
        char* end;
        double x = PyOS_string_to_double(buffer, &end, NULL);
        if (x == -1.0 && PyErr_Occurred()) return NULL;
        if (end != buffer + n) {
            PyErr_SetString(PyExc_ValueError, "unexpected result text");
            return NULL;
        }
        return PyFloat_FromDouble(x);
    }
    long long v;
    if (parse_int64(p, n, &v)) return PyLong_FromLongLong(v);
    char buffer[32];
    if (n >= (Py_ssize_t)sizeof buffer) return NULL;
    memcpy(buffer, p, (size_t)n);
    buffer[n] = '\0';
    return PyLong_FromString(buffer, NULL, 10);
}

static PyObject* number_list_of(const char* p, Py_ssize_t n, int floats) {
    if (n == 0) return PyList_New(0);
    const char* end = p + n;
    Py_ssize_t count = 1;
    for (const char* q = p; q < end; ++q) count += *q == ',';  /* vectorised; memchr would be a call per comma */
    PyObject* list = PyList_New(count);
    if (list == NULL) return NULL;
    for (Py_ssize_t i = 0; i < count; ++i) {
        PyObject* item = NULL;
        const char* next = NULL;
        if (!floats) {
            /* An integer of up to 18 digits, read while looking for its comma. */
            const char* q = p + (*p == '-');
            const char* const digits = q;
            uint64_t v = 0;
            while (q < end && q - digits < 19 && (unsigned)(*q - '0') <= 9) v = v * 10 + (uint64_t)(*q++ - '0');
            if (q > digits && q - digits <= 18 && (q == end || *q == ',')) {
                item = PyLong_FromLongLong(*p == '-' ? -(long long)v : (long long)v);
                next = q;
            }
        }
        if (next == NULL) {
            next = i + 1 < count ? memchr(p, ',', (size_t)(end - p)) : end;
            item = number_of(p, next - p, floats);
        }
        if (item == NULL) {
            Py_DECREF(list);
            return NULL;
        }
        PyList_SET_ITEM(list, i, item);
        p = next + 1;
    }
    return list;
}

static PyObject* decoded(const char* p, Py_ssize_t n) { return PyUnicode_DecodeUTF8(p, n, "surrogateescape"); }

/* The length of result text. The export has just written it with stores that
 * a vector load (strlen's first step) would wait for; byte loads are served
 * from those stores, so short results are measured byte by byte. */
static Py_ssize_t result_length(const char* p) {
    for (Py_ssize_t n = 0; n < 24; ++n)
        if (p[n] == '\0') return n;
    return 24 + (Py_ssize_t)strlen(p + 24);
}

static PyObject* result_of(int kind, const char* p) {
    Py_ssize_t n = result_length(p);
    switch (kind) {
        case R_STR: return decoded(p, n);
        case R_INT: return number_of(p, n, 0);
        case R_FLOAT: return number_of(p, n, 1);
        case R_INTS: return number_list_of(p, n, 0);
        case R_FLOATS: return number_list_of(p, n, 1);
        case R_STRS: {
            if (n == 0) return PyList_New(0);
            PyObject* text = decoded(p, n);
            if (text == NULL) return NULL;
            PyObject* comma = PyUnicode_FromStringAndSize(",", 1);
            PyObject* list = comma ? PyUnicode_Split(text, comma, -1) : NULL;
            Py_XDECREF(comma);
            Py_DECREF(text);
            return list;
        }
        case R_PAIR_INT:
        case R_PAIR_FLOAT: {
            const char* comma = memchr(p, ',', (size_t)n);
            if (comma == NULL || memchr(comma + 1, ',', (size_t)(p + n - comma - 1)) != NULL) {
                PyErr_SetString(PyExc_ValueError, "unexpected result text");
                return NULL;
            }
            if (comma == p) return Py_BuildValue("(OO)", Py_None, Py_None);
            int floats = kind == R_PAIR_FLOAT;
            PyObject* low = number_of(p, comma - p, floats);
            PyObject* high = low ? number_of(comma + 1, p + n - comma - 1, floats) : NULL;
            PyObject* pair = high ? PyTuple_Pack(2, low, high) : NULL;
            Py_XDECREF(low);
            Py_XDECREF(high);
            return pair;
        }
        default:
            PyErr_SetString(PyExc_SystemError, "karpa._native: unknown result kind");
            return NULL;
    }
}

static PyObject* call_vectorcall(PyObject* callable, PyObject* const* args, size_t nargsf, PyObject* kwnames) {
    Call* self = (Call*)callable;
    Py_ssize_t nargs = PyVectorcall_NARGS(nargsf);
    int as_text = 0;
    if (kwnames != NULL) {
        /* text= is the only keyword taken here */
        if (!self->has_text || PyTuple_GET_SIZE(kwnames) != 1 ||
            !PyUnicode_CompareWithASCIIString(PyTuple_GET_ITEM(kwnames, 0), "text") == 0)
            return fall_back(self, args, nargsf, kwnames);
        as_text = PyObject_IsTrue(args[nargs]);
        if (as_text < 0) { /* the wrapper raises it where it reads the flag */
            PyErr_Clear();
            return fall_back(self, args, nargsf, kwnames);
        }
    }
    if (nargs < self->required || nargs > self->parameters) return fall_back(self, args, nargsf, kwnames);
    if (self->function == NULL) {
        /* A library that cannot be loaded is reported by the wrapper, after its own argument checks. */
        PyObject* address = PyObject_CallObject(self->address, NULL);
        if (address != NULL) {
            self->function = PyLong_AsVoidPtr(address);
            Py_DECREF(address);
        }
        if (self->function == NULL) {
            PyErr_Clear();
            return fall_back(self, args, nargsf, kwnames);
        }
    }

    Text texts[MAX_ARGS];
    uint64_t c[MAX_ARGS] = {0};
    int ntexts = 0, nc = 0, status = OK;
    Py_ssize_t text_bytes = 0;
    for (int i = 0; i < self->parameters && status == OK; ++i) {
        int kind = self->kinds[i];
        PyObject* v = i < nargs ? args[i] : NULL;
        switch (kind) {
            case K_INT32:
            case K_INT64: {
                if (v == NULL || !PyLong_CheckExact(v)) {
                    status = FALLBACK;
                    break;
                }
                long long x;
                if (!int_value(v, &x) || (kind == K_INT32 && (x < INT32_MIN || x > INT32_MAX))) status = FALLBACK;
                c[nc++] = (uint64_t)x;
                break;
            }
            case K_FLAG: {
                int truth = v ? PyObject_IsTrue(v) : 0;
                if (truth < 0) {
                    PyErr_Clear();
                    status = FALLBACK;
                }
                c[nc++] = (uint64_t)truth;
                break;
            }
            case K_BYTES: {
                if (v == NULL) {
                    status = FALLBACK;
                    break;
                }
                if (!PyBytes_CheckExact(v) || PyBytes_GET_SIZE(v) > INT32_MAX) {
                    if (!(PyUnicode_CheckExact(v) && PyUnicode_IS_ASCII(v) && PyUnicode_GET_LENGTH(v) <= INT32_MAX)) {
                        status = FALLBACK;
                        break;
                    }
                    c[nc++] = (uint64_t)(uintptr_t)PyUnicode_DATA(v);
                    c[nc++] = (uint64_t)PyUnicode_GET_LENGTH(v);
                    break;
                }
                c[nc++] = (uint64_t)(uintptr_t)PyBytes_AS_STRING(v);
                c[nc++] = (uint64_t)PyBytes_GET_SIZE(v);
                text_bytes += PyBytes_GET_SIZE(v);
                break;
            }
            default: {
                Text* t = &texts[ntexts++];
                text_init(t);
                if (v == NULL) { /* the default of prefix and suffix: "" */
                    t->p = "";
                } else if (kind == K_FLOAT && PyFloat_CheckExact(v)) {
                    t->n = (Py_ssize_t)karpa_native_float_repr(t->small, PyFloat_AS_DOUBLE(v));
                    text_finish(t);
                } else if (kind == K_FLOAT || kind == K_TEXT || kind == K_AFFIX) {
                    status = borrow_text(v, t, kind == K_AFFIX && !as_text);
                } else if (PyList_CheckExact(v) || PyTuple_CheckExact(v)) { /* never text: tested first */
                    if (kind == K_SET && PySequence_Fast_GET_SIZE(v) == 0)
                        status = FALLBACK;
                    else
                        status = (kind == K_STRINGS || kind == K_SET) ? string_list(v, t)
                                                                     : number_list(v, t, kind == K_FLOATS);
                } else if (is_text_object(v)) {
                    status = borrow_text(v, t, 0);
                } else if ((kind == K_INTS || kind == K_FLOATS) && PyObject_CheckBuffer(v)) {
                    status = buffer_list(v, t, kind == K_FLOATS);
                } else {
                    status = FALLBACK;
                }
                c[nc++] = (uint64_t)(uintptr_t)t->p;
                text_bytes += t->n;
                break;
            }
        }
    }

    PyObject* out = NULL;
    if (status == OK) {
        Export function = (Export)self->function;
        uint64_t r;
        /* Every argument is a pointer or an integer, each in an integer
         * register; unused trailing registers are ignored by the callee.
         * Long lists are worked on without the GIL: the texts are ours or
         * immutable objects that the caller holds. */
        if (text_bytes >= RELEASE_GIL_BYTES) {
            Py_BEGIN_ALLOW_THREADS
            r = function(c[0], c[1], c[2], c[3], c[4], c[5]);
            Py_END_ALLOW_THREADS
        } else {
            r = function(c[0], c[1], c[2], c[3], c[4], c[5]);
        }
        if (self->result == R_BOOL || self->result == R_NUMBER || self->result == R_NONZERO) {
            int64_t number = self->int32_result ? (int64_t)(int32_t)r : (int64_t)r;
            if (self->result == R_BOOL)
                out = PyBool_FromLong(number != 0);
            else if (number == 0 && self->result == R_NONZERO)
                status = FALLBACK; /* 0 may be a failure: the wrapper tells */
            else
                out = PyLong_FromLongLong(number);
        } else if (r == 0) {
            status = FALLBACK; /* the wrapper repeats the call and raises KarpaError */
        } else {
            out = result_of(as_text ? R_STR : self->result, (const char*)(uintptr_t)r);
        }
    }
    for (int i = 0; i < ntexts; ++i) text_free(&texts[i]);
    if (status == FALLBACK) return fall_back(self, args, nargsf, kwnames);
    return out;
}

static int call_traverse(Call* self, visitproc visit, void* arg) {
    Py_VISIT(self->fallback);
    Py_VISIT(self->address);
    return 0;
}

static int call_clear(Call* self) {
    Py_CLEAR(self->fallback);
    Py_CLEAR(self->address);
    return 0;
}

static void call_dealloc(Call* self) {
    PyObject_GC_UnTrack(self);
    call_clear(self);
    PyObject_GC_Del(self);
}

/* Names, documentation and the rest come from the wrapper. */
static PyObject* call_getattro(PyObject* self, PyObject* name) {
    Call* call = (Call*)self;
    if (PyUnicode_Check(name) && PyUnicode_CompareWithASCIIString(name, "__wrapped__") == 0) {
        Py_INCREF(call->fallback);
        return call->fallback;
    }
    if (PyUnicode_Check(name) && PyUnicode_GET_LENGTH(name) > 4 && PyUnicode_READ_CHAR(name, 0) == '_' &&
        PyUnicode_READ_CHAR(name, 1) == '_' && PyUnicode_CompareWithASCIIString(name, "__class__") != 0 &&
        PyUnicode_CompareWithASCIIString(name, "__reduce__") != 0 && PyUnicode_CompareWithASCIIString(name, "__reduce_ex__") != 0)
        return PyObject_GetAttr(call->fallback, name);
    PyObject* found = PyObject_GenericGetAttr(self, name);
    if (found == NULL && PyErr_ExceptionMatches(PyExc_AttributeError)) {
        PyErr_Clear();
        return PyObject_GetAttr(call->fallback, name);
    }
    return found;
}

/* Pickled by name, like the function it stands for. */
static PyObject* call_reduce(PyObject* self, PyObject* unused) {
    (void)unused;
    return PyObject_GetAttrString(((Call*)self)->fallback, "__qualname__");
}

static PyObject* call_repr(PyObject* self) {
    PyObject* module = PyObject_GetAttrString(((Call*)self)->fallback, "__module__");
    PyObject* name = module ? PyObject_GetAttrString(((Call*)self)->fallback, "__qualname__") : NULL;
    PyObject* text = name ? PyUnicode_FromFormat("<karpa function %U.%U>", module, name) : NULL;
    Py_XDECREF(module);
    Py_XDECREF(name);
    return text;
}

static PyMethodDef call_methods[] = {
    {"__reduce__", call_reduce, METH_NOARGS, NULL},
    {NULL, NULL, 0, NULL},
};

static PyTypeObject CallType = {
    PyVarObject_HEAD_INIT(NULL, 0)
    .tp_name = "karpa._native.Call",
    .tp_basicsize = sizeof(Call),
    .tp_dealloc = (destructor)call_dealloc,
    .tp_vectorcall_offset = offsetof(Call, vectorcall),
    .tp_repr = call_repr,
    .tp_call = PyVectorcall_Call,
    .tp_getattro = call_getattro,
    .tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_HAVE_GC | Py_TPFLAGS_HAVE_VECTORCALL,
    .tp_traverse = (traverseproc)call_traverse,
    .tp_clear = (inquiry)call_clear,
    .tp_methods = call_methods,
};

/* bind(fallback, address, kinds, required, result, int32_result, has_text) -> Call */
static PyObject* bind(PyObject* module, PyObject* args) {
    (void)module;
    PyObject *fallback, *address;
    const char* kinds;
    int required, result, int32_result, has_text;
    if (!PyArg_ParseTuple(args, "OOsiCpp:bind", &fallback, &address, &kinds, &required, &result, &int32_result,
                          &has_text))
        return NULL;
    size_t parameters = strlen(kinds), registers = 0;
    for (size_t i = 0; i < parameters; ++i) registers += kinds[i] == K_BYTES ? 2 : 1;
    if (parameters > MAX_ARGS || registers > MAX_ARGS || required < 0 || (size_t)required > parameters) {
        PyErr_SetString(PyExc_ValueError, "karpa._native.bind: unsupported signature");
        return NULL;
    }
    Call* self = PyObject_GC_New(Call, &CallType);
    if (self == NULL) return NULL;
    self->vectorcall = call_vectorcall;
    self->function = NULL;
    Py_INCREF(fallback);
    self->fallback = fallback;
    Py_INCREF(address);
    self->address = address;
    memset(self->kinds, 0, sizeof self->kinds);
    memcpy(self->kinds, kinds, parameters);
    self->parameters = (int)parameters;
    self->required = required;
    self->result = result;
    self->int32_result = int32_result;
    self->has_text = has_text;
    PyObject_GC_Track(self);
    return (PyObject*)self;
}

/* float_repr(x) -> repr(x), through this module's printer (for the tests). */
/* float_of(text) -> the float that result text reads as (for the tests). */
static PyObject* float_of(PyObject* module, PyObject* arg) {
    (void)module;
    const char* p;
    Py_ssize_t n;
    if (PyBytes_AsStringAndSize(arg, (char**)&p, &n) != 0) return NULL;
    return number_of(p, n, 1);
}

static PyObject* float_repr(PyObject* module, PyObject* arg) {
    (void)module;
    double x = PyFloat_AsDouble(arg);
    if (x == -1.0 && PyErr_Occurred()) return NULL;
    char buffer[32];
    return PyUnicode_FromStringAndSize(buffer, (Py_ssize_t)karpa_native_float_repr(buffer, x));
}

static PyMethodDef module_methods[] = {
    {"bind", bind, METH_VARARGS, "bind(fallback, address, kinds, required, result, int32_result, has_text)"},
    {"float_repr", float_repr, METH_O, "repr() of a float, by the module's own printer"},
    {"float_of", float_of, METH_O, "float() of result text, by the module's own reader"},
    {NULL, NULL, 0, NULL},
};

static struct PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT, "karpa._native", "The karpa package's wrappers, done in C where they can be.", -1,
    module_methods, NULL, NULL, NULL, NULL,
};

PyMODINIT_FUNC PyInit__native(void) {
    if (PyType_Ready(&CallType) != 0) return NULL;
    return PyModule_Create(&module_def);
}
