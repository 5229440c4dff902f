// The one lock of the reader's process-wide state (diagnostics, line
// state, document stack, the library's tab warning and version in force).
// Every call of the module that reads, compiles or destroys a document runs
// inside WithReader: the interpreter lock is released meanwhile, so other
// Python threads run, but no two reads overlap.  Work that needs the
// interpreter takes it back inside (a callback, the document made into
// Python objects); no thread ever waits for the reader's lock while holding
// the interpreter's.
#ifndef TAVELIN_PYTHON_READER_LOCK_H
#define TAVELIN_PYTHON_READER_LOCK_H

#include <functional>

namespace tavelin_py {

// Runs work with the interpreter lock released and the reader's lock held.
// Throws RuntimeError when called back from Python inside such work on the
// same thread (a nested read would corrupt the one in progress).
void WithReader(const std::function<void()>& work);

}  // namespace tavelin_py

#endif
