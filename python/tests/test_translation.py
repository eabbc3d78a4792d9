# Extract, translate, apply and reload: the merged file is the original with only the
# translated literals changed.
import warnings

import pytest

import tamrel
from conftest import SAMPLE, UTF16_SCRIPT


def test_extract_translate_apply_and_reload(sample):
    units = tamrel.extract_units(sample)
    assert len(units) == 57
    by_context = {u.context: u for u in units}
    caption = by_context["IDD_ABOUTBOX|CAPTION"]
    assert (caption.kind, caption.text, caption.problem) == ("caption", "About Notepad", None)
    assert by_context["IDR_MAINFRAME|ID_FILE_NEW"].text == "&New\tCtrl+N"

    merged = tamrel.apply_translations(sample, {
        "IDD_ABOUTBOX|CAPTION": "Über Notepad",
        "IDR_MAINFRAME|ID_FILE_NEW": "&Neu\tStrg+N",
    })
    original = SAMPLE.read_bytes()
    changed = [(a, b) for a, b in zip(original.splitlines(True), merged.splitlines(True)) if a != b]
    assert len(changed) == 2 and len(merged.splitlines()) == len(original.splitlines())

    again = tamrel.loads(merged, "merged.rc", code_page=1252)
    assert again.dialogs.by_id("IDD_ABOUTBOX").caption == "Über Notepad"
    assert again.menus[0].items[0].items.by_id("ID_FILE_NEW").text == "&Neu\tStrg+N"
    assert again.dialogs.by_id("IDD_FIND").caption == "Find"


def test_unknown_context_warns_and_is_left_out(sample):
    with pytest.warns(tamrel.MergeWarning):
        merged = tamrel.apply_translations(sample, {"IDD_NONE|CAPTION": "x"})
    assert merged == SAMPLE.read_bytes()


def test_a_unit_left_out_for_its_bytes_still_reads():
    doc = tamrel.loads(b'STRINGTABLE\r\nBEGIN\r\n    IDS_A "\xe9t\xe9"\r\nEND\r\n')
    (unit,) = tamrel.extract_units(doc)
    assert (unit.text, unit.problem) == ("\ufffdt\ufffd", "non-ASCII text and no code page")


def test_changed_printf_conversions_refuse_the_merge():
    doc = tamrel.loads(b'STRINGTABLE\r\nBEGIN\r\n    IDS_N "%d files"\r\nEND\r\n')
    with pytest.raises(tamrel.MergeError) as raised:
        tamrel.apply_translations(doc, {"STRINGTABLE|IDS_N": "%s Dateien"})
    assert raised.value.errors
    forced = tamrel.apply_translations(doc, {"STRINGTABLE|IDS_N": "%s Dateien"}, force=True)
    assert b'"%s Dateien"' in forced


def test_unicode_script_stays_utf16():
    doc = tamrel.load(UTF16_SCRIPT)
    unit = tamrel.extract_units(doc)[0]
    merged = tamrel.apply_translations(doc, {unit.context: "Ünïcödé ☃"})
    assert merged.startswith(b"\xff\xfe")
    again = tamrel.loads(merged)
    assert "Ünïcödé ☃" in [u.text for u in tamrel.extract_units(again)]
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        assert tamrel.apply_translations(doc, {}) == UTF16_SCRIPT.read_bytes()


def test_merge_works_on_the_file_as_loaded(sample):
    # Edits made in the model are not in the merged file, and a unit whose text was edited
    # cannot be translated in place.
    sample.dialogs.by_id("IDD_ABOUTBOX").caption = "Edited"
    merged = tamrel.apply_translations(sample, {"IDD_FIND|CAPTION": "Suchen"})
    assert b'"Suchen"' in merged and b"Edited" not in merged
    with pytest.raises(tamrel.MergeError, match="IDD_ABOUTBOX"):
        tamrel.apply_translations(sample, {"IDD_ABOUTBOX|CAPTION": "Info"})


def test_apply_into_a_language(sample):
    merged = tamrel.apply_translations(sample, {"IDD_FIND|CAPTION": "検索"}, language="ja")
    assert b"LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT" in merged and b"#pragma code_page(932)" in merged
    assert b'BLOCK "041104B0"' in merged and b"0x411, 1200" in merged
    assert tamrel.loads(merged).dialogs.by_id("IDD_FIND").caption == "検索"
    with pytest.raises(ValueError, match="xx-YY"):
        tamrel.apply_translations(sample, {}, language="xx-YY")
    german = [row for row in tamrel.languages() if row["tag"] == "de-DE"]
    assert german == [{"tag": "de-DE", "aliases": [], "lang": "LANG_GERMAN", "sublang": "SUBLANG_GERMAN",
                       "statement": "LANG_GERMAN, SUBLANG_GERMAN", "id": 0x407, "code_page": 1252}]
