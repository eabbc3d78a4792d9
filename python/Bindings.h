// What the binding files share: the handles Python holds on model items and lists, and the
// functions that register each group of classes in the module.
//
// A handle is the item's address and shared ownership of its document, so an item stays valid
// however long Python keeps it, also after the document object itself is gone. The module adds
// and removes no items, so the addresses of items inside the document's collections never move.
#pragma once

#include <pybind11/pybind11.h>

#include <memory>
#include <string>
#include <string_view>

#include "common/Collection.h"
#include "python/ModuleDocument.h"

namespace tamrel::python {

namespace py = pybind11;

template <class T>
struct ItemRef {
  std::shared_ptr<ModuleDocument> document;
  T* item;
};

template <class T>
struct ListRef {
  std::shared_ptr<ModuleDocument> document;
  Collection<T>* list;
};

// A file the module could not open or write: OSError(errno, reason, path) in Python.
struct FileError {
  int error;
  std::string path;
};

// The model's items, their lists and the translation unit.
void BindItems(py::module_& module);
// Document, load, write, counts, extraction and merge.
void BindDocument(py::module_& module);
// Exchange files: PO and XLIFF written from a document and read as a Catalog.
void BindTranslation(py::module_& module);
// The fit check's findings and the preview page.
void BindLayout(py::module_& module);

// A str from text that is meant to be UTF-8, any invalid byte replaced by U+FFFD (diagnostics
// quote raw script lines, which may be in any code page).
py::str LenientStr(std::string_view text);

}  // namespace tamrel::python
