# Finds libgettextpo (Debian: libgettextpo-dev), which ships neither a CMake package nor a
# pkg-config file, as the imported target GettextPo::GettextPo.
find_path(GETTEXTPO_INCLUDE_DIR gettext-po.h)
find_library(GETTEXTPO_LIBRARY gettextpo)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(GettextPo REQUIRED_VARS GETTEXTPO_LIBRARY GETTEXTPO_INCLUDE_DIR)
if(GettextPo_FOUND AND NOT TARGET GettextPo::GettextPo)
  add_library(GettextPo::GettextPo UNKNOWN IMPORTED)
  set_target_properties(GettextPo::GettextPo PROPERTIES IMPORTED_LOCATION "${GETTEXTPO_LIBRARY}"
                        INTERFACE_INCLUDE_DIRECTORIES "${GETTEXTPO_INCLUDE_DIR}")
endif()
mark_as_advanced(GETTEXTPO_INCLUDE_DIR GETTEXTPO_LIBRARY)
