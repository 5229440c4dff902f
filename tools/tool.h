// What the commands of the tavelin tool share: the exit statuses, the
// options each command is given by the command line, and the commands.
#ifndef TAVELIN_TOOL_H
#define TAVELIN_TOOL_H

#include <string>
#include <vector>

enum { EXIT_CLEAN = 0, EXIT_FINDINGS = 1, EXIT_UNREADABLE = 2, EXIT_USAGE = 3 };

enum class eFormat { Text, Gcc, Json };

struct CheckOptions {
    eFormat format = eFormat::Text;
    int nIndent = 0;
    bool bShowName = false;
    bool bQuiet = false;
    std::vector<std::string> paths;
};

struct CompileOptions {
    int nIndent = 0;
    std::string strFile;
    std::string strComponent;
    std::string strOut;
};

struct ShowOptions {
    std::string strLib;
    std::string strIndex;
    std::string strComponent;
    std::string strPin;
    std::string strLabel;
    int nNumber = 0;
    int eCorner = 0;
    bool bModelMode = false;
    bool bOutline = false;
};

int RunCheck(const CheckOptions& options);
int RunCompile(const CompileOptions& options);
int RunIndex(const std::vector<std::string>& folders);
int RunShow(const ShowOptions& options);

// The lines of one file on standard error: why it was refused (when it
// was), then its counts.
void ReportFile(const std::string& strPath, const std::string& strRefusal, int nErrors, int nWarnings,
                int nBugs);

// False, after saying so on standard error, when standard output could
// not take what was written to it (a full disk, a closed pipe).
bool StdoutWritten();

#endif
