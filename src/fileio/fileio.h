#pragma once

// The file layer as the rest of the program uses it. Each part has its own
// header; the decisions are written once, on top of each system's
// primitives (primitives.h, primitives_unix.cpp, primitives_windows.cpp):
// paths.h         paths as the system's bytes, and what is made of them
// file_error.h    the errors and their German messages
// identity.h      what tells one version of a file from another
// read_file.h     reading a whole file
// save_file.h     saving: a new file renamed over the old one, or the file
//                 itself extended or rewritten in place
// file_lock.h     the lock every copy of the program takes to rewrite a file

#include "fileio/file_error.h"
#include "fileio/file_lock.h"
#include "fileio/identity.h"
#include "fileio/paths.h"
#include "fileio/read_file.h"
#include "fileio/save_file.h"
