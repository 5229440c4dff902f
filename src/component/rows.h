#ifndef TAVELIN_ROWS_H
#define TAVELIN_ROWS_H

#include <string>
#include <unordered_map>

#include "core/cmn.h"
#include "core/tav_assert.h"

// Helpers shared by the component tables.

// Accessor results: a text field is given when it is not empty, a number
// only when its state says it is one.
inline int StoreText(const char* pszField, const char** ppsz) {
    if (ppsz == nullptr) TAV_AssertFailed("rows", __LINE__);
    *ppsz = pszField[0] != '\0' ? pszField : nullptr;
    return *ppsz != nullptr;
}

inline int StoreValue(double dValue, unsigned eState, double* pd) {
    if (pd == nullptr) TAV_AssertFailed("rows", __LINE__);
    if (eState != VALUE_NUMBER) return 0;
    *pd = dValue;
    return 1;
}

// The words of one line, released when the value goes out of scope.  A
// failed split has already been reported by the splitter as a program bug;
// it reads as a line without words.
class WORDS {
public:
    WORDS(const char* pszLine, int nMax) : m_bSplit(CMN_Tokenize(pszLine, nMax, &m_tokens) != 0) {}
    ~WORDS() {
        if (m_bSplit) CMN_FreeTokens(&m_tokens);
    }
    WORDS(const WORDS&) = delete;
    WORDS& operator=(const WORDS&) = delete;

    bool Split() const { return m_bSplit; }
    // Words kept (at most the number asked for) and words on the line.
    int Stored() const { return m_bSplit ? m_tokens.nStored : 0; }
    int Found() const { return m_bSplit ? m_tokens.nFound : 0; }
    // The i-th kept word, or null.
    const char* operator[](int i) const {
        return i >= 0 && i < Stored() ? m_tokens.ppszToken[i] : nullptr;
    }

private:
    TOKENS m_tokens{};
    bool m_bSplit;
};

// Rows of the component tables are appended at the tail of their list, in
// file order.  A module keeps the tail of the list it appended to last and,
// when asked, how many rows of that list carry each key, so that a table of
// many thousand rows is built without walking it again for every row.  The
// module forgets both whenever it releases rows, so that nothing points
// into freed memory.
template <typename ROW>
class ROWTAIL {
public:
    using KEYFN = const char* (*)(const ROW*);

    // Appends pRow to the list at *ppHead; returns the number of earlier
    // rows whose key (when a key function is given) equals the new row's.
    unsigned Append(ROW** ppHead, ROW* pRow, KEYFN pfnKey = nullptr) {
        if (m_ppHead != ppHead || m_pTail == nullptr || *ppHead == nullptr) Follow(ppHead, pfnKey);
        if (m_pTail == nullptr)
            *ppHead = pRow;
        else
            m_pTail->pNext = pRow;
        m_pTail = pRow;
        return pfnKey != nullptr ? m_mapKeyCount[pfnKey(pRow)]++ : 0;
    }

    void Forget() {
        m_ppHead = nullptr;
        m_pTail = nullptr;
        m_mapKeyCount.clear();
    }

private:
    void Follow(ROW** ppHead, KEYFN pfnKey) {
        Forget();
        m_ppHead = ppHead;
        for (ROW* pRow = *ppHead; pRow != nullptr; pRow = pRow->pNext) {
            m_pTail = pRow;
            if (pfnKey != nullptr) ++m_mapKeyCount[pfnKey(pRow)];
        }
    }

    ROW** m_ppHead = nullptr;
    ROW* m_pTail = nullptr;
    std::unordered_map<std::string, unsigned> m_mapKeyCount;
};

#endif
