// The document of a read as Python objects (the classes of
// tavelin/_records.py): header, components, models, model selectors and
// package models, in file order, tables as numpy arrays.
#ifndef TAVELIN_PYTHON_DOCUMENT_H
#define TAVELIN_PYTHON_DOCUMENT_H

#include <pybind11/pybind11.h>

#include <string>

struct IBIS;

namespace tavelin_py {

// Builds tavelin.Document from the document of a read of the file at
// strPath.  Needs the interpreter lock.
pybind11::object MakeDocument(const std::string& strPath, const IBIS* pIbis);

}  // namespace tavelin_py

#endif
