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

// The words of one line, released when the value goes out of scope.  A
// failed split has already been reported by the splitter as a program bug;
// it reads as a line without words, and Split() tells the caller.
class WORDS {
public:
    WORDS(const char* pszLine, int nMax, char cDelim = '\0')
        : m_bSplit(CMN_TokenizeDelim(pszLine, nMax, cDelim, &m_tokens) != 0) {}
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

#endif
