// The extension module _tamrel, which the package tamrel wraps: its classes, functions and the
// exception that carries the library's errors.
#include <pybind11/pybind11.h>

#include <cstring>

#include "common/RCError.h"
#include "common/Version.h"
#include "python/Bindings.h"

namespace tamrel::python {

py::str LenientStr(std::string_view text) {
  return py::reinterpret_steal<py::str>(
      PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace"));
}

}  // namespace tamrel::python

PYBIND11_MODULE(_tamrel, module) {
  namespace py = pybind11;
  module.doc() = "The compiled part of the tamrel package (import tamrel instead).";
  module.attr("__version__") = TAMREL_VERSION;

  // RCError: a library error with its fixed number (6 overflow, 9 index out of range, ...).
  static py::exception<tamrel::RCError> rcError(module, "RCError", PyExc_RuntimeError);
  rcError.attr("number") = 0;  // each raised error sets its own
  py::register_exception_translator([](std::exception_ptr raised) {
    try {
      if (raised) std::rethrow_exception(raised);
    } catch (const tamrel::RCError& e) {
      py::object error = py::handle(rcError.ptr())(e.what());
      error.attr("number") = e.Number();
      PyErr_SetObject(rcError.ptr(), error.ptr());
    } catch (const tamrel::python::FileError& e) {
      // OSError picks the subclass (FileNotFoundError, PermissionError, ...) from the number.
      py::object error = py::reinterpret_borrow<py::object>(PyExc_OSError)(e.error, std::strerror(e.error), e.path);
      PyErr_SetObject(PyExc_OSError, error.ptr());
    }
  });

  tamrel::python::BindItems(module);
  tamrel::python::BindDocument(module);
  tamrel::python::BindTranslation(module);
  tamrel::python::BindLayout(module);
}
