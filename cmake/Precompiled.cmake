# Precompiled headers. The lowest library of each group (the one the others are built on)
# compiles the headers once and the others reuse its result, which needs the same compiler
# options and macros (g++ refuses a header made with a QT_*_LIB macro that the user lacks, which
# -Werror turns into a failed build); so a group holds libraries built alike and linked to the
# same Qt libraries.
#
#   tallion_precompile(<maker> WIDGETS|TESTS [<user>...])
#
# Only the headers that most files include are listed: a header few files need makes every file
# of the group slower to compile.

set(tallion_pch_common <algorithm> <functional> <memory> <optional> <string> <string_view> <vector>
    <QByteArray> <QDateTime> <QDir> <QFile> <QObject> <QString> <QStringList> <QTimer>)
set(tallion_pch_WIDGETS ${tallion_pch_common} <QAction> <QApplication> <QDialog> <QGroupBox> <QLabel>
    <QLineEdit> <QMenu> <QPushButton> <QTableView> <QWidget>)
set(tallion_pch_TESTS ${tallion_pch_WIDGETS} <gtest/gtest.h> <QTemporaryDir> <QTest>)

if(TALLION_PCH AND CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache$")
    # CMake hands clang the header's absolute path behind -Xclang, where ccache cannot make it
    # relative, so in another checkout every file that uses it would miss the cache: a warm cache
    # saves more than the precompiled header does.
    set(TALLION_PCH OFF)
endif()

if(TALLION_PCH)
    if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache$")
        # ccache cannot see the macros and time stamps inside a precompiled header and would
        # otherwise compile every file that uses one without caching it; the header is made
        # during the build, so it is always newer than the build's start.
        set(CMAKE_CXX_COMPILER_LAUNCHER env
            CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
            ${CMAKE_CXX_COMPILER_LAUNCHER})
    endif()
endif()

function(tallion_precompile maker group)
    if(NOT TALLION_PCH)
        return()
    endif()
    target_precompile_headers(${maker} PRIVATE ${tallion_pch_${group}})
    foreach(user ${ARGN})
        target_precompile_headers(${user} REUSE_FROM ${maker})
    endforeach()
endfunction()

function(tallion_precompile_reuse user maker)
    if(TALLION_PCH)
        target_precompile_headers(${user} REUSE_FROM ${maker})
    endif()
endfunction()
