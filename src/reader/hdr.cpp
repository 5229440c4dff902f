// The file header: [IBIS Ver], [File Name], [File Rev], [Date] and the
// free texts ([Source], [Notes], [Disclaimer], [Copyright]) with their
// checks, and the required-keyword checks when the header closes.  State: the
// header open in the read and the free text being gathered.
#define TAV_MODULE "hdr"
#include "reader/hdr.h"

#include <cctype>
#include <cstring>
#include <initializer_list>

#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "reader/read.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

// One seen-flag per header keyword, indexed by keyword code (0 and 2..8).
enum { SEEN_FLAGS = KW_COPYRIGHT + 1 };

// Length and room of a free-text field of the open header.  The room grows
// by doubling, so that a text of many lines is built in linear time.
struct TEXT_ROOM {
    size_t nLength;
    size_t nCapacity;
};

struct HdrState {
    HDR* pCurHdr = nullptr;
    int eCurKeyword = KW_NOT_KEY;
    int abSeen[SEEN_FLAGS] = {};
    TEXT_ROOM aText[SEEN_FLAGS] = {};
};

HdrState g_hdr;

// A new header has no texts yet.
void ClearSeen() {
    for (int& bSeen : g_hdr.abSeen) bSeen = 0;
    for (TEXT_ROOM& room : g_hdr.aText) room = TEXT_ROOM{};
}

// The text of a free-text keyword: the old text, a line feed and the new line.
void AddTextLine(char** ppszText, TEXT_ROOM* pRoom, const char* pszLine) {
    const size_t nSeparator = *ppszText != nullptr ? 1 : 0;
    const size_t nLine = strlen(pszLine);
    const size_t nNeeded = pRoom->nLength + nSeparator + nLine + 1;
    if (nNeeded > pRoom->nCapacity) {
        const size_t nCapacity = nNeeded > 2 * pRoom->nCapacity ? nNeeded : 2 * pRoom->nCapacity;
        if (!CMN_Realloc(ppszText, nCapacity)) {
            DIAG_ErrorLine("Unable to add text.");
            return;
        }
        pRoom->nCapacity = nCapacity;
    }
    char* pszEnd = *ppszText + pRoom->nLength;
    if (nSeparator != 0) *pszEnd++ = '\n';
    memcpy(pszEnd, pszLine, nLine + 1);
    pRoom->nLength += nSeparator + nLine;
}

char** TextFieldOf(HDR* pHdr, int eKeyword) {
    switch (eKeyword) {
        case KW_SOURCE: return &pHdr->pszSource;
        case KW_NOTES: return &pHdr->pszNotes;
        case KW_DISCLAIMER: return &pHdr->pszDisclaimer;
        case KW_COPYRIGHT: return &pHdr->pszCopyright;
        default: return nullptr;
    }
}

bool IsDosNameChar(char c) {
    return isalnum(static_cast<unsigned char>(c)) || strchr("_^$~!#%&-{})(@'`", c) != nullptr;
}

void SetIbisVersion(HDR* pHdr, const char* pszValue) {
    CMN_SetKeywordOnce(pHdr->szIbisVersion, pszValue, HDR_IBIS_VERSION_LEN, "IBIS_Version");
    static const char* const kVersions[] = {"2.0", "2.1", "3.0", "3.1", "3.2"};
    for (const char* pszVersion : kVersions) {
        if (strcmp(pszValue, pszVersion) == 0) {
            PARSE_SetIbisVersion(pszValue[0] - '0');
            return;
        }
    }
    DIAG_ErrorLine("Illegal IBIS_Version '%s'.", pszValue);
}

void CheckFileNameChars(const char* pszName) {
    int nPeriods = 0;
    for (const char* p = pszName; *p != '\0'; ++p) {
        const char c = *p;
        if (isupper(static_cast<unsigned char>(c))) {
            DIAG_ErrorLine("File_name '%s' contains an upper case character '%c'.", pszName, c);
        } else if (c == '.') {
            if (++nPeriods > 1) DIAG_ErrorLine("File_name '%s' contains more than one period.", pszName);
        } else if (!IsDosNameChar(c)) {
            DIAG_ErrorLine("File_name '%s' contains a character '%c' that is illegal for DOS.", pszName,
                           c);
        }
    }
    if (nPeriods == 0) DIAG_ErrorLine("File_name '%s' must contain one period.", pszName);
}

