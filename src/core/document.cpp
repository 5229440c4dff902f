// The document stack and the record accessors every keyword module uses to
// add what it reads; the directories of the read; the read driver's hooks
// for nested reads.  State: the current document and the two directories,
// process-wide like the rest of the reader.
#define TAV_MODULE "ibis"
#include "core/document.h"

#include <cstring>
#include <string>

#include "core/cmn.h"
#include "core/diag.h"
#include "core/fields.h"
#include "core/lines.h"
#include "core/tav_assert.h"

namespace {

struct DocumentState {
    IBIS* pCurrent = nullptr;
    std::string strCurDir;
    std::string strTopDir;
    IBIS_READER_HOOKS hooks = {nullptr, nullptr, nullptr, nullptr};
};

DocumentState g_doc;

// Pushes a record at the head of its list.  Every record starts with its
// pNext link (checked by the read driver, which knows every record), so the
// link is written here without the record types, which belong to the
// modules above.
template <typename T>
void PushFront(IBIS* pIbis, T* IBIS::*pmHead, T* pRecord) {
    TAV_ASSERT(pIbis != nullptr && pRecord != nullptr);
    T* pOldHead = pIbis->*pmHead;
    memcpy(static_cast<void*>(pRecord), &pOldHead, sizeof pOldHead);
    pIbis->*pmHead = pRecord;
}

bool HooksInstalled() {
    return g_doc.hooks.pfnReadFile != nullptr && g_doc.hooks.pfnFinish != nullptr &&
           g_doc.hooks.pfnEndRead != nullptr;
}

// What a nested read changes of the read around it, put back when the
// nested read is over: the line state (line number, file kind and name,
// version), the shown file name and the directory of the file.
class OuterRead {
public:
    OuterRead() : m_pLines(PARSE_SaveState()), m_strShownName(DIAG_GetFileName()), m_strDir(g_doc.strCurDir) {}
    ~OuterRead() {
        PARSE_RestoreState(m_pLines);
        DIAG_SetFileName(m_strShownName.c_str());
        g_doc.strCurDir = m_strDir;
    }
    OuterRead(const OuterRead&) = delete;
    OuterRead& operator=(const OuterRead&) = delete;

private:
    PARSE_SAVED* m_pLines;
    std::string m_strShownName;
    std::string m_strDir;
};

}  // namespace

int IBIS_Create() {
    IBIS* pIbis = nullptr;
    if (!CMN_Alloc(&pIbis, sizeof(IBIS))) {
        DIAG_Error("Unable to create IBIS.");
        return 0;
    }
    pIbis->pNext = g_doc.pCurrent;
    g_doc.pCurrent = pIbis;
    return 1;
}

int IBIS_GetCurrent(IBIS** ppIbis) {
    TAV_ASSERT(ppIbis != nullptr);
    *ppIbis = g_doc.pCurrent;
    return g_doc.pCurrent != nullptr ? 1 : 0;
}

// Taken off the top, the document below becomes current.  Taken off below
// the top (a host that keeps several documents and destroys an older one
// first), it is unlinked from the one stacked on it and the current
// document stays: every live document stays on the stack, none leads back
// to freed memory.
void IBIS_Unstack(IBIS* pIbis) {
    TAV_ASSERT(pIbis != nullptr);
    if (g_doc.pCurrent == pIbis) {
        g_doc.pCurrent = pIbis->pNext;
        return;
    }
    for (IBIS* p = g_doc.pCurrent; p != nullptr; p = p->pNext) {
        if (p->pNext != pIbis) continue;
        p->pNext = pIbis->pNext;
        return;
    }
}

