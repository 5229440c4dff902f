// Helpers shared by the component tables: their column headers and the
// tail of the row list each module appends to.
#ifndef TAVELIN_ROWS_H
#define TAVELIN_ROWS_H

#include <cstdint>
#include <vector>

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
// How often each short name (at most 7 characters, as the pin names of the
// tables are) was counted: an open-addressing table of names packed into
// 64 bits, so that a table of 100 000 rows costs no allocation per row.
class SHORT_NAME_COUNTS {
public:
    // Counts the name; returns how often it was counted before.
    unsigned Count(const char* pszName) {
        const uint64_t uKey = Pack(pszName);
        if ((m_nUsed + 1) * 2 > m_slots.size()) Grow();
        Slot& slot = Find(&m_slots, uKey);
        if (slot.uKey == 0) {
            slot.uKey = uKey;
            ++m_nUsed;
        }
        return slot.nCount++;
    }

    // Forgets every name and gives the memory back.
    void Clear() {
        std::vector<Slot>().swap(m_slots);
        m_nUsed = 0;
    }

private:
    struct Slot {
        uint64_t uKey = 0;
        unsigned nCount = 0;
    };

    // The characters in the low bytes, the length plus one in the top byte,
    // so that no name packs to 0, which marks a free slot.
    static uint64_t Pack(const char* pszName) {
        uint64_t uKey = 0;
        size_t n = 0;
        for (; pszName[n] != '\0'; ++n) {
            TAV_ASSERT(n < 7);
            uKey |= uint64_t(static_cast<unsigned char>(pszName[n])) << (8 * n);
        }
        return uKey | (uint64_t(n + 1) << 56);
    }

    static Slot& Find(std::vector<Slot>* pSlots, uint64_t uKey) {
        const size_t nMask = pSlots->size() - 1;
        size_t i = static_cast<size_t>((uKey * 0x9E3779B97F4A7C15ull) >> 40) & nMask;
        while ((*pSlots)[i].uKey != 0 && (*pSlots)[i].uKey != uKey) i = (i + 1) & nMask;
        return (*pSlots)[i];
    }

    void Grow() {
        std::vector<Slot> bigger(m_slots.empty() ? 64 : m_slots.size() * 2);
        for (const Slot& slot : m_slots)
            if (slot.uKey != 0) Find(&bigger, slot.uKey) = slot;
        m_slots.swap(bigger);
    }

    std::vector<Slot> m_slots;
    size_t m_nUsed = 0;
};

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
        return pfnKey != nullptr ? m_keyCounts.Count(pfnKey(pRow)) : 0;
    }

    // Also gives the counts' memory back: a pin table of a large component
    // would otherwise hold it for the rest of the read.
    void Forget() {
        m_ppHead = nullptr;
        m_pTail = nullptr;
        m_keyCounts.Clear();
    }

private:
    void Follow(ROW** ppHead, KEYFN pfnKey) {
        Forget();
        m_ppHead = ppHead;
        for (ROW* pRow = *ppHead; pRow != nullptr; pRow = pRow->pNext) {
            m_pTail = pRow;
            if (pfnKey != nullptr) m_keyCounts.Count(pfnKey(pRow));
        }
    }

    ROW** m_ppHead = nullptr;
    ROW* m_pTail = nullptr;
    SHORT_NAME_COUNTS m_keyCounts;
};

#endif
