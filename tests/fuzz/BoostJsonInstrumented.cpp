// Compiles Boost.JSON's parser into the fuzz target, so that coverage guides the fuzzer through
// the parser too and the sanitizers watch it; the shared library's copy is then left unused.
#include <boost/json/src.hpp>
