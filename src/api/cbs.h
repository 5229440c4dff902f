// The compiled component model writer: one component of an IBIS document
// as a plain text file of keyword lines, read back by the component record.
// One write at a time (the output is process-wide state).
#ifndef TAVELIN_API_CBS_H
#define TAVELIN_API_CBS_H

struct IBIS;

// Writes the named component (the only one when the name is null) to the
// path.  A null path or "-" only checks that there is something to write.
// 1 when written (or nothing to write), 0 on failure, reported through the
// diagnostics.  The file appears under its name only when completely
// written: an existing file is replaced only then.
int CBS_Write(IBIS* pIbis, const char* pszPath, const char* pszCompName);

// Opens the output: a new file beside the path, put in place by CBS_Close.
int CBS_Open(const char* pszPath);
// Closes the output and moves it to its path; on any write failure the
// partial file is removed and the result is 0.
int CBS_Close();

#endif
