// Built as if it were part of convert/, which stands below download/: it must not compile.
#include "convert/TrackConversion.h"
#include "download/LogDecoder.h"
