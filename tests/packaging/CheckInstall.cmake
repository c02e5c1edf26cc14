cmake_policy(SET CMP0057 NEW)  # if(IN_LIST)

# `cmake --install` into an empty prefix puts the program, the desktop entry, the icons and the
# manual where the desktop and the Help menu look for them, and the installed program runs.
#   cmake -DBUILD_DIR=build -DPREFIX=build/install-check -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()

foreach(file
        bin/tallion
        bin/tallion-plant
        share/tallion/Manual.pdf
        share/applications/tallion.desktop
        share/icons/hicolor/scalable/apps/tallion.svg
        share/icons/hicolor/48x48/apps/tallion.png
        share/icons/hicolor/256x256/apps/tallion.png)
    if(NOT EXISTS ${PREFIX}/${file})
        message(SEND_ERROR "not installed: ${file}")
    endif()
endforeach()

file(STRINGS ${PREFIX}/share/applications/tallion.desktop entry)
foreach(line "Exec=tallion" "Icon=tallion" "Type=Application")
    if(NOT line IN_LIST entry)
        message(SEND_ERROR "the desktop entry lacks \"${line}\"")
    endif()
endforeach()

execute_process(COMMAND ${PREFIX}/bin/tallion --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version STREQUAL "tallion ${EXPECTED_VERSION}\n")
    message(SEND_ERROR "the installed program answered \"${version}\" (status ${status})")
endif()
file(REMOVE_RECURSE ${PREFIX})
