# Finds Debian's QR code library for C++ (libqrcodegencpp-dev: qrcodegen/qrcodegen.hpp and
# libqrcodegencpp) and gives it as one target, QrCodeGen::QrCodeGen. The desktop build finds
# the installed package; the browser build, which looks for libraries only under its roots,
# finds the WebAssembly build in the cache once CMAKE_FIND_ROOT_PATH names it (scripts/lesson).
find_path(QrCodeGen_INCLUDE_DIR qrcodegen.hpp PATH_SUFFIXES qrcodegen)
find_library(QrCodeGen_LIBRARY NAMES qrcodegencpp)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(QrCodeGen REQUIRED_VARS QrCodeGen_LIBRARY QrCodeGen_INCLUDE_DIR)
mark_as_advanced(QrCodeGen_INCLUDE_DIR QrCodeGen_LIBRARY)

if(QrCodeGen_FOUND AND NOT TARGET QrCodeGen::QrCodeGen)
    add_library(QrCodeGen::QrCodeGen UNKNOWN IMPORTED)
    set_target_properties(QrCodeGen::QrCodeGen PROPERTIES
        IMPORTED_LOCATION "${QrCodeGen_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${QrCodeGen_INCLUDE_DIR}")
endif()
