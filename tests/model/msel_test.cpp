#include "model/msel.h"

#include <gtest/gtest.h>

#include <string>

#include "model/model_text.h"
#include "support/snippet.h"
#include "reader/read.h"

namespace {

MSEL* Selectors(IBIS* pIbis) {
    MSEL* pList = nullptr;
    IBIS_GetMselList(pIbis, &pList);
    return pList;
}

TEST(MselRead, NamesEntriesAndDescriptions) {
    const std::string str75 = "0123456789012345678901234567890123456789012345678901234567890123456789ABCDE";
    std::string strLog = ReadModels("[Model Selector] NA extra\n"                   // 13
                                    "GND ground\n"
                                    "na\n"                                          // 15
                                    "O1 the first   output\n"
                                    "O1 again\n"                                    // 17
                                    "M123456789 " + str75 + "\n"                    // 18
                                    "ABCDEFGHIJKLMNOPQRSTUVWXYZ too long a name\n"  // 19
                                    "[Model Selector] SELECTOR_NAME_TOO_LONG\n"     // 20
                                    "O1 out\n"
                                    "[Model Selector] SELECTOR_NAME_TOO_LO\n"       // 22
                                    "[Model Selector]\n"                            // 23
                                    "O1 x\n" +
                                        CleanModel("O1"),                           // 25-31
                                    [&](IBIS* pIbis) {
                                        MSEL* pList = Selectors(pIbis);
                                        EXPECT_EQ(1, MSEL_Find(pList, "SELECTOR_NAME_TOO_LO"));
                                        EXPECT_EQ(1, MSEL_Find(pList, "NA"));
                                        EXPECT_EQ(0, MSEL_Find(pList, "na"));
                                        MSEL* pFirst = pList;
                                        while (pFirst->pNext != nullptr) pFirst = pFirst->pNext;
                                        const MSELMDL* pEntry = pFirst->pModels;  // file order
                                        ASSERT_NE(nullptr, pEntry);
                                        EXPECT_STREQ("GND", pEntry->szName);
                                        pEntry = pEntry->pNext->pNext;
                                        EXPECT_STREQ("the first   output", pEntry->szDescription);
                                        pEntry = pEntry->pNext->pNext;
                                        EXPECT_EQ(str75.substr(0, 70), pEntry->szDescription);
                                        pEntry = pEntry->pNext;
                                        EXPECT_STREQ("ABCDEFGHIJKLMNOPQRST", pEntry->szName);
                                        EXPECT_EQ(nullptr, pEntry->pNext);
                                    });
    EXPECT_EQ("ERROR  (line   13) -\n    Incorrect Number of Line Items (2) For Keyword Model Selector: Expecting 1\n"
              "ERROR  (line   13) - Invalid Model SelectorName (\"NA\"); Reserved Word.\n"
              "ERROR  (line   15) -\n    Incorrect Number of Line Items (1) For Keyword Model Selector: Expecting 2\n"
              "ERROR  (line   15) - Invalid Model Name (\"NA\")\n"
              "ERROR  (line   17) - Model 'O1'. already used in this Model Selector\n"
              "WARNING  (line   18) - Exceeds official IBIS maximum length of 80 chararacters.\n"
              "ERROR  (line   18) - Model Descriptor string '" + str75 +
                  "' is too long, truncating to 70 characters.\n"
              "ERROR  (line   19) - Model Name Over 20 Characters Long\n"
              "ERROR  (line   20) - Model Selector Name Over 20 Characters Long\n"
              "WARNING  - Model Selector: 'SELECTOR_NAME_TOO_LO' has only one model defined\n"
              "ERROR  (line   22) -\n    Model Selector Name Previously Defined (\"SELECTOR_NAME_TOO_LO\")\n"
              "ERROR  - Model Selector: 'SELECTOR_NAME_TOO_LO' has no models defined\n"
              "ERROR  (line   23) - 'Model Selector' Keyword Missing name\n"
              "WARNING  - Model Selector: '' has only one model defined\n"
              // At the end of the file: GND and NA are not looked up.
              "ERROR  - Model 'M123456789' in Model Selector 'NA' is not defined in the file\n"
              "ERROR  - Model 'ABCDEFGHIJKLMNOPQRST' in Model Selector 'NA' is not defined in the file\n",
              strLog);
}

TEST(MselCheckAll, NameSharedWithAModel) {
    std::string strLog = ReadModels(CleanModel("O1") +          // 13-19
                                    "[Model Selector] O1\n"     // 20
                                    "O1 plain\n"
                                    "O2 other\n"
                                    "[Model Selector] SEL\n"
                                    "O1 plain\n"
                                    "O1_FAST fast\n" +
                                    CleanModel("O1_FAST"));     // defined after its selector
    EXPECT_EQ("ERROR  - 'O1' is the name of a Model and a Model Selector\n"
              "ERROR  - Model 'O2' in Model Selector 'O1' is not defined in the file\n",
              strLog);
}

// A pin may name a selector instead of a model.
TEST(MselFind, PinsUseSelectorsAsModels) {
    ReadResult result = ReadSnippet("sel.ibs",
                                    "[IBIS Ver] 3.2\n"
                                    "[File Name] sel.ibs\n"
                                    "[File Rev] 1.0\n"
                                    "[Component] C1\n"
                                    "[Manufacturer] Tavelin\n"
                                    "[Package]\n"
                                    "R_pkg 10m NA NA\n"
                                    "L_pkg 1n NA NA\n"
                                    "C_pkg 1p NA NA\n"
                                    "[Pin] signal_name model_name\n"
                                    "1 DQ0 DQ_SEL\n"
                                    "2 DQ1 NO_SUCH\n"
                                    "[Model Selector] DQ_SEL\n"
                                    "O1 full strength\n"
                                    "O2 half strength\n" +
                                        CleanModel("O1") + CleanModel("O2") + "[End]\n");
    EXPECT_EQ("ERROR  - Component 'C1': Model 'NO_SUCH' for Pin '2' not defined.\n", result.strLog);
}

TEST(MselRead, FiveHundredEntries) {
    std::string strBody = "[Model Selector] BIG\n";
    std::string strExpected;
    for (int i = 0; i < 500; ++i) {
        const std::string strName = "M" + std::to_string(i);
        strBody += strName + " model number " + std::to_string(i) + "\n";
        strExpected += "ERROR  - Model '" + strName + "' in Model Selector 'BIG' is not defined in the file\n";
    }
    int nEntries = 0;
    std::string strLog = ReadModels(strBody, [&](IBIS* pIbis) {
        for (const MSELMDL* p = Selectors(pIbis)->pModels; p != nullptr; p = p->pNext) ++nEntries;
    });
    EXPECT_EQ(500, nEntries);
    EXPECT_EQ(strExpected, strLog);
}

}  // namespace
