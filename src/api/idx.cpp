// Index tables and their text files: the table of user names to disk names
// hashed into 100 ordered chains, loading and atomic saving of the file,
// generated disk names and iteration in file order.  State lives in each
// IDX; used by the model library manager for the source indexes and the
// compiled-model index, and by the `tavelin index` command.
#define TAV_MODULE "idx"
#include "api/idx.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "core/tav_assert.h"

struct IDX_CURSOR {
    int nBucket = 0;
    size_t uiPos = 0;
};

namespace {

const char* const HEAD_LINE = "***** This is an automatically generated file, do not edit! *****";

// Line limits of the file, line end included.
enum {
    HEAD_LIMIT = 1023,
    NEXT_LIMIT = 255,
    USER_LIMIT = 255,
    DISK_LIMIT = 127,
    TEXT_LIMIT = 1023,
    FLAG_LIMIT = 255
};

int FoldAscii(int c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// Case-blind comparison of the C library's kind, independent of the locale.
int CompareNoCase(const char* pszA, const char* pszB) {
    for (;; ++pszA, ++pszB) {
        const int a = FoldAscii(static_cast<unsigned char>(*pszA));
        const int b = FoldAscii(static_cast<unsigned char>(*pszB));
        if (a != b || a == 0) return a - b;
    }
}

int CompareNames(const IDX* pIdx, const char* pszA, const char* pszB) {
    if (pIdx->bCaseFlag == 1) return strcmp(pszA, pszB);
    return CompareNoCase(pszA, pszB);
}

// First entry of the chain that does not sort before the name.
size_t LowerBound(const IDX* pIdx, const std::vector<IDX_ENTRY*>& chain, const char* pszName) {
    auto it = std::lower_bound(chain.begin(), chain.end(), pszName,
                               [pIdx](const IDX_ENTRY* pEntry, const char* pszKey) {
                                   return CompareNames(pIdx, pEntry->strUserName.c_str(), pszKey) < 0;
                               });
    return static_cast<size_t>(it - chain.begin());
}

// Reads one line without its line end (LF or CR-LF).  Characters beyond
// the limit (line end included) are dropped, so an overlong line never
// spills into the next one.  False at the end of the file before any
// character.
bool ReadLine(FILE* pFile, size_t uiLimit, std::string* pstrLine) {
    pstrLine->clear();
    int c = fgetc(pFile);
    if (c == EOF) return false;
    for (; c != EOF && c != '\n'; c = fgetc(pFile)) {
        if (pstrLine->size() + 1 < uiLimit) pstrLine->push_back(static_cast<char>(c));
    }
    if (!pstrLine->empty() && pstrLine->back() == '\r') pstrLine->pop_back();
    return true;
}

// The number at the start of the line, after blanks, as "%d" reads it.
bool ParseInt(const std::string& strLine, long* plValue) {
    const char* psz = strLine.c_str();
    char* pszEnd = nullptr;
    const long lValue = strtol(psz, &pszEnd, 10);
    if (pszEnd == psz) return false;
    *plValue = lValue;
    return true;
}

bool ReadEntry(FILE* pFile, IDX* pIdx) {
    std::string strUser, strDisk, strText, strFlag;
    if (!ReadLine(pFile, USER_LIMIT, &strUser) || !ReadLine(pFile, DISK_LIMIT, &strDisk) ||
        !ReadLine(pFile, TEXT_LIMIT, &strText) || !ReadLine(pFile, FLAG_LIMIT, &strFlag))
        return false;
    long lFlag = 0;
    if (!ParseInt(strFlag, &lFlag)) lFlag = 0;
    lFlag = std::clamp(lFlag, static_cast<long>(SHRT_MIN), static_cast<long>(SHRT_MAX));
    return IDX_Add(pIdx, strUser.c_str(), strDisk.c_str(), strText.empty() ? nullptr : strText.c_str(),
                   static_cast<int>(lFlag)) != nullptr;
}

}  // namespace

int IDX_Bucket(const char* pszUserName, int bCaseFlag) {
    TAV_ASSERT(pszUserName != nullptr);
    uint32_t uiSum = 0;
    for (const char* psz = pszUserName; *psz != '\0'; ++psz) {
        const signed char c = static_cast<signed char>(bCaseFlag == 1 ? *psz : FoldAscii(*psz));
        uiSum += static_cast<uint32_t>(c + 1);
    }
    return static_cast<int>(uiSum % IDX_BUCKETS);
}

IDX* IDX_Create(const char* pszFileName, const char* pszPattern, int bCaseFlag) {
    TAV_ASSERT(pszFileName != nullptr);
    IDX* pIdx = new (std::nothrow) IDX;
    if (pIdx == nullptr) return nullptr;
    try {
        pIdx->strFileName = pszFileName;
        pIdx->strPattern = pszPattern != nullptr ? pszPattern : "";
    } catch (const std::bad_alloc&) {
        delete pIdx;
        return nullptr;
    }
    pIdx->bCaseFlag = static_cast<unsigned char>(bCaseFlag);
    return pIdx;
}

IDX* IDX_Load(const char* pszFileName, const char* pszPattern, int bCaseFlag) {
    IDX* pIdx = IDX_Create(pszFileName, pszPattern, bCaseFlag);
    if (pIdx == nullptr) return nullptr;
    FILE* pFile = PLAT_OpenFile(pszFileName, "r");
    if (pFile == nullptr) {
        IDX_Free(pIdx);
        return nullptr;
    }
    std::string strLine;
    long lNext = -1;
    bool bRefused = false;
    if (ReadLine(pFile, HEAD_LIMIT, &strLine)) {
        // A number beyond the range of the next number is as bad as none.
        bRefused = !ReadLine(pFile, NEXT_LIMIT, &strLine) || !ParseInt(strLine, &lNext) ||
                   lNext < 0 || lNext > INT_MAX;
        if (!bRefused) {
            pIdx->nNextNumber = static_cast<int>(lNext);
            while (ReadEntry(pFile, pIdx)) {
            }
        }
    }
    // A path that opens but cannot be read (a directory) is refused too.
    bRefused = bRefused || ferror(pFile);
    fclose(pFile);
    if (bRefused) {
        IDX_Free(pIdx);
        return nullptr;
    }
    return pIdx;
}

int IDX_Write(IDX* pIdx, FILE* pFile) {
    TAV_ASSERT(pIdx != nullptr && pFile != nullptr);
    bool bOk = fprintf(pFile, "%s\n%d\n", HEAD_LINE, pIdx->nNextNumber) > 0;
    IDX_CURSOR* pCursor = nullptr;
    while (IDX_ENTRY* pEntry = IDX_Next(pIdx, &pCursor)) {
        if (fprintf(pFile, "%s\n%s\n%s\n%d\n", pEntry->strUserName.c_str(),
                    pEntry->strDiskName.c_str(), pEntry->bHasText ? pEntry->strText.c_str() : "",
                    pEntry->sFlag) < 0)
            bOk = false;
    }
    return bOk ? 1 : 0;
}

int IDX_Save(IDX* pIdx) {
    TAV_ASSERT(pIdx != nullptr);
    std::string strTemp;
    FILE* pFile = PLAT_CreateTempBeside(pIdx->strFileName.c_str(), &strTemp);
    if (pFile == nullptr) return 0;
    bool bOk = IDX_Write(pIdx, pFile) != 0;
    bOk = fflush(pFile) == 0 && !ferror(pFile) && bOk;
    bOk = fclose(pFile) == 0 && bOk;
    if (bOk && PLAT_Rename(strTemp.c_str(), pIdx->strFileName.c_str())) return 1;
    PLAT_Remove(strTemp.c_str());
    return 0;
}

void IDX_Free(IDX* pIdx) {
    if (pIdx == nullptr) return;
    for (std::vector<IDX_ENTRY*>& chain : pIdx->chains)
        for (IDX_ENTRY* pEntry : chain) delete pEntry;
    delete pIdx;
}

IDX_ENTRY* IDX_Find(IDX* pIdx, const char* pszUserName) {
    TAV_ASSERT(pIdx != nullptr && pszUserName != nullptr);
    const std::vector<IDX_ENTRY*>& chain = pIdx->chains[IDX_Bucket(pszUserName, pIdx->bCaseFlag)];
    const size_t uiPos = LowerBound(pIdx, chain, pszUserName);
    if (uiPos < chain.size() &&
        CompareNames(pIdx, chain[uiPos]->strUserName.c_str(), pszUserName) == 0)
        return chain[uiPos];
    return nullptr;
}

IDX_ENTRY* IDX_Add(IDX* pIdx, const char* pszUserName, const char* pszDiskName,
                   const char* pszText, int nFlag) {
    TAV_ASSERT(pIdx != nullptr && pszUserName != nullptr);
    std::vector<IDX_ENTRY*>& chain = pIdx->chains[IDX_Bucket(pszUserName, pIdx->bCaseFlag)];
    const size_t uiPos = LowerBound(pIdx, chain, pszUserName);
    // Names equal under a case-blind comparison stand together: the one
    // spelled exactly alike may be any of them.
    for (size_t i = uiPos;
         i < chain.size() && CompareNames(pIdx, chain[i]->strUserName.c_str(), pszUserName) == 0; ++i)
        if (chain[i]->strUserName == pszUserName) return chain[i];

    IDX_ENTRY* pEntry = new (std::nothrow) IDX_ENTRY;
    if (pEntry == nullptr) return nullptr;
    try {
        if (pszDiskName != nullptr)
            pEntry->strDiskName = pszDiskName;
        else if (!IDX_NextName(pIdx, &pEntry->strDiskName)) {
            delete pEntry;
            return nullptr;
        }
        pEntry->strUserName = pszUserName;
        pEntry->bHasText = pszText != nullptr;
        if (pszText != nullptr) pEntry->strText = pszText;
        pEntry->sFlag = static_cast<short>(nFlag);
        chain.insert(chain.begin() + static_cast<std::ptrdiff_t>(uiPos), pEntry);
    } catch (const std::bad_alloc&) {
        delete pEntry;
        return nullptr;
    }
    ++pIdx->nEntryCount;
    return pEntry;
}

int IDX_NextName(IDX* pIdx, std::string* pstrName) {
    TAV_ASSERT(pIdx != nullptr && pstrName != nullptr);
    // The largest number is never handed out: the number after it could
    // not be kept.
    if (pIdx->nNextNumber == INT_MAX) return 0;
    // The pattern is the caller's, never file content.
    const int nLength = snprintf(nullptr, 0, pIdx->strPattern.c_str(), pIdx->nNextNumber);
    TAV_ASSERT(nLength >= 0);
    std::string strName(static_cast<size_t>(nLength) + 1, '\0');
    snprintf(&strName[0], strName.size(), pIdx->strPattern.c_str(), pIdx->nNextNumber);
    strName.pop_back();
    *pstrName = std::move(strName);
    ++pIdx->nNextNumber;
    return 1;
}

void IDX_RaiseNextNumber(IDX* pIdx, int nAtLeast) {
    TAV_ASSERT(pIdx != nullptr);
    if (pIdx->nNextNumber < nAtLeast) pIdx->nNextNumber = nAtLeast;
}

IDX_ENTRY* IDX_Next(IDX* pIdx, IDX_CURSOR** ppCursor) {
    TAV_ASSERT(pIdx != nullptr && ppCursor != nullptr);
    if (*ppCursor == nullptr) {
        *ppCursor = new (std::nothrow) IDX_CURSOR;
        if (*ppCursor == nullptr) return nullptr;
    }
    IDX_CURSOR* pCursor = *ppCursor;
    for (; pCursor->nBucket < IDX_BUCKETS; ++pCursor->nBucket, pCursor->uiPos = 0) {
        const std::vector<IDX_ENTRY*>& chain = pIdx->chains[pCursor->nBucket];
        if (pCursor->uiPos < chain.size()) return chain[pCursor->uiPos++];
    }
    IDX_FreeCursor(ppCursor);
    return nullptr;
}

void IDX_FreeCursor(IDX_CURSOR** ppCursor) {
    TAV_ASSERT(ppCursor != nullptr);
    delete *ppCursor;
    *ppCursor = nullptr;
}