int IBIS_GetHdr(IBIS* pIbis, HDR** pp) { return CMN_GIVE_FIELD(pIbis, &IBIS::pHdr, pp); }
int IBIS_GetCmpntList(IBIS* pIbis, CMPNT** pp) { return CMN_GIVE_FIELD(pIbis, &IBIS::pCmpntList, pp); }
int IBIS_GetMdlList(IBIS* pIbis, MDL** pp) { return CMN_GIVE_FIELD(pIbis, &IBIS::pMdlList, pp); }
int IBIS_GetSubmdlList(IBIS* pIbis, SUBMDL** pp) { return CMN_GIVE_FIELD(pIbis, &IBIS::pSubmdlList, pp); }
int IBIS_GetPkgMdlList(IBIS* pIbis, PKGMDL** pp) { return CMN_GIVE_FIELD(pIbis, &IBIS::pPkgMdlList, pp); }
int IBIS_GetEbdMdlList(IBIS* pIbis, EBDMDL** pp) { return CMN_GIVE_FIELD(pIbis, &IBIS::pEbdMdlList, pp); }
int IBIS_GetMselList(IBIS* pIbis, MSEL** pp) { return CMN_GIVE_FIELD(pIbis, &IBIS::pMselList, pp); }

// The document's header is the one of the file it was made for: a header
// read later (a package file read into the document for a component's
// package model) goes behind it, so that the document keeps its own file
// name and copyright.
void IBIS_SetHdr(IBIS* pIbis, HDR* p) {
    TAV_ASSERT(pIbis != nullptr && p != nullptr);
    HDR* pFirst = pIbis->pHdr;
    if (pFirst == nullptr) {
        PushFront(pIbis, &IBIS::pHdr, p);
        return;
    }
    HDR* pAfterFirst = nullptr;
    memcpy(&pAfterFirst, static_cast<void*>(pFirst), sizeof pAfterFirst);
    memcpy(static_cast<void*>(p), &pAfterFirst, sizeof pAfterFirst);
    memcpy(static_cast<void*>(pFirst), &p, sizeof p);
}
void IBIS_AddCmpnt(IBIS* pIbis, CMPNT* p) { PushFront(pIbis, &IBIS::pCmpntList, p); }
void IBIS_AddMdl(IBIS* pIbis, MDL* p) { PushFront(pIbis, &IBIS::pMdlList, p); }
void IBIS_AddSubmdl(IBIS* pIbis, SUBMDL* p) { PushFront(pIbis, &IBIS::pSubmdlList, p); }
void IBIS_AddPkgMdl(IBIS* pIbis, PKGMDL* p) { PushFront(pIbis, &IBIS::pPkgMdlList, p); }
void IBIS_AddEbdMdl(IBIS* pIbis, EBDMDL* p) { PushFront(pIbis, &IBIS::pEbdMdlList, p); }
void IBIS_AddMsel(IBIS* pIbis, MSEL* p) { PushFront(pIbis, &IBIS::pMselList, p); }

const char* IBIS_GetCurrentDir() { return g_doc.strCurDir.c_str(); }

const char* IBIS_GetTopDir() { return g_doc.strTopDir.c_str(); }

void IBIS_SetCurrentDir(const char* pszDir) {
    TAV_ASSERT(pszDir != nullptr);
    g_doc.strCurDir = pszDir;
}

void IBIS_SetTopDir(const char* pszDir) {
    TAV_ASSERT(pszDir != nullptr);
    g_doc.strTopDir = pszDir;
}

void IBIS_SetReaderHooks(const IBIS_READER_HOOKS* pHooks) {
    TAV_ASSERT(pHooks != nullptr);
    g_doc.hooks = *pHooks;
}

int IBIS_ReadNested(const char* pszPath, int eFileKind) {
    TAV_ASSERT(pszPath != nullptr && HooksInstalled());
    OuterRead outer;
    return g_doc.hooks.pfnReadFile(pszPath, eFileKind);
}

int IBIS_ReadNestedDocument(const char* pszPath, int eFileKind) {
    TAV_ASSERT(pszPath != nullptr && HooksInstalled());
    if (!IBIS_Create()) return 0;
    OuterRead outer;
    if (!g_doc.hooks.pfnReadFile(pszPath, eFileKind)) {
        g_doc.hooks.pfnEndRead();
        return 0;
    }
    g_doc.hooks.pfnFinish(eFileKind, 1);
    return 1;
}

const char* IBIS_GetHeaderFileName(IBIS* pIbis) {
    TAV_ASSERT(pIbis != nullptr && g_doc.hooks.pfnHeaderFileName != nullptr);
    return g_doc.hooks.pfnHeaderFileName(pIbis);
}

void IBIS_EndNestedDocument() {
    TAV_ASSERT(HooksInstalled());
    g_doc.hooks.pfnEndRead();
}
