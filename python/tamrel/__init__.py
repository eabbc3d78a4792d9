"""Windows resource scripts (.rc) as an object model: load a script, walk and edit its items,
write it back, count its words, and extract and merge its translatable texts.

    import tamrel
    doc = tamrel.load("app.rc", code_page=1252)
    for dialog in doc.dialogs:
        print(dialog.id, dialog.caption)
"""
from __future__ import annotations

import dataclasses
import os
import warnings
from typing import Iterable, List, Mapping, Optional, Tuple, Union

from . import _tamrel
from ._tamrel import (
    Accelerator,
    AcceleratorKey,
    AcceleratorKeyList,
    AcceleratorList,
    Bitmap,
    BitmapList,
    Control,
    ControlList,
    Cursor,
    CursorList,
    DesignInfo,
    DesignInfoList,
    Dialog,
    DialogList,
    Document,
    Icon,
    IconList,
    Include,
    IncludeList,
    Menu,
    MenuEntryList,
    MenuItem,
    MenuList,
    RCError,
    StringEntry,
    StringTable,
    Unit,
    extract_units,
)

# Exchange files, the fit check, the fit, the preview and the language table.
from ._tamrel import (Catalog, CatalogUnit, Finding, FitChange, check, fit, languages, preview, read_po, read_xliff,
                      write_po, write_xliff)

__version__: str = _tamrel.__version__

__all__ = [
    "Accelerator", "AcceleratorKey", "AcceleratorKeyList", "AcceleratorList", "Bitmap", "BitmapList",
    "Control", "ControlList", "Cursor", "CursorList", "DesignInfo", "DesignInfoList", "Diagnostic",
    "Dialog", "DialogList", "Document", "Icon", "IconList", "Include", "IncludeList", "LoadError",
    "Menu", "MenuEntryList", "MenuItem", "MenuList", "MergeError", "MergeWarning", "RCError",
    "StringEntry", "StringTable", "Unit", "apply_translations", "extract_units", "load", "loads",
]
__all__ += ["Catalog", "CatalogUnit", "Finding", "FitChange", "check", "fit", "languages", "preview", "read_po", "read_xliff",
            "write_po", "write_xliff"]


@dataclasses.dataclass(frozen=True)
class Diagnostic:
    """One report about a script, as the host program prints it."""

    path: str
    line: Optional[int]        # 1-based; None when no line is known
    column: Optional[int]      # 1-based byte of the line; None when not known
    severity: str              # "error" or "warning"
    code: Optional[str]        # procedure and step, such as "RCpD-05"
    number: Optional[int]      # the library's error number, such as 9
    message: str               # "Index out of range", or the whole text of other reports
    statement: Optional[str]   # the statement or raw line the report names

    def __str__(self) -> str:
        where = self.path + ":" + (f"{self.line}:" if self.line else "")
        text = f"{where} {self.severity}: " + (f"{self.code}: " if self.code else "") + self.message
        if self.number is not None:
            text += f" ({self.number})"
        if self.statement is not None:
            text += f"\n{where}    at {self.statement}"
        return text


class LoadError(Exception):
    """A script that did not load. `diagnostics` holds every report of the load; the fields
    path, line, column, code, number, message and statement are those of the last error."""

    def __init__(self, diagnostics: Iterable[Diagnostic]):
        self.diagnostics: List[Diagnostic] = list(diagnostics)
        errors = [d for d in self.diagnostics if d.severity == "error"] or self.diagnostics
        self.diagnostic: Diagnostic = errors[-1]
        super().__init__(str(self.diagnostic))

    path = property(lambda self: self.diagnostic.path)
    line = property(lambda self: self.diagnostic.line)
    column = property(lambda self: self.diagnostic.column)
    code = property(lambda self: self.diagnostic.code)
    number = property(lambda self: self.diagnostic.number)
    message = property(lambda self: self.diagnostic.message)
    statement = property(lambda self: self.diagnostic.statement)


class MergeError(ValueError):
    """Translations that cannot be applied; `errors` says why (nothing is merged)."""

    def __init__(self, errors: Iterable[str]):
        self.errors: List[str] = list(errors)
        super().__init__("; ".join(self.errors))


class MergeWarning(UserWarning):
    """A translation that was left out: a context the script lacks."""


def _result(outcome: Tuple[Optional[Document], list]) -> Document:
    document, diagnostics = outcome
    if document is None:
        raise LoadError(Diagnostic(*d) for d in diagnostics)
    return document


def load(path: Union[str, os.PathLike], *, code_page: Optional[int] = None, strict: bool = False,
         language: str = "") -> Document:
    """Loads the script at `path`. `code_page` is the code page of the lines of an 8-bit script
    that no "#pragma code_page" covers. The script is read relaxed, as resource compilers read
    it; `strict` reads it in the library's one exact layout instead. Raises LoadError when the
    script does not load. `language` ("LANG_X[, SUBLANG_Y]") picks the language section taken from a
    script with several (default: that of the first dialog, menu or string table)."""
    return _result(_tamrel._load(os.fspath(path), code_page, strict, language))


def loads(data: bytes, name: str = "<memory>", *, code_page: Optional[int] = None,
          strict: bool = False, language: str = "") -> Document:
    """Loads a script given as bytes; `name` stands for its path in the model and in diagnostics."""
    return _result(_tamrel._loads(bytes(data), name, code_page, strict, language))


def apply_translations(document: Document, translations: Mapping[str, str], *, force: bool = False,
                       encoding: Optional[str] = None, language: Optional[str] = None) -> bytes:
    """The script's file with the given texts ({context: text}, contexts as extract_units gives
    them) put in place of its literals; every other byte stays. An empty text leaves its unit
    as it is. `force` applies texts whose printf conversions differ from the source's;
    `encoding` ("utf-8" or "utf-16le") converts the whole file, else it keeps its own.
    `language` (a locale tag such as "de-DE", or "LANG_GERMAN, SUBLANG_GERMAN"; languages() lists
    them) writes the translated section in that language: its LANGUAGE statements, code-page
    pragma and version information name it, and its 8-bit text is in the language's code page.
    Raises MergeError when nothing can be merged; a context the script lacks is a MergeWarning."""
    merged, errors, notes, _applied = _tamrel._apply(document, list(translations.items()), force, encoding,
                                                     language)
    for note in notes:
        warnings.warn(note, MergeWarning, stacklevel=2)
    if merged is None:
        raise MergeError(errors)
    return merged
