"""tavelin: read and check IBIS 1.x-3.x files (.ibs, .pkg, .ebd) from Python.

    result = tavelin.check("part.ibs")      # findings, counts, version, exact log
    doc = tavelin.read("part.ibs")          # the parsed file, tables as numpy arrays
    lib = tavelin.Library("cbx")            # compiled models, compiled on demand

A finding is never an exception: a file the reader refuses raises OSError
(it does not open: FileNotFoundError, IsADirectoryError, PermissionError)
or ValueError (not an IBIS file the reader reads).  One
read runs at a time in the process; other Python threads go on meanwhile.
"""
import os

from ._records import (AddSubmodel, CheckResult, Component, DiffPin, Document, Finding, Header,
                       Matrix, Model, ModelSelector, ModelSpec, Package, PackageModel, Pin,
                       PinMapping, Ramp, RampRate, Range, Series, SeriesPin, Submodel, Waveform)
from ._tavelin import Library, LibraryComponent, __version__
from . import _tavelin


def check(path, name_mode=1, indent=0):
    """Reads and checks one file; returns a CheckResult.

    name_mode 0 shows the file name in each log line, 1 (the default) leaves
    it out; indent puts that many blanks before each log line.  Each call
    gives what the file gets when checked alone.
    """
    return _tavelin.check(os.fspath(path), name_mode, indent)


def read(path):
    """Reads one file; returns its Document, also when it has findings
    (they are in ``doc.check``)."""
    return _tavelin.read(os.fspath(path))


__all__ = ["check", "read", "Library", "LibraryComponent", "CheckResult", "Finding", "Document",
           "Header", "Component", "Package", "Pin", "PinMapping", "DiffPin", "SeriesPin", "Model",
           "Range", "Ramp", "RampRate", "Waveform", "Series", "Submodel", "AddSubmodel",
           "ModelSelector", "ModelSpec", "PackageModel", "Matrix", "__version__"]
