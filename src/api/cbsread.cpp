// The keyword table of compiled component models and its actions: which
// record parameter each line fills.  State per read: the pins allocated,
// the current pin and its series partners.  Used by the component record
// (through CCbsRecordParser) and the tests.
#include "api/cbsread.h"

#include <climits>
#include <cstring>

namespace {

enum {
    ACT_NONE = 0,
    ACT_FILE_REV,
    ACT_PKG,          // component triple
    ACT_NUM_PINS,
    ACT_PIN,
    ACT_SUPPLY,       // texts appended to a pin list
    ACT_PIN_SINGLE,   // pin value, typical corner
    ACT_PIN_TRIPLE,
    ACT_PIN_TEXT,
    ACT_PIN_INT,
    ACT_SERIES_PIN,
    ACT_SERIES_TRIPLE,
    ACT_MODEL
};

#define KEY(name, tag, templ, action) {name, static_cast<int>(sizeof(name) - 1), tag, templ, action}

const key_lookup kCbsTable[] = {
    KEY("File_Rev", 0, "ii", ACT_FILE_REV),
    KEY("Copyright", 0, "t", ACT_NONE),
    KEY("Src_Name", 0, "t", ACT_NONE),
    KEY("Component", 0, "t", ACT_NONE),
    KEY("Manufacturer", 0, "t", ACT_NONE),
    KEY("Type", 0, "t", ACT_NONE),
    KEY("Crypt", 0, "", ACT_NONE),
    KEY("Min_Model", 0, "", ACT_NONE),
    KEY("Max_Model", 0, "", ACT_NONE),
    KEY("Typ_Model", 0, "", ACT_NONE),
    KEY("R_Pkg", eIbisPrmRPkg, "fff", ACT_PKG),
    KEY("L_Pkg", eIbisPrmLPkg, "fff", ACT_PKG),
    KEY("C_Pkg", eIbisPrmCPkg, "fff", ACT_PKG),
    KEY("Num_Pins", 0, "n", ACT_NUM_PINS),
    KEY("Pin", 0, "tttnn", ACT_PIN),
    KEY("PU_Pin", eIbisPrmPullUpPins, "*t", ACT_SUPPLY),
    KEY("PD_Pin", eIbisPrmPullDownPins, "*t", ACT_SUPPLY),
    KEY("PC_Pin", eIbisPrmPowerClampPins, "*t", ACT_SUPPLY),
    KEY("GC_Pin", eIbisPrmGndClampPins, "*t", ACT_SUPPLY),
    KEY("R_Pin", eIbisPrmRPin, "f", ACT_PIN_SINGLE),
    KEY("L_Pin", eIbisPrmLPin, "f", ACT_PIN_SINGLE),
    KEY("C_Pin", eIbisPrmCPin, "f", ACT_PIN_SINGLE),
    KEY("ERate", eIbisPrmERate, "fff", ACT_PIN_TRIPLE),
    KEY("VoltRange", eIbisPrmVoltRange, "fff", ACT_PIN_TRIPLE),
    KEY("PullUpRef", eIbisPrmPullUpRef, "fff", ACT_PIN_TRIPLE),
    KEY("PullDownRef", eIbisPrmPullDownRef, "fff", ACT_PIN_TRIPLE),
    KEY("PowerClampRef", eIbisPrmPowerClampRef, "fff", ACT_PIN_TRIPLE),
    KEY("GndClampRef", eIbisPrmGndClampRef, "fff", ACT_PIN_TRIPLE),
    KEY("diff_2nd_pin", eIbisPrmDiffPartner, "t", ACT_PIN_TEXT),
    KEY("diff_polarity", eIbisPrmDiffPolarity, "n", ACT_PIN_INT),
    KEY("vdiff", eIbisPrmVDiff, "f", ACT_PIN_SINGLE),
    KEY("tdelay", eIbisPrmTDelay, "fff", ACT_PIN_TRIPLE),
    KEY("series_2nd_pin", eIbisPrmSeriesPins, "tt", ACT_SERIES_PIN),
    KEY("series_r", eIbisPrmSeriesR, "fff", ACT_SERIES_TRIPLE),
    KEY("series_l", eIbisPrmSeriesL, "fff", ACT_SERIES_TRIPLE),
    KEY("series_c", eIbisPrmSeriesC, "fff", ACT_SERIES_TRIPLE),
    KEY("series_rl", eIbisPrmSeriesRL, "fff", ACT_SERIES_TRIPLE),
    KEY("series_lc", eIbisPrmSeriesLC, "fff", ACT_SERIES_TRIPLE),
    KEY("series_rc", eIbisPrmSeriesRC, "fff", ACT_SERIES_TRIPLE),
    KEY("term_rgnd", eIbisPrmTermRGnd, "fff", ACT_PIN_TRIPLE),
    KEY("term_rpwr", eIbisPrmTermRPwr, "fff", ACT_PIN_TRIPLE),
    KEY("term_rac", eIbisPrmTermRAc, "fff", ACT_PIN_TRIPLE),
    KEY("term_cac", eIbisPrmTermCAc, "fff", ACT_PIN_TRIPLE),
    KEY("vmeas", eIbisPrmVMeas, "fff", ACT_PIN_TRIPLE),
    KEY("vinl_plus", eIbisPrmVinlPlus, "fff", ACT_PIN_TRIPLE),
    KEY("vinh_plus", eIbisPrmVinhPlus, "fff", ACT_PIN_TRIPLE),
    KEY("vinl_minus", eIbisPrmVinlMinus, "fff", ACT_PIN_TRIPLE),
    KEY("vinh_minus", eIbisPrmVinhMinus, "fff", ACT_PIN_TRIPLE),
    KEY("over_high_s", 0, "fff", ACT_NONE),
    KEY("over_low_s", 0, "fff", ACT_NONE),
    KEY("over_high_d", 0, "fff", ACT_NONE),
    KEY("over_low_d", 0, "fff", ACT_NONE),
    KEY("over_time_d", 0, "fff", ACT_NONE),
    KEY("Model", 0, "t", ACT_MODEL),
    {"", 0, 0, "", 0},
};

#undef KEY

// The shortest pin group a file can hold ("Pin" and three empty texts, each
// eating the character after it, and two one-digit numbers) bounds the pin
// count a "Num_Pins" line may ask for.
const long long kShortestPinLine = 13;
// The bound when the input's size cannot be known.
const long long kMaxPinsUnsized = 1000000;

const eTypMinMax kCorners[] = {eTyp, eMin, eMax};

long long PinLimit(std::istream& in) {
    const std::istream::pos_type pos = in.tellg();
    if (pos == std::istream::pos_type(-1)) return kMaxPinsUnsized;
    in.seekg(0, std::ios::end);
    const std::istream::pos_type end = in.tellg();
    in.seekg(pos);
    if (end == std::istream::pos_type(-1) || !in) {
        in.clear();
        in.seekg(pos);
        return kMaxPinsUnsized;
    }
    return static_cast<long long>(end - pos) / kShortestPinLine + 1;
}

}  // namespace

