#include "b.h"
#define IDH_EXTRA 2
