// The line reader and the state of the read in progress.  One physical
// line is read at a time with illegal characters made blanks (and
// reported), checked for length and tabs, classified, and stripped of its
// comment.  The per-read state lives in one place, reset by
// PARSE_ResetForRead where a read starts; the tab warning and the version
// last in force outlive a read on purpose.
#define TAV_MODULE "parse"
#include "core/lines.h"

#include <cstring>

#include "core/cmn.h"
#include "core/diag.h"
#include "core/tav_assert.h"

namespace {

enum { CTRL_Z = 26 };

// State of one read, reset by PARSE_ResetForRead.
struct ParseState {
    int eFileKind = FILE_KIND_NONE;
    unsigned long ulLineNumber = 0;
    char cCommentChar = '|';
    int eCurKeyword = KW_NOT_KEY;
    // The last recognised keyword, which stays open across keyword lines
    // that are not recognised.
    int eOpenKeyword = KW_NOT_KEY;
    int bIbisVerSeen = 0;
    int bEndSeen = 0;
    int bInSubmodel = 0;
    int bNotTerminated = 0;
    char szCurFileName[PARSE_NAME_SIZE + 1] = "";
    time_t tFileTime = 0;
};

ParseState g_parse;

// Kept for the lifetime of the loaded library: the tab warning is given
// once, and the version of the last accepted [IBIS Ver] stays in force.
int g_bTabWarned = 0;
int g_nIbisVersion = 0;

// Reports an illegal character met while reading the next line: the line
// number is raised for the report because the driver counts a line only
// once it has been read.
void ReportIllegal(int c, bool bRoomLeft) {
    const char* pszName;
    if (c == 0)
        pszName = "NUL";
    else if (c >= 128)
        pszName = "non-7-bit ASCII";
    else
        pszName = "control";
    const char* pszTail = bRoomLeft ? "  Converting to space." : "";
    ++g_parse.ulLineNumber;
    if (c == 0 || c >= 128)
        DIAG_ErrorLine("Found illegal %s character (Hex code %x).%s", pszName, c, pszTail);
    else
        DIAG_WarningLine("Found illegal %s character (Hex code %x).%s", pszName, c, pszTail);
    --g_parse.ulLineNumber;
}

bool IsLegal(int c) { return (c >= 32 && c <= 127) || c == '\t'; }

// Reads one physical line; characters beyond the buffer are read and
// dropped so that a long line is truncated rather than split.  The stream
// belongs to the one read in progress, so its characters are taken without
// the stream's lock: this loop sees every byte of every file.
char* ReadLine(char* pszBuffer, size_t nSize, FILE* pStream, bool bReport) {
    if (pszBuffer == nullptr || pStream == nullptr || nSize == 0) return nullptr;
    if (nSize == 1) {
        pszBuffer[0] = '\0';
        return pszBuffer;
    }
    int c = getc_unlocked(pStream);
    if (c == EOF) return nullptr;
    size_t nLen = 0;
    for (; c != EOF; c = getc_unlocked(pStream)) {
        if (c == '\r' || c == CTRL_Z) {
            int cNext = getc_unlocked(pStream);
            if (c == '\r' && cNext == '\n') {
                c = '\n';
            } else if (c == CTRL_Z && cNext == EOF) {
                // A final Ctrl-Z alone on its line makes no line of its own.
                if (nLen == 0) return nullptr;
                break;
            } else if (cNext != EOF) {
                ungetc(cNext, pStream);
            }
        }
        if (c == '\n') {
            if (nLen < nSize - 1) pszBuffer[nLen++] = '\n';
            break;
        }
        bool bRoomLeft = nLen < nSize - 1;
        if (!IsLegal(c)) {
            if (bReport) ReportIllegal(c, bRoomLeft);
            c = ' ';
        }
        if (bRoomLeft) pszBuffer[nLen++] = static_cast<char>(c);
    }
    pszBuffer[nLen] = '\0';
    return pszBuffer;
}

bool IsFreeTextKeyword(int eCode) {
    return eCode == KW_SOURCE || eCode == KW_NOTES || eCode == KW_DISCLAIMER ||
           eCode == KW_COPYRIGHT;
}

}  // namespace

char* PARSE_ReadLine(char* pszBuffer, size_t nSize, FILE* pStream) {
    return ReadLine(pszBuffer, nSize, pStream, true);
}

char* PARSE_ReadLineQuiet(char* pszBuffer, size_t nSize, FILE* pStream) {
    return ReadLine(pszBuffer, nSize, pStream, false);
}

void PARSE_CheckLine(const char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    size_t nLen = strlen(pszLine);
    if (nLen > 0 && pszLine[nLen - 1] == '\n') --nLen;
    if (nLen > 1022)
        DIAG_ErrorLine("Exceeds %d chararacters.", 1022);
    else if (nLen > 80)
        DIAG_WarningLine("Exceeds official IBIS maximum length of 80 chararacters.");
    if (!g_bTabWarned && strchr(pszLine, '\t') != nullptr) {
        DIAG_WarningLine("IBIS files should not contain tab characters.");
        g_bTabWarned = 1;
    }
}

