// The corners of a typical/minimum/maximum triple, in the order the reader
// writes and reads them everywhere: typical, minimum, maximum.  A distinct
// type, so that a corner cannot be passed where a count, a column or a set
// of corners is meant.
#ifndef TAVELIN_CORNER_H
#define TAVELIN_CORNER_H

enum class eCorner : unsigned char { TYP = 0, MIN = 1, MAX = 2 };

enum { CORNER_COUNT = 3 };

// Every corner, in order, for loops over the three.
constexpr eCorner g_aeCorners[CORNER_COUNT] = {eCorner::TYP, eCorner::MIN, eCorner::MAX};

// The corner's place in an array of three.
constexpr int CornerIndex(eCorner e) { return static_cast<int>(e); }

// A set of corners, for operations that work on several at once.
class CORNER_SET {
public:
    constexpr CORNER_SET(eCorner e) : m_bits(Bit(e)) {}
    constexpr CORNER_SET operator|(CORNER_SET other) const { return CORNER_SET(m_bits | other.m_bits); }
    constexpr bool Has(eCorner e) const { return (m_bits & Bit(e)) != 0; }
    static constexpr CORNER_SET All() { return CORNER_SET(7u); }

private:
    explicit constexpr CORNER_SET(unsigned bits) : m_bits(bits) {}
    static constexpr unsigned Bit(eCorner e) { return 1u << CornerIndex(e); }
    unsigned m_bits;
};

constexpr CORNER_SET operator|(eCorner a, eCorner b) { return CORNER_SET(a) | CORNER_SET(b); }

#endif
