"""tavelin.check against the tavelin command: the same findings as
`tavelin check --format json`, the same log text as `tavelin check`, the
reader's reason for a refused file as OSError or ValueError."""
import ctypes
import os
import re

import pytest

import tavelin
from conftest import corpus_files, run_tool, tool_json, variants


def as_json(finding):
    return {"level": finding.level, "file": finding.file, "line": finding.line, "text": finding.text}


def assert_same_as_tool(result, entry):
    assert entry["refused"] is None
    assert result.version == entry["ibis_version"]
    assert (result.errors, result.warnings, result.bugs) == (entry["errors"], entry["warnings"], entry["bugs"])
    assert [as_json(f) for f in result.findings] == entry["findings"]


def test_the_example_checks_as_the_tool_checks_it(tool, example, capfd):
    result = tavelin.check(example)
    # The reader's banner goes nowhere: a script's output is its own.
    ctypes.CDLL(None).fflush(None)
    assert capfd.readouterr() == ("", "")
    assert_same_as_tool(result, tool_json(tool, [example])[example])
    assert result.ok and result.findings == [] and result.log == ""
    assert repr(result) == "CheckResult(path=%r, version='3.2', errors=0, warnings=0, bugs=0)" % example


def test_every_corpus_file_gives_the_tools_findings_or_its_refusal(tool, corpus):
    paths = [os.path.join(corpus, name) for name in corpus_files(corpus)]
    expected = tool_json(tool, paths)
    compared = refused = 0
    for path in paths:
        entry = expected[path]
        if entry["refused"] is not None:
            with pytest.raises((OSError, ValueError)) as raised:
                tavelin.check(path)
            assert str(raised.value) == "%s: %s" % (path, entry["refused"])
            refused += 1
        else:
            assert_same_as_tool(tavelin.check(path), entry)
            compared += 1
    # The corpus holds files of every kind the reader reads and of later versions.
    assert compared >= 10 and refused >= 3


# The banner the reader prints before each file; the log does not hold it.
BANNER = re.compile(r"\nChecking .* for IBIS \d\.\d Compatibility\.\.\.\n\n")


@pytest.mark.parametrize("name_mode, indent, options", [(1, 0, []), (0, 3, ["--name", "--indent", "3"])])
def test_the_log_is_the_tools_log_text(tool, example, tmp_path, name_mode, indent, options):
    path = variants(example, tmp_path)[2]
    out, _, status = run_tool(tool, "check", *(options + [path]))
    assert status == 1
    result = tavelin.check(path, name_mode=name_mode, indent=indent)
    assert result.log == BANNER.sub("", out, count=1)
    shown = path if name_mode == 0 else ""
    blanks = " " * indent
    # A message of 60 to 75 characters with a line number goes to a line of its own.
    assert result.log == (
        blanks + "ERROR %s (line    7) -\n    File name opened 'broken.ibs' not the same as File_name "
        "'tvl8244.ibs'.\n" % shown + blanks + "ERROR %s (line   47) - Invalid Typical Value (\"three\")\n" % shown)
    assert [(f.level, f.file, f.line) for f in result.findings] == [("error", path, 7), ("error", path, 47)]


def test_each_check_gives_what_the_file_gets_alone(tmp_path):
    # The tab warning is given once per process to a host; check gives it
    # every time, and the version of one file does not reach the next.
    tabbed = tmp_path / "tabbed.ibs"
    tabbed.write_text("[IBIS Ver]\t3.2\n[File Name] tabbed.ibs\n[File Rev] 1\n[End]\n")
    first = tavelin.check(tabbed)
    second = tavelin.check(tabbed)
    assert [f.text for f in first.findings] == [f.text for f in second.findings]
    assert ("warning", 1, "IBIS files should not contain tab characters.") in [
        (f.level, f.line, f.text) for f in first.findings]


def test_a_file_that_cannot_be_read_raises_with_the_readers_reason(tmp_path):
    missing = str(tmp_path / "missing.ibs")
    with pytest.raises(FileNotFoundError) as raised:
        tavelin.check(missing)
    assert (raised.value.strerror, raised.value.filename) == ("No such file or directory", missing)
    folder = tmp_path / "folder.ibs"
    folder.mkdir()
    with pytest.raises(IsADirectoryError, match="Is a directory"):
        tavelin.read(folder)
    text = tmp_path / "notes.txt"
    text.write_text("[IBIS Ver] 3.2\n")
    with pytest.raises(ValueError, match="unknown file extension: only .ibs, .pkg and .ebd files are read"):
        tavelin.check(text)
    later = tmp_path / "later.ibs"
    later.write_text("[IBIS Ver] 5.0\n[End]\n")
    with pytest.raises(ValueError, match=re.escape("IBIS version 5.0 is not read (this tool reads 1.x–3.x)")):
        tavelin.read(later)
    plain = tmp_path / "plain.ibs"
    plain.write_text("just text\n")
    with pytest.raises(ValueError, match=re.escape("not an IBIS file: no [IBIS Ver] line")):
        tavelin.check(plain)


def test_options_out_of_range_are_refused(example):
    with pytest.raises(ValueError):
        tavelin.check(example, name_mode=2)
    with pytest.raises(ValueError):
        tavelin.check(example, indent=81)
