// Electrical board descriptions (.ebd files) and the checks of the
// components and files they reference.
#ifndef TAVELIN_EBDMDL_H
#define TAVELIN_EBDMDL_H

struct SECT;

enum {
    EBDMDL_NAME_LEN = 40,
    EBDMDL_MANUFACTURER_LEN = 40,
    EBDPIN_NAME_LEN = 8,
    EBDPIN_SIGNAL_LEN = 20,
    EBDPATH_NAME_LEN = 40,
    REFDES_NAME_LEN = 10,
    REFDES_FILE_LEN = 24,
    REFDES_COMPONENT_LEN = 40
};

// One entry of [Pin List].
struct EBDPIN {
    EBDPIN* pNext;
    char szName[EBDPIN_NAME_LEN + 1];
    char szSignalName[EBDPIN_SIGNAL_LEN + 1];
};

enum ePathElemType : unsigned {
    PATHELEM_FORK = 0,
    PATHELEM_NODE = 1,
    PATHELEM_PIN = 2,
    PATHELEM_SECTION = 3,
    PATHELEM_NC = 4
};

// The data of a Node element: designator.pin.
struct EBDNODE {
    char szRefDes[REFDES_NAME_LEN + 1];
    char szPin[EBDPIN_NAME_LEN + 1];
};

// The data of a Pin element.
struct EBDPINREF {
    char szPin[EBDPIN_NAME_LEN + 1];
};

// One element of a board path; linked like the elements of a package pin
// path (a fork carries its branch in pData).
struct PATHELEM {
    PATHELEM* pNext;
    unsigned eNodeType;
    void* pData;
};

struct EBDPATH {
    EBDPATH* pNext;
    char szName[EBDPATH_NAME_LEN + 1];
    PATHELEM* pFirst;
};

// One line of [Reference Designator Map].
struct REFDES {
    REFDES* pNext;
    char szRefDes[REFDES_NAME_LEN + 1];
    char szFileName[REFDES_FILE_LEN + 1];
    char szComponent[REFDES_COMPONENT_LEN + 1];
    unsigned bFileNameOk;
    unsigned bComponentSet;
};

// One board description.  The pin array holds uiPinCapacity slots, grown
// as [Pin List] lines arrive, up to uiNumberOfPins.
struct EBDMDL {
    EBDMDL* pNext;
    char szName[EBDMDL_NAME_LEN + 1];
    char szManufacturer[EBDMDL_MANUFACTURER_LEN + 1];
    unsigned uiNumberOfPins;
    EBDPIN** ppPins;
    unsigned uiPinCapacity;
    EBDPATH* pPaths;
    EBDPATH* pLastPath;
    REFDES* pRefDes;
};

void EBDMDL_Reset();
void EBDMDL_Init();
void EBDMDL_Line(int eLineClass, int eKeyword, char* pszLine);
void EBDMDL_End(int eNextKeyword);
// End-of-file checks of a .ebd file; bNested is set for a file read by the
// checks of another, whose references are then not followed.
void EBDMDL_CheckFile(EBDMDL* pList, int bNested);
int EBDMDL_CheckFileName(const char* pszName);
void EBDMDL_Free(EBDMDL* pList);

// Read-only accessors: 1 and the value, or 0 and an empty value.
int EBDMDL_GetPinList(const EBDMDL* pEbd, EBDPIN** ppFirst);
int EBDMDL_GetPaths(const EBDMDL* pEbd, EBDPATH** ppFirst);
int EBDMDL_GetRefDesList(const EBDMDL* pEbd, REFDES** ppFirst);
int EBDPIN_GetName(const EBDPIN* pPin, const char** ppsz);
int EBDPIN_GetSignalName(const EBDPIN* pPin, const char** ppsz);
int EBDPIN_GetNext(const EBDPIN* pPin, EBDPIN** ppNext);
int EBDPATH_GetName(const EBDPATH* pPath, const char** ppsz);
int EBDPATH_GetFirst(const EBDPATH* pPath, PATHELEM** ppFirst);
unsigned PATHELEM_GetType(const PATHELEM* pElem);
int PATHELEM_GetNext(const PATHELEM* pElem, PATHELEM** ppNext);
int PATHELEM_GetPinName(const PATHELEM* pElem, const char** ppsz);
int PATHELEM_GetNode(const PATHELEM* pElem, EBDNODE** ppNode);
int PATHELEM_GetSection(const PATHELEM* pElem, SECT** ppSect);
int PATHELEM_GetForkBranch(const PATHELEM* pElem, PATHELEM** ppFirst);
int EBDNODE_GetRefDes(const EBDNODE* pNode, const char** ppsz);
int EBDNODE_GetPin(const EBDNODE* pNode, const char** ppsz);
int REFDES_IsFileNameOk(const REFDES* pRefDes);
int REFDES_IsComponentSet(const REFDES* pRefDes);

#endif
