// Numbers of the compiled model files are written and read in the "C"
// locale, whatever locale the host application has set: a host with a comma
// decimal separator must not get "1,5" into a file or read "1.5" as 1.
// Used by the keyword-table parser and the compiled model writer.
#ifndef TAVELIN_API_CLOC_H
#define TAVELIN_API_CLOC_H

#include <locale.h>

// Makes the "C" locale current for this thread while the object lives.
class CLocaleScope {
public:
    CLocaleScope() : m_old(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(m_old); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

    static locale_t CLocale() {
        static const locale_t s_c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        return s_c;
    }

private:
    locale_t m_old;
};

#endif
