# Build speed. Most of a compile here is spent reading Qt's and GoogleTest's
# headers, so every target of ours reads them once from one of three
# precompiled headers, compiled once per build folder and shared by every
# target of its kind (the compile flags of our targets are the same):
#
#   CORE     QtCore and the standard library (the core, the CLI, fuzz targets)
#   WIDGETS  CORE plus QtGui and QtWidgets (the windows and their tests)
#   GTEST    CORE plus GoogleTest (the core and CLI tests)
#
# A target opts in with quillmark_fast_build(TARGET KIND [UNITY]); UNITY also
# compiles its sources a few at a time as one file, which pays for targets of
# many small sources. Names in anonymous namespaces then have to differ
# between the sources of that target.

set(quillmark_pch_core
    <QByteArray> <QByteArrayView> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QLocale> <QMap> <QObject>
    <QSaveFile> <QString> <QStringList> <QTemporaryDir> <QtEndian> <QJsonArray> <QJsonDocument> <QJsonObject>
    <algorithm> <array> <functional> <limits> <memory> <optional> <set> <string> <string_view> <utility>
    <variant> <vector>)
set(quillmark_pch_widgets
    ${quillmark_pch_core}
    <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QGridLayout> <QGroupBox> <QHBoxLayout> <QKeyEvent>
    <QLabel> <QLineEdit> <QMdiArea> <QMdiSubWindow> <QMessageBox> <QPushButton> <QTabWidget> <QTableWidget>
    <QTimer> <QVBoxLayout> <QWidget>)
set(quillmark_pch_gtest ${quillmark_pch_core} <gtest/gtest.h>)

option(QUILLMARK_PCH "Build with precompiled headers" ON)

# Linking with lld, or else gold, takes a fraction of the time of the default
# linker, most of all for the sanitizer builds' test programs.
set(QUILLMARK_LINKER "" CACHE STRING "Linker for -fuse-ld= (empty: lld or gold when the compiler can use one)")
set(quillmark_linker "${QUILLMARK_LINKER}")
if("${quillmark_linker}" STREQUAL "")
    include(CheckLinkerFlag)
    foreach(linker IN ITEMS lld gold)
        check_linker_flag(CXX -fuse-ld=${linker} quillmark_links_with_${linker})
        if(quillmark_links_with_${linker})
            set(quillmark_linker ${linker})
            break()
        endif()
    endforeach()
endif()
if(NOT "${quillmark_linker}" STREQUAL "")
    add_link_options(-fuse-ld=${quillmark_linker})
endif()

# The first target of a kind compiles its header; the others reuse it.
function(quillmark_fast_build target kind)
    cmake_parse_arguments(arg "UNITY" "" "" ${ARGN})
    if(arg_UNITY)
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
        # Each source is included into a unity file, so GCC takes a type of an
        # anonymous namespace in a class of the source (a test fixture in
        # one, say) for one declared in a header.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
            target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
        endif()
    endif()
    if(kind STREQUAL "CORE" AND quillmark_core_coverage)
        target_compile_options(${target} PRIVATE ${quillmark_core_coverage})
    endif()
    if(NOT QUILLMARK_PCH)
        return()
    endif()
    string(TOLOWER ${kind} kind)
    if(NOT DEFINED quillmark_pch_${kind})
        message(FATAL_ERROR "quillmark_fast_build: no precompiled header ${kind}")
    endif()
    get_property(host GLOBAL PROPERTY quillmark_pch_host_${kind})
    if(host)
        target_precompile_headers(${target} REUSE_FROM ${host})
    else()
        target_precompile_headers(${target} PRIVATE ${quillmark_pch_${kind}})
        set_property(GLOBAL PROPERTY quillmark_pch_host_${kind} ${target})
    endif()
endfunction()
