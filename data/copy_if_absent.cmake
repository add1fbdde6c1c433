# cmake -DSOURCE=... -DDESTINATION=... -P copy_if_absent.cmake: copies only when DESTINATION is
# missing, so a table that holds data is never overwritten by the build.
if(NOT EXISTS "${DESTINATION}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
