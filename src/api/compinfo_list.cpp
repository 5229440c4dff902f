// Listings of one pin's model: the simulation text copied from the model's
// corner section of the compiled model, with the pin's parasitics, and the
// short outline.  Part of the component record; called by the host and by
// the manager's ListCompiledModel.
#define TAV_MODULE "compinfo_list"
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "api/compmdls.h"
#include "platform/platform.h"
#include "core/tav_assert.h"

namespace {

const char* const MODEL_KEYWORDS[] = {"Model", "Typ_Model", "Min_Model", "Max_Model"};

// Copies one corner section of one model of a compiled file.  The work is
// done in ut_parse, which ParseStream calls once the stream is attached.
class CSectionLister : public CNavigPrs {
public:
    CSectionLister(std::ostream& out, const char* pszModel, eTypMinMax eCorner)
        : m_out(out), m_pszModel(pszModel), m_eCorner(eCorner) {}

    // Set when the model's section was found and copied, up to the next
    // model keyword or to the end of the file.
    bool m_bFound = false;
    std::string m_strHead;  // type, number and label, written before the copy

protected:
    int ut_parse(const key_lookup*, int) override {
        Reset();
        std::string strType;
        if (!FindModel(&strType) || !FindSection()) return 1;
        m_out << strType << m_strHead;
        // The end of the file closes the last model's section.
        ut_parse_copy2keywds(m_out, 4, const_cast<const char**>(MODEL_KEYWORDS));
        m_bFound = true;
        return 0;
    }

private:
    // The next token, taken; its type.
    int Take(std::string* pstrText) {
        int nLines = 0;
        char szToken[TOKEN_MAX + 1];
        const int nType = get_buf_token(&nLines, szToken);
        *pstrText = szToken;
        return nType;
    }

    // Stands after the "Model" block of the pin's model and its type text.
    bool FindModel(std::string* pstrType) {
        const char* apszModel[] = {"Model"};
        const char* apszType[] = {"Type", "Model"};
        std::string strToken;
        for (;;) {
            if (ut_parse_skip2keywds(1, apszModel) < 0) return false;
            Take(&strToken);
            if (Take(&strToken) != 1 || ut_stricmp(strToken.c_str(), m_pszModel) != 0) continue;
            if (ut_parse_skip2keywds(2, apszType) != 0) return false;
            Take(&strToken);
            if (Take(&strToken) != 1) return false;
            *pstrType = strToken;
            return true;
        }
    }

    // The minimum and maximum sections stand before the typical one: for
    // them whichever comes first is taken.
    bool FindSection() {
        const char* apszTyp[] = {"Typ_Model", "Model"};
        const char* apszMin[] = {"Min_Model", "Typ_Model", "Model"};
        const char* apszMax[] = {"Max_Model", "Typ_Model", "Model"};
        int nFound = -1;
        std::string strToken;
        if (m_eCorner == eTyp)
            nFound = ut_parse_skip2keywds(2, apszTyp) == 0 ? 0 : -1;
        else
            nFound = ut_parse_skip2keywds(3, m_eCorner == eMin ? apszMin : apszMax);
        if (nFound < 0 || (m_eCorner != eTyp && nFound == 2)) return false;
        Take(&strToken);
        return true;
    }

    std::ostream& m_out;
    const char* m_pszModel;
    eTypMinMax m_eCorner;
};

bool IsCorner(int eCorner) { return eCorner >= eTyp && eCorner <= eMax; }

void WriteModelLine(std::ostream& out, const char* pszComponent, const char* pszModel,
                    eTypMinMax eCorner) {
    out << "model ";
    CNavigPrs::QuoteText(out, pszComponent);
    out << ' ';
    CNavigPrs::QuoteText(out, pszModel);
    out << ' ' << static_cast<int>(eCorner) << '\n';
}

}  // namespace

// A package value of the corner, else its typical value, else 0.
double CIbisCompInfo::PkgValue(int param, eTypMinMax corner) {
    double d = 0;
    return GetModelParam(static_cast<eIbisParam>(param), &d, 0, corner) ? d : 0;
}

void CIbisCompInfo::ListPinValues(std::ostream& out, IBIS_PIN_DESC* pPin, eTypMinMax corner,
                                  int modelMode) {
    static const char* const NAMES[] = {"R_Pin ", "L_Pin ", "C_Pin "};
    for (int i = 0; i < 3; ++i) {
        const double dPkg = PkgValue(eIbisPrmRPkg + i, corner);
        const double dPin = pPin->adRLC[i];
        out << NAMES[i] << (!modelMode && dPin != IBIS_NOT_GIVEN ? dPin : dPkg) << '\n';
    }
}

int CIbisCompInfo::ListSection(std::ostream& out, IBIS_PIN_DESC* pPin, const char* label,
                               int number, eTypMinMax corner) {
    const std::string& strFile = m_strCompiledName.empty() ? pPin->strModelName : m_strCompiledName;
    std::ifstream in(PLAT_JoinPath(m_pOwner->GetCbxDirectory(), strFile), std::ios::binary);
    if (!in) return 0;
    CSectionLister lister(out, pPin->strModelName.c_str(), corner);
    std::ostringstream head;
    head << ' ' << number << ' ';
    CNavigPrs::QuoteText(head, label);
    lister.m_strHead = head.str();
    lister.ParseStream(in);
    return lister.m_bFound;
}

int CIbisCompInfo::ListSimModel(std::ostream& out, int pin, const char* label, int number,
                                eTypMinMax corner, int modelMode) {
    IBIS_PIN_DESC* pPin = PinAt(pin);
    if (!IsStatusOk() || m_strName.empty() || pPin == nullptr || pPin->strModelName.empty() ||
        !IsCorner(corner) || m_pOwner == nullptr)
        return 0;
    if (!ListSection(out, pPin, label, number, corner)) return 0;
    WriteModelLine(out, m_strName.c_str(), pPin->strModelName.c_str(), corner);
    ListPinValues(out, pPin, corner, modelMode);
    return 1;
}

int CIbisCompInfo::ListOutlineModel(std::ostream& out, int pin, const char* label, int number,
                                    eTypMinMax corner) {
    IBIS_PIN_DESC* pPin = PinAt(pin);
    if (!IsStatusOk() || m_strName.empty() || pPin == nullptr || pPin->strModelName.empty() ||
        !IsCorner(corner))
        return 0;
    out << GetModelTypeText(pPin->nModelType) << ' ' << number << ' ';
    CNavigPrs::QuoteText(out, label);
    out << '\n';
    WriteModelLine(out, m_strName.c_str(), pPin->strModelName.c_str(), corner);
    return 1;
}
