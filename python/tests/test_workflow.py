# The whole workflow from Python: PO and XLIFF out and back, the merge of what came back, the
# fit check on the result, the preview and the fit.
import pytest

import tamrel
from conftest import SOURCE_DIR


@pytest.mark.parametrize("write, read, name", [(tamrel.write_po, tamrel.read_po, "de.po"),
                                               (tamrel.write_xliff, tamrel.read_xliff, "de.xlf")])
def test_exchange_merge_check_preview(sample, tmp_path, write, read, name):
    german = {"IDD_FIND|IDOK": "Nächste &suchen", "IDD_FIND|CAPTION": "Suchen"}
    write(sample, tmp_path / name, german, target_lang="de")
    catalog = read(tmp_path / name)
    assert len(catalog) == 57 and catalog.translations() == german
    unit = next(u for u in catalog.units if u.context == "IDD_FIND|IDOK")
    assert (unit.source, unit.target, unit.fuzzy) == ("&Find Next", "Nächste &suchen", False)

    assert tamrel.check(sample) == []
    merged = tamrel.loads(tamrel.apply_translations(sample, catalog.translations()), "de.rc")
    findings = tamrel.check(merged)
    assert [(f.kind, f.dialog_id, f.item_id, f.line) for f in findings] == [("overflow", "IDD_FIND", "IDOK", 165)]
    assert findings[0].have_du == 50 and 54 < findings[0].need_du <= 55  # the message rounds up
    assert findings[0].message == 'IDD_FIND/IDOK "Nächste suchen" needs 55 du, has 50 (10%)'

    page = tamrel.preview(merged, dialog="idd_find")
    assert page.count("<svg") == 1 and "Nächste suchen" in page and "IDD_ABOUTBOX" not in page
    with pytest.raises(KeyError):
        tamrel.preview(merged, dialog="IDD_NONE")

    changes, data = tamrel.fit(merged)
    assert [(c.item_id, c.line, c.before, c.after, c.moved) for c in changes] == [("IDOK", 165, 50, 55, 0)]
    assert tamrel.check(tamrel.loads(data, "fitted.rc")) == []
    with pytest.raises(KeyError):
        tamrel.fit(merged, dialog="IDD_NONE")


def test_broken_exchange_files(tmp_path):
    (tmp_path / "bad.po").write_text('msgid "a"\nmsgstr\n')
    (tmp_path / "bad.xlf").write_text("<xliff version='1.2'/>")
    for read, path in [(tamrel.read_po, tmp_path / "bad.po"), (tamrel.read_xliff, tmp_path / "bad.xlf")]:
        with pytest.raises(ValueError):
            read(path)
    with pytest.raises(FileNotFoundError):
        tamrel.read_xliff(tmp_path / "none.xlf")
    assert tamrel.check(tamrel.load(SOURCE_DIR / "tests" / "data" / "layout" / "overflow.rc"))
