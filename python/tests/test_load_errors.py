# A failed load raises LoadError with the diagnostics of the host program: path, line, code,
# number, message and statement.
import pytest

import tamrel
from conftest import CORPUS, script


def test_missing_file():
    with pytest.raises(tamrel.LoadError) as raised:
        tamrel.load("no/such/script.rc")
    e = raised.value
    assert (e.path, e.line, e.code, e.number, e.message, e.statement) == (
        "no/such/script.rc", None, "RCrrf-00", 53, "File not found", None)
    assert str(e) == "no/such/script.rc: error: RCrrf-00: File not found (53)"
    # Binary data is refused unread, as the host program refuses it.
    with pytest.raises(tamrel.LoadError) as raised:
        tamrel.loads(b"MZ\x90\x00\x03\x00", "app.exe")
    assert str(raised.value) == "app.exe: error: not a resource script (binary data)"


def test_report_names_line_and_statement():
    with pytest.raises(tamrel.LoadError) as raised:
        tamrel.loads(script('A BITMAP "a.bmp"', 'A BITMAP "b.bmp"'), "dup.rc")
    e = raised.value
    assert (e.path, e.line, e.code, e.number, e.statement) == ("dup.rc", 2, "RCpB-00", 457, 'A BITMAP "b.bmp"')
    assert e.message == "Key is already associated with an element of this collection"
    assert e.diagnostics == [e.diagnostic] and e.diagnostic.severity == "error"


def test_message_box_of_the_dialog_reader():
    path = CORPUS / "ATL_Advanced_AtlTraceTool_tracetool.rc"
    with pytest.raises(tamrel.LoadError) as raised:
        tamrel.load(path, strict=True)
    e = raised.value
    assert e.message == ("Unable to process: IDD_TRACETOOL_DIALOG font information (found "
                         + e.statement.split()[0] + "; the reader accepts STYLE, an optional CAPTION, then FONT)")
    assert e.path == str(path) and e.line > 0 and e.statement
    assert (e.code, e.number) == (None, None)


def test_library_errors_carry_their_number():
    # Counts are 16-bit: 40,000 words raise the library's overflow error (6).
    doc = tamrel.loads(script("STRINGTABLE", "BEGIN", '    IDS_A "a"', '    IDS_B "b"', "END"))
    doc.string_table[0].text = " ".join(["word"] * 20000)
    doc.string_table[1].text = " ".join(["word"] * 20000)
    assert doc.string_table[0].word_count(words=True) == 20000
    with pytest.raises(tamrel.RCError) as raised:
        doc.word_count(words=True)
    assert raised.value.number == 6 and isinstance(raised.value, RuntimeError)
