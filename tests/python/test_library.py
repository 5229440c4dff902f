"""tavelin.Library: a component compiled on demand from an indexed IBIS
file, found again in the next session, listed; a newer source recompiled or
kept as the Python callback says."""
import os
import shutil

import pytest

import tavelin
from conftest import run_tool


@pytest.fixture
def models(tmp_path, tool, example):
    """A models folder with the example and its source index, and an empty cbx folder."""
    folder = tmp_path / "models"
    folder.mkdir()
    shutil.copy(example, folder)
    out, err, status = run_tool(tool, "index", str(folder))
    assert status == 0, err
    (folder / "models.idx").write_text(out)
    return folder / "models.idx", tmp_path / "cbx"


def test_a_component_is_compiled_found_and_listed(models):
    index, cbx = models
    with tavelin.Library(str(cbx)) as library:
        library.add_index(str(index))
        record = library.component("TVL8244")
        assert (record.name, record.status, record.status_text, record.ok) == ("TVL8244", "ok", "", True)
        assert record.source_file.endswith("models/tvl8244.ibs")
        assert record.pins[:3] == [("1", "VCC", "POWER", "no type (pwr, gnd or NC)"),
                                   ("2", "GND", "GND", "no type (pwr, gnd or NC)"),
                                   ("3", "DQ0", "IO33", "i/o")]
        assert record.param("RPin", pin=2) == pytest.approx(0.21)
        assert record.param("RPkg", corner="max") == pytest.approx(0.3)
        assert record.param("CompiledName") == "ib000000.cbs"
        assert record.param(9, pin=4) == "CLK"  # eIbisPrmSignalName
        assert record.param("RPin", pin=0) is None
        listing = record.sim_listing("3", corner="typ", label="U1.3", number=1)
        assert 'model "TVL8244" "IO33" 0' in listing and "R_Pin 0.21" in listing
        missing = library.component("NOSUCH")
        assert (missing.status, missing.status_text, missing.ok) == ("not_found", "IBIS source not found", False)
        with pytest.raises(ValueError, match="no record parameter named 'Rpin'"):
            record.param("Rpin")
    assert os.path.isfile(cbx / "ib000000.cbs") and os.path.isfile(cbx / "compibis.ibx")
    assert "Compiling IBIS model for component TVL8244" in open(cbx / "trel_rdr.txt").read()

    # The next session finds the compiled model without compiling again.
    with tavelin.Library(str(cbx)) as library:
        library.add_index(str(index))
        assert library.component("TVL8244").status == "ok"
    assert open(cbx / "trel_rdr.txt").read().count("Compiling IBIS model") == 1


def make_source_newer(index):
    source = index.parent / "tvl8244.ibs"
    later = os.stat(source).st_mtime + 3600
    os.utime(source, (later, later))


@pytest.mark.parametrize("answer, status, compiles", [(False, "out_of_date_kept", 1), (True, "ok", 2)])
def test_the_callback_keeps_or_recompiles_a_model_older_than_its_source(models, answer, status, compiles):
    index, cbx = models
    with tavelin.Library(str(cbx)) as library:
        library.add_index(str(index))
        assert library.component("TVL8244").ok
    make_source_newer(index)
    asked = []
    with tavelin.Library(str(cbx), recompile=lambda name: asked.append(name) or answer) as library:
        library.add_index(str(index))
        assert library.component("TVL8244").status == status
    assert asked[0] == "TVL8244"
    assert open(cbx / "trel_rdr.txt").read().count("Compiling IBIS model") == compiles


def test_a_callback_that_raises_or_reads_raises_after_the_library_is_done(models, example):
    index, cbx = models
    with tavelin.Library(str(cbx)) as library:
        library.add_index(str(index))
        library.component("TVL8244")
    make_source_newer(index)

    def read_meanwhile(name):
        # The reader is busy with the library: a read from here is refused.
        tavelin.check(example)

    library = tavelin.Library(str(cbx), recompile=read_meanwhile)
    library.add_index(str(index))
    with pytest.raises(RuntimeError, match="a read is in progress on this thread"):
        library.component("TVL8244")
    # The library stays usable.
    library.recompile = None
    assert library.component("TVL8244").status in ("ok", "out_of_date_kept")
    library.close()
