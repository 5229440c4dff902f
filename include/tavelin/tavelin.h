#ifndef TAVELIN_TAVELIN_H
#define TAVELIN_TAVELIN_H

// The interface of libtavelin for host applications: the selectors and
// results of the model library, and the keyword-table parser that reads the
// library's compiled component models.

#include <iosfwd>

#include "export.h"

// One value of a component record; from eIbisPrmPinName on the value belongs
// to a pin and needs a pin index.
enum eIbisParam {
    eIbisPrmCompName = 0,
    eIbisPrmSourceFile = 1,
    eIbisPrmCompiledName = 2,
    eIbisPrmCompileDate = 3,
    eIbisPrmSourceText = 4,
    eIbisPrmRPkg = 5,
    eIbisPrmLPkg = 6,
    eIbisPrmCPkg = 7,
    eIbisPrmPinName = 8,
    eIbisPrmSignalName = 9,
    eIbisPrmModelName = 10,
    eIbisPrmPullUpPins = 11,
    eIbisPrmPullDownPins = 12,
    eIbisPrmPowerClampPins = 13,
    eIbisPrmGndClampPins = 14,
    eIbisPrmDiffFlag = 15,
    eIbisPrmModelType = 16,
    eIbisPrmRPin = 17,
    eIbisPrmLPin = 18,
    eIbisPrmCPin = 19,
    eIbisPrmERate = 20,
    eIbisPrmVoltRange = 21,
    eIbisPrmPullUpRef = 22,
    eIbisPrmPullDownRef = 23,
    eIbisPrmPowerClampRef = 24,
    eIbisPrmGndClampRef = 25,
    eIbisPrmIsGndPin = 26,
    eIbisPrmIsPowerPin = 27,
    eIbisPrmIsNcPin = 28,
    eIbisPrmDiffPartner = 29,
    eIbisPrmDiffPolarity = 30,
    eIbisPrmVDiff = 31,
    eIbisPrmTDelay = 32,
    eIbisPrmSeriesPins = 33,
    eIbisPrmSeriesModel = 34,
    eIbisPrmSeriesR = 35,
    eIbisPrmSeriesL = 36,
    eIbisPrmSeriesC = 37,
    eIbisPrmSeriesRL = 38,
    eIbisPrmSeriesLC = 39,
    eIbisPrmSeriesRC = 40,
    eIbisPrmTermRGnd = 41,
    eIbisPrmTermRPwr = 42,
    eIbisPrmTermRAc = 43,
    eIbisPrmTermCAc = 44,
    eIbisPrmVMeas = 45,
    eIbisPrmVinlPlus = 46,
    eIbisPrmVinhPlus = 47,
    eIbisPrmVinlMinus = 48,
    eIbisPrmVinhMinus = 49
};

// State of a component record.
enum eIbisStatus {
    eIbisStatusNew = 0,
    eIbisStatusNotFound = 1,
    eIbisStatusSyntaxErrors = 2,
    eIbisStatusCompiledUnusable = 3,
    eIbisStatusCompiledOutOfDate = 4,
    eIbisStatusPinsFromSource = 5,
    eIbisStatusOutOfDateKept = 6,
    eIbisStatusOk = 7
};

// Corner of a typ/min/max value.
enum eTypMinMax { eTyp = 0, eMin = 1, eMax = 2 };

// Result of a compile or of populating a record.
enum eRdIbisResult {
    eRdIbisNothing = 0,
    eRdIbisClean = 1,
    eRdIbisWarnings = 2,
    eRdIbisFailed = 3
};

// How a record is populated: from its compiled model, or only its pin list
// straight from the IBIS source.
enum ePopInfOpt { ePopCompiled = 0, ePopPinsFromSource = 1 };

// One entry of a keyword table; a name length of 0 ends the table.
struct key_lookup {
    const char* name;
    int len;
    int tag;
    const char* templ;
    int action;
};

// One converted argument of a keyword.
union arg_val {
    double d;
    int i;
    char* s;
};

// A text parser driven by a keyword table: a word of the table introduces a
// keyword, the entry's template says which arguments follow and how they are
// checked, and switch_func receives them.  Also holds the engineering-number
// conversions of the library.
class TAVELIN_API CNavigPrs {
public:
    CNavigPrs();
    virtual ~CNavigPrs();
    virtual int ParseStream(std::istream& in);

    static void QuoteText(std::ostream& out, const char* pszText);
    static int ut_stricmp(const char* pszA, const char* pszB);
    static double ut_eng2dbl(const char* pszText);
    static char* ut_dbl2eng(double value, int width, char* out);

protected:
    virtual int ut_getc();
    virtual int ut_parse(const key_lookup* table, int lenient);
    virtual void Error(int line, int kind, int code, const char* keyword, const char* token);
    virtual int switch_func(int action, arg_val* args, int tag, int line, int slots);

    int get_token(int* lines, char* out);
    int get_buf_token(int* lines, char* out);
    int get_next_token_type();
    int ut_parse_get_next(char* out);
    void ut_parse_clear_buffer();
    void ut_parse_stop();
    void ut_parse_set_comchar(char c);
    void Reset();
    const key_lookup* parse_lookup(const key_lookup* table, const char* word);
    int ut_parse_skip2keywds(int n, const char** words);
    int ut_parse_copy2keywds(std::ostream& out, int n, const char** words);

    // Longest token kept; out texts of the token operations hold this many
    // characters and a terminator.
    enum { TOKEN_MAX = 2048 };

private:
    static void ut_sci(double value, double* mantissa, int* exponent);

    std::istream* m_pIn;
    int m_nComChar;
    int m_bAtEnd;
    int m_nBufType;
    char m_szBuf[TOKEN_MAX + 1];
    int m_nBufLines;
    int m_nPendLines;  // line ends inside or right after the last token read
    int m_bStop;
};

#endif
