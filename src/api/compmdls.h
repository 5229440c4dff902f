// The model library's own records behind the exported classes: one
// registered source index, the compiled-model index holder, the cache of
// component records and one pin of a component record.
#ifndef TAVELIN_COMPMDLS_H
#define TAVELIN_COMPMDLS_H

#include <memory>
#include <string>
#include <vector>

#include "api/idx.h"
#include "tavelin/tavelin.h"

class CIbisSrcIndex {
public:
    std::string strPath;
    std::string strDir;  // directory of the index file, with its separator
    std::string strTag;
    IDX* pIdx = nullptr;
    IDX_ENTRY* pCurrent = nullptr;
    IDX_CURSOR* pCursor = nullptr;
    CIbisSrcIndex* pNext = nullptr;

    ~CIbisSrcIndex();
    void Reload();
};

class CIbisCbxIndex {
public:
    IDX* pIdx = nullptr;
    int bChanged = 0;
    // Set while a refused index file could not be moved aside: it is
    // never written over.
    int bKeepFile = 0;
    IDX_ENTRY* pCurrent = nullptr;
    std::string strNextName;
    std::string strDir;

    ~CIbisCbxIndex() { IDX_Free(pIdx); }
};

// Component records keyed by exact name: 100 buckets by the byte sum, each
// chain in insertion order.  Owns its key copies, not the records.
class CIbisCompTable {
public:
    enum { BUCKETS = 100 };
    struct Item {
        std::string strKey;
        CIbisCompInfo* pInfo;
    };

    CIbisCompInfo* Find(const char* pszName) const;
    // The record already stored under the name, else the given one.
    CIbisCompInfo* Insert(const char* pszName, CIbisCompInfo* pInfo);
    // Every record, bucket by bucket, each chain from its head.
    template <typename F>
    void ForEach(F f) const {
        for (const std::vector<Item>& chain : m_chains)
            for (const Item& item : chain) f(item.pInfo);
    }

private:
    static int Bucket(const char* pszName);
    std::vector<Item> m_chains[BUCKETS];
};

// The 23 pin values that come in three corners, in parameter order:
// 20 to 25, 31, 32, 35 to 49.
enum { PIN_CORNER_SLOTS = 23 };

struct IBIS_PIN_LIST {
    std::vector<std::string> items;
    size_t uiCursor = 0;
};

struct IBIS_PIN_DESC {
    std::string strPinName;
    std::string strSignalName;
    std::string strModelName;
    IBIS_PIN_LIST supplyLists[4];  // pullup, pulldown, power clamp, gnd clamp
    double adRLC[3];               // R_Pin, L_Pin, C_Pin
    // The three-corner values, made when the first one is set: most pins
    // carry few or none of them.
    std::unique_ptr<double[]> pCorners;
    int bDiff = 0;
    int nModelType = 0;
    std::string strDiffPartner;
    int nDiffPolarity = 0;
    IBIS_PIN_LIST seriesPins;
    std::string strSeriesModel;

    IBIS_PIN_DESC();
};

// A number of a component record that was not given.
const double IBIS_NOT_GIVEN = -9999.0;

// Joins a directory and a disk name read from an index, whose '\' are
// separators.
std::string LIB_JoinDiskName(const std::string& strDir, const std::string& strDiskName);

#endif