void SetFileName(HDR* pHdr, const char* pszValue) {
    if (g_hdr.abSeen[KW_FILE_NAME]) {
        DIAG_ErrorLine("Duplicate File_name keyword.");
        return;
    }
    g_hdr.abSeen[KW_FILE_NAME] = 1;
    if (!CMN_SetKeywordOnce(pHdr->szFileName, pszValue, HDR_FILE_NAME_LEN, "File_name")) return;
    if (pHdr->szFileName[0] == '\0') return;
    CheckFileNameChars(pHdr->szFileName);
    if (!CMN_StrEqualNoCase(PARSE_FileName(), pHdr->szFileName))
        DIAG_ErrorLine("File name opened '%s' not the same as File_name '%s'.", PARSE_FileName(),
                       pHdr->szFileName);
    CMN_CheckReserved(pHdr->szFileName);
    pHdr->tFileTime = PARSE_GetFileTime();
}

// [File Rev] and [Date]: once each, reserved words refused.
void SetOnceText(char* pszField, unsigned nLen, int eKeyword, const char* pszName,
                 const char* pszDuplicate, const char* pszValue) {
    if (g_hdr.abSeen[eKeyword]) {
        DIAG_ErrorLine("%s", pszDuplicate);
        return;
    }
    g_hdr.abSeen[eKeyword] = 1;
    CMN_SetKeywordOnce(pszField, pszValue, nLen, pszName);
    CMN_CheckReserved(pszValue);
}

void StartText(HDR* pHdr, int eKeyword, const char* pszValue) {
    static const char* const kDuplicate[SEEN_FLAGS] = {
        nullptr, nullptr, nullptr, nullptr, nullptr,
        "Duplicate Source keyword.", "Duplicate Notes keyword.", nullptr,
        "Duplicate Copyright keyword."};
    if (g_hdr.abSeen[eKeyword] && kDuplicate[eKeyword] != nullptr) {
        DIAG_ErrorLine("%s", kDuplicate[eKeyword]);
        return;
    }
    g_hdr.abSeen[eKeyword] = 1;
    AddTextLine(TextFieldOf(pHdr, eKeyword), &g_hdr.aText[eKeyword], pszValue);
}

void KeywordLine(HDR* pHdr, int eKeyword, char* pszLine) {
    g_hdr.eCurKeyword = eKeyword;
    char* pszValue = pszLine;
    CMN_SkipKeyword(&pszValue);
    switch (eKeyword) {
        case KW_IBIS_VER:
            SetIbisVersion(pHdr, pszValue);
            break;
        case KW_FILE_NAME:
            SetFileName(pHdr, pszValue);
            break;
        case KW_FILE_REV:
            SetOnceText(pHdr->szFileRev, HDR_FILE_REV_LEN, KW_FILE_REV, "File_Rev",
                        "Duplicate File_Rev keyword.", pszValue);
            break;
        case KW_DATE:
            SetOnceText(pHdr->szDate, HDR_DATE_LEN, KW_DATE, "Date", "Duplicate Date keyword.",
                        pszValue);
            break;
        case KW_SOURCE:
        case KW_NOTES:
        case KW_DISCLAIMER:
        case KW_COPYRIGHT:
            StartText(pHdr, eKeyword, pszValue);
            break;
        default:
            DIAG_BugLine("Bad keyword type passed to hdr.");
            break;
    }
}

}  // namespace

void HDR_Reset() { g_hdr = HdrState(); }

