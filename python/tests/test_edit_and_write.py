# Editing texts and writing the script: the streaming writer to a file, line ends and
# encodings, the regenerated lines, and failures that leave no file behind.
import pytest

import tamrel
from conftest import SAMPLE, UTF16_SCRIPT, script


def test_edit_a_caption_write_and_reload(sample, tmp_path):
    dialog = sample.dialogs.by_id("IDD_ABOUTBOX")
    dialog.caption = 'About "Notepad" 2'
    dialog.controls.by_id("IDOK").text = "Close"
    out = tmp_path / "edited.rc"
    sample.write(str(out))
    again = tamrel.load(out)
    assert again.dialogs.by_id("IDD_ABOUTBOX").caption == 'About "Notepad" 2'
    assert again.dialogs.by_id("IDD_ABOUTBOX").caption_raw == b'"About ""Notepad"" 2"'
    assert again.dialogs.by_id("IDD_ABOUTBOX").controls.by_id("IDOK").text == "Close"
    assert [d.caption for d in again.dialogs][1:] == ["Find", "Options"]


@pytest.mark.parametrize("eol, ending", [("crlf", b"\r\n"), ("lf", b"\n")])
def test_write_gives_the_printed_lines(sample, tmp_path, eol, ending):
    out = tmp_path / "out.rc"
    sample.write(str(out), eol=eol)
    data = out.read_bytes()
    assert data.endswith(ending)
    if eol == "lf":
        assert b"\r" not in data
    assert data.split(ending)[:-1] == sample.print_lines(raw=True)
    assert [line.encode("ascii") for line in sample.print_lines()] == sample.print_lines(raw=True)


def test_write_keeps_or_converts_the_encoding(tmp_path):
    doc = tamrel.load(UTF16_SCRIPT)
    same, utf8 = tmp_path / "same.rc", tmp_path / "utf8.rc"
    doc.write(str(same))
    doc.write(str(utf8), eol="lf", encoding="utf-8")
    assert same.read_bytes().startswith(b"\xff\xfe")
    assert same.read_bytes().decode("utf-16").replace("\r\n", "\n") == utf8.read_bytes().decode("utf-8")
    assert tamrel.load(same).encoding == "utf-16le"


def test_write_to_utf8_converts_each_line_from_its_code_page(tmp_path):
    doc = tamrel.loads(script("#pragma code_page(1252)", "STRINGTABLE", "BEGIN", '    IDS_X "Gr\xfc\xdfe"', "END"))
    out = tmp_path / "u.rc"
    doc.write(str(out), encoding="utf-8")
    assert '"Grüße"' in out.read_bytes().decode("utf-8")
    doc.write(str(out))
    assert b'"Gr\xfc\xdfe"' in out.read_bytes()


@pytest.mark.parametrize("kwargs, error", [
    ({"eol": "cr"}, ValueError),
    ({"encoding": "latin-1"}, ValueError),
])
def test_write_refuses_unknown_options(sample, tmp_path, kwargs, error):
    with pytest.raises(error):
        sample.write(str(tmp_path / "x.rc"), **kwargs)
    assert list(tmp_path.iterdir()) == []


def test_failed_write_leaves_no_file_and_keeps_an_existing_one(tmp_path):
    with pytest.raises(FileNotFoundError):
        tamrel.load(SAMPLE).write(str(tmp_path / "missing" / "x.rc"))
    # A text that cannot be converted stops the writing; the old file stays as it was.
    doc = tamrel.loads(script("STRINGTABLE", "BEGIN", '    IDS_X "Gr\xfc\xdfe"', "END"))
    out = tmp_path / "old.rc"
    out.write_bytes(b"old")
    with pytest.raises(ValueError, match="no code page"):
        doc.write(str(out), encoding="utf-8")
    assert out.read_bytes() == b"old"
    # The complete file cannot take the place of a directory.
    (tmp_path / "dir.rc").mkdir()
    with pytest.raises(IsADirectoryError):
        tamrel.load(SAMPLE).write(str(tmp_path / "dir.rc"))
    assert sorted(p.name for p in tmp_path.iterdir()) == ["dir.rc", "old.rc"]
