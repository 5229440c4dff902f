// Every file, directory and time service the library needs, so the rest of
// the code stays portable.
#ifndef TAVELIN_PLATFORM_H
#define TAVELIN_PLATFORM_H

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

// fopen with the C library's modes; null when the file does not open.
FILE* PLAT_OpenFile(const char* pszPath, const char* pszMode);

// A new anonymous file open for writing and reading, gone when closed (a
// log kept as text, say); null when none can be made.
FILE* PLAT_TempFile();
// A stream that takes everything written to it and keeps nothing.
FILE* PLAT_OpenNullStream();

// Why a file cannot be read: the operating system's reason ("No such file
// or directory", "Is a directory", "Permission denied"), or empty when it
// opens for reading.
std::string PLAT_WhyUnreadable(const char* pszPath);
// The same reason as the system's error number (ENOENT, EISDIR, EACCES...);
// 0 when the file opens for reading.
int PLAT_UnreadableCode(const char* pszPath);

int PLAT_FileExists(const char* pszPath);
int PLAT_FileReadable(const char* pszPath);
// Stores the modification time and returns 1; returns 0 when the file
// cannot be queried.
int PLAT_FileTime(const char* pszPath, time_t* ptTime);
int PLAT_DirExists(const char* pszPath);
// Creates one directory level; 1 when it exists afterwards.
int PLAT_MakeDir(const char* pszPath);
int PLAT_Rename(const char* pszFrom, const char* pszTo);
int PLAT_Remove(const char* pszPath);
// Names (not paths) of the regular files of a directory whose names end in
// the extension, compared without regard to case; sorted by name.
std::vector<std::string> PLAT_ListFiles(const char* pszDir, const char* pszExtension);
// Paths, relative to the directory, of the regular files anywhere below it
// whose names end in the extension (compared without regard to case);
// sorted.  Empty when the directory cannot be walked.
std::vector<std::string> PLAT_ListFilesBelow(const char* pszDir, const char* pszExtension);
// Paths (the folder joined with the path below it) of the files anywhere
// below the folder whose names end in one of the extensions, compared
// without regard to case; sorted.  Links are followed, but no folder is
// walked twice, so a link back up ends there.  A link that leads nowhere
// is listed as well, so that whoever opens it can say why it does not
// open.  False when the folder cannot be listed; the folders below that
// cannot be listed are added to pUnlisted.
int PLAT_WalkFiles(const char* pszDir, const std::vector<std::string>& extensions,
                   std::vector<std::string>* pFiles, std::vector<std::string>* pUnlisted);
// The path written relative to the base directory (with ".." where it lies
// outside), both taken from the current directory when relative.
std::string PLAT_RelativePath(const std::string& strPath, const std::string& strBase);
// Joins with '/', leaving out a separator already at the end of the directory.
std::string PLAT_JoinPath(const std::string& strDir, const std::string& strName);
// Splits at the last '/' or '\\': the directory keeps its separator.
void PLAT_SplitPath(const std::string& strPath, std::string* pstrDir, std::string* pstrName);
time_t PLAT_Now();
// Sends standard output to nowhere until PLAT_RestoreStdout with the
// returned handle; -1 when it could not be done (output then goes on).
int PLAT_MuteStdout();
void PLAT_RestoreStdout(int nHandle);
// A write to a closed pipe fails with an error instead of ending the process.
void PLAT_IgnoreBrokenPipe();
// Memory for a large store of records, PLAT_LARGE_UNIT bytes aligned to
// that size, which the system is asked to back with large pages (one page
// fault instead of hundreds while the store fills); null when out of
// memory.  Freed with PLAT_FreeLarge.
enum : size_t { PLAT_LARGE_UNIT = size_t(2) << 20 };
void* PLAT_AllocLarge();
void PLAT_FreeLarge(void* pBlock);
// The modal message of the host's window system: written to standard error.
void PLAT_MessageBox(const char* pszTitle, const char* pszText);

// Opens a new file for writing next to pszPath (same directory, so that a
// rename can put it in place) under a name no other file has; stores that
// name.  Null when no such file can be created.
FILE* PLAT_CreateTempBeside(const char* pszPath, std::string* pstrTempPath);

#endif
