// R/L/C sections, the section paths of package pins, and the fork stack
// and path walk shared with board paths.
#ifndef TAVELIN_SECT_H
#define TAVELIN_SECT_H

#include <cstddef>
#include <new>
#include <vector>

// One R/L/C section of a package pin path or a board path.  Each value is
// absent (null) or points at its place in adValues.
struct SECT {
    double* pdLen;
    double* pdL;
    double* pdR;
    double* pdC;
    double adValues[4];
};

enum eSectNodeType : unsigned { SECTNODE_FORK = 0, SECTNODE_SECTION = 1 };

// One element of a package pin's section path.  A fork carries its branch in
// pData; the main path goes on at the fork's pNext.
struct SECTNODE {
    SECTNODE* pNext;
    unsigned eNodeType;
    void* pData;
};

// Reads one section from pszText.  *ppSect is null when no section was
// given; the result is 0 when the section is broken off before its '/'.
int SECT_Parse(const char* pszText, SECT** ppSect, const char** ppszRest);
void SECT_Free(SECT* pSect);

// Open forks of the path being read, innermost on top.  Used in the same
// form by package pin paths and board paths.
template <typename NODE>
class FORKSTACK {
public:
    // 0 when the stack cannot grow.
    int Push(NODE* pFork) {
        try {
            m_forks.push_back(pFork);
        } catch (const std::bad_alloc&) {
            return 0;
        }
        return 1;
    }
    NODE* Pop() {
        if (m_forks.empty()) return nullptr;
        NODE* pTop = m_forks.back();
        m_forks.pop_back();
        return pTop;
    }
    NODE* Top() const { return m_forks.empty() ? nullptr : m_forks.back(); }
    bool Empty() const { return m_forks.empty(); }
    void Clear() { m_forks.clear(); }

private:
    std::vector<NODE*> m_forks;
};

// Links a new element of a path: a fork that was just opened takes it as
// its branch start, otherwise it follows the current element; with no
// current element it starts the path.  The new element becomes current.
template <typename NODE>
void SECT_LinkNode(NODE* pNew, NODE** ppCurrent, NODE** ppPathStart, const FORKSTACK<NODE>& forks) {
    if (*ppCurrent == nullptr)
        *ppPathStart = pNew;
    else if (forks.Top() == *ppCurrent)
        (*ppCurrent)->pData = pNew;
    else
        (*ppCurrent)->pNext = pNew;
    *ppCurrent = pNew;
}

// Calls visit for every element of a path in path order, a fork's branch
// right after the fork and before the elements that follow the fork.  No
// recursion: forks may nest as deep as the file has lines.  isFork tells
// which elements carry a branch in pData.
template <typename NODE, typename ISFORK, typename VISIT>
void SECT_WalkPath(NODE* pFirst, ISFORK isFork, VISIT visit) {
    std::vector<NODE*> pending;  // where the main path goes on after a fork
    NODE* pNode = pFirst;
    for (;;) {
        while (pNode != nullptr) {
            NODE* pNext = pNode->pNext;
            NODE* pBranch = isFork(pNode) ? static_cast<NODE*>(pNode->pData) : nullptr;
            visit(pNode);  // may release the element: its links were read first
            if (pBranch != nullptr) {
                pending.push_back(pNext);
                pNext = pBranch;
            }
            pNode = pNext;
        }
        if (pending.empty()) return;
        pNode = pending.back();
        pending.pop_back();
    }
}

// Number of sections on a pin path, fork branches included.
unsigned SECT_CountSections(SECTNODE* pFirst);
// Releases a pin path with its sections and branches.
void SECT_FreePath(SECTNODE* pFirst);

#endif
