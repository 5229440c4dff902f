// The reader's lock: one mutex for the process-wide state of the reader,
// a per-thread flag that refuses nested reads from callbacks, and the C
// library's standard output sent to nowhere while the reader runs (the
// reader prints a banner per file there; a Python script's output is its
// own).  Called by every entry of the module that reaches the reader.
#include "reader_lock.h"

#include <pybind11/pybind11.h>

#include <cstdio>
#include <mutex>
#include <stdexcept>

#include "platform/platform.h"

namespace py = pybind11;

namespace tavelin_py {
namespace {

std::mutex g_readerMutex;

// Set on the thread that holds the reader's lock.
thread_local bool t_bInReader = false;

// Holds the lock, the flag and the muted C stdout for one piece of work,
// exceptions included.  Only the C stream is swapped, not descriptor 1:
// Python threads printing meanwhile are not silenced.
class ReaderScope {
public:
    ReaderScope() : m_lock(g_readerMutex), m_pSavedStdout(stdout) {
        t_bInReader = true;
        m_pNull = PLAT_OpenNullStream();
        if (m_pNull != nullptr) {
            fflush(stdout);
            stdout = m_pNull;
        }
    }
    ~ReaderScope() {
        if (m_pNull != nullptr) {
            stdout = m_pSavedStdout;
            fclose(m_pNull);
        }
        t_bInReader = false;
    }
    ReaderScope(const ReaderScope&) = delete;
    ReaderScope& operator=(const ReaderScope&) = delete;

private:
    std::lock_guard<std::mutex> m_lock;
    FILE* m_pSavedStdout;
    FILE* m_pNull = nullptr;
};

}  // namespace

void WithReader(const std::function<void()>& work) {
    if (t_bInReader)
        throw std::runtime_error("tavelin: a read is in progress on this thread (called from a callback)");
    // The interpreter lock goes first: the thread holding the reader's lock
    // may need it for a callback.
    py::gil_scoped_release noGil;
    ReaderScope scope;
    work();
}

}  // namespace tavelin_py
