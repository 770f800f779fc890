#include "core/MediaKinds.h"
