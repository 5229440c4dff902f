// The model library manager for Python.  PyLibrary is a host like the
// command-line tool: it registers source indexes through the manager's
// protected operation and answers the keep-or-recompile question with a
// Python callback.  Every call that may read or compile runs under the
// reader's lock; a record lives as long as its library.  State: each
// PyLibrary's callback and the exception it raised, if any.
#include "library.h"

#include <exception>
#include <sstream>
#include <string>

#include <tavelin/tavelin.h>

#include "py_values.h"
#include "reader_lock.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace tavelin_py {
namespace {

class PyLibrary : public CIbisCompMdls {
public:
    py::object recompile = py::none();

    // The compiled models are on disk: their index is saved with them even
    // when the script never closes the library.
    ~PyLibrary() override { Fini(1); }

    int AddIndex(const char* pszPath, const char* pszTag) {
        return AddSrcIndex(pszPath, pszTag) && SetSearchPaths(1);
    }

    // Called by the manager, under the reader's lock, when a compiled model
    // is older than its source: 1 recompiles, 0 keeps it.  Without a
    // callback the manager's own answer holds.  An exception of the
    // callback keeps the model and is raised once the manager is done.
    int GetReCompileState(const char* component) override {
        if (m_pPending) return 0;
        py::gil_scoped_acquire gil;
        if (recompile.is_none()) return CIbisCompMdls::GetReCompileState(component);
        try {
            return py::bool_(recompile(Text(component))) ? 1 : 0;
        } catch (...) {
            m_pPending = std::current_exception();
            return 0;
        }
    }

