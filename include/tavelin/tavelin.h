// The interface of libtavelin for host applications: the selectors and
// results of the model library, the keyword-table parser that reads the
// library's compiled component models, the component records and the model
// library manager that hands them out.
#ifndef TAVELIN_TAVELIN_H
#define TAVELIN_TAVELIN_H

#include <cstdio>
#include <iosfwd>
#include <string>

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
    // Longest token kept; out texts of the token operations hold this many
    // characters and a terminator.
    enum { TOKEN_MAX = 2048 };

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

class CIbisCompMdls;
struct IBIS_PIN_DESC;
class CIbisSrcIndex;
class CIbisCbxIndex;
class CIbisCompTable;

// The host's view of one component: where its IBIS source and its compiled
// model are, whether the compiled model is usable, and every pin with what
// the compiled model says about it, per corner.  Records are made, cached
// and owned by a CIbisCompMdls.
class TAVELIN_API CIbisCompInfo {
public:
    explicit CIbisCompInfo(CIbisCompMdls* pOwner);
    ~CIbisCompInfo();
    // A copy would share the pin array and free it twice.
    CIbisCompInfo(const CIbisCompInfo&) = delete;
    CIbisCompInfo& operator=(const CIbisCompInfo&) = delete;

    const char* Name();
    const char* SourceFile();
    int CompileDate();
    int GetPinCount();
    eIbisStatus GetStatus();
    void SetStatus(eIbisStatus status);
    int IsStatusOk();
    int IsVisited();
    int SetVisited(int visited);

    int AddPinDesc(int count);
    int SetModelParam(eIbisParam param, const char* text, int pin);
    int SetModelParam(eIbisParam param, int value, int pin);
    int SetModelParam(eIbisParam param, double value, int pin, eTypMinMax corner);
    int GetModelParam(eIbisParam param, const char** out, int pin, int first);
    int GetModelParam(eIbisParam param, int* out, int pin);
    int GetModelParam(eIbisParam param, double* out, int pin, eTypMinMax corner);
    int FindIndex4Pin(int value, eIbisParam param);
    int FindIndex4Pin(const char* text, eIbisParam param);

    eRdIbisResult PopulateInfo(ePopInfOpt option);
    int ListSimModel(std::ostream& out, int pin, const char* label, int number, eTypMinMax corner,
                     int modelMode);
    int ListOutlineModel(std::ostream& out, int pin, const char* label, int number,
                         eTypMinMax corner);

    static const char* GetIbisStatusText(eIbisStatus status);
    static const char* GetModelTypeText(int modelType);

private:
    eRdIbisResult ParseIbisPinInfo();
    int ReadCompiled();
    void FindCompiled(const std::string& strDir);
    void CheckSourceDate();
    eRdIbisResult Compile(const std::string& strDir);
    int ListSection(std::ostream& out, IBIS_PIN_DESC* pPin, const char* label, int number,
                    eTypMinMax corner);
    void ListPinValues(std::ostream& out, IBIS_PIN_DESC* pPin, eTypMinMax corner, int modelMode);
    IBIS_PIN_DESC* PinAt(int pin);
    double PkgValue(int param, eTypMinMax corner);

    std::string m_strName;
    std::string m_strSourceFile;
    std::string m_strCompiledName;
    std::string m_strSourceText;
    int m_nCompileDate;
    eIbisStatus m_eStatus;
    double m_adPkg[3][3];  // R_Pkg, L_Pkg, C_Pkg by corner
    int m_nPinCount;
    IBIS_PIN_DESC* m_pPins;
    CIbisCompMdls* m_pOwner;
    int m_bVisited;
};

// The model library manager: registered source indexes, the cache of
// component records, the compiled-model directory with its index, and the
// compile log.  Derived by the host; the virtual operations are the host's
// customisation points.
class TAVELIN_API CIbisCompMdls {
    friend class CIbisCompInfo;

public:
    CIbisCompMdls();
    virtual ~CIbisCompMdls();
    // Copies would share the owned lists and free them twice.
    CIbisCompMdls(const CIbisCompMdls&) = delete;
    CIbisCompMdls& operator=(const CIbisCompMdls&) = delete;

    virtual int Init(const char* cbxDir, const char* centralLib);
    virtual int Init(const char* cbxDir);
    virtual int Fini(int save);
    virtual int SetSearchPaths(int unused);
    virtual void DisplayCompileStatus(eRdIbisResult result);
    virtual FILE* GetLogFD();
    virtual void ReleaseLogFD();
    virtual int OpenIBISLog();
    virtual int CloseIBISLog();
    virtual int ClearIBISLog();
    virtual void RefreshLogDisplay();
    virtual int GetReCompileState(const char* component);
    virtual void Error(int line, int kind, int code, const char* keyword, const char* token);

    const char* GetCompileLogPath();
    void SetIbisLogIndents(int banner, int messages);
    void SetIbisLogFormat(int format);

    CIbisCompInfo* GetIbisCompInfo(const char* name, eRdIbisResult* result, int noPopulate);
    CIbisCompInfo* GetIbisCompInfo(const char* part, const char* preferred, const char* tech,
                                   int useDefault);
    CIbisCompInfo* GetIbisCompInfoAsTarn(const char* part, const char* preferred, const char* tech,
                                         const char* pin, int modelType, int useDefault);
    int GetFirstIBISComp(const char** name, const char** text, const char** tag, const char** dir,
                         const char** file);
    int GetNextIBISComp(const char** name, const char** text, const char** tag, const char** dir,
                        const char** file);
    int FindSrcForIbisModel(const char* name, const char** dir, const char** file,
                            const char** text, const char** tag);
    int ListCompiledModel(std::ostream& out, const char* component, const char* pinOrModel,
                          const char* label, int number, eTypMinMax corner, int modelMode);
    void ClearCompileOodFlags();
    void ClearVisitedFlags();

    static int IsTechComp(const char* name);
    static int FindTypeName(int modelType, const char** out);
    static int FindTypeFromName(const char* name);

protected:
    int AddSrcIndex(const char* path, const char* tag);
    void EmptySrcLists();

private:
    const char* GetCbxDirectory();
    const char* FindCompiledForIbisModel(const char* name);
    const char* GetNextCompiledName();
    void AddCompiledItem(const char* name, const char* compiledName);
    eRdIbisResult RunRdIbis(const char* source, const char* component, const char* compiledPath,
                            FILE* log);
    void LoadCompiledIndex(const std::string& strPath);
    int NextIBISComp(const char** name, const char** text, const char** tag, const char** dir,
                     const char** file);
    void LocateSource(CIbisCompInfo* pInfo);
    CIbisCompInfo* Located(const char* name);
    CIbisCompInfo* Usable(const char* name);

    CIbisSrcIndex* m_pSrcList;
    CIbisCompTable* m_pCompTable;
    CIbisCbxIndex* m_pCbxIndex;
    CIbisSrcIndex* m_pIterSrc;  // index of the iteration in progress
    FILE* pLogFile;
    std::string strLogPath;
    int bLogBorrowed;
    int nIndentBanner;
    int nIndentMessages;
    int nLogFormat;
    char szCentralLib[260];
};

#endif
