#include "pack.h"
