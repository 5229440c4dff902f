// tavelin.Library and tavelin.LibraryComponent: the model library manager
// of the library (compiled models in a folder, source indexes, compile on
// demand) and its component records, for Python.
#ifndef TAVELIN_PYTHON_LIBRARY_H
#define TAVELIN_PYTHON_LIBRARY_H

#include <pybind11/pybind11.h>

namespace tavelin_py {

void BindLibrary(pybind11::module_& module);

}  // namespace tavelin_py

#endif
