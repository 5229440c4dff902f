// The tavelin command line: its commands (check, compile, index, show),
// their options with help and one example each, the usage errors (a reason
// on one line, then the usage, exit 3) and the version.  The commands
// themselves live in check.cpp and library_cmds.cpp.
#include <tavelin/tavelin.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <string>

#include <CLI/CLI.hpp>

#include "platform/platform.h"
#include "tool.h"

namespace {

const char* const VERSION_TEXT =
    "tavelin " TAVELIN_VERSION "\n"
    "reads IBIS files of versions 1.x to 3.x (.ibs, .pkg, .ebd) and checks them\n"
    "against the rules of IBIS up to 3.2\n";

struct Commands {
    CheckOptions check;
    CompileOptions compile;
    std::vector<std::string> indexFolders;
    ShowOptions show;
    std::string strFormat = "text";
    std::string strCorner = "typ";
};

void AddCheck(CLI::App& app, Commands& c) {
    CLI::App* pCheck = app.add_subcommand("check", "Check IBIS files and folders of them, and write every finding");
    pCheck->add_option("--format", c.strFormat,
                       "text: the compile log as it is (default); gcc: FILE:LINE: error: TEXT "
                       "lines for editors and CI; json: one JSON document for the whole run")
        ->check(CLI::IsMember({"text", "gcc", "json"}));
    pCheck->add_option("--indent", c.check.nIndent, "Indent every finding by N blanks, 0 to 80 (text format)")
        ->check(CLI::Range(0, 80));
    pCheck->add_flag("--name", c.check.bShowName, "Show the file name in every finding (text format)");
    pCheck->add_flag("-q,--quiet", c.check.bQuiet, "Print only the closing totals");
    pCheck->add_option("paths", c.check.paths,
                       "IBIS files (.ibs, .pkg, .ebd) and folders, walked for such files")
        ->required();
    pCheck->footer(
        "Findings go to standard output; a line per file and the totals to standard error.\n"
        "Exit status: 0 no errors, 1 errors found, 2 a file unreadable or refused,\n"
        "3 a usage error.\n\n"
        "Example: tavelin check --format gcc models/");
}

void AddCompile(CLI::App& app, Commands& c) {
    CLI::App* pCompile = app.add_subcommand("compile", "Check one IBIS file and compile one of its components");
    pCompile->add_option("--indent", c.compile.nIndent, "Indent every finding by N blanks, 0 to 80")
        ->check(CLI::Range(0, 80));
    pCompile->add_option("-o,--output", c.compile.strOut, "The compiled model file to write")->required();
    pCompile->add_option("file", c.compile.strFile, "The IBIS file")->required();
    pCompile->add_option("component", c.compile.strComponent,
                         "The component to compile (may be left out when the file has one)");
    pCompile->footer(
        "Exit status: 0 written, 1 the file had errors (nothing written), 2 the file\n"
        "could not be read, no component was chosen or the output not written,\n"
        "3 a usage error.\n\n"
        "Example: tavelin compile examples/tvl8244.ibs TVL8244 -o tvl8244.cbs");
}

void AddIndex(CLI::App& app, Commands& c) {
    CLI::App* pIndex = app.add_subcommand("index", "Write a source index of the components of IBIS folders");
    pIndex->add_option("folders", c.indexFolders,
                       "Folders walked for .ibs files; names in the index are relative to the first")
        ->required();
    pIndex->footer(
        "The index goes to standard output; files that do not read are named on\n"
        "standard error.  Exit status: 0 every file read, 1 a file was skipped, 2 a\n"
        "folder could not be listed or the index not written, 3 a usage error.\n\n"
        "Example: tavelin index models > models/tavelin.idx");
}

void AddShow(CLI::App& app, Commands& c) {
    CLI::App* pShow = app.add_subcommand("show", "Show a component through the model library, compiling it when needed");
    pShow->add_option("--lib", c.show.strLib, "The compiled model folder")->required();
    pShow->add_option("--index", c.show.strIndex, "The source index naming the component's file")->required();
    pShow->add_option("--pin", c.show.strPin, "List this pin's simulation model instead of the record");
    pShow->add_option("--corner", c.strCorner, "The corner of the listing: typ (default), min or max")
        ->check(CLI::IsMember({"typ", "min", "max"}));
    pShow->add_option("--label", c.show.strLabel, "The label of the listing");
    pShow->add_option("--number", c.show.nNumber, "The number of the listing");
    pShow->add_flag("--model-mode", c.show.bModelMode, "List the model in model mode");
    pShow->add_flag("--outline", c.show.bOutline, "List the pin's outline model");
    pShow->add_option("component", c.show.strComponent, "The component")->required();
    pShow->footer(
        "Exit status: 0 the record is usable and listed, 1 it is not, 2 standard output\n"
        "could not be written, 3 a usage error.\n\n"
        "Example: tavelin show --lib cbx --index models/tavelin.idx --pin 1 TVL8244");
}

eFormat FormatFromName(const std::string& strName) {
    if (strName == "gcc") return eFormat::Gcc;
    if (strName == "json") return eFormat::Json;
    return eFormat::Text;
}

int CornerFromName(const std::string& strName) {
    static const std::map<std::string, int> corners = {{"typ", eTyp}, {"min", eMin}, {"max", eMax}};
    return corners.at(strName);
}

// The command the user was writing when the command line went wrong.
const CLI::App* CommandInError(const CLI::App& app) {
    const std::vector<CLI::App*> parsed = app.get_subcommands();
    return parsed.empty() ? &app : parsed.back();
}

int Dispatch(const CLI::App& app, Commands& c) {
    if (app.got_subcommand("check")) {
        c.check.format = FormatFromName(c.strFormat);
        return RunCheck(c.check);
    }
    if (app.got_subcommand("compile")) return RunCompile(c.compile);
    if (app.got_subcommand("index")) return RunIndex(c.indexFolders);
    c.show.eCorner = CornerFromName(c.strCorner);
    return RunShow(c.show);
}

}  // namespace

bool StdoutWritten() {
    std::cout.flush();
    if (fflush(stdout) == 0 && !ferror(stdout) && std::cout.good()) return true;
    const int nError = errno;
    fprintf(stderr, "tavelin: standard output cannot be written: %s\n",
            nError != 0 ? strerror(nError) : "write failed");
    return false;
}

int main(int argc, char** argv) {
    PLAT_IgnoreBrokenPipe();
    CLI::App app("tavelin: checks IBIS models (.ibs, .pkg, .ebd) and compiles components", "tavelin");
    Commands commands;
    bool bVersion = false;
    app.add_flag("--version", bVersion, "Print the version and the IBIS versions read");
    app.require_subcommand(0, 1);
    app.footer("Run 'tavelin COMMAND --help' for a command's options and an example.\n\n"
               "Example: tavelin check examples/tvl8244.ibs");
    AddCheck(app, commands);
    AddCompile(app, commands);
    AddIndex(app, commands);
    AddShow(app, commands);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        fprintf(stderr, "tavelin: %s\n", e.what());
        fputs(CommandInError(app)->help().c_str(), stderr);
        return EXIT_USAGE;
    }
    if (bVersion) {
        fputs(VERSION_TEXT, stdout);
        return StdoutWritten() ? EXIT_CLEAN : EXIT_UNREADABLE;
    }
    if (app.get_subcommands().empty()) {
        fputs("tavelin: a command is needed\n", stderr);
        fputs(app.help().c_str(), stderr);
        return EXIT_USAGE;
    }
    return Dispatch(app, commands);
}
