#include <gtest/gtest.h>

#include <string>

#include "core/document.h"
#include "package/mtx.h"
#include "package/pkgmdl.h"
#include "package/row.h"
#include "support/snippet.h"

namespace {

// A package model of the given pins up to [Model Data] (lines 4 to 9 + n).
std::string Head(const std::string& strPins, unsigned uiPins) {
    return "[Define Package Model] M\n"
           "[Manufacturer] M\n"
           "[OEM] O\n"
           "[Description] D\n"
           "[Number Of Pins] " + std::to_string(uiPins) + "\n"
           "[Pin Numbers]\n" + strPins + "[Model Data]\n";
}

std::string Tail() { return "[End Model Data]\n[End Package Model]\n[End]\n"; }

ReadResult ReadMatrices(const std::string& strBody, const std::function<void(PKGMDL*)>& inspect = nullptr) {
    return ReadSnippet("mtx.pkg", Header32("mtx.pkg") + strBody, [&](IBIS* pIbis) {
        if (inspect) inspect(pIbis->pPkgMdlList);
    });
}

// The values of a row as "v,v,-" with "-" for an absent slot.
std::string RowValues(const ROW* pRow) {
    std::string str;
    for (unsigned i = 0; i < ROW_GetColumnCount(pRow); ++i) {
        double d = 0.0;
        str += ROW_GetEntry(pRow, i, &d) ? std::to_string(static_cast<int>(d)) : std::string("-");
        str += ",";
    }
    return str;
}

TEST(Matrix, FullRowsShrinkTowardsTheBottom) {
    ReadResult result = ReadMatrices(Head("1\n2\n3\n", 3) +    // 4-13
                                         "[Inductance Matrix] Full_matrix\n"
                                         "[Row] 1\n"
                                         "1 2 3 4\n"       // 16: a fourth value
                                         "[Row] 2\n"
                                         "5\n"             // 18: one of two
                                         "[Row] 3\n"
                                         "6\n"
                                         "[Row] 3\n"       // 21: a fourth row adds nothing
                                         "7\n"             // 22: for the third row
                                         "[Capacitance Matrix] Full_matrix\n"  // 23
                                         "[Row] 2\n"       // 24
                                         "1 2\n"
                                         "[Row] 2\n"       // 26
                                         "1 x\n"           // 27
                                         "[Row] 99\n"      // 28
                                         "1\n"
                                         "[Row] 3\n"       // 30: a fourth row adds nothing
                                         + Tail(),         // 31
                                     [](PKGMDL* pMdl) {
                                         ROW* pRow = pMdl->pInductance->pRows;
                                         EXPECT_EQ(RowValues(pRow), "1,2,3,");
                                         EXPECT_EQ(RowValues(pRow->pNext), "5,-,");
                                         EXPECT_EQ(RowValues(pRow->pNext->pNext), "6,");
                                         EXPECT_EQ(pRow->pNext->pNext->pNext, nullptr);
                                     });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   16) - More row data than allowed for this row.\n"
              "ERROR  (line   22) - More row data than allowed for this row.\n"
              "ERROR  (line   23) - Expected 2 columns of Row data for [Row] 2 in Matrix ending previous to this "
              "line, found 1 column.\n"
              "ERROR  (line   24) -\n"
              "    Expected Pin <2> at matrix row index 2, found at matrix row index 1.\n"
              "ERROR  (line   26) - Repeated ROW <2>.\n"
              "ERROR  (line   27) - Unable to convert row data.\n"
              "ERROR  (line   28) - Unable to find Pin <99> in Package Model Pin_Number list.\n"
              "ERROR  (line   31) - Expected 3 columns of Row data for [Row] 2 in Matrix ending previous to this "
              "line, found 2 columns.\n"
              "ERROR  (line   31) - Expected 2 columns of Row data for [Row] 2 in Matrix ending previous to this "
              "line, found 1 column.\n");
}

