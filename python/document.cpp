// The document of a read as Python objects: walks the records the keyword
// modules built (components, pins and their tables, models with their I-V
// tables, ramps, waveforms, series sections and [Model Spec], submodels, model
// selectors, package models with their matrices) and makes one object of tavelin._records per
// record.  Lists of the document hold the newest record first; everything
// here comes out in file order.  Stateless; called by tavelin.read.
#include "document.h"

#include <vector>

#include "component/cmpnt.h"
#include "component/difpin.h"
#include "component/pin.h"
#include "component/pinmpg.h"
#include "component/pkg.h"
#include "component/spinmpg.h"
#include "core/document.h"
#include "core/rng.h"
#include "model/crv.h"
#include "model/mdl.h"
#include "model/msel.h"
#include "model/mspec.h"
#include "model/ramp.h"
#include "model/sinfo.h"
#include "model/submdl.h"
#include "model/smos.h"
#include "model/wvfrm.h"
#include "package/mtx.h"
#include "package/pkgmdl.h"
#include "package/row.h"
#include "py_values.h"
#include "reader/hdr.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace tavelin_py {
namespace {

// A list of records linked by pNext, newest first, in file order.
template <typename T>
std::vector<const T*> FileOrder(const T* pNewest) {
    std::vector<const T*> records;
    for (const T* p = pNewest; p != nullptr; p = p->pNext) records.push_back(p);
    return std::vector<const T*>(records.rbegin(), records.rend());
}

// Rows appended at the tail of their list, already in file order.
template <typename T, typename MAKE>
py::list RowList(const T* pFirst, MAKE make) {
    py::list rows;
    for (const T* p = pFirst; p != nullptr; p = p->pNext) rows.append(make(p));
    return rows;
}

py::object Table(const CRV* pCrv) { return pCrv != nullptr ? py::object(TableArray(pCrv->pRows)) : py::object(py::none()); }

class Converter {
public:
    Converter() : m_records(py::module_::import("tavelin._records")), m_range(Class("Range")) {}

    py::object Document(const std::string& strPath, const IBIS* pIbis) {
        return Class("Document")("path"_a = strPath, "header"_a = Header(pIbis->pHdr),
                                 "components"_a = ByName(FileOrder(pIbis->pCmpntList), &Converter::Component),
                                 "models"_a = ByName(FileOrder(pIbis->pMdlList), &Converter::Model),
                                 "submodels"_a = ByName(FileOrder(pIbis->pSubmdlList), &Converter::Submodel),
                                 "model_selectors"_a = ByName(FileOrder(pIbis->pMselList), &Converter::Selector),
                                 "package_models"_a = ByName(FileOrder(pIbis->pPkgMdlList), &Converter::PackageModel));
    }

private:
    py::object Class(const char* pszName) const { return m_records.attr(pszName); }
    py::object Range(const RNG* pRng) const { return Triple(pRng, m_range); }

    // A dict by name in file order; of two records of one name the first counts.
    template <typename T>
    py::dict ByName(const std::vector<const T*>& records, py::object (Converter::*make)(const T*)) {
        py::dict byName;
        for (const T* p : records) {
            py::str name = Text(p->szName);
            if (!byName.contains(name)) byName[name] = (this->*make)(p);
        }
        return byName;
    }

    py::object Header(const HDR* pHdr) {
        if (pHdr == nullptr) return py::none();
        return Class("Header")("ibis_ver"_a = TextOrNone(pHdr->szIbisVersion),
                               "file_name"_a = TextOrNone(pHdr->szFileName),
                               "file_rev"_a = TextOrNone(pHdr->szFileRev), "date"_a = TextOrNone(pHdr->szDate),
                               "source"_a = TextOrNone(pHdr->pszSource), "notes"_a = TextOrNone(pHdr->pszNotes),
                               "disclaimer"_a = TextOrNone(pHdr->pszDisclaimer),
                               "copyright"_a = TextOrNone(pHdr->pszCopyright));
    }

    // ------------------------------------------------------------ components

    py::object Package(const PKG* pPkg) {
        if (pPkg == nullptr) return py::none();
        return Class("Package")(Range(pPkg->pRpkg), Range(pPkg->pLpkg), Range(pPkg->pCpkg));
    }