int PARSE_ClassifyLine(char** ppszLine) {
    TAV_ASSERT(ppszLine != nullptr && *ppszLine != nullptr);
    char* pszStart = *ppszLine;
    CMN_SkipWhite(ppszLine);
    const char c = **ppszLine;
    if (c == '\0' || c == g_parse.cCommentChar) return LINE_BLANK;
    if (c != '[') return LINE_DATA;
    if (*ppszLine == pszStart) return LINE_KEYWORD;
    if (IsFreeTextKeyword(g_parse.eCurKeyword)) return LINE_DATA;
    DIAG_ErrorLine("Keywords Must Begin In Column 1.");
    return LINE_KEYWORD;
}

// A definition reads "<c>_char": the new comment character, then "_char".
void PARSE_CommentChar(const char* pszAfterKeyword) {
    TAV_ASSERT(pszAfterKeyword != nullptr);
    const char* psz = pszAfterKeyword;
    CMN_SkipWhite(&psz);
    if (psz[0] == '\0' || strncmp(psz + 1, "_char", 5) != 0) {
        DIAG_ErrorLine("Invalid Comment Character Definition.");
        return;
    }
    static const char kForbidden[] =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ[]._/=+-";
    if (strchr(kForbidden, psz[0]) != nullptr) {
        DIAG_ErrorLine("Invalid Comment Character '%c'.", psz[0]);
        return;
    }
    g_parse.cCommentChar = psz[0];
    psz += 6;
    CMN_SkipWhite(&psz);
    if (*psz != '\0' && *psz != g_parse.cCommentChar)
        DIAG_ErrorLine("Too Many Line Items For Keyword COMMENT_CHAR.");
}

void PARSE_StripComment(char* pszLine) {
    TAV_ASSERT(pszLine != nullptr);
    char* pszComment = strchr(pszLine, g_parse.cCommentChar);
    if (pszComment != nullptr) *pszComment = '\0';
    CMN_TrimRight(pszLine);
}

void PARSE_ResetForRead(int eFileKind) {
    g_parse = ParseState();
    g_parse.eFileKind = eFileKind;
}

void PARSE_NextLine() { ++g_parse.ulLineNumber; }

unsigned long PARSE_GetLineNumber() { return g_parse.ulLineNumber; }

int PARSE_GetFileKind() { return g_parse.eFileKind; }

int PARSE_GetCurKeyword() { return g_parse.eCurKeyword; }

char PARSE_GetCommentChar() { return g_parse.cCommentChar; }

int PARSE_IsEndSeen() { return g_parse.bEndSeen; }

void PARSE_SetFileName(const char* pszName) {
    TAV_ASSERT(pszName != nullptr);
    CMN_StrCopy(g_parse.szCurFileName, pszName, PARSE_NAME_SIZE);
}

void PARSE_GetFileName(char* pszOut, size_t nSize) {
    TAV_ASSERT(pszOut != nullptr && nSize > 0);
    CMN_StrCopy(pszOut, g_parse.szCurFileName, nSize - 1);
}

const char* PARSE_FileName() { return g_parse.szCurFileName; }

void PARSE_SetFileTime(time_t tFileTime) { g_parse.tFileTime = tFileTime; }

time_t PARSE_GetFileTime() { return g_parse.tFileTime; }

void PARSE_SetNotTerminated(int bNotTerminated) { g_parse.bNotTerminated = bNotTerminated; }

int PARSE_GetNotTerminated() { return g_parse.bNotTerminated; }

struct PARSE_SAVED {
    ParseState state;
    int nIbisVersion;
};

PARSE_SAVED* PARSE_SaveState() { return new PARSE_SAVED{g_parse, g_nIbisVersion}; }

void PARSE_RestoreState(PARSE_SAVED* pSaved) {
    TAV_ASSERT(pSaved != nullptr);
    g_parse = pSaved->state;
    g_nIbisVersion = pSaved->nIbisVersion;
    delete pSaved;
}

void PARSE_SetIbisVersion(int nVersion) { g_nIbisVersion = nVersion; }

int PARSE_GetIbisVersion() { return g_nIbisVersion; }

void PARSE_SetCurKeyword(int eKeyword) { g_parse.eCurKeyword = eKeyword; }

int PARSE_GetOpenKeyword() { return g_parse.eOpenKeyword; }

void PARSE_SetOpenKeyword(int eKeyword) { g_parse.eOpenKeyword = eKeyword; }

void PARSE_SetEndSeen() { g_parse.bEndSeen = 1; }

int PARSE_IsIbisVerSeen() { return g_parse.bIbisVerSeen; }

void PARSE_SetIbisVerSeen() { g_parse.bIbisVerSeen = 1; }

int PARSE_IsInSubmodel() { return g_parse.bInSubmodel; }

void PARSE_SetInSubmodel(int bInSubmodel) { g_parse.bInSubmodel = bInSubmodel; }

void PARSE_ResetLibraryState() {
    g_bTabWarned = 0;
    g_nIbisVersion = 0;
}
