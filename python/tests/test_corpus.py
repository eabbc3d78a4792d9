# The public corpus through Python: each script loads or fails as the C++ corpus test expects,
# every text of a loaded script converts, and a merge without translations gives the file back.
import pytest

import tamrel
from conftest import CORPUS


def expectations():
    for line in (CORPUS / "expectations.tsv").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            name, outcome = line.split("\t")[:2]
            yield name, outcome


def texts(doc):
    def menu(m):
        for entry in m.items:
            yield entry.text
            if isinstance(entry, tamrel.Menu):
                yield from menu(entry)
    for dialog in doc.dialogs:
        yield dialog.caption
        yield from (control.text for control in dialog.controls)
    for m in doc.menus:
        yield from menu(m)
    yield from (entry.text for entry in doc.string_table)


@pytest.mark.parametrize("name, outcome", list(expectations()))
def test_corpus_script(name, outcome):
    path = CORPUS / name
    if outcome != "ok":
        with pytest.raises(tamrel.LoadError) as raised:
            tamrel.load(path, strict=True)
        assert raised.value.path == str(path) and raised.value.line
    # Read relaxed (the default), every corpus script loads.
    doc = tamrel.load(path, code_page=1252)
    assert all(isinstance(text, str) for text in texts(doc))
    assert len(doc.print_lines()) > 0
    assert tamrel.apply_translations(doc, {}) == path.read_bytes()
