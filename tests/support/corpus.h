#ifndef TAVELIN_TESTS_CORPUS_H
#define TAVELIN_TESTS_CORPUS_H

#include <string>
#include <vector>

// The real IBIS files written by others live in the shared folder beside the
// checkout (../shared/corpus), never in the project itself.

// The corpus folder, or an empty string after one clear test failure naming
// the missing folder.  Tests that need it return when it is empty.
std::string CorpusDir();

// The IBIS files (.ibs, .pkg, .ebd) of the corpus folder, by name, sorted.
std::vector<std::string> CorpusFiles(const std::string& strDir);

// The whole content of a file, byte for byte.
std::string ReadText(const std::string& strPath);

#endif
