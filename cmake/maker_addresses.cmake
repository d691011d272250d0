# The maker's web addresses, set once at build time: -DLUMIVEX_SITE_URL=https://... moves them all; each one can
# also be set on its own. They end up in generated/maker_addresses.h.
set(LUMIVEX_SITE_URL "https://www.lumivex.example" CACHE STRING "The maker's web site (no trailing slash)")
set(LUMIVEX_UPDATE_FILE_URL "" CACHE STRING "Version file of the update check (empty: <site>/lumivex.upd)")
set(LUMIVEX_DOWNLOADS_URL "" CACHE STRING "Downloads page (empty: <site>/Downloads.php)")
set(LUMIVEX_HOME_URL "" CACHE STRING "Home page (empty: <site>/)")
set(LUMIVEX_SUPPORT_URL "" CACHE STRING "Support page (empty: <site>/support.php)")
set(LUMIVEX_DONATION_URL "" CACHE STRING "Donation page (empty: <site>/donate.php)")

foreach(pair "UPDATE_FILE_URL|/lumivex.upd" "DOWNLOADS_URL|/Downloads.php" "HOME_URL|/" "SUPPORT_URL|/support.php"
             "DONATION_URL|/donate.php")
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
