// Helpers shared by the component tables: their column headers and the
// tail of the row list each module appends to.
#ifndef TAVELIN_ROWS_H
#define TAVELIN_ROWS_H

#include <string>
#include <string_view>
#include <unordered_map>

#include "core/cmn.h"
#include "core/diag.h"
#include "core/tav_assert.h"

// The column headers after a table keyword, in pszText: false after
// "Unable to find column headers after <keyword> keyword." when there are none.
inline bool HeadersPresent(const char** ppszText, const char* pszKeyword) {
    CMN_SkipWhite(ppszText);
    if (**ppszText != '\0') return true;
    DIAG_ErrorLine("Unable to find column headers after %s keyword.", pszKeyword);
    return false;
}

// The table's columns, the first (which has no header) included, and the
// report when the count is neither of the two allowed.
inline int CountColumns(const WORDS& headers, const char* pszTable, int nShort, int nLong) {
    const int nColumns = 1 + headers.Stored();
    if (nColumns != nShort && nColumns != nLong)
        DIAG_ErrorLine("%s keyword column count must be %d or %d, found %d columns.", pszTable, nShort,
                       nLong, nColumns);
    return nColumns;
}

// Each expected header in its place: a missing one among the first
// nRequired, or another word, is reported.
inline void CheckHeaders(const WORDS& headers, const char* const* apszExpected, int nExpected,
                         int nRequired) {
    for (int i = 0; i < nExpected; ++i) {
        const bool bMissing = headers[i] == nullptr;
        if ((bMissing && i < nRequired) || (!bMissing && !CMN_StrEqualNoCase(headers[i], apszExpected[i])))
            DIAG_ErrorLine("'%s' column header not found or out of order.", apszExpected[i]);
    }
}

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
    // Keys point into the rows' own names, which stay in place until the
    // rows are released (and the map forgotten).
    std::unordered_map<std::string_view, unsigned> m_mapKeyCount;
};

#endif