    py::object Component(const CMPNT* p) {
        const py::object makePin = Class("Pin"), makeMapping = Class("PinMapping");
        const py::object makeDiff = Class("DiffPin"), makeSeries = Class("SeriesPin");
        return Class("Component")(
            "name"_a = Text(p->szName), "manufacturer"_a = TextOrNone(p->szManufacturer),
            "package"_a = Package(p->pPkg), "package_model"_a = TextOrNone(p->szPackageModel),
            "pins"_a = RowList(p->pPinList, [&](const PIN* r) {
                return makePin(Text(r->szPinName), Text(r->szSignalName), Text(r->szModelName),
                               Number(r->dRpin, r->eRpinState), Number(r->dLpin, r->eLpinState),
                               Number(r->dCpin, r->eCpinState));
            }),
            "pin_mappings"_a = RowList(p->pPinMapList, [&](const PINMPG* r) {
                return makeMapping(Text(r->szPin), TextOrNone(r->szPulldownRef), TextOrNone(r->szPullupRef),
                                   TextOrNone(r->szGndClampRef), TextOrNone(r->szPowerClampRef));
            }),
            "diff_pins"_a = RowList(p->pDiffPinList, [&](const DIFPIN* r) {
                return makeDiff(Text(r->szDiffPin), Text(r->szInvPin), Number(r->dVdiff, r->eVdiffState),
                                Number(r->dTdelayTyp, r->eTdelayTypState),
                                Number(r->dTdelayMin, r->eTdelayMinState),
                                Number(r->dTdelayMax, r->eTdelayMaxState));
            }),
            "series_pins"_a = RowList(p->pSpinMapList, [&](const SPINMPG* r) {
                return makeSeries(Text(r->szPin1), Text(r->szPin2), Text(r->szModel), TextOrNone(r->szGroup));
            }));
    }

    // ------------------------------------------------------------ models

    py::object RampRate(const RAMPRATIO& ratio) {
        return Class("RampRate")(Number(ratio.dDv, ratio.eState), Number(ratio.dDt, ratio.eState));
    }

    py::object Rate(const RAMPVAL* pVal) {
        if (pVal == nullptr) return py::none();
        return m_range(RampRate(pVal->aRatio[CornerIndex(eCorner::TYP)]),
                       RampRate(pVal->aRatio[CornerIndex(eCorner::MIN)]),
                       RampRate(pVal->aRatio[CornerIndex(eCorner::MAX)]));
    }

    py::object Ramp(const RAMP* pRamp) {
        if (pRamp == nullptr) return py::none();
        return Class("Ramp")("dv_dt_r"_a = Rate(pRamp->pDvdtR), "dv_dt_f"_a = Rate(pRamp->pDvdtF),
                             "r_load"_a = pRamp->bRloadGiven ? py::object(py::float_(pRamp->dRload))
                                                             : py::object(py::none()));
    }

    py::list Waveforms(const WVFRM* pFirst) {
        const py::object makeWaveform = Class("Waveform");
        return RowList(pFirst, [&](const WVFRM* w) {
            return makeWaveform("r_fixture"_a = Number(w->pdRfixture), "v_fixture"_a = Number(w->pdVfixture),
                                "v_fixture_min"_a = Number(w->pdVfixtureMin),
                                "v_fixture_max"_a = Number(w->pdVfixtureMax),
                                "c_fixture"_a = Number(w->pdCfixture), "l_fixture"_a = Number(w->pdLfixture),
                                "r_dut"_a = Number(w->pdRdut), "l_dut"_a = Number(w->pdLdut),
                                "c_dut"_a = Number(w->pdCdut), "table"_a = TableArray(w->pRows));
        });
    }

    py::object Series(const SINFO* pSinfo) {
        if (pSinfo == nullptr) return py::none();
        const py::object makeMosfet = Class("SeriesMosfet");
        return Class("Series")(
            "r_series"_a = Range(pSinfo->pRseries), "l_series"_a = Range(pSinfo->pLseries),
            "rl_series"_a = Range(pSinfo->pRlSeries), "c_series"_a = Range(pSinfo->pCseries),
            "rc_series"_a = Range(pSinfo->pRcSeries), "lc_series"_a = Range(pSinfo->pLcSeries),
            "series_current"_a = Table(pSinfo->pSeriesCurrent),
            "mosfets"_a = RowList(pSinfo->pMosfets, [&](const SMOS* m) {
                return makeMosfet(Number(m->pdVds), Table(m->pTable));
            }));
    }

