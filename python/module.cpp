// The compiled part of the Python package: tavelin._tavelin.  Defines the
// module's entry points check and read over one read of the reader each,
// and the model library classes (library.cpp).  The Python classes of the
// results live in tavelin/_records.py.
#include <pybind11/pybind11.h>

#include <stdexcept>
#include <string>

#include "document.h"
#include "library.h"
#include "read_session.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace tavelin_py {
namespace {

ReadOptions CheckOptions(unsigned eNameMode, int nIndent) {
    if (eNameMode > 1) throw py::value_error("tavelin: name_mode is 0 (file name shown) or 1 (no name)");
    if (nIndent < 0 || nIndent > 80) throw py::value_error("tavelin: indent is 0 to 80 blanks");
    ReadOptions options;
    options.eNameMode = eNameMode;
    options.nIndent = nIndent;
    return options;
}

py::object Check(const std::string& strPath, unsigned eNameMode, int nIndent) {
    ReadOutcome outcome;
    ReadFile(strPath, CheckOptions(eNameMode, nIndent), &outcome);
    RaiseIfRefused(outcome);
    return MakeCheckResult(outcome);
}

// The document is turned into Python objects while the reader's lock is
// held: it is destroyed before the next read makes one.
py::object Read(const std::string& strPath) {
    ReadOutcome outcome;
    py::object document;
    ReadFile(strPath, ReadOptions(), &outcome, [&](IBIS* pIbis) {
        py::gil_scoped_acquire gil;
        document = MakeDocument(strPath, pIbis);
    });
    RaiseIfRefused(outcome);
    if (!document) throw std::runtime_error("tavelin: " + strPath + ": no document was made");
    document.attr("check") = MakeCheckResult(outcome);
    return document;
}

}  // namespace
}  // namespace tavelin_py

PYBIND11_MODULE(_tavelin, module) {
    module.doc() = "The compiled part of tavelin: the IBIS reader and the model library.";
    module.attr("__version__") = TAVELIN_VERSION;
    module.def("check", &tavelin_py::Check, "path"_a, "name_mode"_a = 1, "indent"_a = 0);
    module.def("read", &tavelin_py::Read, "path"_a);
    tavelin_py::BindLibrary(module);
}