void HDR_Start() {
    IBIS* pIbis = nullptr;
    if (!IBIS_GetCurrent(&pIbis)) {
        DIAG_BugLine("Unable to get ptr to IBIS struct?");
        return;
    }
    HDR* pHdr = nullptr;
    if (!CMN_Alloc(&pHdr, sizeof(HDR))) {
        DIAG_ErrorLine("Unable to create new File Header structure.");
        return;
    }
    IBIS_SetHdr(pIbis, pHdr);
    g_hdr.pCurHdr = pHdr;
    ClearSeen();
}

void HDR_Line(int eLineClass, int eKeyword, char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    HDR* pHdr = g_hdr.pCurHdr;
    if (pHdr == nullptr) {
        if (eLineClass == LINE_KEYWORD)
            DIAG_ErrorLine("Orphan File Header keyword.");
        else
            DIAG_ErrorLine("Orphan Data Line.");
        return;
    }
    if (eLineClass == LINE_KEYWORD) {
        KeywordLine(pHdr, eKeyword, pszLine);
    } else if (eLineClass == LINE_DATA) {
        char** ppszText = TextFieldOf(pHdr, g_hdr.eCurKeyword);
        if (ppszText != nullptr)
            AddTextLine(ppszText, &g_hdr.aText[g_hdr.eCurKeyword], pszLine);
        else
            DIAG_ErrorLine("Orphan Data Line.");
    } else {
        DIAG_BugLine("Bad line type passed to hdr.");
    }
}

void HDR_EndKeyword(int eNewKeyword) {
    if (g_hdr.pCurHdr == nullptr) return;
    if (eNewKeyword == KW_IBIS_VER) {
        DIAG_ErrorLine("Duplicate IBIS_Ver keyword");
        return;
    }
    if (eNewKeyword >= KW_FILE_NAME && eNewKeyword <= KW_COPYRIGHT) return;
    HDR* pHdr = g_hdr.pCurHdr;
    CMN_CheckRequired("IBIS_Version", pHdr->szIbisVersion[0] != '\0');
    CMN_CheckRequired("File_name", g_hdr.abSeen[KW_FILE_NAME]);
    CMN_CheckRequired("File_Rev", g_hdr.abSeen[KW_FILE_REV]);
    g_hdr.pCurHdr = nullptr;
}

void HDR_Destroy(HDR* pHdr) {
    while (pHdr != nullptr) {
        HDR* pNext = pHdr->pNext;
        for (char* psz : {pHdr->pszSource, pHdr->pszNotes, pHdr->pszDisclaimer, pHdr->pszCopyright})
            if (psz != nullptr) CMN_Free(psz);
        CMN_Free(pHdr);
        pHdr = pNext;
    }
}

namespace {

int GetText(const HDR* pHdr, char* const HDR::*pmField, const char** ppsz) {
    return CMN_GIVE_TEXT(CMN_RECORD(pHdr).*pmField, ppsz);
}

template <size_t N>
int GetText(const HDR* pHdr, char (HDR::*pmField)[N], const char** ppsz) {
    return CMN_GIVE_TEXT(CMN_RECORD(pHdr).*pmField, ppsz);
}

}  // namespace

int HDR_GetIbisVersion(const HDR* p, const char** pp) { return GetText(p, &HDR::szIbisVersion, pp); }
int HDR_GetFileName(const HDR* p, const char** pp) { return GetText(p, &HDR::szFileName, pp); }
int HDR_GetFileRev(const HDR* p, const char** pp) { return GetText(p, &HDR::szFileRev, pp); }
int HDR_GetDate(const HDR* p, const char** pp) { return GetText(p, &HDR::szDate, pp); }
int HDR_GetSource(const HDR* p, const char** pp) { return GetText(p, &HDR::pszSource, pp); }
int HDR_GetNotes(const HDR* p, const char** pp) { return GetText(p, &HDR::pszNotes, pp); }
int HDR_GetDisclaimer(const HDR* p, const char** pp) { return GetText(p, &HDR::pszDisclaimer, pp); }
int HDR_GetCopyright(const HDR* p, const char** pp) { return GetText(p, &HDR::pszCopyright, pp); }
