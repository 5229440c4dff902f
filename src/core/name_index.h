// The names of a list of records linked newest first through pNext, kept in
// step with the list as records are pushed at its head, so that a name
// defined twice is found without walking the list for every new record.
#ifndef TAVELIN_NAME_INDEX_H
#define TAVELIN_NAME_INDEX_H

#include <string>
#include <unordered_set>

template <typename T>
class NAME_INDEX {
public:
    // True when a record below pRecord in its list has the name.  The index
    // covers the list from pRecord->pNext down; when that is not the head it
    // followed last (another list, or records it never took), it is built
    // afresh from the list.
    bool SeenBelow(const T* pRecord, const char* pszName) {
        if (!m_bFollowing || m_pHead != pRecord->pNext) Rebuild(pRecord->pNext);
        return m_names.count(pszName) != 0;
    }

    // Takes pRecord's name, as it stands now, into the index; pRecord is the
    // new head of the list followed.
    void Take(const T* pRecord) {
        if (!m_bFollowing || m_pHead != pRecord->pNext) Rebuild(pRecord->pNext);
        m_names.insert(pRecord->szName);
        m_pHead = pRecord;
    }

    // Called whenever records of the list may be freed, so that nothing
    // points into freed memory.
    void Forget() {
        m_bFollowing = false;
        m_pHead = nullptr;
        m_names.clear();
    }

private:
    void Rebuild(const T* pFirst) {
        Forget();
        for (const T* p = pFirst; p != nullptr; p = p->pNext) m_names.insert(p->szName);
        m_pHead = pFirst;
        m_bFollowing = true;
    }

    bool m_bFollowing = false;
    const T* m_pHead = nullptr;
    std::unordered_set<std::string> m_names;
};

#endif
