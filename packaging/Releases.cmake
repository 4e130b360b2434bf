# The release history is written once, in the Debian changelog beside this file; the AppStream
# release list and the manual pages' dates are read from it, and the newest entry must carry the
# project's version, so that a new version cannot ship with an old history.

# Escapes a changelog line for an XML element, giving back the semicolons marlo_read_releases hid.
function(marlo_xml_escape text out)
    string(REPLACE "<semicolon>" ";" text "${text}")
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# "Mon, 07 Dec 2026 12:00:00 +0000" as "2026-12-07".
function(marlo_changelog_date trailer out)
    if(NOT trailer MATCHES ", ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        message(FATAL_ERROR "changelog: no date in \"${trailer}\"")
    endif()
    set(day "${CMAKE_MATCH_1}")
    set(year "${CMAKE_MATCH_3}")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months "${CMAKE_MATCH_2}" month)
    math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
    if(month LESS 10)
        set(month "0${month}")
    endif()
    string(LENGTH "${day}" digits)
    if(digits EQUAL 1)
        set(day "0${day}")
    endif()
    set(${out} "${year}-${month}-${day}" PARENT_SCOPE)
endfunction()

# Ends the changelog item being read, adding it to the release's list.
macro(marlo_end_item)
    if(NOT item STREQUAL "")
        string(APPEND items "          <li>${item}</li>\n")
        set(item "")
    endif()
endmacro()

# Reads the changelog: MARLO_RELEASE_DATE is the newest entry's date, MARLO_APPSTREAM_RELEASES
# every entry as an AppStream <release> listing its items.
function(marlo_read_releases changelog)
    # One list element per line; a semicolon in the text would otherwise split its line.
    file(READ "${changelog}" text)
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(releases "")
    set(items "")
    set(item "")
    set(newest "")
    set(newest_date "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[a-z0-9.+-]+ \\(([^)]+)\\) ")
            set(version "${CMAKE_MATCH_1}")
            if(newest STREQUAL "")
                set(newest "${version}")
            endif()
        elseif(line MATCHES "^  \\* (.*)$")
            marlo_end_item()
            marlo_xml_escape("${CMAKE_MATCH_1}" item)
        elseif(line MATCHES "^    (.*)$")
            marlo_xml_escape("${CMAKE_MATCH_1}" continued)
            string(APPEND item " ${continued}")
        elseif(line MATCHES "^ -- ")
            marlo_end_item()
            marlo_changelog_date("${line}" date)
            if(newest_date STREQUAL "")
                set(newest_date "${date}")
            endif()
            string(APPEND releases
                   "    <release version=\"${version}\" date=\"${date}\">\n"
                   "      <description>\n        <ul>\n${items}        </ul>\n      </description>\n"
                   "    </release>\n")
            set(items "")
        endif()
    endforeach()
    if(NOT newest STREQUAL PROJECT_VERSION)
        message(FATAL_ERROR "${changelog}: the newest entry is ${newest}, the project is ${PROJECT_VERSION}")
    endif()
    set(MARLO_RELEASE_DATE "${newest_date}" PARENT_SCOPE)
    set(MARLO_APPSTREAM_RELEASES "${releases}" PARENT_SCOPE)
endfunction()
