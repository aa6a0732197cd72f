/* Lifecycle exports that every Karpa library has. See karpa/karpa.h for the contract. */
#ifndef KARPA_LIFECYCLE_H
#define KARPA_LIFECYCLE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Every library exports these two. A program linked against several Karpa
 * libraries reaches the first library's copy by these names; all behave alike. */

/* Installs the fatal-signal handlers again and ignores SIGPIPE; on a thread
 * whose last call failed, writes the unhandled-error report and exits with status 1.
 * Runs by itself when the library is loaded. */
void TovMain(void);

/* Does nothing; calls made afterwards work as before. */
void TovDestroyGlobals(void);

#ifdef __cplusplus
}
#endif

#endif
