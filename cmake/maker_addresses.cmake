# The maker's web addresses, set once at build time: -DLUMIVEX_SITE_URL=https://... moves them all; each one can
# also be set on its own. They end up in generated/maker_addresses.h (the program) and generated/maker_addresses.txt
# (tools/dist.sh: the download address of the winget and Scoop manifests).
set(LUMIVEX_SITE_URL "https://www.lumivex.example" CACHE STRING "The maker's web site (no trailing slash)")
set(LUMIVEX_UPDATE_FILE_URL "" CACHE STRING "Version file of the update check (empty: <site>/lumivex.upd)")
set(LUMIVEX_DOWNLOADS_URL "" CACHE STRING "Downloads page (empty: <site>/Downloads.php)")
set(LUMIVEX_HOME_URL "" CACHE STRING "Home page (empty: <site>/)")
set(LUMIVEX_SUPPORT_URL "" CACHE STRING "Support page (empty: <site>/support.php)")
set(LUMIVEX_DONATION_URL "" CACHE STRING "Donation page (empty: <site>/donate.php)")
set(LUMIVEX_LICENSE_URL "" CACHE STRING "The licence, for the package managers (empty: <site>/license.php)")
set(LUMIVEX_RELEASE_NOTES_URL "" CACHE STRING "What each version changed (empty: <site>/changes.php)")
set(LUMIVEX_RELEASES_URL "" CACHE STRING
    "Folder where tools/dist.sh's files are published, for the winget and Scoop manifests (empty: <site>/download)")

foreach(pair "UPDATE_FILE_URL|/lumivex.upd" "DOWNLOADS_URL|/Downloads.php" "HOME_URL|/" "SUPPORT_URL|/support.php"
             "DONATION_URL|/donate.php" "RELEASES_URL|/download" "LICENSE_URL|/license.php"
             "RELEASE_NOTES_URL|/changes.php")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 page)
    if(LUMIVEX_${name})
        set(LUMIVEX_${name}_VALUE "${LUMIVEX_${name}}")
    else()
        set(LUMIVEX_${name}_VALUE "${LUMIVEX_SITE_URL}${page}")
    endif()
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/res/maker_addresses.h.in ${CMAKE_BINARY_DIR}/generated/maker_addresses.h @ONLY)
# The same addresses for tools/dist.sh, one NAME=value a line.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/maker_addresses.txt CONTENT
"UPDATE_FILE_URL=${LUMIVEX_UPDATE_FILE_URL_VALUE}
DOWNLOADS_URL=${LUMIVEX_DOWNLOADS_URL_VALUE}
HOME_URL=${LUMIVEX_HOME_URL_VALUE}
SUPPORT_URL=${LUMIVEX_SUPPORT_URL_VALUE}
DONATION_URL=${LUMIVEX_DONATION_URL_VALUE}
RELEASES_URL=${LUMIVEX_RELEASES_URL_VALUE}
LICENSE_URL=${LUMIVEX_LICENSE_URL_VALUE}
RELEASE_NOTES_URL=${LUMIVEX_RELEASE_NOTES_URL_VALUE}
")
