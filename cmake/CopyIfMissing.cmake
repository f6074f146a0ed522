# Copies SRC to DST only when DST does not exist yet, so that a rebuild never
# replaces a name database that the program has already written names into.
# A link counts as there even when its file is not (a sync folder that is not
# mounted right now): if(EXISTS) follows it and would say no.
if(NOT EXISTS "${DST}" AND NOT IS_SYMLINK "${DST}")
    file(COPY_FILE "${SRC}" "${DST}")
endif()
