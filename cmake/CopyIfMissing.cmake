# Copies SRC to DST only when DST does not exist yet, so that a rebuild never
# replaces a name database that the program has already written names into.
if(NOT EXISTS "${DST}")
    file(COPY_FILE "${SRC}" "${DST}")
endif()
