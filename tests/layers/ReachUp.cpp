// Compiled against one layer with a header of a layer above it: the build must refuse it, because
// each layer sees only its own headers and those of the layers below.
#include MARLO_HEADER_ABOVE