    // Raises what the callback raised during the last call, with the
    // interpreter lock held.
    void RaisePending() {
        if (!m_pPending) return;
        std::exception_ptr pPending = m_pPending;
        m_pPending = nullptr;
        std::rethrow_exception(pPending);
    }

private:
    std::exception_ptr m_pPending;
};

// Runs work on the library under the reader's lock, then raises what the
// callback raised.
template <typename WORK>
void Locked(PyLibrary& library, WORK work) {
    WithReader(work);
    library.RaisePending();
}

// ------------------------------------------------------------ parameters

enum eParamKind { KIND_TEXT, KIND_TEXT_LIST, KIND_INT, KIND_CORNER };

struct ParamEntry {
    const char* pszName;
    eIbisParam eParam;
    eParamKind eKind;
};

// The record's parameters by their names in the host interface.
const ParamEntry g_aParams[] = {
    {"CompName", eIbisPrmCompName, KIND_TEXT},        {"SourceFile", eIbisPrmSourceFile, KIND_TEXT},
    {"CompiledName", eIbisPrmCompiledName, KIND_TEXT}, {"CompileDate", eIbisPrmCompileDate, KIND_INT},
    {"SourceText", eIbisPrmSourceText, KIND_TEXT},    {"RPkg", eIbisPrmRPkg, KIND_CORNER},
    {"LPkg", eIbisPrmLPkg, KIND_CORNER},              {"CPkg", eIbisPrmCPkg, KIND_CORNER},
    {"PinName", eIbisPrmPinName, KIND_TEXT},          {"SignalName", eIbisPrmSignalName, KIND_TEXT},
    {"ModelName", eIbisPrmModelName, KIND_TEXT},      {"PullUpPins", eIbisPrmPullUpPins, KIND_TEXT_LIST},
    {"PullDownPins", eIbisPrmPullDownPins, KIND_TEXT_LIST},
    {"PowerClampPins", eIbisPrmPowerClampPins, KIND_TEXT_LIST},
    {"GndClampPins", eIbisPrmGndClampPins, KIND_TEXT_LIST},
    {"DiffFlag", eIbisPrmDiffFlag, KIND_INT},         {"ModelType", eIbisPrmModelType, KIND_INT},
    {"RPin", eIbisPrmRPin, KIND_CORNER},              {"LPin", eIbisPrmLPin, KIND_CORNER},
    {"CPin", eIbisPrmCPin, KIND_CORNER},              {"ERate", eIbisPrmERate, KIND_CORNER},
    {"VoltRange", eIbisPrmVoltRange, KIND_CORNER},    {"PullUpRef", eIbisPrmPullUpRef, KIND_CORNER},
    {"PullDownRef", eIbisPrmPullDownRef, KIND_CORNER},
    {"PowerClampRef", eIbisPrmPowerClampRef, KIND_CORNER},
    {"GndClampRef", eIbisPrmGndClampRef, KIND_CORNER}, {"IsGndPin", eIbisPrmIsGndPin, KIND_INT},
    {"IsPowerPin", eIbisPrmIsPowerPin, KIND_INT},     {"IsNcPin", eIbisPrmIsNcPin, KIND_INT},
    {"DiffPartner", eIbisPrmDiffPartner, KIND_TEXT},  {"DiffPolarity", eIbisPrmDiffPolarity, KIND_INT},
    {"VDiff", eIbisPrmVDiff, KIND_CORNER},            {"TDelay", eIbisPrmTDelay, KIND_CORNER},
    {"SeriesPins", eIbisPrmSeriesPins, KIND_TEXT_LIST}, {"SeriesModel", eIbisPrmSeriesModel, KIND_TEXT},
    {"SeriesR", eIbisPrmSeriesR, KIND_CORNER},        {"SeriesL", eIbisPrmSeriesL, KIND_CORNER},
    {"SeriesC", eIbisPrmSeriesC, KIND_CORNER},        {"SeriesRL", eIbisPrmSeriesRL, KIND_CORNER},
    {"SeriesLC", eIbisPrmSeriesLC, KIND_CORNER},      {"SeriesRC", eIbisPrmSeriesRC, KIND_CORNER},
    {"TermRGnd", eIbisPrmTermRGnd, KIND_CORNER},      {"TermRPwr", eIbisPrmTermRPwr, KIND_CORNER},
    {"TermRAc", eIbisPrmTermRAc, KIND_CORNER},        {"TermCAc", eIbisPrmTermCAc, KIND_CORNER},
    {"VMeas", eIbisPrmVMeas, KIND_CORNER},            {"VinlPlus", eIbisPrmVinlPlus, KIND_CORNER},
    {"VinhPlus", eIbisPrmVinhPlus, KIND_CORNER},      {"VinlMinus", eIbisPrmVinlMinus, KIND_CORNER},
    {"VinhMinus", eIbisPrmVinhMinus, KIND_CORNER},
};

const ParamEntry& FindParam(const py::object& numberOrName) {
    if (py::isinstance<py::str>(numberOrName)) {
        const std::string strName = numberOrName.cast<std::string>();
        for (const ParamEntry& entry : g_aParams)
            if (strName == entry.pszName) return entry;
        throw py::value_error("tavelin: no record parameter named '" + strName + "'");
    }
    const int nParam = numberOrName.cast<int>();
    for (const ParamEntry& entry : g_aParams)
        if (entry.eParam == nParam) return entry;
    throw py::value_error("tavelin: no record parameter " + std::to_string(nParam));
}

eTypMinMax CornerOf(const std::string& strCorner) {
    if (strCorner == "typ") return eTyp;
    if (strCorner == "min") return eMin;
    if (strCorner == "max") return eMax;
    throw py::value_error("tavelin: corner must be 'typ', 'min' or 'max', not '" + strCorner + "'");
}

// One parameter of a record as a Python value; None when the record has none.
py::object ParamValue(CIbisCompInfo* pInfo, const ParamEntry& entry, int nPin, eTypMinMax eCorner) {
    switch (entry.eKind) {
        case KIND_TEXT: {
            const char* psz = nullptr;
            return pInfo->GetModelParam(entry.eParam, &psz, nPin, 1) ? py::object(Text(psz)) : py::object(py::none());
        }
        case KIND_TEXT_LIST: {
            py::list items;
            const char* psz = nullptr;
            for (int bFirst = 1; pInfo->GetModelParam(entry.eParam, &psz, nPin, bFirst); bFirst = 0)
                items.append(Text(psz));
            return items;
        }
        case KIND_INT: {
            int n = 0;
            return pInfo->GetModelParam(entry.eParam, &n, nPin) ? py::object(py::int_(n)) : py::object(py::none());
        }
        case KIND_CORNER: {
            double d = 0;
            return pInfo->GetModelParam(entry.eParam, &d, nPin, eCorner) ? py::object(py::float_(d))
                                                                        : py::object(py::none());
        }
    }
    return py::none();
}

// ------------------------------------------------------------ records

const char* const STATUS_NAMES[] = {"new",          "not_found",        "syntax_errors", "compiled_unusable",
                                    "compiled_out_of_date", "pins_from_source", "out_of_date_kept", "ok"};

py::list Pins(CIbisCompInfo* pInfo) {
    const py::object makePin = py::module_::import("tavelin._records").attr("LibraryPin");
    const ParamEntry& name = FindParam(py::str("PinName"));
    const ParamEntry& signal = FindParam(py::str("SignalName"));
    const ParamEntry& model = FindParam(py::str("ModelName"));
    py::list pins;
    for (int nPin = 0; nPin < pInfo->GetPinCount(); ++nPin) {
        int nType = 0;
        pInfo->GetModelParam(eIbisPrmModelType, &nType, nPin);
        pins.append(makePin(ParamValue(pInfo, name, nPin, eTyp), ParamValue(pInfo, signal, nPin, eTyp),
                            ParamValue(pInfo, model, nPin, eTyp),
                            TextOrNone(CIbisCompInfo::GetModelTypeText(nType))));
    }
    return pins;
}

// A pin by its index or by its name.
int PinIndex(CIbisCompInfo* pInfo, const py::object& pin) {
    if (!py::isinstance<py::str>(pin)) return pin.cast<int>();
    const int nPin = pInfo->FindIndex4Pin(pin.cast<std::string>().c_str(), eIbisPrmPinName);
    if (nPin < 0) throw py::key_error("tavelin: no pin " + pin.cast<std::string>() + " in " + pInfo->Name());
    return nPin;
}

std::string SimListing(CIbisCompInfo* pInfo, const py::object& pin, const std::string& strCorner,
                       const std::string& strLabel, int nNumber, bool bModelMode) {
    const int nPin = PinIndex(pInfo, pin);
    const eTypMinMax eCorner = CornerOf(strCorner);
    std::ostringstream out;
    int nListed = 0;
    WithReader([&] { nListed = pInfo->ListSimModel(out, nPin, strLabel.c_str(), nNumber, eCorner, bModelMode); });
    if (!nListed)
        throw py::value_error("tavelin: pin " + py::str(pin).cast<std::string>() + " of " + pInfo->Name() +
                              " cannot be listed");
    return out.str();
}

// The record of a component, compiled when needed (status not_found when
// no index names it); None only when the manager makes no record.
CIbisCompInfo* Component(PyLibrary& library, const std::string& strName) {
    CIbisCompInfo* pInfo = nullptr;
    Locked(library, [&] {
        eRdIbisResult eResult = eRdIbisNothing;
        pInfo = library.GetIbisCompInfo(strName.c_str(), &eResult, 0);
    });
    return pInfo;
}

void BindRecord(py::module_& module) {
    py::class_<CIbisCompInfo, std::unique_ptr<CIbisCompInfo, py::nodelete>>(module, "LibraryComponent",
        "A component record of a Library: status, pins and their parameters.")
        .def_property_readonly("name", [](CIbisCompInfo& r) { return Text(r.Name()); })
        .def_property_readonly("source_file", [](CIbisCompInfo& r) { return TextOrNone(r.SourceFile()); })
        .def_property_readonly("status", [](CIbisCompInfo& r) { return STATUS_NAMES[r.GetStatus()]; })
        .def_property_readonly("status_text",
                               [](CIbisCompInfo& r) { return CIbisCompInfo::GetIbisStatusText(r.GetStatus()); })
        .def_property_readonly("ok", [](CIbisCompInfo& r) { return r.IsStatusOk() != 0; })
        .def_property_readonly("pins", &Pins)
        .def("param",
             [](CIbisCompInfo& r, const py::object& numberOrName, int pin, const std::string& corner) {
                 return ParamValue(&r, FindParam(numberOrName), pin, CornerOf(corner));
             },
             "number_or_name"_a, "pin"_a = 0, "corner"_a = "typ",
             "One parameter of the record (a host-interface name such as 'RPin', or its number);\n"
             "None when the record has none.")
        .def("sim_listing", &SimListing, "pin"_a, "corner"_a = "typ", "label"_a = "", "number"_a = 0,
             "model_mode"_a = false, "The simulation model listing of one pin (index or name).")
        .def("__repr__", [](CIbisCompInfo& r) {
            return "<LibraryComponent " + std::string(r.Name()) + " " + STATUS_NAMES[r.GetStatus()] + ", " +
                   std::to_string(r.GetPinCount()) + " pins>";
        });
}

}  // namespace

