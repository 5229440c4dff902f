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

// Releases the stored words and the slot array and leaves no words.
void ReleaseTokens(TOKENS* pTokens) {
    if (pTokens->ppszToken != nullptr) {
        for (int i = 0; i < pTokens->nMax; ++i) free(pTokens->ppszToken[i]);
        free(pTokens->ppszToken);
    }
    pTokens->ppszToken = nullptr;
    pTokens->nStored = 0;
    pTokens->nFound = 0;
}

// Failed allocations of the splitter are program bugs; the words stored so
// far are released so that nothing leaks whatever the caller does next.
int TokenAllocFailed(TOKENS* pTokens, int nLine) {
    DIAG_Bug("Unable to Allocate Memory: %s %d", TAV_MODULE, nLine);
    ReleaseTokens(pTokens);
    return 0;
}

size_t WordLength(char cDelim, const char* psz) {
    size_t n = CMN_TokenLength(cDelim, psz);
    // A word that starts with the delimiter is the delimiter alone.
    return n == 0 ? 1 : n;
}

}  // namespace

int CMN_Tokenize(const char* pszLine, int n, TOKENS* pTokens) {
    return CMN_TokenizeDelim(pszLine, n, '\0', pTokens);
}

int CMN_TokenizeDelim(const char* pszLine, int n, char cDelim, TOKENS* pTokens) {
    TAV_ASSERT(pszLine != nullptr && pTokens != nullptr && n >= 0);
    pTokens->nMax = n;
    pTokens->nStored = 0;
    pTokens->nFound = 0;
    pTokens->ppszToken = nullptr;
    if (n > 0) {
        pTokens->ppszToken = static_cast<char**>(calloc(static_cast<size_t>(n), sizeof(char*)));
        if (pTokens->ppszToken == nullptr) return TokenAllocFailed(pTokens, __LINE__);
    }
    const char* p = pszLine;
    for (;;) {
        CMN_SkipWhite(&p);
        if (*p == '\0') break;
        size_t nLength = WordLength(cDelim, p);
        if (pTokens->nStored < n) {
            char* pszWord = static_cast<char*>(malloc(nLength + 1));
            if (pszWord == nullptr) return TokenAllocFailed(pTokens, __LINE__);
            memcpy(pszWord, p, nLength);
            pszWord[nLength] = '\0';
            pTokens->ppszToken[pTokens->nStored++] = pszWord;
        }
        ++pTokens->nFound;
        p += nLength;
    }
    // The slots past the stored words were zero-filled by calloc.
    return 1;
}

void CMN_FreeTokens(TOKENS* pTokens) {
    TAV_ASSERT(pTokens != nullptr);
    ReleaseTokens(pTokens);
}

