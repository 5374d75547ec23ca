#include "unpack.h"
