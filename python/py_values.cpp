// Conversion of the reader's values to Python objects (see py_values.h).
// Stateless; called with the interpreter lock held.
#include "py_values.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "core/cmn.h"
#include "core/rng.h"

namespace py = pybind11;

namespace tavelin_py {

py::str Text(const std::string& str) {
    PyObject* pText = PyUnicode_DecodeUTF8(str.data(), static_cast<Py_ssize_t>(str.size()), "replace");
    if (pText == nullptr) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(pText);
}

py::str Text(const char* psz) { return Text(std::string(psz != nullptr ? psz : "")); }

py::object TextOrNone(const char* psz) {
    if (psz == nullptr || psz[0] == '\0') return py::none();
    return Text(psz);
}

py::object Number(double d, unsigned eState) {
    if (eState == VALUE_NUMBER) return py::float_(d);
    if (eState == VALUE_NA) return py::float_(std::numeric_limits<double>::quiet_NaN());
    return py::none();
}

py::object Number(const double* pd) { return pd != nullptr ? py::object(py::float_(*pd)) : py::object(py::none()); }

py::object Triple(const RNG* pRng, const py::object& makeRange) {
    if (pRng == nullptr) return py::none();
    return makeRange(Number(pRng->dTyp, pRng->eTypState), Number(pRng->dMin, pRng->eMinState),
                     Number(pRng->dMax, pRng->eMaxState));
}

namespace {

double ArrayValue(double d, unsigned eState) {
    return eState == VALUE_NUMBER ? d : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

py::array_t<double> TableArray(const RNGP* pRows) {
    py::ssize_t nRows = 0;
    for (const RNGP* p = pRows; p != nullptr; p = p->pNext) ++nRows;
    py::array_t<double> table({nRows, py::ssize_t(4)});
    auto cells = table.mutable_unchecked<2>();
    py::ssize_t i = 0;
    for (const RNGP* p = pRows; p != nullptr; p = p->pNext, ++i) {
        cells(i, 0) = ArrayValue(p->dX, p->eXState);
        cells(i, 1) = ArrayValue(p->dTyp, p->eTypState);
        cells(i, 2) = ArrayValue(p->dMin, p->eMinState);
        cells(i, 3) = ArrayValue(p->dMax, p->eMaxState);
    }
    return table;
}

}  // namespace tavelin_py
