#ifndef TAVELIN_TESTS_TOOL_RUN_H
#define TAVELIN_TESTS_TOOL_RUN_H

#include <string>

// What one run of the tavelin command left behind.
struct ToolRun {
    std::string strOut;
    std::string strErr;
    int nStatus = -1;
};

// Runs `tavelin ARGUMENTS` through the shell, in strDir when one is given.
ToolRun RunTool(const std::string& strArguments, const std::string& strDir = "");

#endif
