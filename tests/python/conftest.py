"""Shared places of the Python module's tests: the tavelin command of the
same build, the bundled example and the corpus of real files beside the
checkout (tests that need it are skipped when it is missing)."""
import json
import os
import subprocess

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))


@pytest.fixture(scope="session")
def tool():
    path = os.environ.get("TAVELIN_TOOL")
    if not path:
        pytest.fail("TAVELIN_TOOL names the tavelin command of the build (ctest sets it)")
    return path


@pytest.fixture(scope="session")
def example():
    return os.path.join(os.environ.get("TAVELIN_EXAMPLES", os.path.join(SOURCE, "examples")),
                        "tvl8244.ibs")


@pytest.fixture(scope="session")
def corpus():
    path = os.environ.get("TAVELIN_CORPUS", os.path.join(SOURCE, "..", "shared", "corpus"))
    if not os.path.isdir(path):
        pytest.skip("the corpus folder %s is missing" % path)
    return path


def corpus_files(folder):
    """The IBIS files of the corpus, by name."""
    return sorted(name for name in os.listdir(folder)
                  if name.lower().endswith((".ibs", ".pkg", ".ebd")))


def run_tool(tool, *arguments):
    """stdout, stderr and exit status of one run of the tavelin command."""
    run = subprocess.run([tool] + list(arguments), capture_output=True)
    return run.stdout.decode("utf-8", "replace"), run.stderr.decode("utf-8", "replace"), run.returncode


def tool_json(tool, paths):
    """The files of `tavelin check --format json`, by path."""
    out, err, _ = run_tool(tool, "check", "--format", "json", *paths)
    try:
        document = json.loads(out)
    except ValueError:
        pytest.fail("tavelin check --format json gave no JSON document: %s" % err)
    return {entry["path"]: entry for entry in document["files"]}


def variants(example, folder):
    """The example and two copies with findings of their own: a tab and a
    misnamed file (a warning, a wrapped error), a C_comp line that is not a
    number."""
    text = open(example).read()
    tabbed = folder / "tabbed.ibs"
    tabbed.write_text(text.replace("[IBIS Ver]      3.2", "[IBIS Ver]\t3.2"))
    broken = folder / "broken.ibs"
    broken.write_text(text.replace("C_comp          3.0pF", "C_comp          three"))
    return [example, str(tabbed), str(broken)]
