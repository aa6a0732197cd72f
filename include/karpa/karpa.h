/*
 * Karpa: four independent shared libraries with a flat C interface.
 *
 * The contract every export keeps:
 *  - Text arguments are borrowed for the call: a null pointer reads as "", and
 *    text ends at its first NUL byte. Nothing is written through, kept or freed.
 *  - A result is read-only text owned by the library. It stays valid and
 *    unchanged until the next call into the same library on the same thread;
 *    read or copy it before then. Constant results ("", "0", "0.0", ",", the
 *    digests of empty input) stay valid while the library is loaded. There is
 *    no function to release a result.
 *  - The null pointer means failure (the numeric calendar calls return 0).
 *    A failure concerns the calling thread only and that call only: the next
 *    call on the thread starts clean. TovMain called right after a failed call
 *    writes the unhandled-error report to standard error and exits with status 1.
 *  - Every export may be called from any number of threads at once.
 *  - Loading a library installs handlers for SIGINT, SIGSEGV, SIGABRT, SIGFPE
 *    and SIGILL (a message on standard error, then the signal's default action)
 *    and sets SIGPIPE to be ignored, for the whole process. When the system
 *    refuses memory the library writes "out of memory" and exits with status 1.
 *
 * List text is comma-separated. Number lists strip TAB, LF, VT, FF, CR and
 * SPACE around each item and skip empty items; string lists keep every item
 * exactly as it stands between the commas.
 */
#ifndef KARPA_KARPA_H
#define KARPA_KARPA_H

/* The release these headers belong to (also the libraries' SONAME major and pkg-config version). */
#define KARPA_VERSION_MAJOR 1
#define KARPA_VERSION_MINOR 0
#define KARPA_VERSION_PATCH 0

#include "karpa/crypto.h"
#include "karpa/curried.h"
#include "karpa/datetime.h"
#include "karpa/seq.h"

#endif
