#!/usr/bin/python3
"""tamrel-rc beside two peer tools on the public corpus.

  peers.py rc2po TAMREL_RC CORPUS EXCEPTIONS
      Every text rc2po extracts from a script is among the unit texts `tamrel-rc extract` gives
      for it, but for the rows of EXCEPTIONS (script, text, reason; tab-separated, the text with
      \\n, \\t and \\\\ escaped).
  peers.py llvm-rc TAMREL_RC CORPUS EXPECTATIONS
      Each script, as it is, as a relaxed `tamrel-rc print` writes it and, where the original
      compiles, merged into German with `merge --language de-DE` compiles with llvm-rc, and the
      German one's translated resources carry the German language ID, but for the rows of
      EXPECTATIONS (script, "original", "printed" or "german", why not; tab-separated). A printed
      or German script that fails where its original compiles is a fault of the writer or merge.

The compile harness (Compiler, ResLanguages) is meant to be imported by other checks as well.
Runs under the system Python, which has translate-toolkit's modules.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import weakref

MINGW_INCLUDE = "/usr/share/mingw-w64/include"

# The smallest files llvm-rc reads for each kind of file resource: a 1x1 icon, cursor and bitmap.
_DIB = struct.pack("<IiiHHIIiiII", 40, 1, 2, 1, 32, 0, 8, 0, 0, 0, 0) + bytes(8)
_ICON = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 1, 1, 0, 0, 1, 32, len(_DIB), 22) + _DIB
_CURSOR = _ICON[:2] + b"\x02" + _ICON[3:]
_BITMAP = b"BM" + struct.pack("<IHHI", 14 + 40 + 4, 0, 0, 54) + _DIB[:8] + struct.pack("<i", 1) + _DIB[12:44]
_STAND_INS = {".ico": _ICON, ".cur": _CURSOR, ".bmp": _BITMAP}
# Words that open a line of a string table and are no entry's ID.
_TABLE_WORDS = {"STRINGTABLE", "BEGIN", "END", "LANGUAGE", "VERSION", "CHARACTERISTICS", "L"}


def _read_text(path):
    data = open(path, "rb").read()
    if data[:2] in (b"\xff\xfe", b"\xfe\xff"):
        return data.decode("utf-16")
    return data.decode("latin-1")


class Compiler:
    """Compiles scripts with llvm-rc, each in a scratch folder of its own, removed with the
    compiler. The script's own headers beside it are copied in; any other it includes that
    mingw-w64 lacks is an empty stand-in. Every literal that looks like a file name gets a file
    (a 1x1 icon, cursor or bitmap by its extension, else empty), and every name that no header
    defines and that starts with ID, holds ID or opens a string-table line gets a number of its
    own. A UTF-16 script is given as UTF-8; a script whose "#pragma code_page" lines name one of
    1252 and 65001 is read in it (llvm-rc reads no pragma)."""

    def __init__(self):
        self.work = tempfile.mkdtemp(prefix="peers-")
        weakref.finalize(self, shutil.rmtree, self.work, True)
        out = subprocess.run(["cpp", "-dM", "-DRC_INVOKED", "-D_WIN32", "-I", MINGW_INCLUDE, "-include", "winresrc.h",
                              "/dev/null"],
                             capture_output=True, text=True).stdout
        self.known = set(re.findall(r"^#define (\w+)", out, re.M))

    def compile(self, script_dir, name, text, data=None):
        """Compiles `data` (the bytes of the script `name` from `script_dir`; without them, `text`
        in Latin-1), naming headers and files as `text` does: (ok, llvm-rc's messages, .res path)."""
        folder = tempfile.mkdtemp(dir=self.work)
        path = os.path.join(folder, name)
        data = data if data is not None else text.encode("latin-1")
        # llvm-rc reads neither UTF-16 nor "#pragma code_page": a UTF-16 script is given as UTF-8,
        # and a script whose pragmas name one code page it knows is read in that one.
        pages = set(re.findall(r"^\s*#\s*pragma\s+code_page\s*\(\s*(\d+)\s*\)", text, re.M))
        if data[:2] in (b"\xff\xfe", b"\xfe\xff"):
            data, pages = data.decode("utf-16").encode("utf-8"), {"65001"}
        open(path, "wb").write(data)
        defined = set(re.findall(r"^\s*#\s*define\s+(\w+)", text, re.M))
        for header in re.findall(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', text, re.M):
            local = os.path.join(script_dir, header.replace("\\", "/"))
            if os.path.exists(local):
                defined |= set(re.findall(r"^\s*#\s*define\s+(\w+)", _read_text(local), re.M))
                target = os.path.join(folder, header)
                os.makedirs(os.path.dirname(target), exist_ok=True)
                open(target, "wb").write(open(local, "rb").read())
            elif not os.path.exists(os.path.join(MINGW_INCLUDE, header)):
                for name in {header, header.replace("\\", "/")}:  # the preprocessor may read either
                    os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
                    open(os.path.join(folder, name), "wb").close()
        # Outside the directives (which name headers and the macros they test), any literal that
        # looks like a file name may name one; a stand-in more does no harm.
        statements = re.sub(r"^\s*#.*$", "", text, flags=re.M)
        for reference in set(re.findall(r'"([^"\s<>|*?%]+\.[A-Za-z0-9]{1,8})"', statements)):
            for name in {reference, reference.replace("\\\\", "\\"), reference.replace("\\\\", "/")}:
                target = os.path.join(folder, name)
                if not os.path.exists(target) and not os.path.exists(os.path.join(MINGW_INCLUDE, name)):
                    os.makedirs(os.path.dirname(target), exist_ok=True)
                    open(target, "wb").write(_STAND_INS.get(os.path.splitext(name)[1].lower(), b""))
        names = re.findall(r"\b(?:AFX_)?ID\w*|\b[A-Z_][A-Z0-9_]*ID[A-Z0-9_]*\b", statements)
        for table in re.findall(r"^\s*STRINGTABLE\b.*?^\s*(?:END|\})\s*$", statements, re.M | re.S):
            names += set(re.findall(r"^\s*([A-Za-z_]\w*)", table, re.M)) - _TABLE_WORDS
        ids = sorted(set(names) - self.known - defined)
        res = path + ".res"
        command = ["llvm-rc", "-D_WIN32", "-I", folder, "-I", MINGW_INCLUDE, "-FO", res]
        if len(pages) == 1 and pages <= {"1252", "65001"}:
            command += ["-C", pages.pop()]
        command += ["-D%s=%d" % (ident, 100 + n) for n, ident in enumerate(ids)]
        run = subprocess.run(command + ["--", path], capture_output=True, text=True, errors="replace", cwd=folder)
        lines = [line.strip() for line in (run.stderr + run.stdout).replace(folder + os.sep, "").splitlines()]
        return run.returncode == 0, " / ".join(line for line in lines if line)[:300], res


def ResLanguages(res_path):
    """The (type, name, language ID) of every resource in a compiled .res file."""
    data = open(res_path, "rb").read()
    found, at = [], 0

    def name_or_id(at):
        if data[at:at + 2] == b"\xff\xff":
            return struct.unpack_from("<H", data, at + 2)[0], at + 4
        end = at
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[at:end].decode("utf-16-le"), end + 2

    while at + 8 <= len(data):
        size, header = struct.unpack_from("<II", data, at)
        kind, after = name_or_id(at + 8)
        name, after = name_or_id(after)
        after = (after + 3) & ~3
        language = struct.unpack_from("<H", data, after + 6)[0]
        if size or kind != 0:
            found.append((kind, name, language))
        at = (at + header + size + 3) & ~3
    return found


def _unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def _as_decoded(text):
    """rc2po's text as extract gives it: rc2po leaves a doubled quote as written, and the \\a
    escape of a menu item's shortcut (character 8) too, which the catalog writes as \\b, an
    escape that translate-toolkit's PO reader leaves as written."""
    return text.replace('""', '"').replace("\\a", "\\b")


def _rows(path):
    for line in open(path, encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            yield line.rstrip("\n").split("\t")


def _scripts(corpus):
    return sorted(f for f in os.listdir(corpus) if f.lower().endswith(".rc"))


def rc2po(tool, corpus, exceptions):
    from translate.storage import po, rc

    allowed = {(row[0], _unescape(row[1])): row[2] for row in _rows(exceptions)}
    failures, seen = [], set()
    with tempfile.TemporaryDirectory() as work:
        for script in _scripts(corpus):
            path = os.path.join(corpus, script)
            try:
                theirs = {_as_decoded(u.source) for u in rc.rcfile(open(path, "rb")).units if u.source}
            except Exception as error:  # rc2po refuses the script: nothing to compare
                print("rc2po cannot read %s: %s" % (script, error))
                continue
            out = os.path.join(work, "units.pot")
            run = subprocess.run([tool, "extract", "-q", "--code-page", "1252", "--skip-unconvertible", "-o", out,
                                  path], capture_output=True, text=True, errors="replace")
            ours = {u.source for u in po.pofile(open(out, "rb")).units} if run.returncode == 0 else set()
            for text in sorted(theirs - ours):
                seen.add((script, text))
                if (script, text) not in allowed:
                    failures.append("%s: rc2po extracts %r, tamrel-rc does not" % (script, text))
    for key in allowed:
        if key not in seen:
            failures.append("%s: %r is extracted now; remove its exception" % key)
    return failures


GERMAN = 0x0407
# The resource types that hold units: menus, dialogs, string tables and version information.
TRANSLATED = {4, 5, 6, 16}


def _german(tool, compiler, corpus, script, text, original_res):
    """The script merged into German (every unit translated as itself: msgen of its template)
    compiles, and every resource holding units (menu, dialog, string table, version) that the
    original has in the language most of its resources are in now has the German language ID;
    the others keep theirs: (ok, why not)."""
    path = os.path.join(corpus, script)
    with tempfile.TemporaryDirectory() as work:
        pot, po = os.path.join(work, "units.pot"), os.path.join(work, "de.po")
        for command in ([tool, "extract", "-q", "--skip-unconvertible", "-o", pot, path], ["msgen", "--force-po", "-o", po, pot]):
            if subprocess.run(command, capture_output=True).returncode != 0:
                return False, "%s fails" % " ".join(command[:2])
        merged = subprocess.run([tool, "merge", "-q", path, po, "--language", "de-DE"], capture_output=True)
        if merged.returncode != 0:
            return False, "merge --language de-DE fails: " + merged.stderr.decode("utf-8", "replace")[:200]
    ok, message, res = compiler.compile(corpus, script, text, merged.stdout)
    if not ok:
        return False, message
    before = {(kind, name): language for kind, name, language in ResLanguages(original_res)}
    languages = [language for language in before.values() if language & 0x3FF]
    source = max(set(languages), key=languages.count) if languages else None
    for kind, name, language in ResLanguages(res):
        if kind not in TRANSLATED:
            continue
        want = GERMAN if before.get((kind, name)) == source else before.get((kind, name), language)
        if language != want:
            return False, "resource %s %s has language 0x%04x, not 0x%04x" % (kind, name, language, want)
    return True, ""


def llvm_rc(tool, corpus, expectations):
    """Per script: the original, its relaxed print and, where the original compiles, the script
    merged into German ("german")."""
    expected = {(row[0], row[1]): row[2] for row in _rows(expectations)}
    compiler, failures, seen = Compiler(), [], set()
    for script in _scripts(corpus):
        path = os.path.join(corpus, script)
        text = _read_text(path)
        printed = subprocess.run([tool, "print", "-q", path], capture_output=True)
        original = compiler.compile(corpus, script, text, open(path, "rb").read())
        results = {"original": original[:2],
                   "printed": compiler.compile(corpus, script, text, printed.stdout)[:2]
                   if printed.returncode == 0 else (False, "tamrel-rc print fails")}
        if original[0]:
            results["german"] = _german(tool, compiler, corpus, script, text, original[2])
        for stage, (ok, message) in results.items():
            if ok:
                continue
            seen.add((script, stage))
            if (script, stage) not in expected:
                failures.append("%s\t%s\t%s" % (script, stage, message))
    for key in expected:
        if key not in seen:
            failures.append("%s: the %s compiles now; remove its row" % key)
    return failures


if __name__ == "__main__":
    command, tool, corpus, data = sys.argv[1:5]
    found = (rc2po if command == "rc2po" else llvm_rc)(tool, corpus, data)
    for failure in found:
        print(failure)
    sys.exit(1 if found else 0)
