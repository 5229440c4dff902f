// Splitting a line into words: blank-separated words, or words ended by
// a delimiter that is a word of its own.  Stateless.
#define TAV_MODULE "cmn"
#include "core/words.h"

#include <cstdlib>
#include <cstring>

#include "core/cmn.h"
#include "core/diag.h"
#include "core/tav_assert.h"

namespace {

size_t WordLength(char cDelim, const char* psz) {
    size_t n = CMN_TokenLength(cDelim, psz);
    // A word that starts with the delimiter is the delimiter alone.
    return n == 0 ? 1 : n;
}

// Bytes for n word slots followed by the words of the line: no word is
// longer than the line, and each takes one terminator.
size_t BlockSize(const char* pszLine, int n) {
    return static_cast<size_t>(n) * sizeof(char*) + strlen(pszLine) + static_cast<size_t>(n) + 1;
}

// Copies the first n words into the text after the slots of a block of
// BlockSize bytes; slots past the stored words are null.  Returns the
// number of words on the line.
int SplitInto(const char* pszLine, int n, char cDelim, char* pBlock, int* pnStored) {
    char** ppszSlot = reinterpret_cast<char**>(pBlock);
    char* pText = pBlock + static_cast<size_t>(n) * sizeof(char*);
    int nFound = 0;
    *pnStored = 0;
    const char* p = pszLine;
    for (;;) {
        CMN_SkipWhite(&p);
        if (*p == '\0') break;
        const size_t nLength = WordLength(cDelim, p);
        if (*pnStored < n) {
            memcpy(pText, p, nLength);
            pText[nLength] = '\0';
            ppszSlot[(*pnStored)++] = pText;
            pText += nLength + 1;
        }
        ++nFound;
        p += nLength;
    }
    for (int i = *pnStored; i < n; ++i) ppszSlot[i] = nullptr;
    return nFound;
}

// Failed allocations of the splitter are program bugs.
void ReportAllocFailed(int nLine) { DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, nLine); }

}  // namespace

int CMN_Tokenize(const char* pszLine, int n, TOKENS* pTokens) {
    return CMN_TokenizeDelim(pszLine, n, '\0', pTokens);
}

// The slots and the words share one allocation, released by CMN_FreeTokens.
int CMN_TokenizeDelim(const char* pszLine, int n, char cDelim, TOKENS* pTokens) {
    TAV_ASSERT(pszLine != nullptr && pTokens != nullptr && n >= 0);
    *pTokens = TOKENS{n, 0, 0, nullptr};
    char* pBlock = static_cast<char*>(malloc(BlockSize(pszLine, n)));
    if (pBlock == nullptr) {
        ReportAllocFailed(__LINE__);
        return 0;
    }
    pTokens->nFound = SplitInto(pszLine, n, cDelim, pBlock, &pTokens->nStored);
    if (n == 0) {
        free(pBlock);
        return 1;
    }
    pTokens->ppszToken = reinterpret_cast<char**>(pBlock);
    return 1;
}

void CMN_FreeTokens(TOKENS* pTokens) {
    TAV_ASSERT(pTokens != nullptr);
    free(pTokens->ppszToken);
    *pTokens = TOKENS{pTokens->nMax, 0, 0, nullptr};
}

WORDS::WORDS(const char* pszLine, int nMax, char cDelim) {
    TAV_ASSERT(pszLine != nullptr && nMax >= 0);
    const size_t nBytes = BlockSize(pszLine, nMax);
    char* pBlock = m_acInline;
    if (nBytes > sizeof m_acInline) {
        m_pHeap = static_cast<char*>(malloc(nBytes));
        if (m_pHeap == nullptr) {
            ReportAllocFailed(__LINE__);
            return;
        }
        pBlock = m_pHeap;
    }
    m_nFound = SplitInto(pszLine, nMax, cDelim, pBlock, &m_nStored);
    m_ppszSlot = reinterpret_cast<char**>(pBlock);
    m_bSplit = true;
}

WORDS::~WORDS() { free(m_pHeap); }
