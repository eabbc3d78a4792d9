# The model through Python: every kind of item of the sample, a UTF-16 script, texts through
# their line's code page, sequences, lookup by identifier and item lifetime.
import gc

import pytest

import tamrel
from conftest import CORPUS, SAMPLE, UTF16_SCRIPT, script


def test_sample_has_every_kind_of_item(sample):
    assert sample.path == str(SAMPLE)
    assert sample.encoding == "bytes"
    assert sample.line_count == 252
    assert [i.text for i in sample.includes] == ['"resource.h"', '"afxres.h"']
    assert [(i.id, i.path, i.path_raw) for i in sample.icons] == [
        ("IDR_MAINFRAME", "res\\Notepad.ico", b'"res\\\\Notepad.ico"'),
        ("IDR_NOTETYPE", "res\\NoteDoc.ico", b'"res\\\\NoteDoc.ico"')]
    assert [b.id for b in sample.bitmaps] == ["IDR_MAINFRAME", "IDB_SPLASH"]
    assert len(sample.cursors) == 1 and sample.cursors[0].item_type == "CURSOR"
    assert len(sample.design_infos) == 0
    assert [d.id for d in sample.dialogs] == ["IDD_ABOUTBOX", "IDD_FIND", "IDD_OPTIONS"]
    assert sample.total_menu_items == 20
    assert sample.totals() == {"pieces": 147, "words": 146, "controls": 20, "accelerators": 9, "menu_items": 20}
    assert sample.word_count() == 147 and sample.word_count(words=True) == 146


def test_dialog_and_controls(sample):
    find = sample.dialogs.by_id("IDD_FIND")
    assert (find.item_type, find.caption, find.caption_raw) == ("DIALOGEX", "Find", b'"Find"')
    assert (find.font_name, find.font_size) == ("MS Shell Dlg", 8)
    assert "WS_CAPTION" in find.style
    assert find.line < find.last_line
    assert len(find.controls) == 9
    case = find.controls.by_id("IDC_MATCH_CASE")
    assert (case.item_type, case.control_type, case.text, case.text_raw) == (
        "CONTROL", "Button", "Match &case", b'"Match &case"')
    assert case.style == ["BS_AUTOCHECKBOX", "WS_TABSTOP"]
    assert case.rel_index == 4 and case.line > find.line
    assert [c.id for c in find.controls][-2:] == ["IDOK", "IDCANCEL"]
    assert find.controls[-1].text == "Cancel"
    assert find.word_count() == 7


def test_menus_popups_and_items(sample):
    menu = sample.menus.by_id("IDR_MAINFRAME")
    assert not menu.is_popup
    popups = list(menu.items)
    assert [p.text for p in popups] == ["&File", "&Edit", "&Help"]
    edit = popups[1]
    assert isinstance(edit, tamrel.Menu) and edit.is_popup
    insert = edit.items[-1]
    assert isinstance(insert, tamrel.Menu) and [i.text for i in insert.items] == ["&Date and Time", "&Symbol..."]
    new = popups[0].items.by_id("id_file_new")
    assert isinstance(new, tamrel.MenuItem)
    assert (new.command, new.text, new.text_raw) == ("ID_FILE_NEW", "&New\tCtrl+N", b'"&New\\tCtrl+N"')
    separator = popups[0].items[4]
    assert separator.is_separator and separator.text == ""
    with pytest.raises(ValueError):
        separator.text = "x"


def test_menuex_popups_and_items_keep_their_arguments(tmp_path):
    path = tmp_path / "menuex.rc"
    path.write_bytes(script("IDR_M MENUEX", "BEGIN", '  POPUP "&File", IDM_FILE, MFT_STRING, , 5', "  BEGIN",
                            '    MENUITEM "", , MFT_SEPARATOR', "  END", "END"))
    popup = tamrel.load(path).menus[0].items[0]
    assert (popup.extended, popup.popup_id, popup.type, popup.state, popup.help_id) == \
        (True, "IDM_FILE", "MFT_STRING", "", "5")
    item = popup.items[0]
    assert (item.extended, item.command, item.type, item.state, item.options, item.is_separator) == \
        (True, "", "MFT_SEPARATOR", "", "", True)


