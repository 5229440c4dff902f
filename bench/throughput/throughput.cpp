// Throughput of the reader on one large file, against the machine's floor:
// `tavelin check FILE`, `tavelin compile FILE COMPONENT`, and the floor (the
// same file read, split into lines and blank-separated tokens, every token
// converted with std::from_chars), each timed several times in one run.
// Prints the median MB/s of each, the ratio of check to the floor, and the
// peak resident memory of check against the file size.
//
//   tavelin_throughput TAVELIN_TOOL FILE COMPONENT [RUNS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    double dSeconds;
    long lPeakKb;
};

// Runs the command with its output thrown away; the time and the peak
// resident memory of the child.
Run RunCommand(const std::vector<std::string>& args) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int fdNull = open("/dev/null", O_WRONLY);
        dup2(fdNull, 1);
        dup2(fdNull, 2);
        std::vector<char*> argv;
        for (const std::string& str : args) argv.push_back(const_cast<char*>(str.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int nStatus = 0;
    struct rusage usage {};
    wait4(pid, &nStatus, 0, &usage);
    const double dSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    // A command that failed (a tool without that command, say) has no time.
    if (!WIFEXITED(nStatus) || WEXITSTATUS(nStatus) > 1) return {-1.0, 0};
    return {dSeconds, usage.ru_maxrss};
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The floor: every line, every token, every number.  The sum keeps the
// compiler from dropping the work.
Run Floor(const std::string& strPath, double* pdSum) {
    const Clock::time_point start = Clock::now();
    std::string strText;
    if (FILE* pFile = fopen(strPath.c_str(), "rb")) {
        fseek(pFile, 0, SEEK_END);
        strText.resize(static_cast<size_t>(ftell(pFile)));
        rewind(pFile);
        if (fread(&strText[0], 1, strText.size(), pFile) != strText.size()) strText.clear();
        fclose(pFile);
    }
    const char* p = strText.data();
    const char* pEnd = p + strText.size();
    double dSum = 0.0;
    while (p < pEnd) {
        const char* pLineEnd = static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(pEnd - p)));
        if (pLineEnd == nullptr) pLineEnd = pEnd;
        while (p < pLineEnd) {
            while (p < pLineEnd && IsBlank(*p)) ++p;
            const char* pToken = p;
            while (p < pLineEnd && !IsBlank(*p)) ++p;
            double d = 0.0;
            const std::from_chars_result result = std::from_chars(pToken, p, d);
            if (p > pToken && result.ec == std::errc() && result.ptr == p && std::isfinite(d)) dSum += d;
        }
        p = pLineEnd + 1;
    }
    *pdSum = dSum;
    return {std::chrono::duration<double>(Clock::now() - start).count(), 0};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long FileBytes(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary | std::ios::ate);
    return static_cast<long>(in.tellg());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: tavelin_throughput TAVELIN_TOOL FILE COMPONENT [RUNS]\n");
        return 3;
    }
    const std::string strTool = argv[1], strFile = argv[2], strComponent = argv[3];
    const int nRuns = argc > 4 ? atoi(argv[4]) : 5;
    const double dMb = FileBytes(strFile) / 1e6;
    const std::string strOut = "/tmp/tavelin_throughput_" + std::to_string(getpid()) + ".cbs";

    std::vector<double> check, compile, floor;
    long lPeakKb = 0;
    double dSum = 0.0;
    for (int i = 0; i < nRuns; ++i) {
        const Run runCheck = RunCommand({strTool, "check", strFile});
        check.push_back(runCheck.dSeconds);
        lPeakKb = std::max(lPeakKb, runCheck.lPeakKb);
        compile.push_back(RunCommand({strTool, "compile", strFile, strComponent, "-o", strOut}).dSeconds);
        floor.push_back(Floor(strFile, &dSum).dSeconds);
    }
    unlink(strOut.c_str());
    // The check runs in a process of its own; its peak includes the
    // process itself, which an empty file shows.
    if (Median(check) < 0) {
        fprintf(stderr, "%s check %s failed\n", strTool.c_str(), strFile.c_str());
        return 2;
    }
    const double dCheck = dMb / Median(check), dFloor = dMb / Median(floor);
    const double dCompile = Median(compile) < 0 ? 0.0 : dMb / Median(compile);
    printf("file      %s, %.1f MB, %d runs (medians; checksum %g)\n", strFile.c_str(), dMb, nRuns, dSum);
    printf("check     %8.1f MB/s\n", dCheck);
    if (dCompile > 0)
        printf("compile   %8.1f MB/s\n", dCompile);
    else
        printf("compile   not run (the command failed)\n");
    printf("floor     %8.1f MB/s\n", dFloor);
    printf("check / floor   %.2f\n", dCheck / dFloor);
    printf("check peak RSS  %.1f MB, %.2f x the file\n", lPeakKb / 1024.0, lPeakKb * 1024.0 / (dMb * 1e6));
    return 0;
}