void BindLibrary(py::module_& module) {
    BindRecord(module);
    py::class_<PyLibrary>(module, "Library",
        "The model library: compiled component models in cbx_dir, compiled from the IBIS\n"
        "files of the source indexes on demand and again when a source is newer.")
        .def(py::init([](const std::string& cbxDir, const py::object& centralLib, const py::object& recompile) {
                 auto pLibrary = std::make_unique<PyLibrary>();
                 pLibrary->recompile = recompile;
                 int nOk = 0;
                 Locked(*pLibrary, [&] {
                     nOk = centralLib.is_none() ? pLibrary->Init(cbxDir.c_str())
                                                : pLibrary->Init(cbxDir.c_str(), centralLib.cast<std::string>().c_str());
                 });
                 if (!nOk) throw py::value_error("tavelin: the model library folder " + cbxDir + " cannot be used");
                 return pLibrary;
             }),
             "cbx_dir"_a, "central_lib"_a = py::none(), "recompile"_a = py::none())
        .def_readwrite("recompile", &PyLibrary::recompile,
                       "Called with a component name when its compiled model is older than its\n"
                       "source: true recompiles, false keeps the old model.  None: always recompile.")
        .def("add_index",
             [](PyLibrary& l, const std::string& path, const std::string& tag) {
                 int nAdded = 0;
                 Locked(l, [&] { nAdded = l.AddIndex(path.c_str(), tag.c_str()); });
                 if (!nAdded) throw py::value_error("tavelin: the source index " + path + " cannot be read");
             },
             "path"_a, "tag"_a = "")
        .def("component", [](PyLibrary& l, const std::string& name) { return Component(l, name); },
             "name"_a, py::return_value_policy::reference_internal,
             "The record of the component, compiled when needed; its status is 'not_found'\n"
             "when no source index names it.")
        .def_property_readonly("compile_log", [](PyLibrary& l) { return Text(l.GetCompileLogPath()); })
        .def("close",
             [](PyLibrary& l, bool save) {
                 int nOk = 0;
                 Locked(l, [&] { nOk = l.Fini(save); });
                 if (!nOk) throw py::value_error("tavelin: the compiled model index cannot be written");
             },
             "save"_a = true, "Writes the compiled model index (when save) and ends the session.")
        .def("__enter__", [](PyLibrary& l) -> PyLibrary& { return l; }, py::return_value_policy::reference)
        .def("__exit__", [](PyLibrary& l, const py::args&) { Locked(l, [&] { l.Fini(1); }); });
}

}  // namespace tavelin_py
