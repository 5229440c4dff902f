// The document of a read as Python objects (the classes of
// tavelin/_records.py): header, components, models, model selectors and
// package models, in file order, tables as numpy arrays.
#ifndef TAVELIN_PYTHON_DOCUMENT_H
#define TAVELIN_PYTHON_DOCUMENT_H

#include <pybind11/pybind11.h>

#include "read_session.h"

namespace tavelin_py {

// Builds tavelin.Document from a read that kept its document.  Reads only
// the document's own records, so it needs the interpreter lock and not the
// reader's.
pybind11::object MakeDocument(const ReadOutcome& outcome);

}  // namespace tavelin_py

#endif