TEST(Matrix, BandedRowsWrapRoundIntoACircleBackMatrix) {
    ReadResult result = ReadMatrices(Head("1\n2\n3\n4\n", 4) +  // 4-14
                                         "[Inductance Matrix] Banded_matrix\n"
                                         "[Bandwidth] 1\n"
                                         "[Row] 1\n1 2\n"
                                         "[Row] 2\n1 2 3\n"       // 20: past the band
                                         "[Row] 3\n1 2\n"
                                         "[Row] 4\n1 2\n"         // 24: wraps round
                                         "[Row] 4\n"              // 25: a fifth row, as wide as the band
                                         "[Capacitance Matrix] Banded_matrix\n"
                                         "[Bandwidth] 2\n"
                                         "[Row] 1\n1 2 3\n"
                                         "[Row] 2\n1 2 3\n"
                                         "[Row] 3\n1 2\n"
                                         "[Row] 4\n1 2\n"         // 35: the wrap needs a bandwidth of 1
                                         + Tail(),
                                     [](PKGMDL* pMdl) {
                                         EXPECT_EQ(pMdl->pInductance->eMatrixType, MTX_BANDED_WRAP);
                                         std::string strRows;
                                         for (ROW* p = pMdl->pInductance->pRows; p != nullptr; p = p->pNext)
                                             strRows += RowValues(p) + "|";
                                         EXPECT_EQ(strRows, "1,2,|1,2,|1,2,|1,2,|-,-,|");
                                         EXPECT_EQ(pMdl->pCapacitance->eMatrixType, MTX_BANDED_WRAP);
                                         EXPECT_EQ(RowValues(pMdl->pCapacitance->pLastRow), "1,");
                                     });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   20) - Only 2 columns of data allowed for this Row .\n"
              "ERROR  (line   25) - Repeated ROW <4>.\n"
              "ERROR  (line   25) -\n"
              "    Expected Pin <4> at matrix row index 4, found at matrix row index 5.\n"
              "ERROR  (line   26) -\n"
              "    Expected 4 Rows, found 5 for Matrix ending previous to this line.\n"
              "ERROR  (line   26) - Expected 2 columns of Row data for [Row] 4 in Matrix ending previous to this "
              "line, found 0 columns.\n"
              "ERROR  (line   35) -\n"
              "    Bandwidth for this Banded, circle-back matrix exceeds the limit of 1.\n");
}

TEST(Matrix, SparseRowsAndTheSelfCoupledEntry) {
    ReadResult result = ReadMatrices(Head("1\n2\n3\n", 3) +  // 4-13
                                         "[Inductance Matrix] Sparse_matrix\n"
                                         "[Bandwidth] 1\n"    // 15
                                         "[Row] 1\n"
                                         "2 0.1\n"            // off the diagonal only
                                         "3 0.2 x\n"          // 18
                                         "[Row] 2\n"
                                         "1 0.1\n"            // 20
                                         "2 1\n"
                                         "2 2\n"              // 22
                                         "9 1\n"              // 23
                                         "3\n"                // 24
                                         "3 5m1\n"            // 25
                                         "[Row] 3\n"
                                         "3 1\n"
                                         "[Capacitance Matrix] Banded_matrix\n"  // 28
                                         "[Row] 1\n1\n[Row] 2\n1\n[Row] 3\n1\n"
                                         + Tail(),
                                     [](PKGMDL* pMdl) {
                                         ROW* pRow = pMdl->pInductance->pRows;
                                         EXPECT_EQ(RowValues(pRow), "-,0,0,");
                                         EXPECT_EQ(RowValues(pRow->pNext), "-,1,0,");
                                     });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   15) - Bandwidth only allowed for Banded Matrices\n"
              "ERROR  (line   18) - Excessive data <x>, only Index and Value should be specified for a "
              "Sparse_matrix.\n"
              "ERROR  (line   20) -\n"
              "    This Row Column Index defines an entry in the lower matrix triangle.\n"
              "ERROR  (line   22) - Duplicate Row column index 2.\n"
              "ERROR  (line   23) - Unable to find Pin <9> in Package Model Pin_Number list.\n"
              "ERROR  (line   24) - No row data.\n"
              "WARNING  (line   25) - Suspicious row data.\n"
              "ERROR  (line   28) - [Row] 1 must contain a self-coupled index and entry.\n"
              "ERROR  - The Capacitance Matrix is Banded and requires the 'Bandwidth' keyword.\n");
}

TEST(Matrix, TypesAndBandwidths) {
    ReadResult result = ReadMatrices(Head("1\n2\n3\n", 3) +       // 4-13
                                         "[Resistance Matrix]\n"              // 14
                                         "[Row] 1\n1\n"                       // adds nothing
                                         "[Inductance Matrix] Diagonal_matrix\n"  // 17
                                         "[Bandwidth] 1\n"                    // 18
                                         "[Capacitance Matrix] banded_MATRIX\n"  // 19
                                         "[Bandwidth] 3x\n"                   // 20
                                         "[Row] 1\n1 2 3\n"                   // 21
                                         + Tail(),                            // 23
                                     [](PKGMDL* pMdl) {
                                         EXPECT_EQ(pMdl->pResistance->pRows, nullptr);
                                         EXPECT_EQ(pMdl->pCapacitance->uiBandwidth, 3u);
                                     });
    EXPECT_EQ(result.strLog,
              "ERROR  (line   14) - Matrix type not specified.\n"
              "ERROR  (line   17) -\n"
              "    Expected 3 Rows, found 0 for Matrix ending previous to this line.\n"
              "ERROR  (line   17) - Unknown matrix type 'Diagonal_matrix'.\n"
              "ERROR  (line   18) - Bandwidth only allowed for Banded Matrices\n"
              "ERROR  (line   19) -\n"
              "    Expected 3 Rows, found 0 for Matrix ending previous to this line.\n"
              "ERROR  (line   20) - Suspicious Bandwidth value.\n"
              "ERROR  (line   20) - Bandwidth <3> must be less than Number_of_Pins <3>.\n"
              "ERROR  (line   23) -\n"
              "    Expected 3 Rows, found 1 for Matrix ending previous to this line.\n");
}

}  // namespace
