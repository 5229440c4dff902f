// The central model library: the reader frames every read with
// initCentralLibrary and termCentralLibrary and locates referenced files
// with findCentralLibraryFile.
#ifndef CORVANE_H
#define CORVANE_H

// The central model library: a text file that lists, one per line, the
// directories in which model files are looked for.

#ifdef __cplusplus
extern "C" {
#endif

enum { CORVANE_DIR_SIZE = 1024 };

// mode 0: a .lmc file, mode 1: a .prj file (both hold the same format).
void initCentralLibrary(int mode, const char* path);
void termCentralLibrary(void);
// Writes the directory holding `name`, with a trailing '/', into `dir`
// (CORVANE_DIR_SIZE characters) and returns 1; returns 0 when not found.
int findCentralLibraryFile(const char* name, char* dir);

#ifdef __cplusplus
}
#endif

#endif
