// Running the tavelin command from the tests, its outputs and exit status
// kept.
#include "support/tool_run.h"

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "support/corpus.h"
#include "support/snippet.h"

ToolRun RunTool(const std::string& strArguments, const std::string& strDir) {
    ToolRun run;
    const std::string strErrPath = WriteScratchFile("tool-stderr.txt", "");
    std::string strCommand = std::string(TAVELIN_TOOL) + " " + strArguments + " 2>" + strErrPath;
    if (!strDir.empty()) strCommand = "cd " + strDir + " && " + strCommand;
    FILE* pPipe = popen(strCommand.c_str(), "r");
    if (pPipe == nullptr) return run;
    int c;
    while ((c = fgetc(pPipe)) != EOF) run.strOut += static_cast<char>(c);
    const int nWait = pclose(pPipe);
    run.nStatus = WIFEXITED(nWait) ? WEXITSTATUS(nWait) : -1;
    run.strErr = ReadText(strErrPath);
    std::filesystem::remove(strErrPath);
    return run;
}