def test_accelerators_and_string_table(sample):
    keys = sample.accelerators.by_id("IDR_MAINFRAME").keys
    assert len(keys) == 9
    assert (keys[0].key, keys[0].command, keys[0].item_type, keys[0].modifier) == ('"N"', "ID_FILE_NEW", "VIRTKEY", "CONTROL")
    assert keys.by_id("ID_PREV_PANE").modifier == "SHIFT"
    assert len(sample.string_table) == 18
    entry = sample.string_table.by_id("IDR_NOTETYPE")
    assert entry.text.startswith("\nNote\nNote\n") and entry.text_raw.startswith(b'"\\nNote')


@pytest.mark.parametrize("lookup, error", [
    (lambda d: d.dialogs.by_id("IDD_NONE"), KeyError),
    (lambda d: d.dialogs[3], IndexError),
    (lambda d: d.dialogs[-4], IndexError),
    (lambda d: d.string_table.by_id("IDS_NONE"), KeyError),
])
def test_missing_items_raise_python_errors(sample, lookup, error):
    with pytest.raises(error):
        lookup(sample)


def test_items_keep_their_document_alive():
    dialog = tamrel.load(SAMPLE).dialogs[0]
    controls = dialog.controls
    gc.collect()
    assert dialog.caption == "About Notepad"
    assert [c.id for c in controls][-1] == "IDOK"


def test_utf16_script_texts_are_unicode():
    doc = tamrel.load(UTF16_SCRIPT)
    assert doc.encoding == "utf-16le"
    texts = [e.text for e in doc.string_table] + [d.caption for d in doc.dialogs]
    assert any(any(ord(ch) > 0x7F for ch in text) for text in texts)
    # The raw bytes are the model's: UTF-8 for a Unicode script.
    entry = next(e for e in doc.string_table if any(ord(ch) > 0x7F for ch in e.text))
    assert entry.text_raw.decode("utf-8").strip('L"') .startswith(entry.text[:1])
    assert len(doc.print_lines()) > 0


CP1252 = script("STRINGTABLE", "BEGIN", '    IDS_X "Gr\xfc\xdfe"', "END")


@pytest.mark.parametrize("data, code_page, expected", [
    (CP1252, 1252, "Grüße"),
    (script("#pragma code_page(1252)") + CP1252, None, "Grüße"),
    (script("#pragma code_page(1251)") + CP1252, None, "GrьЯe"),
])
def test_texts_decode_through_the_code_page_of_their_line(data, code_page, expected):
    doc = tamrel.loads(data, "cp.rc", code_page=code_page)
    assert doc.string_table[0].text == expected


def test_text_without_a_code_page_raises_but_bytes_remain():
    entry = tamrel.loads(CP1252).string_table[0]
    assert entry.text_raw == b'"Gr\xfc\xdfe"'
    with pytest.raises(ValueError, match="line 3"):
        entry.text


def test_assigned_text_is_encoded_in_the_line_code_page():
    doc = tamrel.loads(CP1252, code_page=1252)
    entry = doc.string_table[0]
    entry.text = 'Straße "€"\n'
    assert entry.text_raw == b'"Stra\xdfe ""\x80""\\n"'
    assert entry.text == 'Straße "€"\n'
    with pytest.raises(ValueError):
        entry.text = "日本"  # not in code page 1252
    assert entry.text == 'Straße "€"\n'


def test_relaxed_model_has_language_sections_version_and_raw_resources():
    relaxed = CORPUS.parent / "relaxed"
    german = tamrel.load(relaxed / "languages.rc", language="LANG_GERMAN")
    assert german.language == "LANG_GERMAN"
    assert [(m.id, m.section_language) for m in german.menus] == [("IDR_MAIN", "LANG_GERMAN, SUBLANG_GERMAN"),
                                                                  ("IDR_EX", "LANG_GERMAN, SUBLANG_GERMAN")]
    assert [s[0] for s in german.skipped_sections] == ["LANG_ENGLISH, SUBLANG_ENGLISH_US"] * 3
    assert [(r.item_type, r.skipped) for r in german.raw_resources] == [
        ("BITMAP", True), ("MENU", True), ("STRINGTABLE", True), ("TOOLBAR", True), ("DIALOGEX", True),
        ("TOOLBAR", False), ("MENU", True), ("ACCELERATORS", True)]
    version = tamrel.load(relaxed / "version_info.rc").version_infos
    assert len(version) == 1 and version[0].translation == [("0x409", "1200"), ("0x407", "1200")]
    assert (version[0].file_version, version[0].file_flags) == ("1,0,0,1", "0x1L")
    assert version[0].strings["040704b0"] == {"FileDescription": '"Kritzel"'}
