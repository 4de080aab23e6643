# Creates an empty settings file at SETTINGS_FILE unless a file is already there.
if(NOT DEFINED SETTINGS_FILE)
    message(FATAL_ERROR "SETTINGS_FILE is not set")
endif()
if(NOT EXISTS "${SETTINGS_FILE}")
    get_filename_component(dir "${SETTINGS_FILE}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(WRITE "${SETTINGS_FILE}" "")
endif()