int CCbsParser::Read(std::istream& in) {
    m_nErrors = 0;
    m_llMaxPins = PinLimit(in);
    m_nPins = 0;
    m_nPin = -1;
    m_nSeries = 0;
    return ParseStream(in);
}

int CCbsParser::ut_parse(const key_lookup*, int) { return CNavigPrs::ut_parse(kCbsTable, 1); }

void CCbsParser::Error(int line, int kind, int code, const char* keyword, const char* token) {
    ++m_nErrors;
    if (m_onError) m_onError(line, kind, code, keyword, token);
}

int CCbsParser::SetTriple(eIbisParam eParam, const arg_val* args, int nPin) {
    for (int i = 0; i < 3; ++i)
        if (!SetDouble(eParam, args[1 + i].d, nPin, kCorners[i])) return 0;
    return 1;
}

// A "Pin" line takes the next of the pins "Num_Pins" allocated.
int CCbsParser::StartPin(const arg_val* args) {
    if (m_nPin + 1 >= m_nPins) {
        m_nPin = m_nPins;  // the lines of this pin have no pin to go to
        return 0;
    }
    ++m_nPin;
    m_nSeries = 0;
    return SetText(eIbisPrmPinName, args[1].s, m_nPin) &&
           SetText(eIbisPrmSignalName, args[2].s, m_nPin) &&
           SetText(eIbisPrmModelName, args[3].s, m_nPin) &&
           SetInt(eIbisPrmDiffFlag, args[4].i, m_nPin) && SetInt(eIbisPrmModelType, args[5].i, m_nPin);
}

int CCbsParser::PinAction(int action, const arg_val* args, eIbisParam eParam, int slots) {
    if (m_nPin < 0 || m_nPin >= m_nPins) return 0;
    switch (action) {
        case ACT_SUPPLY:
            for (int i = 1; i < slots; ++i)
                if (!SetText(eParam, args[i].s, m_nPin)) return 0;
            return 1;
        case ACT_PIN_SINGLE: return SetDouble(eParam, args[1].d, m_nPin, eTyp);
        case ACT_PIN_TRIPLE: return SetTriple(eParam, args, m_nPin);
        case ACT_PIN_TEXT: return SetText(eParam, args[1].s, m_nPin);
        case ACT_PIN_INT: return SetInt(eParam, args[1].i, m_nPin);
        case ACT_SERIES_PIN:
            ++m_nSeries;
            if (!SetText(eIbisPrmSeriesPins, args[1].s, m_nPin)) return 0;
            return m_nSeries == 1 ? SetText(eIbisPrmSeriesModel, args[2].s, m_nPin) : 1;
        case ACT_SERIES_TRIPLE:
            // Values of a second partner's model have no place in the record.
            return m_nSeries == 1 ? SetTriple(eParam, args, m_nPin) : 1;
    }
    return 0;
}

// 0 when done; 1 makes the keyword fail.
int CCbsParser::switch_func(int action, arg_val* args, int tag, int, int slots) {
    const eIbisParam eParam = static_cast<eIbisParam>(tag);
    switch (action) {
        case ACT_NONE: return 0;
        case ACT_FILE_REV:
            if (args[1].i > 3 || (args[1].i == 3 && args[2].i >= 0)) return 0;
            SetRecordStatus(eIbisStatusCompiledUnusable);
            return 1;
        case ACT_PKG: return SetTriple(eParam, args, 0) ? 0 : 1;
        case ACT_NUM_PINS:
            m_nPin = -1;
            m_nPins = 0;
            if (args[1].i > m_llMaxPins || !AddPins(args[1].i)) return 1;
            m_nPins = args[1].i;
            return 0;
        case ACT_PIN: return StartPin(args) ? 0 : 1;
        case ACT_MODEL: ut_parse_stop(); return 0;
        default: return PinAction(action, args, eParam, slots) ? 0 : 1;
    }
}
