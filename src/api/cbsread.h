// Reading a compiled component model back into a component record: the
// head and the component block, leniently, up to the first "Model" line.
// The keyword table and its actions live in CCbsParser; the record is
// reached through five operations that CCbsRecordParser forwards to any
// record type offering these members (the component record's own
// interface):
//
//   int SetModelParam(eIbisParam, const char* text, int pin)   texts, and
//       appending to the text lists 11 to 14 and 33;
//   int SetModelParam(eIbisParam, int value, int pin)           15, 16, 30;
//   int SetModelParam(eIbisParam, double value, int pin, eTypMinMax corner)
//       5 to 7 (the pin argument is 0 for these), 17 to 25, 31, 32, 35 to 49;
//   int AddPinDesc(int count)     replaces the pins by `count` new ones;
//   void SetStatus(eIbisStatus)   3 when the file's revision is too old.
//
// Every operation but SetStatus returns 1 when it stored the value; 0 makes
// the keyword fail.  Errors go to the error function given to the parser
// (the model library manager's Error in the library).
#ifndef TAVELIN_API_CBSREAD_H
#define TAVELIN_API_CBSREAD_H

#include <tavelin/tavelin.h>

#include <functional>
#include <istream>

// Receives (line, kind, code, keyword, token) of each error.
using CbsErrorFn = std::function<void(int, int, int, const char*, const char*)>;

class CCbsParser : public CNavigPrs {
public:
    explicit CCbsParser(CbsErrorFn onError) : m_onError(std::move(onError)) {}

    // Reads the stream from its current position; 1 when it read without
    // errors.  Errors are counted in ErrorCount.
    int Read(std::istream& in);
    int ErrorCount() const { return m_nErrors; }

protected:
    // The compiled model table in lenient mode, whatever table is asked for.
    int ut_parse(const key_lookup* table, int lenient) override;
    void Error(int line, int kind, int code, const char* keyword, const char* token) override;
    int switch_func(int action, arg_val* args, int tag, int line, int slots) override;

    virtual int SetText(eIbisParam eParam, const char* pszText, int nPin) = 0;
    virtual int SetInt(eIbisParam eParam, int nValue, int nPin) = 0;
    virtual int SetDouble(eIbisParam eParam, double dValue, int nPin, eTypMinMax eCorner) = 0;
    virtual int AddPins(int nCount) = 0;
    virtual void SetRecordStatus(eIbisStatus eStatus) = 0;

private:
    int SetTriple(eIbisParam eParam, const arg_val* args, int nPin);
    int PinAction(int action, const arg_val* args, eIbisParam eParam, int slots);
    int StartPin(const arg_val* args);

    CbsErrorFn m_onError;
    int m_nErrors = 0;
    long long m_llMaxPins = 0;  // the most pins the rest of the input can hold
    int m_nPins = 0;            // pins allocated by the last "Num_Pins"
    int m_nPin = -1;            // the pin of the latest "Pin" line, -1 before one
    int m_nSeries = 0;          // series partners of the current pin so far
};

// The parser for one record type.
template <typename RECORD>
class CCbsRecordParser : public CCbsParser {
public:
    CCbsRecordParser(RECORD& record, CbsErrorFn onError)
        : CCbsParser(std::move(onError)), m_record(record) {}

protected:
    int SetText(eIbisParam eParam, const char* pszText, int nPin) override {
        return m_record.SetModelParam(eParam, pszText, nPin);
    }
    int SetInt(eIbisParam eParam, int nValue, int nPin) override {
        return m_record.SetModelParam(eParam, nValue, nPin);
    }
    int SetDouble(eIbisParam eParam, double dValue, int nPin, eTypMinMax eCorner) override {
        return m_record.SetModelParam(eParam, dValue, nPin, eCorner);
    }
    int AddPins(int nCount) override { return m_record.AddPinDesc(nCount); }
    void SetRecordStatus(eIbisStatus eStatus) override { m_record.SetStatus(eStatus); }

private:
    RECORD& m_record;
};

#endif
