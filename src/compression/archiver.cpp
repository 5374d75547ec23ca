#include "archiver.h"