    py::object Model(const MDL* p) {
        return Class("Model")(
            "name"_a = Text(p->szName),
            "model_type"_a = Spelling(g_aModelTypeSpellings, p->eModelType, MT_NOT_GIVEN),
            "polarity"_a = Spelling(g_aPolaritySpellings, p->ePolarity, POL_NOT_GIVEN),
            "enable"_a = Spelling(g_aEnableSpellings, p->eEnable, ENA_NOT_GIVEN),
            "vinl"_a = Number(p->pdVinl), "vinh"_a = Number(p->pdVinh), "c_comp"_a = Range(p->pCcomp),
            "vmeas"_a = Number(p->pdVmeas), "cref"_a = Number(p->pdCref), "rref"_a = Number(p->pdRref),
            "vref"_a = Number(p->pdVref), "temperature_range"_a = Range(p->pTempRange),
            "voltage_range"_a = Range(p->pVoltRange), "pullup_reference"_a = Range(p->pPullupRef),
            "pulldown_reference"_a = Range(p->pPulldownRef),
            "power_clamp_reference"_a = Range(p->pPowerClampRef),
            "gnd_clamp_reference"_a = Range(p->pGndClampRef), "r_gnd"_a = Range(p->pRgnd),
            "r_power"_a = Range(p->pRpower), "r_ac"_a = Range(p->pRac), "c_ac"_a = Range(p->pCac),
            "pullup"_a = Table(p->pPullup), "pulldown"_a = Table(p->pPulldown),
            "gnd_clamp"_a = Table(p->pGndClamp), "power_clamp"_a = Table(p->pPowerClamp),
            "ramp"_a = Ramp(p->pRamp), "rising_waveforms"_a = Waveforms(p->pRising),
            "falling_waveforms"_a = Waveforms(p->pFalling), "series_on"_a = Series(p->pSeriesOn),
            "series_off"_a = Series(p->pSeriesOff), "model_spec"_a = ModelSpec(p->pMdlSpec),
            "add_submodels"_a = AddSubmodels(p->pAddSubmdl));
    }

    py::object ModelSpec(const MSPEC* p) {
        if (p == nullptr) return py::none();
        return Class("ModelSpec")(
            "vinh"_a = Range(p->pVinh), "vinl"_a = Range(p->pVinl), "vinh_plus"_a = Range(p->pVinhPlus),
            "vinh_minus"_a = Range(p->pVinhMinus), "vinl_plus"_a = Range(p->pVinlPlus),
            "vinl_minus"_a = Range(p->pVinlMinus), "s_overshoot_high"_a = Range(p->pSOvershootHigh),
            "s_overshoot_low"_a = Range(p->pSOvershootLow), "d_overshoot_high"_a = Range(p->pDOvershootHigh),
            "d_overshoot_low"_a = Range(p->pDOvershootLow), "d_overshoot_time"_a = Range(p->pDOvershootTime),
            "pulse_high"_a = Range(p->pPulseHigh), "pulse_low"_a = Range(p->pPulseLow),
            "pulse_time"_a = Range(p->pPulseTime), "vmeas"_a = Range(p->pVmeas));
    }

    py::list AddSubmodels(const ADDSUB* pFirst) {
        const py::object makeEntry = Class("AddSubmodel");
        return RowList(pFirst, [&](const ADDSUB* a) {
            static const char* const MODES[] = {"Driving", "Non-Driving", "All"};
            return makeEntry(Text(a->szName), a->eMode <= ASM_ALL ? py::object(py::str(MODES[a->eMode]))
                                                                  : py::object(py::none()));
        });
    }

    static py::object SubmodelType(unsigned eType) {
        if (eType == SMT_DYNAMIC_CLAMP) return py::str("Dynamic_clamp");
        if (eType == SMT_BUS_HOLD) return py::str("Bus_hold");
        return py::none();
    }

    py::object Submodel(const SUBMDL* p) {
        return Class("Submodel")(
            "name"_a = Text(p->szName), "submodel_type"_a = SubmodelType(p->eSubmodelType),
            "pullup"_a = Table(p->pPullup), "pulldown"_a = Table(p->pPulldown),
            "gnd_clamp"_a = Table(p->pGndClamp), "power_clamp"_a = Table(p->pPowerClamp),
            "ramp"_a = Ramp(p->pRamp), "rising_waveforms"_a = Waveforms(p->pRising),
            "falling_waveforms"_a = Waveforms(p->pFalling), "gnd_pulse_tables"_a = Waveforms(p->pGndPulse),
            "power_pulse_tables"_a = Waveforms(p->pPowerPulse));
    }

