# The built manual holds every chapter: each title is found twice in the PDF's text, once in the
# contents and once as the chapter's heading.
#   cmake -DPDF=build/Manual.pdf -P CheckManualPdf.cmake
set(chapters
    "How the station works"
    "Installing and starting"
    "Connecting the probe"
    "The main window"
    "Measurements and results"
    "Weighing"
    "The result log file"
    "Display templates"
    "Viewing, finding and deleting"
    "Printing"
    "Commands to the probe"
    "Updating the probe firmware"
    "Settings and files"
    "Troubleshooting"
    "The plant database"
    "The plant at a glance")

find_program(PDFTOTEXT pdftotext REQUIRED)
execute_process(COMMAND ${PDFTOTEXT} -layout ${PDF} - OUTPUT_VARIABLE text RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "pdftotext could not read ${PDF}")
endif()
# Layout mode keeps each line of the page; runs of spaces between words become one, and the form
# feed that starts each page a line end.
string(REGEX REPLACE "[ ]+" " " text "${text}")
string(ASCII 12 formFeed)
string(REPLACE "${formFeed}" "\n" text "${text}")

set(number 0)
foreach(title IN LISTS chapters)
    math(EXPR number "${number} + 1")
    string(REGEX MATCHALL "\n *${number} ${title}[ \n]" found "${text}")
    list(LENGTH found count)
    if(NOT count EQUAL 2)
        message(SEND_ERROR "chapter ${number} \"${title}\": found ${count} times as a numbered title, not twice")
    endif()
endforeach()
