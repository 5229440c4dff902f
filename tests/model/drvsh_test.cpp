#include "model/drvsh.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "model/dly.h"
#include "model/mdl.h"
#include "model/model_text.h"
#include "core/cmn.h"

namespace {

// Reads a schedule of model DRV from its keyword line (line 1) and data
// lines (2, 3, ...), and ends it.
DRVSH* ReadSchedule(DirectLog* pLog, const char* pszKeyword, std::initializer_list<const char*> lines,
                    DRVSH* pSched = nullptr) {
    std::string strKeyword = pszKeyword;
    pLog->NextLine();
    DRVSH_Begin(&strKeyword[0], &pSched);
    for (const char* pszLine : lines) {
        pLog->NextLine();
        DRVSH_Line(pszLine, pSched, "DRV");
    }
    DRVSH_End(pSched, "DRV");
    return pSched;
}

TEST(DrvshRead, NamesAndDelays) {
    DirectLog log;
    DRVSH* pSched = ReadSchedule(&log, "[Driver Schedule] x",
                                 {"DRV 1n NA NA NA",                      // 2
                                  "NA 1n 2n NA NA",                       // 3
                                  "O1 1n",                                // 4
                                  "O1 1n NA NA 2n",                       // 5
                                  "O2 NA -1n -2n NA",                     // 6
                                  "O3 1n 2n 3n",                          // 7
                                  "O4 1n 2n NA NA 5n",                    // 8
                                  "ABCDEFGHIJKLMNOPQRSTUVW NA 1n 2n NA",  // 9
                                  "O5 1x5 NA NA NA",                      // 10
                                  "O6 abc 1n NA -1n",                     // 11
                                  "O7"});                                 // 12
    EXPECT_EQ("ERROR  (line    1) -\n    Incorrect Number of Line Items (2) For Driver Schedule: Expecting 1\n"
              "ERROR  (line    2) -\n    Model Name in Driver Schedule is the same as enclosing Model (\"DRV\")\n"
              "ERROR  (line    2) - At least two delays must be specified\n"
              "ERROR  (line    3) -\n    Invalid Model Name in Driver Schedule (\"NA\"); Reserved Word.\n"
              "ERROR  (line    4) - No Rise_off_dly Value Was Provided for O1\n"
              "ERROR  (line    4) - At least two delays must be specified\n"
              "ERROR  (line    5) - Model Name (\"O1\") previously used in this Driver Schedule\n"
              "ERROR  (line    5) - Rise_on_dly and Fall_off_delay cannot be specified together\n"
              "ERROR  (line    6) - Rise_off_dly and Fall_on_delay cannot be specified together\n"
              "ERROR  (line    6) - Rise_off_dly is less than zero\n"
              "ERROR  (line    6) - Fall_on_dly is less than zero\n"
              "ERROR  (line    7) - No Fall_off_dly Value Was Provided for O3\n"
              "ERROR  (line    7) - Rise_off_dly and Fall_on_delay cannot be specified together\n"
              "ERROR  (line    8) - Incorrect Number of Line Items (5) For O4: Expecting 4\n"
              "ERROR  (line    9) - Model Name Over 20 Characters Long\n"
              "ERROR  (line    9) - Rise_off_dly and Fall_on_delay cannot be specified together\n"
              "WARNING  (line   10) -\n    Suspicious Rise_on_dly Driver Schedule Value (\"1x5\"); Numeric in Scale\n"
              "ERROR  (line   10) - At least two delays must be specified\n"
              "ERROR  (line   11) - Invalid Rise_on_dly Value (\"abc\")\n"
              "ERROR  (line   12) - Incorrect Number of Line Items (0) For O7: Expecting 4\n"
              "ERROR  (line   12) - At least two delays must be specified\n",
              log.Text());
    // Newest first; the delays as read.
    ASSERT_NE(nullptr, pSched->pModels);
    EXPECT_STREQ("O7", pSched->pModels->szName);
    const DSMDL* pLong = pSched->pModels->pNext->pNext->pNext;
    EXPECT_STREQ("ABCDEFGHIJKLMNOPQRST", pLong->szName);
    ASSERT_NE(nullptr, pLong->pDelays);
    EXPECT_EQ(static_cast<unsigned>(VALUE_NA), pLong->pDelays->aeState[DLY_RISE_ON]);
    EXPECT_DOUBLE_EQ(2e-9, pLong->pDelays->adDelay[DLY_FALL_ON]);
    EXPECT_EQ(static_cast<unsigned>(VALUE_NA), pLong->pDelays->aeState[DLY_FALL_OFF]);
    DRVSH_Free(pSched);
}

// A line without a name keeps its entry, nameless and without delays; a
// name with four "NA" delays has too few delays.
TEST(DrvshRead, NamelessEntryAndNoNumericDelay) {
    DirectLog log;
    DRVSH* pSched = ReadSchedule(&log, "[Driver Schedule]", {"", "O1 NA NA NA NA"});
    EXPECT_EQ("ERROR  (line    2) - 'Driver Schedule' Missing model Name\n"
              "ERROR  (line    3) - At least two delays must be specified\n",
              log.Text());
    ASSERT_NE(nullptr, pSched->pModels);
    const DSMDL* pNameless = pSched->pModels->pNext;
    ASSERT_NE(nullptr, pNameless);
    EXPECT_STREQ("", pNameless->szName);
    EXPECT_EQ(nullptr, pNameless->pDelays);
    DRVSH_Free(pSched);
}

TEST(DrvshRead, ModelCountAndReplacement) {
    DirectLog log;
    DRVSH* pSched = ReadSchedule(&log, "[Driver Schedule]", {});                   // 1
    pSched = ReadSchedule(&log, "[Driver Schedule]", {"O1 1n 2n NA NA"}, pSched);  // 2, 3
    EXPECT_EQ("ERROR  - Model 'DRV': The [Driver_Schedule] has no models defined\n"
              "ERROR  (line    2) - Driver Schedule: Already Defined for this model\n"
              "WARNING  - Model 'DRV': The [Driver_Schedule] has only one model defined\n",
              log.Text());
    DRVSH_Free(pSched);
}

// Schedules that name each other, themselves, a missing model and models
// that cannot drive; the models are known only at the end of the file.
TEST(DrvshCheckAll, ScheduledModelsAtTheEndOfTheFile) {
    std::string strLog = ReadModels(CleanModel("DRV") +             // 13-19
                                    "[Driver Schedule]\n"           // 20
                                    "IN1 1n 2n NA NA\n"
                                    "SUB 1n 2n NA NA\n"
                                    "GHOST 1n 2n NA NA\n"
                                    "SER 1n 2n NA NA\n" +
                                    CleanModel("SUB") +             // 25-31
                                    "[Driver Schedule]\n"           // 32
                                    "DRV NA NA 1n 2n\n"
                                    "SUB NA NA 1n 2n\n"             // 34
                                    "[Model] IN1\n"
                                    "Model_type Input\n"
                                    "Vinl = 0.8\n"
                                    "Vinh = 2.0\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[Model] SER\n"
                                    "Model_type Series\n"
                                    "C_comp 1p NA NA\n"
                                    "[Voltage Range] 3.3 3.0 3.6\n"
                                    "[R Series] 1 NA NA\n");
    EXPECT_EQ("ERROR  (line   34) -\n    Model Name in Driver Schedule is the same as enclosing Model (\"SUB\")\n"
              "ERROR  - Model SUB used in the Driver Schedule of Model SUB cannot itself have a Driver Schedule\n"
              "ERROR  - Model DRV used in the Driver Schedule of Model SUB cannot itself have a Driver Schedule\n"
              "ERROR  - Model SER used in the Driver Schedule of Model DRV should be an output model\n"
              "ERROR  - Model GHOST used in the Driver Schedule of Model DRV is not defined\n"
              "ERROR  - Model SUB used in the Driver Schedule of Model DRV cannot itself have a Driver Schedule\n"
              "ERROR  - Model IN1 used in the Driver Schedule of Model DRV should be an output model\n",
              strLog);
}

}  // namespace
