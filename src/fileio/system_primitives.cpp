// The program's primitives: the system's own. Alone in its library
// (tavolin_fileio_system), so that the tests link theirs instead.

#include "fileio/primitives.h"

namespace tavolin {

FilePrimitives& Primitives() {
    return PlatformPrimitives();
}

} // namespace tavolin
