// The words of one line: split at blanks, or at blanks and a delimiter
// that forms a word of its own ("name = value").
#ifndef TAVELIN_WORDS_H
#define TAVELIN_WORDS_H

// Words of one line.  Slots beyond nFound are null; nFound may exceed nMax.
struct TOKENS {
    int nMax;
    int nStored;
    int nFound;
    char** ppszToken;
};

int CMN_Tokenize(const char* pszLine, int n, TOKENS* pTokens);
int CMN_TokenizeDelim(const char* pszLine, int n, char cDelim, TOKENS* pTokens);
void CMN_FreeTokens(TOKENS* pTokens);

// The words of one line, released when the value goes out of scope.  The
// words of a line of ordinary length are kept inside the value itself: no
// allocation on the path every table row takes.  A failed split has
// already been reported as a program bug; it reads as a line without words,
// and Split() tells the caller.
class WORDS {
public:
    WORDS(const char* pszLine, int nMax, char cDelim = '\0');
    ~WORDS();
    WORDS(const WORDS&) = delete;
    WORDS& operator=(const WORDS&) = delete;

    bool Split() const { return m_bSplit; }
    // Words kept (at most the number asked for) and words on the line.
    int Stored() const { return m_nStored; }
    int Found() const { return m_nFound; }
    // The i-th kept word, or null.
    const char* operator[](int i) const { return i >= 0 && i < m_nStored ? m_ppszSlot[i] : nullptr; }

private:
    enum { INLINE_BYTES = 512 };
    alignas(char*) char m_acInline[INLINE_BYTES];
    char* m_pHeap = nullptr;
    char** m_ppszSlot = nullptr;
    int m_nStored = 0;
    int m_nFound = 0;
    bool m_bSplit = false;
};

#endif
