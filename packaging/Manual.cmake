# The user manual: Markdown chapters in docs/manual, in file name order, made into Manual.pdf
# beside the program at build time by a small Qt program, so no other tool is needed.

add_executable(tallion-manual-pdf tools/manual_pdf_main.cpp tools/manual/ManualText.cpp tools/manual/ManualStyle.cpp
    tools/manual/ManualBook.cpp)
target_include_directories(tallion-manual-pdf PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(tallion-manual-pdf PRIVATE Qt6::Gui)

file(GLOB tallion_manual_chapters CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*.md)
list(SORT tallion_manual_chapters)
file(GLOB tallion_manual_pictures CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*.png)
set(TALLION_MANUAL_PDF ${CMAKE_BINARY_DIR}/Manual.pdf)

add_custom_command(OUTPUT ${TALLION_MANUAL_PDF}
    # No display is needed; a sanitizer build must not fail on leaks of the font libraries.
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:tallion-manual-pdf> ${TALLION_MANUAL_PDF} ${PROJECT_VERSION} ${tallion_manual_chapters}
    DEPENDS tallion-manual-pdf ${tallion_manual_chapters} ${tallion_manual_pictures}
    COMMENT "Building the user manual Manual.pdf"
    VERBATIM)
add_custom_target(tallion_manual ALL DEPENDS ${TALLION_MANUAL_PDF})