    static py::object Spelling(const MDL_SPELLING* pTable, unsigned eValue, unsigned eNotGiven) {
        if (eValue == eNotGiven) return py::none();
        return Text(MDL_Spelling(pTable, eValue));
    }

    py::object Selector(const MSEL* p) {
        const py::object makeEntry = Class("SelectorEntry");
        return Class("ModelSelector")(Text(p->szName), RowList(p->pModels, [&](const MSELMDL* m) {
                                          return makeEntry(Text(m->szName), TextOrNone(m->szDescription));
                                      }));
    }

    // ------------------------------------------------------------ package models

    py::object PackageModel(const PKGMDL* p) {
        py::list pins;
        for (unsigned i = 0; i < p->uiPinCapacity && i < p->uiNumberOfPins; ++i)
            if (p->ppszPinNumbers != nullptr && p->ppszPinNumbers[i] != nullptr)
                pins.append(Text(p->ppszPinNumbers[i]->szPin));
        return Class("PackageModel")(
            "name"_a = Text(p->szName), "manufacturer"_a = TextOrNone(p->szManufacturer),
            "oem"_a = TextOrNone(p->szOEM), "description"_a = TextOrNone(p->szDescription),
            "number_of_pins"_a = p->uiNumberOfPins, "pin_numbers"_a = pins,
            "resistance_matrix"_a = Matrix(p->pResistance), "inductance_matrix"_a = Matrix(p->pInductance),
            "capacitance_matrix"_a = Matrix(p->pCapacitance));
    }

    static py::object MatrixType(unsigned eType) {
        switch (eType) {
            case MTX_BANDED:
            case MTX_BANDED_WRAP: return py::str("Banded_matrix");
            case MTX_SPARSE: return py::str("Sparse_matrix");
            case MTX_FULL: return py::str("Full_matrix");
            default: return py::none();
        }
    }

    // One row as its columns (0-based pin positions) and values: a sparse
    // row names its columns, a full or banded row starts at the diagonal
    // (a circle-back banded row wraps round to the first column).
    py::object MatrixRow(const MTX* pMtx, const ROW* pRow, size_t nRow) {
        const bool bSparse = pMtx->eMatrixType == MTX_SPARSE;
        const size_t nValues = bSparse ? pRow->vSparse.size() : pRow->vdPrefix.size();
        py::array_t<long> columns(static_cast<py::ssize_t>(nValues));
        py::array_t<double> values(static_cast<py::ssize_t>(nValues));
        auto c = columns.mutable_unchecked<1>();
        auto v = values.mutable_unchecked<1>();
        for (size_t i = 0; i < nValues; ++i) {
            size_t nColumn = bSparse ? pRow->vSparse[i].uiSlot : nRow + i;
            if (pMtx->eMatrixType == MTX_BANDED_WRAP && pMtx->uiRowCount > 0) nColumn %= pMtx->uiRowCount;
            c(i) = static_cast<long>(nColumn);
            v(i) = bSparse ? pRow->vSparse[i].dValue : pRow->vdPrefix[i];
        }
        return Class("MatrixRow")(Text(pRow->szPinNumber), columns, values);
    }

    py::object Matrix(const MTX* pMtx) {
        if (pMtx == nullptr) return py::none();
        py::list rows;
        size_t nRow = 0;
        for (const ROW* pRow = pMtx->pRows; pRow != nullptr; pRow = pRow->pNext, ++nRow)
            rows.append(MatrixRow(pMtx, pRow, nRow));
        const bool bBanded = pMtx->eMatrixType == MTX_BANDED || pMtx->eMatrixType == MTX_BANDED_WRAP;
        return Class("Matrix")("matrix_type"_a = MatrixType(pMtx->eMatrixType),
                               "bandwidth"_a = bBanded && pMtx->bBandwidthSet ? py::object(py::int_(pMtx->uiBandwidth))
                                                                             : py::object(py::none()),
                               "rows"_a = rows);
    }

    py::module_ m_records;
    py::object m_range;
};

}  // namespace

py::object MakeDocument(const std::string& strPath, const IBIS* pIbis) {
    return Converter().Document(strPath, pIbis);
}

}  // namespace tavelin_py
