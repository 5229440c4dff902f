#ifndef TAVELIN_PARSE_H
#define TAVELIN_PARSE_H

#include <cstddef>
#include <cstdio>
#include <ctime>

// Line classes.
enum eLineClass { LINE_BLANK = 0, LINE_KEYWORD = 1, LINE_DATA = 2 };

// File kinds.
enum eFileKind { FILE_KIND_NONE = 0, FILE_KIND_IBS = 1, FILE_KIND_PKG = 2, FILE_KIND_EBD = 3 };

// Keyword codes, grouped by the module that owns them.  A name that occurs
// more than once in the tables is reached at its later codes only through
// the context rules of recognition.
enum eIbisKeyword {
    KW_IBIS_VER = 0,
    KW_COMMENT_CHAR = 1,
    KW_FILE_NAME = 2,
    KW_FILE_REV = 3,
    KW_DATE = 4,
    KW_SOURCE = 5,
    KW_NOTES = 6,
    KW_DISCLAIMER = 7,
    KW_COPYRIGHT = 8,
    KW_COMPONENT = 9,
    KW_MANUFACTURER = 10,
    KW_PACKAGE = 11,
    KW_PIN = 12,
    KW_PACKAGE_MODEL = 13,
    KW_PIN_MAPPING = 14,
    KW_DIFF_PIN = 15,
    KW_SERIES_SWITCH_GROUPS = 16,
    KW_SERIES_PIN_MAPPING = 17,
    KW_MODEL = 18,
    KW_TEMPERATURE_RANGE = 19,
    KW_VOLTAGE_RANGE = 20,
    KW_PULLUP_REFERENCE = 21,
    KW_PULLDOWN_REFERENCE = 22,
    KW_POWER_CLAMP_REFERENCE = 23,
    KW_GND_CLAMP_REFERENCE = 24,
    KW_PULLDOWN = 25,
    KW_PULLUP = 26,
    KW_GND_CLAMP = 27,
    KW_POWER_CLAMP = 28,
    KW_RGND = 29,
    KW_RPOWER = 30,
    KW_RAC = 31,
    KW_CAC = 32,
    KW_RAMP = 33,
    KW_RISING_WAVEFORM = 34,
    KW_FALLING_WAVEFORM = 35,
    KW_TTGND = 36,
    KW_TTPOWER = 37,
    KW_MODEL_SPEC = 38,
    KW_DRIVER_SCHEDULE = 39,
    KW_ON = 40,
    KW_OFF = 41,
    KW_R_SERIES = 42,
    KW_L_SERIES = 43,
    KW_RL_SERIES = 44,
    KW_C_SERIES = 45,
    KW_LC_SERIES = 46,
    KW_RC_SERIES = 47,
    KW_SERIES_CURRENT = 48,
    KW_SERIES_MOSFET = 49,
    KW_ADD_SUBMODEL = 50,
    KW_DEFINE_PACKAGE_MODEL = 51,
    KW_PKG_MANUFACTURER = 52,
    KW_OEM = 53,
    KW_DESCRIPTION = 54,
    KW_NUMBER_OF_PINS = 55,
    KW_PIN_NUMBERS = 56,
    KW_MODEL_DATA = 57,
    KW_RESISTANCE_MATRIX = 58,
    KW_INDUCTANCE_MATRIX = 59,
    KW_CAPACITANCE_MATRIX = 60,
    KW_BANDWIDTH = 61,
    KW_ROW = 62,
    KW_END_MODEL_DATA = 63,
    KW_END_PACKAGE_MODEL = 64,
    KW_NUMBER_OF_SECTIONS = 65,
    KW_BEGIN_BOARD_DESCRIPTION = 66,
    KW_EBD_MANUFACTURER = 67,
    KW_EBD_NUMBER_OF_PINS = 68,
    KW_PIN_LIST = 69,
    KW_PATH_DESCRIPTION = 70,
    KW_REFERENCE_DESIGNATOR_MAP = 71,
    KW_END_BOARD_DESCRIPTION = 72,
    KW_MODEL_SELECTOR = 73,
    KW_SUBMODEL = 74,
    KW_SUBMODEL_SPEC = 75,
    KW_GND_PULSE_TABLE = 76,
    KW_POWER_PULSE_TABLE = 77,
    KW_SUB_PULLDOWN = 78,
    KW_SUB_PULLUP = 79,
    KW_SUB_GND_CLAMP = 80,
    KW_SUB_POWER_CLAMP = 81,
    KW_SUB_RAMP = 82,
    KW_SUB_RISING_WAVEFORM = 83,
    KW_SUB_FALLING_WAVEFORM = 84,
    KW_END = 85,
    KW_NOT_KEY = 86
};

struct KEYWORD_ENTRY {
    const char* pszName;
    eIbisKeyword eCode;
};

// The two keyword tables, each ending with the NOT_KEY entry.
extern const KEYWORD_ENTRY g_aKeywords32[];
extern const KEYWORD_ENTRY g_aKeywords21[];

// Longest physical line kept by the reader, terminator included.
enum { PARSE_LINE_SIZE = 1024, PARSE_NAME_SIZE = 1024 };

char* PARSE_ReadLine(char* pszBuffer, size_t nSize, FILE* pStream);
// The same without reporting illegal characters (for the version pre-scan,
// whose lines are read and reported again by the read itself).
char* PARSE_ReadLineQuiet(char* pszBuffer, size_t nSize, FILE* pStream);
void PARSE_CheckLine(const char* pszLine);
int PARSE_ClassifyLine(char** ppszLine);
void PARSE_CommentChar(const char* pszAfterKeyword);
void PARSE_StripComment(char* pszLine);
int PARSE_Recognize(char* pszLine, int ePrevious, int* peCode, const KEYWORD_ENTRY* pTable);
void PARSE_EndKeyword(int ePrevious, int eNew);
void PARSE_StartKeyword(int eFileKind, int eNew);
void PARSE_Dispatch21(int eFileKind, int eLineClass, char* pszLine);
void PARSE_Dispatch32(int eFileKind, int eLineClass, char* pszLine);

// Per-read state.
void PARSE_ResetForRead(int eFileKind);
void PARSE_NextLine();
unsigned long PARSE_GetLineNumber();
int PARSE_GetFileKind();
int PARSE_GetCurKeyword();
char PARSE_GetCommentChar();
int PARSE_IsEndSeen();
void PARSE_SetFileName(const char* pszName);
void PARSE_GetFileName(char* pszOut, size_t nSize);
const char* PARSE_FileName();
void PARSE_SetFileTime(time_t tFileTime);
time_t PARSE_GetFileTime();
void PARSE_SetNotTerminated(int bNotTerminated);
int PARSE_GetNotTerminated();

// The line reader's state of a read, kept across a read nested in it.
struct PARSE_SAVED;
PARSE_SAVED* PARSE_SaveState();
// Puts the saved state back and releases it.
void PARSE_RestoreState(PARSE_SAVED* pSaved);

// The IBIS version recorded by the file header: 0 before any [IBIS Ver],
// then 1, 2 or 3.  It is kept across files.
void PARSE_SetIbisVersion(int nVersion);
int PARSE_GetIbisVersion();

#endif
