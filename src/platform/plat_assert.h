// The end of the process on an assertion: what can never happen between
// modules (a null argument, an impossible code) is written to standard error
// as "module:line:assertion failed." and the process is aborted.  File
// content never leads here.
#ifndef TAVELIN_PLAT_ASSERT_H
#define TAVELIN_PLAT_ASSERT_H

[[noreturn]] void PLAT_AssertFailed(const char* pszModule, int nLine);

#endif
