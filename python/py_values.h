// Values of the reader's records as Python objects: texts decoded without
// failing on stray bytes, numbers with their state (None when not given,
// NaN for "NA"), typ/min/max triples, and tables as (N, 4) arrays.  Used by
// the check result and the document conversion.
#ifndef TAVELIN_PYTHON_PY_VALUES_H
#define TAVELIN_PYTHON_PY_VALUES_H

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <string>

struct RNG;
struct RNGP;

namespace tavelin_py {

// UTF-8 with undecodable bytes replaced, so that a file's odd byte never
// turns a read into an exception.
pybind11::str Text(const std::string& str);
pybind11::str Text(const char* psz);
pybind11::object TextOrNone(const char* psz);

// A number by its eValueState: None when not given, NaN for "NA".
pybind11::object Number(double d, unsigned eState);
// A number held by pointer: None when null.
pybind11::object Number(const double* pd);
// A typ/min/max triple as tavelin.Range, or None when not given.
pybind11::object Triple(const RNG* pRng, const pybind11::object& makeRange);

// The rows of a table as a float array of shape (N, 4): the leading value
// and the typ, min and max corners; anything that is not a number is NaN.
pybind11::array_t<double> TableArray(const RNGP* pRows);

}  // namespace tavelin_py

#endif
